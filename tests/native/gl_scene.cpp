#include "gl_scene.h"

#include <EGL/egl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "apps/egl_context.h"
#include "gfx/gl_capabilities.h"
#include "particles/particle_snow.h"
#include "platform/platform_posix_control.h"
#include "scene/clock_time.h"
#include "gfx/camera_frame.h"
#include "scene/scene_lifecycle.h"

namespace {

// One context for the whole program; clocks and random seed fixed as vintrel-render fixes them.
class SceneEnvironment : public testing::Environment {
    void SetUp() override {
        ASSERT_TRUE(context_.Create(kFrameWidth, kFrameHeight)) << context_.error();
        FreezeLocalTime({10, 9, 30, 0});
        FreezeTickCount(7);
        FreezePerformanceCounter(1'000'000'000'000);
        SetUpScene();
    }
    void TearDown() override { ReleaseScene(); }
    OffscreenContext context_;
};

testing::Environment* const sceneEnvironment = testing::AddGlobalTestEnvironment(new SceneEnvironment);

// Transform feedback came with OpenGL 3.0, beyond what the module loads.
constexpr GLenum kFeedbackBuffer = 0x8C8E, kInterleaved = 0x8C8C, kRasterizerDiscard = 0x8C89, kWritten = 0x8C88;

template <typename Function>
Function Entry(const char* name) { return reinterpret_cast<Function>(eglGetProcAddress(name)); }

constexpr std::size_t kCapturedVertices = 1 << 17;

// Writes each corner where the modelview matrix puts it, and as it was given.
GLuint CaptureProgram() {
    const char* source = "varying vec4 at, given;\n"
                         "void main() { gl_Position = ftransform(); at = gl_ModelViewMatrix * gl_Vertex; given = gl_Vertex; }\n";
    const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    const GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    const char* const outputs[] = {"at", "given"};
    Entry<void(GLAD_API_PTR*)(GLuint, GLsizei, const char* const*, GLenum)>("glTransformFeedbackVaryings")(program, 2, outputs,
                                                                                                        kInterleaved);
    glLinkProgram(program);
    return program;
}

}  // namespace

Vector3d BoxCentre(const std::vector<Vector3d>& points) {
    Vector3d low = points.at(0), high = points.at(0);
    for (const Vector3d& p : points) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return (low + high) * 0.5;
}

std::vector<Vector3d> Capture(const std::function<void()>& draw) {
    static const GLuint program = CaptureProgram();
    static GLuint buffer = 0, query = 0;
    if (!buffer) glGenBuffers(1, &buffer), glGenQueries(1, &query);
    glBindBuffer(kFeedbackBuffer, buffer);
    glBufferData(kFeedbackBuffer, kCapturedVertices * 8 * sizeof(float), nullptr, GL_STREAM_READ);
    const GlCapabilities capabilities = glCapabilities;
    glCapabilities.shaderObjects = glCapabilities.shaderPrograms20 = false;
    glUseProgram(program);
    Entry<void(GLAD_API_PTR*)(GLenum, GLuint, GLuint)>("glBindBufferBase")(kFeedbackBuffer, 0, buffer);
    glEnable(kRasterizerDiscard);
    glBeginQuery(kWritten, query);
    Entry<void(GLAD_API_PTR*)(GLenum)>("glBeginTransformFeedback")(GL_TRIANGLES);
    draw();
    Entry<void(GLAD_API_PTR*)()>("glEndTransformFeedback")();
    glEndQuery(kWritten);
    glDisable(kRasterizerDiscard);
    glUseProgram(0);
    glCapabilities = capabilities;

    GLuint triangles = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &triangles);
    EXPECT_LT(triangles * 3u, kCapturedVertices) << "capture buffer too small";
    std::vector<float> f(static_cast<std::size_t>(triangles) * 3 * 8);
    glGetBufferSubData(kFeedbackBuffer, 0, static_cast<GLsizeiptr>(f.size() * sizeof(float)), f.data());
    // Left out: triangles with two equal corners, which the driver adds where it joins strips.
    std::vector<Vector3d> corners;
    for (std::size_t t = 0; t < f.size(); t += 24) {
        auto same = [&](int a, int b) { return std::equal(&f[t + 8 * a + 4], &f[t + 8 * a + 8], &f[t + 8 * b + 4]); };
        if (same(0, 1) || same(1, 2) || same(0, 2)) continue;
        for (std::size_t v = t; v < t + 24; v += 8) corners.push_back({f[v] / f[v + 3], f[v + 1] / f[v + 3], f[v + 2] / f[v + 3]});
    }
    return corners;
}

Image ReadImage(int width, int height) {
    Image image{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width) * height * 4)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    return image;
}

SceneCamera CurrentCamera() {
    SceneCamera camera{};
    glGetFloatv(GL_PROJECTION_MATRIX, camera.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, camera.view.data());
    return camera;
}

void SetUpScene(int clientWidth, int clientHeight) {
    ReleaseScene();
    ResetParticleState();
    clockTime = StartedClockTime();
    ResetCameraFrame();
    if (glad_glUseProgramObjectARB) glUseProgramObjectARB(0);  // as in a new context
    CreateScene(clientWidth, clientHeight);
}

void RenderFrameAt(const LocalTimeOfDay& time, double clockSeconds, double snowSeconds) {
    FreezeLocalTime(time);
    RewindAnimationStopwatches(clockSeconds);
    snow.RewindStopwatch(snowSeconds);
    TickScene();
    glFinish();
}
