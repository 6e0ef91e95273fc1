#include "apps/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "gfx/gl_capabilities.h"

namespace {

void (*LookUpOpenGl(const char* name))(void) { return eglGetProcAddress(name); }

}  // namespace

OffscreenContext::~OffscreenContext() {
    if (!display_) return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_) eglDestroyContext(display_, context_);
    if (surface_) eglDestroySurface(display_, surface_);
    eglTerminate(display_);
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
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                       EGL_DEPTH_SIZE, 24, EGL_STENCIL_SIZE, 8, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(display_, configAttributes, &config, 1, &configs) || configs == 0) {
        error_ = "no EGL configuration with RGBA8, 24 depth and 8 stencil bits";
        return false;
    }
    config_ = config;
    if (!CreateSurface(width, height)) return false;
    eglBindAPI(EGL_OPENGL_API);
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                        EGL_NONE};
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, contextAttributes);
    if (context_ == EGL_NO_CONTEXT) {
        error_ = "cannot create a desktop OpenGL compatibility context";
        context_ = nullptr;
        return false;
    }
    if (!eglMakeCurrent(display_, surface_, surface_, context_)) {
        error_ = "cannot make the OpenGL context current";
        return false;
    }
    if (!LoadOpenGl(LookUpOpenGl)) {
        error_ = "cannot load OpenGL entry points";
        return false;
    }
    return true;
}
