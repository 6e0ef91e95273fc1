#include "apps/wayland_egl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-egl.h>

#include "gfx/gl_capabilities.h"

namespace {

void (*LookUpOpenGl(const char* name))(void) { return eglGetProcAddress(name); }

}  // namespace

WaylandGl::~WaylandGl() {
    if (!display_) return;
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_) eglDestroyContext(display_, context_);
    eglTerminate(display_);
}

bool WaylandGl::Open(wl_display* display) {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    display_ = getPlatformDisplay ? getPlatformDisplay(EGL_PLATFORM_WAYLAND_EXT, display, nullptr)
                                  : eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(display));
    if (display_ == EGL_NO_DISPLAY || !eglInitialize(display_, nullptr, nullptr)) {
        error_ = "cannot open EGL on the Wayland display";
        display_ = nullptr;
        return false;
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                       EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                                       EGL_DEPTH_SIZE, 24, EGL_STENCIL_SIZE, 8, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(display_, configAttributes, &config, 1, &configs) || configs == 0) {
        error_ = "no EGL window configuration with RGB8, 24 depth and 8 stencil bits";
        return false;
    }
    config_ = config;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "EGL offers no desktop OpenGL";
        return false;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                        EGL_NONE};
    context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, contextAttributes);
    if (context_ == EGL_NO_CONTEXT) {
        error_ = "cannot create a desktop OpenGL compatibility context";
        context_ = nullptr;
        return false;
    }
    return true;
}

void* WaylandGl::CreateSurface(wl_egl_window* window) {
    const EGLSurface surface = eglCreateWindowSurface(display_, static_cast<EGLConfig>(config_),
                                                      reinterpret_cast<EGLNativeWindowType>(window), nullptr);
    return surface == EGL_NO_SURFACE ? nullptr : surface;
}

void WaylandGl::DestroySurface(void* surface) {
    if (eglGetCurrentSurface(EGL_DRAW) == surface) {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroySurface(display_, surface);
}

bool WaylandGl::MakeCurrent(void* surface) {
    if (!eglMakeCurrent(display_, surface, surface, context_)) {
        error_ = "cannot make the OpenGL context current on an output's surface";
        return false;
    }
    // The swap interval belongs to the surface: none of them waits inside the swap.
    eglSwapInterval(display_, 0);
    if (!openGlLoaded_ && !LoadOpenGl(LookUpOpenGl)) {
        error_ = "cannot load OpenGL entry points";
        return false;
    }
    openGlLoaded_ = true;
    return true;
}

bool WaylandGl::Swap(void* surface) { return eglSwapBuffers(display_, surface) == EGL_TRUE; }
