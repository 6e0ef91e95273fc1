#include "tests/support/gl_recorder.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "tests/support/gl_recorder_state.h"

GlRecorderState* activeGlRecorder = nullptr;

namespace {

constexpr std::array<double, 16> kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

[[noreturn]] void Fail(const char* message) {
    std::fprintf(stderr, "GlRecorder: %s\n", message);
    std::abort();
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view candidate : names) {
        if (name == candidate) return true;
    }
    return false;
}

// The attributes a call sets, if it is one of the immediate-mode attribute calls.
bool ApplyAttribute(const GlCall& call, GlVertex& current) {
    const std::string_view name = call.name;
    const std::vector<double>& a = call.args;
    if (IsOneOf(name, {"glNormal3f", "glNormal3d", "glNormal3fv", "glNormal3dv"})) {
        current.normal = {a.at(0), a.at(1), a.at(2)};
        return true;
    }
    if (IsOneOf(name, {"glTexCoord1f", "glTexCoord2f", "glTexCoord2d", "glTexCoord2fv", "glTexCoord3f",
                       "glTexCoord3fv"})) {
        current.texCoord = {0, 0, 0, 1};
        for (size_t i = 0; i < a.size() && i < 4; ++i) current.texCoord[i] = a[i];
        return true;
    }
    if (IsOneOf(name, {"glColor3f", "glColor3d", "glColor3fv", "glColor4f", "glColor4fv", "glColor3ub",
                       "glColor4ub"})) {
        const double scale = name.find("ub") != std::string_view::npos ? 1.0 / 255.0 : 1.0;
        current.colour = {1, 1, 1, 1};
        for (size_t i = 0; i < a.size() && i < 4; ++i) current.colour[i] = a[i] * scale;
        return true;
    }
    return false;
}

bool IsVertexCall(std::string_view name) {
    return IsOneOf(name, {"glVertex2f", "glVertex2d", "glVertex2i", "glVertex3f", "glVertex3d", "glVertex3fv",
                          "glVertex3dv", "glVertex4f"});
}

}  // namespace

// ---- the shared state -----------------------------------------------------------------------

GlRecorderState::GlRecorderState() {
    const std::vector<double> identity(kIdentity.begin(), kIdentity.end());
    answers[GL_PROJECTION_MATRIX] = identity;
    answers[GL_MODELVIEW_MATRIX] = identity;
    answers[GL_TEXTURE_MATRIX] = identity;
    answers[GL_VIEWPORT] = {0, 0, 640, 480};
    answers[GL_MAX_TEXTURE_SIZE] = {8192};
    answers[GL_MAX_VERTEX_ATTRIBS] = {16};
    answers[GL_UNPACK_ALIGNMENT] = {4};
}

GlCall& GlRecorderState::Record(const char* name, std::initializer_list<double> args) {
    GlCall& call = calls.emplace_back();
    call.name = name;
    call.args.assign(args.begin(), args.end());
    call.list = openList;
    return call;
}

GLint GlRecorderState::Location(std::string_view name) {
    const auto found = locations.find(name);
    if (found != locations.end()) return found->second;
    const GLint location = nextLocation++;
    locations.emplace(std::string(name), location);
    return location;
}

// ---- the recorder ---------------------------------------------------------------------------

GlRecorder::GlRecorder() : state_(std::make_unique<GlRecorderState>()) {
    if (activeGlRecorder != nullptr) Fail("a second recorder while one is alive");
    activeGlRecorder = state_.get();
    if (!LoadOpenGl(&LookUpRecordingStub)) Fail("the loader refused the recording stubs");
    const GlCapabilities found = glCapabilities;
    if (!(found.cubeMaps && found.shaderObjects && found.shaderPrograms20 && found.framebufferObjects &&
          found.pointSprites)) {
        Fail("a capability lacks a recording stub");
    }
    state_->calls.clear();
}

GlRecorder::~GlRecorder() {
    activeGlRecorder = nullptr;
    glCapabilities = {};
}

void GlRecorder::Clear() { state_->calls.clear(); }

const std::vector<GlCall>& GlRecorder::Calls() const { return state_->calls; }

std::vector<std::string> GlRecorder::Names() const {
    std::vector<std::string> names;
    names.reserve(state_->calls.size());
    for (const GlCall& call : state_->calls) names.push_back(call.name);
    return names;
}

size_t GlRecorder::Count(std::string_view name) const {
    size_t count = 0;
    for (const GlCall& call : state_->calls) count += call.name == name ? 1 : 0;
    return count;
}

std::vector<GlCall> GlRecorder::CallsOf(std::string_view name) const {
    std::vector<GlCall> found;
    for (const GlCall& call : state_->calls) {
        if (call.name == name) found.push_back(call);
    }
    return found;
}

size_t GlRecorder::IndexOf(std::string_view name, size_t from) const {
    for (size_t i = from; i < state_->calls.size(); ++i) {
        if (state_->calls[i].name == name) return i;
    }
    return state_->calls.size();
}

