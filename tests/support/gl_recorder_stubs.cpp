// The recording entry points: one stub per OpenGL call the module may make, and the GLU routines
// of gfx/glu.h. Each appends its call to the live recorder's stream and answers from its state.
#include <glad/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "gfx/glu.h"
#include "tests/support/gl_recorder_state.h"

namespace {

GlRecorderState& State() {
    if (activeGlRecorder == nullptr) {
        std::fputs("OpenGL called with no GlRecorder alive\n", stderr);
        std::abort();
    }
    return *activeGlRecorder;
}

GlCall& Rec(const char* name, std::initializer_list<double> args = {}) {
    return State().Record(name, args);
}

template <typename T>
void Append(GlCall& call, const T* values, long count) {
    if (values == nullptr) return;
    for (long i = 0; i < count; ++i) call.args.push_back(static_cast<double>(values[i]));
}

// How many values an array-valued parameter holds.
int LightValueCount(GLenum pname) {
    switch (pname) {
        case GL_AMBIENT: case GL_DIFFUSE: case GL_SPECULAR: case GL_POSITION: return 4;
        case GL_SPOT_DIRECTION: return 3;
        default: return 1;
    }
}

int MaterialValueCount(GLenum pname) {
    switch (pname) {
        case GL_AMBIENT: case GL_DIFFUSE: case GL_SPECULAR: case GL_EMISSION:
        case GL_AMBIENT_AND_DIFFUSE: return 4;
        case GL_COLOR_INDEXES: return 3;
        default: return 1;
    }
}

int LightModelValueCount(GLenum pname) { return pname == GL_LIGHT_MODEL_AMBIENT ? 4 : 1; }
int TexEnvValueCount(GLenum pname) { return pname == GL_TEXTURE_ENV_COLOR ? 4 : 1; }
int TexGenValueCount(GLenum pname) {
    return (pname == GL_OBJECT_PLANE || pname == GL_EYE_PLANE) ? 4 : 1;
}
int TexParameterValueCount(GLenum pname) { return pname == GL_TEXTURE_BORDER_COLOR ? 4 : 1; }
int PointParameterValueCount(GLenum pname) { return pname == GL_POINT_DISTANCE_ATTENUATION ? 3 : 1; }

// The bytes GL reads for an image of these dimensions under the current unpack alignment;
// 0 where the format or type is one the module never uploads.
size_t ImageBytes(GLsizei width, GLsizei height, GLenum format, GLenum type, GLint alignment) {
    size_t components = 0;
    switch (format) {
        case GL_RED: case GL_ALPHA: case GL_LUMINANCE: case GL_DEPTH_COMPONENT: components = 1; break;
        case GL_LUMINANCE_ALPHA: components = 2; break;
        case GL_RGB: case GL_BGR: components = 3; break;
        case GL_RGBA: case GL_BGRA: components = 4; break;
        default: return 0;
    }
    size_t size = 0;
    switch (type) {
        case GL_UNSIGNED_BYTE: case GL_BYTE: size = 1; break;
        case GL_UNSIGNED_SHORT: case GL_SHORT: size = 2; break;
        case GL_UNSIGNED_INT: case GL_INT: case GL_FLOAT: size = 4; break;
        default: return 0;
    }
    if (width <= 0 || height <= 0) return 0;
    const size_t a = alignment > 0 ? static_cast<size_t>(alignment) : 1;
    size_t row = static_cast<size_t>(width) * components * size;
    if (size < a) row = (row + a - 1) / a * a;
    return row * static_cast<size_t>(height);
}

void CopyImage(GlCall& call, GLsizei width, GLsizei height, GLenum format, GLenum type, const void* data) {
    call.pointers.push_back(data);
    if (data == nullptr) return;
    const size_t bytes = ImageBytes(width, height, format, type, State().unpackAlignment);
    const auto* first = static_cast<const uint8_t*>(data);
    call.pixels.assign(first, first + bytes);
}

template <typename T>
void WriteAnswer(const char* name, GLenum pname, T* data) {
    GlCall& call = Rec(name, {static_cast<double>(pname)});
    const auto& answers = State().answers;
    const auto found = answers.find(pname);
    if (found == answers.end()) {
        data[0] = T{};
        return;
    }
    for (size_t i = 0; i < found->second.size(); ++i) data[i] = static_cast<T>(found->second[i]);
    call.args.insert(call.args.end(), found->second.begin(), found->second.end());
}

template <typename Generate>
void GenerateNames(const char* name, GLsizei n, GLuint* names, Generate next) {
    GlCall& call = Rec(name, {static_cast<double>(n)});
    for (GLsizei i = 0; i < n; ++i) {
        names[i] = next();
        call.args.push_back(names[i]);
    }
}

void Delete(const char* name, GLsizei n, const GLuint* names) {
    Append(Rec(name, {static_cast<double>(n)}), names, n);
}

void SetEnabled(GLenum cap, bool on) {
    if (on) State().enabled.insert(cap);
    else State().enabled.erase(cap);
}

const char* StringAnswer(GLenum name) {
    switch (name) {
        case GL_VENDOR: return "Vintrel tests";
        case GL_RENDERER: return "OpenGL command recorder";
        case GL_VERSION: return "2.1 Vintrel recorder";
        case GL_SHADING_LANGUAGE_VERSION: return "1.10";
        case GL_EXTENSIONS:
            return "GL_ARB_shader_objects GL_ARB_vertex_shader GL_ARB_fragment_shader "
                   "GL_EXT_framebuffer_object GL_ARB_point_sprite GL_ARB_texture_cube_map GL_EXT_bgra";
        default: return nullptr;
    }
}

GLint ObjectParameter(GLhandleARB object, GLenum pname) {
    GlRecorderState& state = State();
    const auto shader = state.shaderTypes.find(object);
    switch (pname) {
        case GL_OBJECT_COMPILE_STATUS_ARB: {
            if (shader == state.shaderTypes.end()) return 0;
            const auto status = state.compiles.find(shader->second);
            return status == state.compiles.end() || status->second ? 1 : 0;
        }
        case GL_OBJECT_LINK_STATUS_ARB: return state.programs.count(object) != 0 && state.links ? 1 : 0;
        case GL_OBJECT_TYPE_ARB:
            return shader != state.shaderTypes.end() ? GL_SHADER_OBJECT_ARB : GL_PROGRAM_OBJECT_ARB;
        case GL_OBJECT_SUBTYPE_ARB: return shader != state.shaderTypes.end() ? shader->second : 0;
        default: return 0;
    }
}

// ---- OpenGL 1.x: immediate mode -------------------------------------------------------------

void GLAD_API_PTR Rec_glBegin(GLenum mode) { Rec("glBegin", {double(mode)}); }
void GLAD_API_PTR Rec_glEnd() { Rec("glEnd"); }
void GLAD_API_PTR Rec_glVertex2f(GLfloat x, GLfloat y) { Rec("glVertex2f", {x, y}); }
void GLAD_API_PTR Rec_glVertex2d(GLdouble x, GLdouble y) { Rec("glVertex2d", {x, y}); }
void GLAD_API_PTR Rec_glVertex2i(GLint x, GLint y) { Rec("glVertex2i", {double(x), double(y)}); }
void GLAD_API_PTR Rec_glVertex3f(GLfloat x, GLfloat y, GLfloat z) { Rec("glVertex3f", {x, y, z}); }
void GLAD_API_PTR Rec_glVertex3d(GLdouble x, GLdouble y, GLdouble z) { Rec("glVertex3d", {x, y, z}); }
void GLAD_API_PTR Rec_glVertex3fv(const GLfloat* v) { Append(Rec("glVertex3fv"), v, 3); }
void GLAD_API_PTR Rec_glVertex3dv(const GLdouble* v) { Append(Rec("glVertex3dv"), v, 3); }
void GLAD_API_PTR Rec_glVertex4f(GLfloat x, GLfloat y, GLfloat z, GLfloat w) { Rec("glVertex4f", {x, y, z, w}); }
void GLAD_API_PTR Rec_glNormal3f(GLfloat x, GLfloat y, GLfloat z) { Rec("glNormal3f", {x, y, z}); }
void GLAD_API_PTR Rec_glNormal3d(GLdouble x, GLdouble y, GLdouble z) { Rec("glNormal3d", {x, y, z}); }
void GLAD_API_PTR Rec_glNormal3fv(const GLfloat* v) { Append(Rec("glNormal3fv"), v, 3); }
void GLAD_API_PTR Rec_glNormal3dv(const GLdouble* v) { Append(Rec("glNormal3dv"), v, 3); }
void GLAD_API_PTR Rec_glTexCoord1f(GLfloat s) { Rec("glTexCoord1f", {s}); }
void GLAD_API_PTR Rec_glTexCoord2f(GLfloat s, GLfloat t) { Rec("glTexCoord2f", {s, t}); }
void GLAD_API_PTR Rec_glTexCoord2d(GLdouble s, GLdouble t) { Rec("glTexCoord2d", {s, t}); }
void GLAD_API_PTR Rec_glTexCoord2fv(const GLfloat* v) { Append(Rec("glTexCoord2fv"), v, 2); }
void GLAD_API_PTR Rec_glTexCoord3f(GLfloat s, GLfloat t, GLfloat r) { Rec("glTexCoord3f", {s, t, r}); }
void GLAD_API_PTR Rec_glTexCoord3fv(const GLfloat* v) { Append(Rec("glTexCoord3fv"), v, 3); }
void GLAD_API_PTR Rec_glColor3f(GLfloat r, GLfloat g, GLfloat b) { Rec("glColor3f", {r, g, b}); }
void GLAD_API_PTR Rec_glColor3d(GLdouble r, GLdouble g, GLdouble b) { Rec("glColor3d", {r, g, b}); }
void GLAD_API_PTR Rec_glColor3fv(const GLfloat* v) { Append(Rec("glColor3fv"), v, 3); }
void GLAD_API_PTR Rec_glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { Rec("glColor4f", {r, g, b, a}); }
void GLAD_API_PTR Rec_glColor4fv(const GLfloat* v) { Append(Rec("glColor4fv"), v, 4); }
void GLAD_API_PTR Rec_glColor3ub(GLubyte r, GLubyte g, GLubyte b) {
    Rec("glColor3ub", {double(r), double(g), double(b)});
}
void GLAD_API_PTR Rec_glColor4ub(GLubyte r, GLubyte g, GLubyte b, GLubyte a) {
    Rec("glColor4ub", {double(r), double(g), double(b), double(a)});
}

// ---- matrices and viewport ------------------------------------------------------------------

void GLAD_API_PTR Rec_glMatrixMode(GLenum mode) { Rec("glMatrixMode", {double(mode)}); }
void GLAD_API_PTR Rec_glLoadIdentity() { Rec("glLoadIdentity"); }
void GLAD_API_PTR Rec_glPushMatrix() { Rec("glPushMatrix"); }
void GLAD_API_PTR Rec_glPopMatrix() { Rec("glPopMatrix"); }
void GLAD_API_PTR Rec_glTranslatef(GLfloat x, GLfloat y, GLfloat z) { Rec("glTranslatef", {x, y, z}); }
void GLAD_API_PTR Rec_glTranslated(GLdouble x, GLdouble y, GLdouble z) { Rec("glTranslated", {x, y, z}); }
void GLAD_API_PTR Rec_glRotatef(GLfloat a, GLfloat x, GLfloat y, GLfloat z) { Rec("glRotatef", {a, x, y, z}); }
void GLAD_API_PTR Rec_glRotated(GLdouble a, GLdouble x, GLdouble y, GLdouble z) { Rec("glRotated", {a, x, y, z}); }
void GLAD_API_PTR Rec_glScalef(GLfloat x, GLfloat y, GLfloat z) { Rec("glScalef", {x, y, z}); }
void GLAD_API_PTR Rec_glScaled(GLdouble x, GLdouble y, GLdouble z) { Rec("glScaled", {x, y, z}); }
void GLAD_API_PTR Rec_glMultMatrixf(const GLfloat* m) { Append(Rec("glMultMatrixf"), m, 16); }
void GLAD_API_PTR Rec_glMultMatrixd(const GLdouble* m) { Append(Rec("glMultMatrixd"), m, 16); }
void GLAD_API_PTR Rec_glLoadMatrixf(const GLfloat* m) { Append(Rec("glLoadMatrixf"), m, 16); }
void GLAD_API_PTR Rec_glLoadMatrixd(const GLdouble* m) { Append(Rec("glLoadMatrixd"), m, 16); }
void GLAD_API_PTR Rec_glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    Rec("glOrtho", {l, r, b, t, n, f});
}
void GLAD_API_PTR Rec_glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    Rec("glFrustum", {l, r, b, t, n, f});
}
void GLAD_API_PTR Rec_glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    Rec("glViewport", {double(x), double(y), double(w), double(h)});
}
void GLAD_API_PTR Rec_glDepthRange(GLdouble n, GLdouble f) { Rec("glDepthRange", {n, f}); }

