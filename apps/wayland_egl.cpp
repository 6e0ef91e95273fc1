#include "apps/wayland_egl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <wayland-egl.h>

#include "apps/egl_compatibility.h"
#include "gfx/gl_capabilities.h"

WaylandGl::~WaylandGl() {
    if (display_) EndEglDisplay(display_, context_);
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
    EglCompatibilityContext made;
    const bool created = CreateEglCompatibilityContext(display_, EGL_WINDOW_BIT, false, made, error_);
    config_ = made.config;
    context_ = made.context;
    return created;
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
    if (!openGlLoaded_ && !LoadOpenGl(LookUpEglOpenGl)) {
        error_ = "cannot load OpenGL entry points";
        return false;
    }
    openGlLoaded_ = true;
    return true;
}

bool WaylandGl::Swap(void* surface) { return eglSwapBuffers(display_, surface) == EGL_TRUE; }
