#include "gfx/sphere.h"

#include <cmath>

#include "gfx/gl.h"

namespace {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kTwoPi = 6.28318530717958647692f;

// Sines and cosines are taken wide and stored in single precision.
float Sin(float angle) { return static_cast<float>(std::sin(static_cast<double>(angle))); }
float Cos(float angle) { return static_cast<float>(std::cos(static_cast<double>(angle))); }

}  // namespace

void DrawSphere(float radius, int slices, int stacks) {
    if (stacks <= 0) return;
    const float dRho = kPi / static_cast<float>(stacks);
    const float dt = 1.0f / static_cast<float>(stacks);
    // With no slices the one vertex pair of a strip sits on the seam (theta 0) and these steps
    // are never used; leaving them 0 avoids a division by zero.
    const float dTheta = slices != 0 ? kTwoPi / static_cast<float>(slices) : 0.0f;
    const float ds = slices != 0 ? 1.0f / static_cast<float>(slices) : 0.0f;

    float t = 1.0f;
    for (int i = 0; i < stacks; ++i) {
        const float rho = static_cast<float>(i) * dRho;
        const float rho2 = rho + dRho;  // the sum of the rounded values, as the next stack's rho
        const float sinRho = Sin(rho);
        const float cosRho = Cos(rho);
        const float sinRho2 = Sin(rho2);
        const float cosRho2 = Cos(rho2);

        glBegin(GL_TRIANGLE_STRIP);
        float s = 0.0f;
        const float lowerT = t - dt;
        for (int j = 0; j <= slices; ++j) {
            // The last pair repeats the first exactly so that the seam closes.
            const float theta = j == slices ? 0.0f : static_cast<float>(j) * dTheta;
            const float x = -Sin(theta);
            const float y = Cos(theta);

            const float nx = x * sinRho;
            const float ny = y * sinRho;
            glTexCoord2f(s, t);
            glNormal3f(nx, ny, cosRho);
            glVertex3f(radius * nx, radius * ny, radius * cosRho);

            const float mx = x * sinRho2;
            const float my = y * sinRho2;
            glTexCoord2f(s, lowerT);
            glNormal3f(mx, my, cosRho2);
            glVertex3f(radius * mx, radius * my, radius * cosRho2);

            s += ds;
        }
        glEnd();
        t -= dt;
    }
}