// ---- state ----------------------------------------------------------------------------------

void GLAD_API_PTR Rec_glEnable(GLenum cap) {
    Rec("glEnable", {double(cap)});
    SetEnabled(cap, true);
}
void GLAD_API_PTR Rec_glDisable(GLenum cap) {
    Rec("glDisable", {double(cap)});
    SetEnabled(cap, false);
}
GLboolean GLAD_API_PTR Rec_glIsEnabled(GLenum cap) {
    const bool on = State().enabled.count(cap) != 0;
    Rec("glIsEnabled", {double(cap)}).result = on;
    return on ? GL_TRUE : GL_FALSE;
}
void GLAD_API_PTR Rec_glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { Rec("glClearColor", {r, g, b, a}); }
void GLAD_API_PTR Rec_glClearDepth(GLdouble d) { Rec("glClearDepth", {d}); }
void GLAD_API_PTR Rec_glClear(GLbitfield mask) { Rec("glClear", {double(mask)}); }
void GLAD_API_PTR Rec_glDepthFunc(GLenum f) { Rec("glDepthFunc", {double(f)}); }
void GLAD_API_PTR Rec_glDepthMask(GLboolean on) { Rec("glDepthMask", {double(on)}); }
void GLAD_API_PTR Rec_glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a) {
    Rec("glColorMask", {double(r), double(g), double(b), double(a)});
}
void GLAD_API_PTR Rec_glCullFace(GLenum mode) { Rec("glCullFace", {double(mode)}); }
void GLAD_API_PTR Rec_glFrontFace(GLenum mode) { Rec("glFrontFace", {double(mode)}); }
void GLAD_API_PTR Rec_glBlendFunc(GLenum s, GLenum d) { Rec("glBlendFunc", {double(s), double(d)}); }
void GLAD_API_PTR Rec_glAlphaFunc(GLenum f, GLfloat ref) { Rec("glAlphaFunc", {double(f), ref}); }
void GLAD_API_PTR Rec_glShadeModel(GLenum mode) { Rec("glShadeModel", {double(mode)}); }
void GLAD_API_PTR Rec_glHint(GLenum target, GLenum mode) { Rec("glHint", {double(target), double(mode)}); }
void GLAD_API_PTR Rec_glPolygonMode(GLenum face, GLenum mode) { Rec("glPolygonMode", {double(face), double(mode)}); }
void GLAD_API_PTR Rec_glLineWidth(GLfloat w) { Rec("glLineWidth", {w}); }
void GLAD_API_PTR Rec_glPointSize(GLfloat s) { Rec("glPointSize", {s}); }
void GLAD_API_PTR Rec_glPointParameterf(GLenum pname, GLfloat v) { Rec("glPointParameterf", {double(pname), v}); }
void GLAD_API_PTR Rec_glPointParameterfv(GLenum pname, const GLfloat* v) {
    Append(Rec("glPointParameterfv", {double(pname)}), v, PointParameterValueCount(pname));
}
void GLAD_API_PTR Rec_glPixelStorei(GLenum pname, GLint v) {
    Rec("glPixelStorei", {double(pname), double(v)});
    if (pname == GL_UNPACK_ALIGNMENT) State().unpackAlignment = v;
}
void GLAD_API_PTR Rec_glFlush() { Rec("glFlush"); }
void GLAD_API_PTR Rec_glFinish() { Rec("glFinish"); }
GLenum GLAD_API_PTR Rec_glGetError() {
    Rec("glGetError");
    return GL_NO_ERROR;
}
const GLubyte* GLAD_API_PTR Rec_glGetString(GLenum name) {
    const char* answer = StringAnswer(name);
    Rec("glGetString", {double(name)}).text = answer != nullptr ? answer : "";
    return reinterpret_cast<const GLubyte*>(answer);
}
void GLAD_API_PTR Rec_glGetFloatv(GLenum pname, GLfloat* data) { WriteAnswer("glGetFloatv", pname, data); }
void GLAD_API_PTR Rec_glGetDoublev(GLenum pname, GLdouble* data) { WriteAnswer("glGetDoublev", pname, data); }
void GLAD_API_PTR Rec_glGetIntegerv(GLenum pname, GLint* data) { WriteAnswer("glGetIntegerv", pname, data); }
void GLAD_API_PTR Rec_glGetBooleanv(GLenum pname, GLboolean* data) { WriteAnswer("glGetBooleanv", pname, data); }

