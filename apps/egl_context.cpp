#include "apps/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "apps/egl_compatibility.h"
#include "gfx/gl_capabilities.h"

OffscreenContext::~OffscreenContext() {
    if (!display_) return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface_) eglDestroySurface(display_, surface_);
    EndEglDisplay(display_, context_);
}

bool OffscreenContext::CreateSurface(int width, int height) {
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    surface_ = eglCreatePbufferSurface(display_, static_cast<EGLConfig>(config_), surfaceAttributes);
    if (surface_ == EGL_NO_SURFACE) {
        error_ = "cannot create a " + std::to_string(width) + "x" + std::to_string(height) + " pbuffer";
        surface_ = nullptr;
        return false;
    }
    return true;
}

bool OffscreenContext::Resize(int width, int height) {
    void* const old = surface_;
    if (!CreateSurface(width, height)) {
        surface_ = old;
        return false;
    }
    if (!eglMakeCurrent(display_, surface_, surface_, context_)) {
        error_ = "cannot make the OpenGL context current on the resized pbuffer";
        return false;
    }
    eglDestroySurface(display_, old);
    return true;
}

bool OffscreenContext::Create(int width, int height) {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) {
        error_ = "EGL offers no eglGetPlatformDisplayEXT";
        return false;
    }
    display_ = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (!display_ || !eglInitialize(display_, nullptr, nullptr)) {
        error_ = "cannot open Mesa's surfaceless EGL display";
        display_ = nullptr;
        return false;
    }
    EglCompatibilityContext made;
    const bool created = CreateEglCompatibilityContext(display_, EGL_PBUFFER_BIT, true, made, error_);
    config_ = made.config;
    context_ = made.context;
    if (!created || !CreateSurface(width, height)) return false;
    if (!eglMakeCurrent(display_, surface_, surface_, context_)) {
        error_ = "cannot make the OpenGL context current";
        return false;
    }
    if (!LoadOpenGl(LookUpEglOpenGl)) {
        error_ = "cannot load OpenGL entry points";
        return false;
    }
    return true;
}
