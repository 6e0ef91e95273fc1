#include "apps/egl_compatibility.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

bool CreateEglCompatibilityContext(void* display, int surfaceType, bool alpha, EglCompatibilityContext& made,
                                   std::string& error) {
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, surfaceType, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE,
                                       alpha ? 8 : 0, EGL_DEPTH_SIZE, 24, EGL_STENCIL_SIZE, 8, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &configs) || configs == 0) {
        error = std::string("no EGL ") + (surfaceType == EGL_WINDOW_BIT ? "window " : "") + "configuration with " +
                (alpha ? "RGBA8" : "RGB8") + ", 24 depth and 8 stencil bits";
        return false;
    }
    made.config = config;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error = "EGL offers no desktop OpenGL";
        return false;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                        EGL_NONE};
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        error = "cannot create a desktop OpenGL compatibility context";
        return false;
    }
    made.context = context;
    return true;
}

void (*LookUpEglOpenGl(const char* name))(void) { return eglGetProcAddress(name); }

void EndEglDisplay(void* display, void* context) {
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context) eglDestroyContext(display, context);
    eglTerminate(display);
}