// ---- textures -------------------------------------------------------------------------------

void GLAD_API_PTR Rec_glGenTextures(GLsizei n, GLuint* names) {
    GenerateNames("glGenTextures", n, names, [] { return State().nextTexture++; });
}
void GLAD_API_PTR Rec_glDeleteTextures(GLsizei n, const GLuint* names) { Delete("glDeleteTextures", n, names); }
void GLAD_API_PTR Rec_glBindTexture(GLenum target, GLuint texture) {
    Rec("glBindTexture", {double(target), double(texture)});
}
void GLAD_API_PTR Rec_glActiveTexture(GLenum unit) { Rec("glActiveTexture", {double(unit)}); }
void GLAD_API_PTR Rec_glTexParameteri(GLenum target, GLenum pname, GLint v) {
    Rec("glTexParameteri", {double(target), double(pname), double(v)});
}
void GLAD_API_PTR Rec_glTexParameterf(GLenum target, GLenum pname, GLfloat v) {
    Rec("glTexParameterf", {double(target), double(pname), v});
}
void GLAD_API_PTR Rec_glTexParameterfv(GLenum target, GLenum pname, const GLfloat* v) {
    Append(Rec("glTexParameterfv", {double(target), double(pname)}), v, TexParameterValueCount(pname));
}
void GLAD_API_PTR Rec_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                                   GLint border, GLenum format, GLenum type, const void* data) {
    GlCall& call = Rec("glTexImage2D", {double(target), double(level), double(internalFormat), double(width),
                                         double(height), double(border), double(format), double(type)});
    CopyImage(call, width, height, format, type, data);
}
void GLAD_API_PTR Rec_glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei width, GLsizei height,
                                      GLenum format, GLenum type, const void* data) {
    GlCall& call = Rec("glTexSubImage2D", {double(target), double(level), double(x), double(y), double(width),
                                            double(height), double(format), double(type)});
    CopyImage(call, width, height, format, type, data);
}
void GLAD_API_PTR Rec_glCopyTexSubImage2D(GLenum target, GLint level, GLint xo, GLint yo, GLint x, GLint y,
                                          GLsizei w, GLsizei h) {
    Rec("glCopyTexSubImage2D",
        {double(target), double(level), double(xo), double(yo), double(x), double(y), double(w), double(h)});
}
void GLAD_API_PTR Rec_glTexEnvi(GLenum target, GLenum pname, GLint v) {
    Rec("glTexEnvi", {double(target), double(pname), double(v)});
}
void GLAD_API_PTR Rec_glTexEnvf(GLenum target, GLenum pname, GLfloat v) {
    Rec("glTexEnvf", {double(target), double(pname), v});
}
void GLAD_API_PTR Rec_glTexEnvfv(GLenum target, GLenum pname, const GLfloat* v) {
    Append(Rec("glTexEnvfv", {double(target), double(pname)}), v, TexEnvValueCount(pname));
}
void GLAD_API_PTR Rec_glTexGeni(GLenum coord, GLenum pname, GLint v) {
    Rec("glTexGeni", {double(coord), double(pname), double(v)});
}
void GLAD_API_PTR Rec_glTexGenf(GLenum coord, GLenum pname, GLfloat v) {
    Rec("glTexGenf", {double(coord), double(pname), v});
}
void GLAD_API_PTR Rec_glTexGenfv(GLenum coord, GLenum pname, const GLfloat* v) {
    Append(Rec("glTexGenfv", {double(coord), double(pname)}), v, TexGenValueCount(pname));
}

