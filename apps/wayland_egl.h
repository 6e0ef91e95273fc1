// OpenGL on a Wayland desktop through EGL: one desktop-GL compatibility context, shared by the
// window surface of every output, made current on each in turn.
#pragma once

#include <string>

struct wl_display;
struct wl_egl_window;

class WaylandGl {
public:
    WaylandGl() = default;
    ~WaylandGl();
    WaylandGl(const WaylandGl&) = delete;
    WaylandGl& operator=(const WaylandGl&) = delete;

    // EGL on the compositor's display, a configuration with RGBA8, 24 depth and 8 stencil bits,
    // and the context; false, and error() says why, where any of it is missing.
    bool Open(wl_display* display);
    const std::string& error() const { return error_; }

    // A window surface for the wl_egl_window (null where it cannot be made), and its end.
    void* CreateSurface(wl_egl_window* window);
    void DestroySurface(void* surface);
    // Makes the context current on the surface; the first time, loads OpenGL too. False where
    // either fails.
    bool MakeCurrent(void* surface);
    // Shows what was drawn; never waits for the compositor (the caller paces by frame callbacks).
    bool Swap(void* surface);

private:
    void* display_ = nullptr;
    void* config_ = nullptr;
    void* context_ = nullptr;
    bool openGlLoaded_ = false;
    std::string error_;
};
