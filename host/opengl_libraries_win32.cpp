#include "host/opengl_libraries_win32.h"

#include "gfx/glu.h"
#include "host/system_libraries_win32.h"

namespace {

struct OpenGlLibraries {
    HMODULE openGl = nullptr;
    HGLRC(WINAPI* createContext)(HDC) = nullptr;
    BOOL(WINAPI* makeCurrent)(HDC, HGLRC) = nullptr;
    BOOL(WINAPI* deleteContext)(HGLRC) = nullptr;
    PROC(WINAPI* getProcAddress)(LPCSTR) = nullptr;
    decltype(&gluPerspective) perspective = nullptr;
    decltype(&gluBuild2DMipmaps) build2DMipmaps = nullptr;
    decltype(&gluNewQuadric) newQuadric = nullptr;
    decltype(&gluDeleteQuadric) deleteQuadric = nullptr;
    decltype(&gluCylinder) cylinder = nullptr;
    bool complete = false;
};

OpenGlLibraries libraries;

template <typename Function>
void LookUp(Function& function, HMODULE library, const char* name) {
    function = LookUpEntryPoint<Function>(library, name);
}

}  // namespace

bool LoadOpenGlLibraries() {
    static bool attempted = false;
    if (attempted) return libraries.complete;
    attempted = true;
    libraries.openGl = LoadSystemLibrary(L"opengl32.dll");
    HMODULE glu = LoadSystemLibrary(L"glu32.dll");
    LookUp(libraries.createContext, libraries.openGl, "wglCreateContext");
    LookUp(libraries.makeCurrent, libraries.openGl, "wglMakeCurrent");
    LookUp(libraries.deleteContext, libraries.openGl, "wglDeleteContext");
    LookUp(libraries.getProcAddress, libraries.openGl, "wglGetProcAddress");
    LookUp(libraries.perspective, glu, "gluPerspective");
    LookUp(libraries.build2DMipmaps, glu, "gluBuild2DMipmaps");
    LookUp(libraries.newQuadric, glu, "gluNewQuadric");
    LookUp(libraries.deleteQuadric, glu, "gluDeleteQuadric");
    LookUp(libraries.cylinder, glu, "gluCylinder");
    libraries.complete = libraries.createContext && libraries.makeCurrent && libraries.deleteContext &&
                         libraries.getProcAddress && libraries.perspective && libraries.build2DMipmaps &&
                         libraries.newQuadric && libraries.deleteQuadric && libraries.cylinder;
    return libraries.complete;
}

HGLRC CreateRenderContext(HDC deviceContext) {
    return libraries.complete ? libraries.createContext(deviceContext) : nullptr;
}

BOOL MakeRenderContextCurrent(HDC deviceContext, HGLRC renderContext) {
    return libraries.complete ? libraries.makeCurrent(deviceContext, renderContext) : FALSE;
}

BOOL DeleteRenderContext(HGLRC renderContext) {
    return libraries.complete && renderContext ? libraries.deleteContext(renderContext) : FALSE;
}

void (*LookUpOpenGlEntryPoint(const char* name))(void) {
    if (!libraries.complete) return nullptr;
    PROC procedure = libraries.getProcAddress(name);
    // OpenGL 1.1 entry points come from the library itself; wglGetProcAddress finds only the
    // rest, and some drivers answer 1, 2, 3 or -1 instead of none.
    const auto value = reinterpret_cast<intptr_t>(procedure);
    if (value == 0 || value == 1 || value == 2 || value == 3 || value == -1) {
        procedure = LookUpEntryPoint<PROC>(libraries.openGl, name);
    }
    return reinterpret_cast<void (*)(void)>(reinterpret_cast<void*>(procedure));
}

// The GLU routines the scene calls; each does nothing where its entry point is missing (no
// rendering context is made then, so they are not reached).
extern "C" {

void GLAD_API_PTR gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    if (libraries.perspective) libraries.perspective(fovy, aspect, zNear, zFar);
}

GLint GLAD_API_PTR gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height, GLenum format,
                                     GLenum type, const void* data) {
    constexpr GLint kOutOfMemory = 100902;  // GLU_OUT_OF_MEMORY: nothing was built
    return libraries.build2DMipmaps ? libraries.build2DMipmaps(target, components, width, height, format, type, data)
                                    : kOutOfMemory;
}

GLUquadric* GLAD_API_PTR gluNewQuadric(void) { return libraries.newQuadric ? libraries.newQuadric() : nullptr; }

void GLAD_API_PTR gluDeleteQuadric(GLUquadric* quadric) {
    if (libraries.deleteQuadric && quadric) libraries.deleteQuadric(quadric);
}

void GLAD_API_PTR gluCylinder(GLUquadric* quadric, GLdouble baseRadius, GLdouble topRadius, GLdouble height,
                              GLint slices, GLint stacks) {
    if (libraries.cylinder && quadric) libraries.cylinder(quadric, baseRadius, topRadius, height, slices, stacks);
}
}
