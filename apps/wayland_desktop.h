// The Wayland side of vintrel --wayland: the compositor connection, one full-screen surface per
// output (a layer-shell overlay, or a fullscreen toplevel where the compositor has no layer
// shell), the frame callbacks that pace each, and the seat's input that ends the saver.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct wl_callback;
struct wl_display;
struct wl_egl_window;
struct wl_output;
struct wl_surface;
struct wp_fractional_scale_v1;
struct wp_viewport;
struct xdg_surface;
struct xdg_toplevel;
struct zwlr_layer_surface_v1;

class WaylandDesktop;

// One output and the surface that shows its clock.
struct OutputSurface {
    WaylandDesktop* desktop = nullptr;
    uint32_t name = 0;  // the output's global
    wl_output* output = nullptr;
    int32_t outputScale = 1;      // the output's integer scale
    int modeWidth = 0;  // the output's current mode, in its pixels
    int modeHeight = 0;
    uint32_t fractionalScale = 0;  // in 120ths, where the compositor offers it; 0 otherwise
    wl_surface* surface = nullptr;
    zwlr_layer_surface_v1* layerSurface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wp_viewport* viewport = nullptr;
    wp_fractional_scale_v1* fractional = nullptr;
    int logicalWidth = 0;  // as the compositor configured the surface
    int logicalHeight = 0;
    int toplevelWidth = 0;  // a toplevel's size, which comes before its surface's configure
    int toplevelHeight = 0;
    bool configured = false;
    bool closed = false;  // the compositor closed the surface: it is dropped
    wl_egl_window* eglWindow = nullptr;
    void* eglSurface = nullptr;  // the program's, made and destroyed with eglWindow
    int bufferWidth = 0;  // the surface's buffer, in the output's own pixels
    int bufferHeight = 0;
    wl_callback* frame = nullptr;  // asked for with the last frame and not yet done
};

class WaylandDesktop {
public:
    WaylandDesktop() = default;
    ~WaylandDesktop();
    WaylandDesktop(const WaylandDesktop&) = delete;
    WaylandDesktop& operator=(const WaylandDesktop&) = delete;

    // Connects to WAYLAND_DISPLAY's compositor and learns its globals; false, and error() says
    // why, where there is none or it offers no way to show a surface.
    bool Connect();
    const std::string& error() const { return error_; }
    wl_display* display() const { return display_; }
    bool layerShell() const { return layerShell_ != nullptr; }

    // Sends what is buffered, waits for an event or another descriptor (-1: none) for at most
    // timeoutMilliseconds (-1: no limit), and handles every event that came. False where the
    // compositor has gone.
    bool Dispatch(int otherDescriptor, int timeoutMilliseconds);
    // Whether the seat's input asked the saver to end: a key, a button, a touch, or the pointer
    // carried further than a few pixels.
    bool inputEnds() const { return inputEnds_; }
    // Set when outputs or their surfaces' sizes changed since the last look; cleared by it.
    bool TakeLayoutChange();

    // The outputs with a configured, open surface sized in pixels; each one's wl_egl_window is
    // made or resized here. Surfaces the compositor closed and outputs that went are dropped
    // first, their EGL surfaces by dropSurface.
    std::vector<OutputSurface*> ShownOutputs(const std::function<void(void*)>& dropSurface);
    // A surface with no role, never shown, whose buffer (of this size) is where the scene makes
    // the reflection's masks for every output's view; made the first time, resized after.
    wl_egl_window* HiddenWindow(int width, int height);
    // Asks for the output's next frame callback; to be called before its frame is swapped.
    void AskForFrame(OutputSurface& output);

    // The registry's events, from its listener.
    void AddGlobal(uint32_t name, const char* interface, uint32_t version);
    void RemoveGlobal(uint32_t name);
    void ChangeLayout() { layoutChanged_ = true; }
    void EndByInput() { inputEnds_ = true; }
    // The seat's pointer, keyboard and touch as its capabilities change.
    void FollowSeatCapabilities(uint32_t capabilities);
    // Pointer positions, surface-local: an entry sets where motion is measured from.
    void PointerAt(double x, double y, bool entered);

private:
    void MakeSurface(OutputSurface& output);
    void DestroySurface(OutputSurface& output);

    wl_display* display_ = nullptr;
    struct wl_registry* registry_ = nullptr;
    struct wl_compositor* compositor_ = nullptr;
    struct zwlr_layer_shell_v1* layerShell_ = nullptr;
    struct xdg_wm_base* wmBase_ = nullptr;
    struct wp_viewporter* viewporter_ = nullptr;
    struct wp_fractional_scale_manager_v1* fractionalScales_ = nullptr;
    struct wl_seat* seat_ = nullptr;
    uint32_t seatName_ = 0;
    struct wl_pointer* pointer_ = nullptr;
    struct wl_keyboard* keyboard_ = nullptr;
    struct wl_touch* touch_ = nullptr;
    wl_surface* hiddenSurface_ = nullptr;
    wl_egl_window* hiddenWindow_ = nullptr;
    std::vector<std::unique_ptr<OutputSurface>> outputs_;
    bool connectedAll_ = false;  // the first round of globals is in: outputs get surfaces at once
    bool layoutChanged_ = true;
    bool inputEnds_ = false;
    double pointerOrigin_[2] = {0.0, 0.0};
    std::string error_;
};