// ---- display lists --------------------------------------------------------------------------

GLuint GLAD_API_PTR Rec_glGenLists(GLsizei range) {
    GlRecorderState& state = State();
    const GLuint first = range > 0 ? state.nextList : 0;
    if (range > 0) state.nextList += static_cast<GLuint>(range);
    Rec("glGenLists", {double(range)}).result = first;
    return first;
}
void GLAD_API_PTR Rec_glNewList(GLuint list, GLenum mode) {
    Rec("glNewList", {double(list), double(mode)});
    State().openList = list;
}
void GLAD_API_PTR Rec_glEndList() {
    State().openList = 0;
    Rec("glEndList");
}
void GLAD_API_PTR Rec_glCallList(GLuint list) { Rec("glCallList", {double(list)}); }
void GLAD_API_PTR Rec_glCallLists(GLsizei n, GLenum type, const void* lists) {
    GlCall& call = Rec("glCallLists", {double(n), double(type)});
    switch (type) {
        case GL_UNSIGNED_INT: Append(call, static_cast<const GLuint*>(lists), n); break;
        case GL_INT: Append(call, static_cast<const GLint*>(lists), n); break;
        case GL_UNSIGNED_BYTE: Append(call, static_cast<const GLubyte*>(lists), n); break;
        default: call.pointers.push_back(lists); break;
    }
}
void GLAD_API_PTR Rec_glDeleteLists(GLuint list, GLsizei range) { Rec("glDeleteLists", {double(list), double(range)}); }
GLboolean GLAD_API_PTR Rec_glIsList(GLuint list) {
    const bool known = list != 0 && list < State().nextList;
    Rec("glIsList", {double(list)}).result = known;
    return known ? GL_TRUE : GL_FALSE;
}

