// A recording OpenGL layer for command-stream tests. While a GlRecorder lives, every OpenGL
// entry point the module uses (through the glad loader) and the GLU routines of gfx/glu.h are
// stubs that append the call to the recorder's stream instead of drawing anything, and the few
// calls that read something back get fake answers the test controls.
//
// Test programs that use it link vintrel_gl_recorder and not libGLU: the recorder defines the
// GLU routines itself. Only one recorder may live at a time.
//
//     GlRecorder gl;
//     DrawSphere(1.0f, 4, 2);
//     EXPECT_EQ(gl.Count("glBegin"), 2u);
//     for (const GlPrimitive& strip : gl.Primitives()) ...
#pragma once

#include <glad/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/gl_capabilities.h"

// One recorded call.
struct GlCall {
    std::string name;  // the entry point, e.g. "glVertex3dv" or "gluPerspective"
    // The numeric arguments in order, as doubles. Arrays the call reads are copied by value in
    // their place (glVertex3dv gives three numbers, glLightfv(light, GL_DIFFUSE, v) gives
    // light, pname and four numbers, glMultMatrixf sixteen). Names a glGen* call writes follow
    // its count (glGenTextures(2, t) gives 2, t[0], t[1]).
    std::vector<double> args;
    std::string text;                   // a string argument: uniform or attribute name, shader source
    std::vector<const void*> pointers;  // pointer arguments the recorder cannot size (client arrays, quadrics)
    std::vector<uint8_t> pixels;        // the bytes of a texture upload, as GL would read them
    double result = 0;                  // the value returned to the caller, where there is one
    uint32_t list = 0;                  // the display list being compiled when it was issued; 0 for none

    double Arg(size_t index) const { return args.at(index); }
};

// A vertex of a glBegin..glEnd block with the current attributes at the time it was issued.
struct GlVertex {
    std::array<double, 3> position{};  // x, y, z (a w given to glVertex4* is dropped)
    std::array<double, 3> normal{0, 0, 1};
    std::array<double, 4> texCoord{0, 0, 0, 1};  // s, t, r, q
    std::array<double, 4> colour{1, 1, 1, 1};
};

// One glBegin..glEnd block.
struct GlPrimitive {
    GLenum mode = 0;  // the glBegin argument
    uint32_t list = 0;
    size_t beginIndex = 0;  // index of its glBegin in the stream that was sliced
    std::vector<GlVertex> vertices;
};

using GlPoint = std::array<double, 3>;
using GlTriangle = std::array<GlPoint, 3>;

// Slices a stream into its glBegin..glEnd blocks. The current normal, texture coordinate and
// colour start at OpenGL's defaults and follow the calls in stream order, inside and outside the
// blocks. An unterminated block at the end is dropped.
std::vector<GlPrimitive> SlicePrimitives(const std::vector<GlCall>& calls);

// The triangles a block rasterises, each with its vertices in the winding OpenGL gives it
// (strips alternate, quads split 0-1-2 / 0-2-3). Points and lines give none.
std::vector<std::array<GlVertex, 3>> TriangleVertices(const GlPrimitive& primitive);
std::vector<GlTriangle> Triangles(const GlPrimitive& primitive);

class GlRecorder {
public:
    // Installs the stubs through LoadOpenGl and marks every capability present.
    GlRecorder();
    // Leaves the loader's pointers dangling into stubs that abort: a call after the recorder is
    // gone is a fault of the test.
    ~GlRecorder();
    GlRecorder(const GlRecorder&) = delete;
    GlRecorder& operator=(const GlRecorder&) = delete;

    // The stream.
    void Clear();  // forgets the calls; names already handed out stay taken
    const std::vector<GlCall>& Calls() const;
    std::vector<std::string> Names() const;  // the call names in order
    size_t Count(std::string_view name) const;
    std::vector<GlCall> CallsOf(std::string_view name) const;
    // Index in Calls() of the first call named `name` at or after `from`; Calls().size() if none.
    size_t IndexOf(std::string_view name, size_t from = 0) const;
    // The calls issued while `list` was being compiled (glNewList and glEndList excluded).
    std::vector<GlCall> InList(uint32_t list) const;
    std::vector<GlPrimitive> Primitives() const;
    std::vector<GlPrimitive> PrimitivesInList(uint32_t list) const;

    // Answers.
    void SetCompileStatus(GLenum shaderType, bool compiles);  // per GL_VERTEX_SHADER_ARB / GL_FRAGMENT_SHADER_ARB; default true
    void SetLinkStatus(bool links);                           // default true
    void SetFramebufferStatus(GLenum status);                 // default GL_FRAMEBUFFER_COMPLETE_EXT
    // What glGetFloatv / glGetDoublev / glGetIntegerv / glGetBooleanv write for `pname`; the
    // matrices (GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX, GL_TEXTURE_MATRIX) start as the
    // identity, GL_VIEWPORT as 0, 0, 640, 480. A query with no answer writes a single 0.
    void SetAnswer(GLenum pname, std::vector<double> values);
    void SetMatrix(GLenum pname, const std::array<float, 16>& columnMajor);
    // The locations glGetUniformLocationARB / glGetAttribLocation give a name: fixed, distinct
    // from every other name's, uniforms and attributes alike (asking here assigns one if needed).
    GLint UniformLocation(std::string_view name);
    GLint AttribLocation(std::string_view name);
    // Which capabilities the code sees; all present after construction.
    void SetCapabilities(const GlCapabilities& capabilities);
    static GlCapabilities AllCapabilities();

    // Tracked state.
    bool IsEnabled(GLenum cap) const;  // from glEnable / glDisable since construction
    uint32_t OpenList() const;         // the list being compiled now, 0 for none
    // The shader and program objects created and not deleted with glDeleteObjectARB.
    size_t LiveShaderObjects() const;

private:
    std::unique_ptr<struct GlRecorderState> state_;
};
