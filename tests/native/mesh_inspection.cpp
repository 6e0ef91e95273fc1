#include "mesh_inspection.h"

#include <cmath>
#include <stdexcept>

namespace {

constexpr double pi = 3.14159265358979323846;

GlPoint Minus(const GlPoint& a, const GlPoint& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

GlPoint Cross(const GlPoint& a, const GlPoint& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Length(const GlPoint& a) { return std::sqrt(Dot(a, a)); }

std::array<double, 16> Identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

std::array<double, 16> Multiply(const std::array<double, 16>& a, const std::array<double, 16>& b) {
    std::array<double, 16> product{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) product[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    return product;
}

// Rodrigues' formula for a turn of `degrees` about the axis (x, y, z), as glRotate describes it.
std::array<double, 16> Rotation(double degrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    x /= length, y /= length, z /= length;
    const double c = std::cos(degrees * pi / 180.0), s = std::sin(degrees * pi / 180.0), t = 1.0 - c;
    return {t * x * x + c,     t * x * y + s * z, t * x * z - s * y, 0,
            t * x * y - s * z, t * y * y + c,     t * y * z + s * x, 0,
            t * x * z + s * y, t * y * z - s * x, t * z * z + c,     0,
            0,                 0,                 0,                 1};
}

bool IsVertexCall(const std::string& name) { return name.rfind("glVertex2", 0) == 0 || name.rfind("glVertex3", 0) == 0; }

}  // namespace

double RadiusOf(const GlPoint& p) { return std::hypot(p[0], p[1]); }

double AngleOf(const GlPoint& p) {
    const double degrees = std::atan2(p[1], p[0]) * 180.0 / pi;
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

double Dot(const GlPoint& a, const GlPoint& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

GlPoint WindingNormal(const GlTriangle& t) { return Cross(Minus(t[1], t[0]), Minus(t[2], t[0])); }

GlPoint Centroid(const GlTriangle& t) {
    return {(t[0][0] + t[1][0] + t[2][0]) / 3, (t[0][1] + t[1][1] + t[2][1]) / 3, (t[0][2] + t[1][2] + t[2][2]) / 3};
}

bool NormalAgreesWithWinding(const std::array<GlVertex, 3>& triangle) {
    const GlPoint winding = WindingNormal({triangle[0].position, triangle[1].position, triangle[2].position});
    const GlPoint& normal = triangle[0].normal;
    if (std::abs(Length(normal) - 1.0) > 1e-9) return false;
    // Parallel and on the same side: the cosine between them is 1.
    return Dot(winding, normal) > (1.0 - 1e-9) * Length(winding);
}

std::vector<std::array<GlVertex, 3>> AllTriangles(const std::vector<GlPrimitive>& primitives) {
    std::vector<std::array<GlVertex, 3>> all;
    for (const GlPrimitive& primitive : primitives) {
        const auto triangles = TriangleVertices(primitive);
        all.insert(all.end(), triangles.begin(), triangles.end());
    }
    return all;
}

bool CoversPoint(const GlTriangle& t, double x, double y) {
    auto side = [&](const GlPoint& a, const GlPoint& b) { return (b[0] - a[0]) * (y - a[1]) - (b[1] - a[1]) * (x - a[0]); };
    const double d0 = side(t[0], t[1]), d1 = side(t[1], t[2]), d2 = side(t[2], t[0]);
    const bool anyNegative = d0 < 0 || d1 < 0 || d2 < 0;
    const bool anyPositive = d0 > 0 || d1 > 0 || d2 > 0;
    return !(anyNegative && anyPositive);
}

MatrixReplay::MatrixReplay(const std::vector<GlCall>& calls) : calls_(calls) {
    std::vector<Matrix> stack{Identity()};
    for (const GlCall& call : calls) {
        before_.push_back(stack.back());
        Matrix& m = stack.back();
        const auto& a = call.args;
        if (call.name == "glPushMatrix") {
            stack.push_back(stack.back());
        } else if (call.name == "glPopMatrix") {
            if (stack.size() == 1) throw std::runtime_error("glPopMatrix on an empty stack");
            stack.pop_back();
        } else if (call.name == "glLoadIdentity") {
            m = Identity();
        } else if (call.name == "glTranslatef" || call.name == "glTranslated") {
            m = Multiply(m, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, a[0], a[1], a[2], 1});
        } else if (call.name == "glScalef" || call.name == "glScaled") {
            m = Multiply(m, {a[0], 0, 0, 0, 0, a[1], 0, 0, 0, 0, a[2], 0, 0, 0, 0, 1});
        } else if (call.name == "glRotatef" || call.name == "glRotated") {
            m = Multiply(m, Rotation(a[0], a[1], a[2], a[3]));
        } else if (call.name == "glMultMatrixf" || call.name == "glMultMatrixd") {
            Matrix factor{};
            for (int i = 0; i < 16; ++i) factor[i] = a.at(i);
            m = Multiply(m, factor);
        }
    }
    finalDepth_ = static_cast<int>(stack.size()) - 1;
}

GlPoint MatrixReplay::Place(size_t index, const GlPoint& p) const {
    const Matrix& m = before_.at(index);
    GlPoint placed{};
    for (int row = 0; row < 3; ++row) placed[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
    return placed;
}

std::vector<GlPoint> MatrixReplay::PlacedVertices() const {
    std::vector<GlPoint> placed;
    for (size_t i = 0; i < calls_.size(); ++i) {
        const GlCall& call = calls_[i];
        if (!IsVertexCall(call.name)) continue;
        const double z = call.args.size() >= 3 ? call.args[2] : 0.0;
        placed.push_back(Place(i, {call.args[0], call.args[1], z}));
    }
    return placed;
}