// ---- lights and materials -------------------------------------------------------------------

void GLAD_API_PTR Rec_glLightf(GLenum light, GLenum pname, GLfloat v) { Rec("glLightf", {double(light), double(pname), v}); }
void GLAD_API_PTR Rec_glLighti(GLenum light, GLenum pname, GLint v) {
    Rec("glLighti", {double(light), double(pname), double(v)});
}
void GLAD_API_PTR Rec_glLightfv(GLenum light, GLenum pname, const GLfloat* v) {
    Append(Rec("glLightfv", {double(light), double(pname)}), v, LightValueCount(pname));
}
void GLAD_API_PTR Rec_glLightModelf(GLenum pname, GLfloat v) { Rec("glLightModelf", {double(pname), v}); }
void GLAD_API_PTR Rec_glLightModeli(GLenum pname, GLint v) { Rec("glLightModeli", {double(pname), double(v)}); }
void GLAD_API_PTR Rec_glLightModelfv(GLenum pname, const GLfloat* v) {
    Append(Rec("glLightModelfv", {double(pname)}), v, LightModelValueCount(pname));
}
void GLAD_API_PTR Rec_glMaterialf(GLenum face, GLenum pname, GLfloat v) {
    Rec("glMaterialf", {double(face), double(pname), v});
}
void GLAD_API_PTR Rec_glMateriali(GLenum face, GLenum pname, GLint v) {
    Rec("glMateriali", {double(face), double(pname), double(v)});
}
void GLAD_API_PTR Rec_glMaterialfv(GLenum face, GLenum pname, const GLfloat* v) {
    Append(Rec("glMaterialfv", {double(face), double(pname)}), v, MaterialValueCount(pname));
}
void GLAD_API_PTR Rec_glColorMaterial(GLenum face, GLenum mode) { Rec("glColorMaterial", {double(face), double(mode)}); }

// ---- client arrays --------------------------------------------------------------------------

void GLAD_API_PTR Rec_glEnableClientState(GLenum array) { Rec("glEnableClientState", {double(array)}); }
void GLAD_API_PTR Rec_glDisableClientState(GLenum array) { Rec("glDisableClientState", {double(array)}); }
void GLAD_API_PTR Rec_glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* p) {
    Rec("glVertexPointer", {double(size), double(type), double(stride)}).pointers.push_back(p);
}
void GLAD_API_PTR Rec_glNormalPointer(GLenum type, GLsizei stride, const void* p) {
    Rec("glNormalPointer", {double(type), double(stride)}).pointers.push_back(p);
}
void GLAD_API_PTR Rec_glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* p) {
    Rec("glTexCoordPointer", {double(size), double(type), double(stride)}).pointers.push_back(p);
}
void GLAD_API_PTR Rec_glColorPointer(GLint size, GLenum type, GLsizei stride, const void* p) {
    Rec("glColorPointer", {double(size), double(type), double(stride)}).pointers.push_back(p);
}
void GLAD_API_PTR Rec_glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    Rec("glDrawArrays", {double(mode), double(first), double(count)});
}
void GLAD_API_PTR Rec_glDrawElements(GLenum mode, GLsizei count, GLenum type, const void* indices) {
    Rec("glDrawElements", {double(mode), double(count), double(type)}).pointers.push_back(indices);
}

// ---- ARB shader objects ---------------------------------------------------------------------