std::vector<GlCall> GlRecorder::InList(uint32_t list) const {
    std::vector<GlCall> found;
    for (const GlCall& call : state_->calls) {
        if (list != 0 && call.list == list) found.push_back(call);
    }
    return found;
}

std::vector<GlPrimitive> GlRecorder::Primitives() const { return SlicePrimitives(state_->calls); }

std::vector<GlPrimitive> GlRecorder::PrimitivesInList(uint32_t list) const { return SlicePrimitives(InList(list)); }

void GlRecorder::SetCompileStatus(GLenum shaderType, bool compiles) { state_->compiles[shaderType] = compiles; }

void GlRecorder::SetLinkStatus(bool links) { state_->links = links; }

void GlRecorder::SetFramebufferStatus(GLenum status) { state_->framebufferStatus = status; }

void GlRecorder::SetAnswer(GLenum pname, std::vector<double> values) { state_->answers[pname] = std::move(values); }

void GlRecorder::SetMatrix(GLenum pname, const std::array<float, 16>& columnMajor) {
    SetAnswer(pname, std::vector<double>(columnMajor.begin(), columnMajor.end()));
}

GLint GlRecorder::UniformLocation(std::string_view name) { return state_->Location(name); }

GLint GlRecorder::AttribLocation(std::string_view name) { return state_->Location(name); }

void GlRecorder::SetCapabilities(const GlCapabilities& capabilities) { glCapabilities = capabilities; }

GlCapabilities GlRecorder::AllCapabilities() { return GlCapabilities{true, true, true, true, true}; }

bool GlRecorder::IsEnabled(GLenum cap) const { return state_->enabled.count(cap) != 0; }

uint32_t GlRecorder::OpenList() const { return state_->openList; }

size_t GlRecorder::LiveShaderObjects() const { return state_->shaderTypes.size() + state_->programs.size(); }

// ---- slicing --------------------------------------------------------------------------------

std::vector<GlPrimitive> SlicePrimitives(const std::vector<GlCall>& calls) {
    std::vector<GlPrimitive> primitives;
    GlVertex current;
    bool open = false;
    for (size_t i = 0; i < calls.size(); ++i) {
        const GlCall& call = calls[i];
        if (ApplyAttribute(call, current)) continue;
        if (call.name == "glBegin") {
            GlPrimitive& primitive = primitives.emplace_back();
            primitive.mode = static_cast<GLenum>(call.Arg(0));
            primitive.list = call.list;
            primitive.beginIndex = i;
            open = true;
        } else if (call.name == "glEnd") {
            open = false;
        } else if (open && IsVertexCall(call.name)) {
            GlVertex vertex = current;
            vertex.position = {call.Arg(0), call.Arg(1), call.args.size() > 2 ? call.args[2] : 0.0};
            primitives.back().vertices.push_back(vertex);
        }
    }
    if (open) primitives.pop_back();
    return primitives;
}

std::vector<std::array<GlVertex, 3>> TriangleVertices(const GlPrimitive& primitive) {
    const std::vector<GlVertex>& v = primitive.vertices;
    const size_t n = v.size();
    std::vector<std::array<GlVertex, 3>> triangles;
    switch (primitive.mode) {
        case GL_TRIANGLES:
            for (size_t i = 0; i + 2 < n; i += 3) triangles.push_back({v[i], v[i + 1], v[i + 2]});
            break;
        case GL_TRIANGLE_STRIP:
            // Every second triangle of a strip is wound the other way round by its vertex order;
            // OpenGL swaps its first two vertices so all faces agree.
            for (size_t i = 0; i + 2 < n; ++i) {
                if (i % 2 == 0) triangles.push_back({v[i], v[i + 1], v[i + 2]});
                else triangles.push_back({v[i + 1], v[i], v[i + 2]});
            }
            break;
        case GL_TRIANGLE_FAN:
        case GL_POLYGON:
            for (size_t i = 1; i + 1 < n; ++i) triangles.push_back({v[0], v[i], v[i + 1]});
            break;
        case GL_QUADS:
            for (size_t i = 0; i + 3 < n; i += 4) {
                triangles.push_back({v[i], v[i + 1], v[i + 2]});
                triangles.push_back({v[i], v[i + 2], v[i + 3]});
            }
            break;
        case GL_QUAD_STRIP:
            // Quad k runs 2k, 2k+1, 2k+3, 2k+2.
            for (size_t i = 0; i + 3 < n; i += 2) {
                triangles.push_back({v[i], v[i + 1], v[i + 3]});
                triangles.push_back({v[i], v[i + 3], v[i + 2]});
            }
            break;
        default:
            break;
    }
    return triangles;
}

std::vector<GlTriangle> Triangles(const GlPrimitive& primitive) {
    std::vector<GlTriangle> triangles;
    for (const auto& t : TriangleVertices(primitive)) {
        triangles.push_back({t[0].position, t[1].position, t[2].position});
    }
    return triangles;
}