GLhandleARB GLAD_API_PTR Rec_glCreateShaderObjectARB(GLenum type) {
    GlRecorderState& state = State();
    const GLhandleARB object = state.nextObject++;
    state.shaderTypes[object] = type;
    Rec("glCreateShaderObjectARB", {double(type)}).result = object;
    return object;
}
GLhandleARB GLAD_API_PTR Rec_glCreateProgramObjectARB() {
    GlRecorderState& state = State();
    const GLhandleARB object = state.nextObject++;
    state.programs.insert(object);
    Rec("glCreateProgramObjectARB").result = object;
    return object;
}
void GLAD_API_PTR Rec_glShaderSourceARB(GLhandleARB shader, GLsizei count, const GLcharARB** strings,
                                        const GLint* lengths) {
    GlCall& call = Rec("glShaderSourceARB", {double(shader), double(count)});
    for (GLsizei i = 0; i < count; ++i) {
        if (lengths != nullptr && lengths[i] >= 0) call.text.append(strings[i], static_cast<size_t>(lengths[i]));
        else call.text.append(strings[i]);
    }
}
void GLAD_API_PTR Rec_glCompileShaderARB(GLhandleARB shader) { Rec("glCompileShaderARB", {double(shader)}); }
void GLAD_API_PTR Rec_glGetObjectParameterivARB(GLhandleARB object, GLenum pname, GLint* params) {
    params[0] = ObjectParameter(object, pname);
    Rec("glGetObjectParameterivARB", {double(object), double(pname)}).result = params[0];
}
void GLAD_API_PTR Rec_glGetInfoLogARB(GLhandleARB object, GLsizei maxLength, GLsizei* length, GLcharARB* log) {
    Rec("glGetInfoLogARB", {double(object), double(maxLength)});
    if (length != nullptr) *length = 0;
    if (log != nullptr && maxLength > 0) log[0] = '\0';
}
void GLAD_API_PTR Rec_glAttachObjectARB(GLhandleARB program, GLhandleARB shader) {
    Rec("glAttachObjectARB", {double(program), double(shader)});
}
void GLAD_API_PTR Rec_glLinkProgramARB(GLhandleARB program) { Rec("glLinkProgramARB", {double(program)}); }
void GLAD_API_PTR Rec_glDeleteObjectARB(GLhandleARB object) {
    Rec("glDeleteObjectARB", {double(object)});
    State().shaderTypes.erase(object);
    State().programs.erase(object);
}
void GLAD_API_PTR Rec_glUseProgramObjectARB(GLhandleARB program) { Rec("glUseProgramObjectARB", {double(program)}); }
GLint GLAD_API_PTR Rec_glGetUniformLocationARB(GLhandleARB program, const GLcharARB* name) {
    const GLint location = State().Location(name);
    GlCall& call = Rec("glGetUniformLocationARB", {double(program)});
    call.text = name;
    call.result = location;
    return location;
}
void GLAD_API_PTR Rec_glUniform1iARB(GLint location, GLint v) { Rec("glUniform1iARB", {double(location), double(v)}); }
void GLAD_API_PTR Rec_glUniform1fARB(GLint location, GLfloat v) { Rec("glUniform1fARB", {double(location), v}); }

// ---- OpenGL 2.0 programs, uniforms and attributes -------------------------------------------

void GLAD_API_PTR Rec_glUseProgram(GLuint program) { Rec("glUseProgram", {double(program)}); }
GLint GLAD_API_PTR Rec_glGetUniformLocation(GLuint program, const GLchar* name) {
    const GLint location = State().Location(name);
    GlCall& call = Rec("glGetUniformLocation", {double(program)});
    call.text = name;
    call.result = location;
    return location;
}
GLint GLAD_API_PTR Rec_glGetAttribLocation(GLuint program, const GLchar* name) {
    const GLint location = State().Location(name);
    GlCall& call = Rec("glGetAttribLocation", {double(program)});
    call.text = name;
    call.result = location;
    return location;
}
void GLAD_API_PTR Rec_glUniform1i(GLint location, GLint v) { Rec("glUniform1i", {double(location), double(v)}); }
void GLAD_API_PTR Rec_glUniform1f(GLint location, GLfloat v) { Rec("glUniform1f", {double(location), v}); }
void GLAD_API_PTR Rec_glUniform2f(GLint location, GLfloat a, GLfloat b) { Rec("glUniform2f", {double(location), a, b}); }
void GLAD_API_PTR Rec_glUniform3f(GLint location, GLfloat a, GLfloat b, GLfloat c) {
    Rec("glUniform3f", {double(location), a, b, c});
}
void GLAD_API_PTR Rec_glUniform4f(GLint location, GLfloat a, GLfloat b, GLfloat c, GLfloat d) {
    Rec("glUniform4f", {double(location), a, b, c, d});
}
void GLAD_API_PTR Rec_glUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose, const GLfloat* v) {
    Append(Rec("glUniformMatrix4fv", {double(location), double(count), double(transpose)}), v, 16L * count);
}
void GLAD_API_PTR Rec_glEnableVertexAttribArray(GLuint index) { Rec("glEnableVertexAttribArray", {double(index)}); }
void GLAD_API_PTR Rec_glDisableVertexAttribArray(GLuint index) { Rec("glDisableVertexAttribArray", {double(index)}); }
void GLAD_API_PTR Rec_glVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                            GLsizei stride, const void* p) {
    Rec("glVertexAttribPointer", {double(index), double(size), double(type), double(normalized), double(stride)})
        .pointers.push_back(p);
}

// ---- EXT framebuffer objects ----------------------------------------------------------------

void GLAD_API_PTR Rec_glGenFramebuffersEXT(GLsizei n, GLuint* names) {
    GenerateNames("glGenFramebuffersEXT", n, names, [] { return State().nextFramebuffer++; });
}
void GLAD_API_PTR Rec_glGenRenderbuffersEXT(GLsizei n, GLuint* names) {
    GenerateNames("glGenRenderbuffersEXT", n, names, [] { return State().nextRenderbuffer++; });
}
void GLAD_API_PTR Rec_glDeleteFramebuffersEXT(GLsizei n, const GLuint* names) { Delete("glDeleteFramebuffersEXT", n, names); }
void GLAD_API_PTR Rec_glDeleteRenderbuffersEXT(GLsizei n, const GLuint* names) {
    Delete("glDeleteRenderbuffersEXT", n, names);
}
void GLAD_API_PTR Rec_glBindFramebufferEXT(GLenum target, GLuint fb) { Rec("glBindFramebufferEXT", {double(target), double(fb)}); }
void GLAD_API_PTR Rec_glBindRenderbufferEXT(GLenum target, GLuint rb) {
    Rec("glBindRenderbufferEXT", {double(target), double(rb)});
}
void GLAD_API_PTR Rec_glFramebufferTexture2DEXT(GLenum target, GLenum attachment, GLenum texTarget, GLuint texture,
                                                GLint level) {
    Rec("glFramebufferTexture2DEXT", {double(target), double(attachment), double(texTarget), double(texture), double(level)});
}
void GLAD_API_PTR Rec_glFramebufferRenderbufferEXT(GLenum target, GLenum attachment, GLenum rbTarget, GLuint rb) {
    Rec("glFramebufferRenderbufferEXT", {double(target), double(attachment), double(rbTarget), double(rb)});
}
void GLAD_API_PTR Rec_glRenderbufferStorageEXT(GLenum target, GLenum format, GLsizei w, GLsizei h) {
    Rec("glRenderbufferStorageEXT", {double(target), double(format), double(w), double(h)});
}
GLenum GLAD_API_PTR Rec_glCheckFramebufferStatusEXT(GLenum target) {
    const GLenum status = State().framebufferStatus;
    Rec("glCheckFramebufferStatusEXT", {double(target)}).result = status;
    return status;
}

struct Stub {
    std::string_view name;
    GLADapiproc proc;
};

// The explicit template argument makes a stub whose signature differs from the loader's
// pointer type fail to compile.
template <typename Pointer>
GLADapiproc Checked(Pointer stub) {
    return reinterpret_cast<GLADapiproc>(stub);
}

#define VINTREL_STUB(fn) Stub{#fn, Checked<decltype(glad_##fn)>(&Rec_##fn)}

const Stub kStubs[] = {
    VINTREL_STUB(glBegin), VINTREL_STUB(glEnd), VINTREL_STUB(glVertex2f), VINTREL_STUB(glVertex2d),
    VINTREL_STUB(glVertex2i), VINTREL_STUB(glVertex3f), VINTREL_STUB(glVertex3d), VINTREL_STUB(glVertex3fv),
    VINTREL_STUB(glVertex3dv), VINTREL_STUB(glVertex4f), VINTREL_STUB(glNormal3f), VINTREL_STUB(glNormal3d),
    VINTREL_STUB(glNormal3fv), VINTREL_STUB(glNormal3dv), VINTREL_STUB(glTexCoord1f), VINTREL_STUB(glTexCoord2f),
    VINTREL_STUB(glTexCoord2d), VINTREL_STUB(glTexCoord2fv), VINTREL_STUB(glTexCoord3f), VINTREL_STUB(glTexCoord3fv),
    VINTREL_STUB(glColor3f), VINTREL_STUB(glColor3d), VINTREL_STUB(glColor3fv), VINTREL_STUB(glColor4f),
    VINTREL_STUB(glColor4fv), VINTREL_STUB(glColor3ub), VINTREL_STUB(glColor4ub),

    VINTREL_STUB(glMatrixMode), VINTREL_STUB(glLoadIdentity), VINTREL_STUB(glPushMatrix), VINTREL_STUB(glPopMatrix),
    VINTREL_STUB(glTranslatef), VINTREL_STUB(glTranslated), VINTREL_STUB(glRotatef), VINTREL_STUB(glRotated),
    VINTREL_STUB(glScalef), VINTREL_STUB(glScaled), VINTREL_STUB(glMultMatrixf), VINTREL_STUB(glMultMatrixd),
    VINTREL_STUB(glLoadMatrixf), VINTREL_STUB(glLoadMatrixd), VINTREL_STUB(glOrtho), VINTREL_STUB(glFrustum),
    VINTREL_STUB(glViewport), VINTREL_STUB(glDepthRange),

    VINTREL_STUB(glEnable), VINTREL_STUB(glDisable), VINTREL_STUB(glIsEnabled), VINTREL_STUB(glClearColor),
    VINTREL_STUB(glClearDepth), VINTREL_STUB(glClear), VINTREL_STUB(glDepthFunc), VINTREL_STUB(glDepthMask),
    VINTREL_STUB(glColorMask), VINTREL_STUB(glCullFace), VINTREL_STUB(glFrontFace), VINTREL_STUB(glBlendFunc),
    VINTREL_STUB(glAlphaFunc), VINTREL_STUB(glShadeModel), VINTREL_STUB(glHint), VINTREL_STUB(glPolygonMode),
    VINTREL_STUB(glLineWidth), VINTREL_STUB(glPointSize), VINTREL_STUB(glPointParameterf),
    VINTREL_STUB(glPointParameterfv), VINTREL_STUB(glPixelStorei), VINTREL_STUB(glFlush), VINTREL_STUB(glFinish),
    VINTREL_STUB(glGetError), VINTREL_STUB(glGetString), VINTREL_STUB(glGetFloatv), VINTREL_STUB(glGetDoublev),
    VINTREL_STUB(glGetIntegerv), VINTREL_STUB(glGetBooleanv),

    VINTREL_STUB(glGenTextures), VINTREL_STUB(glDeleteTextures), VINTREL_STUB(glBindTexture),
    VINTREL_STUB(glActiveTexture), VINTREL_STUB(glTexParameteri), VINTREL_STUB(glTexParameterf),
    VINTREL_STUB(glTexParameterfv), VINTREL_STUB(glTexImage2D), VINTREL_STUB(glTexSubImage2D),
    VINTREL_STUB(glCopyTexSubImage2D), VINTREL_STUB(glTexEnvi), VINTREL_STUB(glTexEnvf), VINTREL_STUB(glTexEnvfv),
    VINTREL_STUB(glTexGeni), VINTREL_STUB(glTexGenf), VINTREL_STUB(glTexGenfv),

    VINTREL_STUB(glGenLists), VINTREL_STUB(glNewList), VINTREL_STUB(glEndList), VINTREL_STUB(glCallList),
    VINTREL_STUB(glCallLists), VINTREL_STUB(glDeleteLists), VINTREL_STUB(glIsList),

    VINTREL_STUB(glLightf), VINTREL_STUB(glLighti), VINTREL_STUB(glLightfv), VINTREL_STUB(glLightModelf),
    VINTREL_STUB(glLightModeli), VINTREL_STUB(glLightModelfv), VINTREL_STUB(glMaterialf), VINTREL_STUB(glMateriali),
    VINTREL_STUB(glMaterialfv), VINTREL_STUB(glColorMaterial),

    VINTREL_STUB(glEnableClientState), VINTREL_STUB(glDisableClientState), VINTREL_STUB(glVertexPointer),
    VINTREL_STUB(glNormalPointer), VINTREL_STUB(glTexCoordPointer), VINTREL_STUB(glColorPointer),
    VINTREL_STUB(glDrawArrays), VINTREL_STUB(glDrawElements),

    VINTREL_STUB(glCreateShaderObjectARB), VINTREL_STUB(glCreateProgramObjectARB), VINTREL_STUB(glShaderSourceARB),
    VINTREL_STUB(glCompileShaderARB), VINTREL_STUB(glGetObjectParameterivARB), VINTREL_STUB(glGetInfoLogARB),
    VINTREL_STUB(glAttachObjectARB), VINTREL_STUB(glLinkProgramARB), VINTREL_STUB(glDeleteObjectARB),
    VINTREL_STUB(glUseProgramObjectARB), VINTREL_STUB(glGetUniformLocationARB), VINTREL_STUB(glUniform1iARB),
    VINTREL_STUB(glUniform1fARB),

    VINTREL_STUB(glUseProgram), VINTREL_STUB(glGetUniformLocation), VINTREL_STUB(glGetAttribLocation),
    VINTREL_STUB(glUniform1i), VINTREL_STUB(glUniform1f), VINTREL_STUB(glUniform2f), VINTREL_STUB(glUniform3f),
    VINTREL_STUB(glUniform4f), VINTREL_STUB(glUniformMatrix4fv), VINTREL_STUB(glEnableVertexAttribArray),
    VINTREL_STUB(glDisableVertexAttribArray), VINTREL_STUB(glVertexAttribPointer),

    VINTREL_STUB(glGenFramebuffersEXT), VINTREL_STUB(glGenRenderbuffersEXT), VINTREL_STUB(glDeleteFramebuffersEXT),
    VINTREL_STUB(glDeleteRenderbuffersEXT), VINTREL_STUB(glBindFramebufferEXT), VINTREL_STUB(glBindRenderbufferEXT),
    VINTREL_STUB(glFramebufferTexture2DEXT), VINTREL_STUB(glFramebufferRenderbufferEXT),
    VINTREL_STUB(glRenderbufferStorageEXT), VINTREL_STUB(glCheckFramebufferStatusEXT),
};

#undef VINTREL_STUB

}  // namespace

GLADapiproc LookUpRecordingStub(const char* name) {
    for (const Stub& stub : kStubs) {
        if (stub.name == name) return stub.proc;
    }
    return nullptr;
}

// ---- GLU, substituted at link time ----------------------------------------------------------

extern "C" {

void GLAD_API_PTR gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    Rec("gluPerspective", {fovy, aspect, zNear, zFar});
}

GLint GLAD_API_PTR gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format,
                                     GLenum type, const void* data) {
    GlCall& call = Rec("gluBuild2DMipmaps", {double(target), double(components), double(width), double(height),
                                             double(format), double(type)});
    CopyImage(call, width, height, format, type, data);
    return 0;
}

GLUquadric* GLAD_API_PTR gluNewQuadric(void) {
    // An address no other quadric has; the recorder never looks inside.
    auto* quadric = reinterpret_cast<GLUquadric*>(&State().quadrics.emplace_back(0));
    Rec("gluNewQuadric").pointers.push_back(quadric);
    return quadric;
}

void GLAD_API_PTR gluDeleteQuadric(GLUquadric* quadric) { Rec("gluDeleteQuadric").pointers.push_back(quadric); }

void GLAD_API_PTR gluCylinder(GLUquadric* quadric, GLdouble baseRadius, GLdouble topRadius, GLdouble height,
                              GLint slices, GLint stacks) {
    Rec("gluCylinder", {baseRadius, topRadius, height, double(slices), double(stacks)}).pointers.push_back(quadric);
}

}  // extern "C"
