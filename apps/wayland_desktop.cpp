#include "apps/wayland_desktop.h"

#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "apps/surface_pixels.h"
#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-shell-client-protocol.h"
// The layer shell names an argument "namespace", which C++ keeps for itself.
#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace

namespace {

// The pointer must travel more than this many surface pixels before the saver ends, so that a
// desk's tremor does not end it.
constexpr double kPointerHysteresis = 10.0;

OutputSurface& OutputOf(void* data) { return *static_cast<OutputSurface*>(data); }
WaylandDesktop& DesktopOf(void* data) { return *static_cast<WaylandDesktop*>(data); }

const wl_registry_listener registryListener = {
    [](void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
        DesktopOf(data).AddGlobal(name, interface, version);
    },
    [](void* data, wl_registry*, uint32_t name) { DesktopOf(data).RemoveGlobal(name); },
};

const wl_output_listener outputListener = {
    [](void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {},
    [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
        if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
        OutputOf(data).modeWidth = width;
        OutputOf(data).modeHeight = height;
    },
    [](void* data, wl_output*) { OutputOf(data).desktop->ChangeLayout(); },
    [](void* data, wl_output*, int32_t factor) { OutputOf(data).outputScale = std::max(factor, 1); },
    [](void*, wl_output*, const char*) {},
    [](void*, wl_output*, const char*) {},
};

void Configured(OutputSurface& output, int width, int height) {
    output.logicalWidth = width;
    output.logicalHeight = height;
    output.configured = true;
    output.desktop->ChangeLayout();
}

const zwlr_layer_surface_v1_listener layerSurfaceListener = {
    [](void* data, zwlr_layer_surface_v1* surface, uint32_t serial, uint32_t width, uint32_t height) {
        zwlr_layer_surface_v1_ack_configure(surface, serial);
        Configured(OutputOf(data), static_cast<int>(width), static_cast<int>(height));
    },
    [](void* data, zwlr_layer_surface_v1*) {
        OutputOf(data).closed = true;
        OutputOf(data).desktop->ChangeLayout();
    },
};

const xdg_wm_base_listener wmBaseListener = {
    [](void*, xdg_wm_base* base, uint32_t serial) { xdg_wm_base_pong(base, serial); },
};

const xdg_surface_listener xdgSurfaceListener = {
    [](void* data, xdg_surface* surface, uint32_t serial) {
        xdg_surface_ack_configure(surface, serial);
        OutputSurface& output = OutputOf(data);
        Configured(output, output.toplevelWidth, output.toplevelHeight);
    },
};

const xdg_toplevel_listener toplevelListener = {
    [](void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
        OutputOf(data).toplevelWidth = width;  // taken with the surface's configure
        OutputOf(data).toplevelHeight = height;
    },
    // Closing the window ends the saver, as any input does.
    [](void* data, xdg_toplevel*) { OutputOf(data).desktop->EndByInput(); },
    [](void*, xdg_toplevel*, int32_t, int32_t) {},
    [](void*, xdg_toplevel*, wl_array*) {},
};

const wp_fractional_scale_v1_listener fractionalScaleListener = {
    [](void* data, wp_fractional_scale_v1*, uint32_t scale) {
        OutputOf(data).fractionalScale = scale;
        OutputOf(data).desktop->ChangeLayout();
    },
};

const wl_callback_listener frameListener = {
    [](void* data, wl_callback* callback, uint32_t) {
        wl_callback_destroy(callback);
        OutputOf(data).frame = nullptr;
    },
};

const wl_seat_listener seatListener = {
    [](void* data, wl_seat*, uint32_t capabilities) { DesktopOf(data).FollowSeatCapabilities(capabilities); },
    [](void*, wl_seat*, const char*) {},
};

double Fixed(wl_fixed_t value) { return wl_fixed_to_double(value); }

const wl_pointer_listener pointerListener = [] {
    wl_pointer_listener listener{};
    listener.enter = [](void* data, wl_pointer*, uint32_t, wl_surface*, wl_fixed_t x, wl_fixed_t y) {
        DesktopOf(data).PointerAt(Fixed(x), Fixed(y), true);
    };
    listener.leave = [](void*, wl_pointer*, uint32_t, wl_surface*) {};
    listener.motion = [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
        DesktopOf(data).PointerAt(Fixed(x), Fixed(y), false);
    };
    listener.button = [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
        if (state == WL_POINTER_BUTTON_STATE_PRESSED) DesktopOf(data).EndByInput();
    };
    listener.axis = [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {};
    listener.frame = [](void*, wl_pointer*) {};
    listener.axis_source = [](void*, wl_pointer*, uint32_t) {};
    listener.axis_stop = [](void*, wl_pointer*, uint32_t, uint32_t) {};
    listener.axis_discrete = [](void*, wl_pointer*, uint32_t, int32_t) {};
    return listener;
}();

// No keymap is needed: any key ends the saver.
const wl_keyboard_listener keyboardListener = {
    [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); },
    [](void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {},
    [](void*, wl_keyboard*, uint32_t, wl_surface*) {},
    [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
        if (state == WL_KEYBOARD_KEY_STATE_PRESSED) DesktopOf(data).EndByInput();
    },
    [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {},
    [](void*, wl_keyboard*, int32_t, int32_t) {},
};

const wl_touch_listener touchListener = [] {
    wl_touch_listener listener{};
    listener.down = [](void* data, wl_touch*, uint32_t, uint32_t, wl_surface*, int32_t, wl_fixed_t, wl_fixed_t) {
        DesktopOf(data).EndByInput();
    };
    listener.up = [](void*, wl_touch*, uint32_t, uint32_t, int32_t) {};
    listener.motion = [](void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) {};
    listener.frame = [](void*, wl_touch*) {};
    listener.cancel = [](void*, wl_touch*) {};
    return listener;
}();

template <typename Interface>
Interface* Bind(wl_registry* registry, uint32_t name, const wl_interface& interface, uint32_t offered,
                uint32_t wanted) {
    return static_cast<Interface*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

}  // namespace

WaylandDesktop::~WaylandDesktop() {
    if (!display_) return;
    for (auto& output : outputs_) {
        DestroySurface(*output);
        wl_output_destroy(output->output);
    }
    if (hiddenWindow_) wl_egl_window_destroy(hiddenWindow_);
    if (hiddenSurface_) wl_surface_destroy(hiddenSurface_);
    if (pointer_) wl_pointer_destroy(pointer_);
    if (keyboard_) wl_keyboard_destroy(keyboard_);
    if (touch_) wl_touch_destroy(touch_);
    if (seat_) wl_seat_destroy(seat_);
    if (fractionalScales_) wp_fractional_scale_manager_v1_destroy(fractionalScales_);
    if (viewporter_) wp_viewporter_destroy(viewporter_);
    if (layerShell_) zwlr_layer_shell_v1_destroy(layerShell_);
    if (wmBase_) xdg_wm_base_destroy(wmBase_);
    if (compositor_) wl_compositor_destroy(compositor_);
    if (registry_) wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

bool WaylandDesktop::Connect() {
    display_ = wl_display_connect(nullptr);
    if (!display_) {
        const char* name = std::getenv("WAYLAND_DISPLAY");
        error_ = std::string("cannot connect to the Wayland compositor '") + (name ? name : "wayland-0") + "'";
        return false;
    }
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &registryListener, this);
    if (wl_display_roundtrip(display_) < 0) {
        error_ = "the Wayland compositor went away at the start";
        return false;
    }
    if (!compositor_ || (!layerShell_ && !wmBase_)) {
        error_ = "the Wayland compositor offers no way to show a surface (no layer shell, no xdg-shell)";
        return false;
    }
    if (!layerShell_) {
        std::fputs("vintrel: the compositor has no layer shell; a fullscreen window on each output instead\n", stderr);
    }
    connectedAll_ = true;
    for (auto& output : outputs_) MakeSurface(*output);
    return true;
}

void WaylandDesktop::AddGlobal(uint32_t name, const char* interface, uint32_t version) {
    const std::string kind = interface;
    if (kind == wl_compositor_interface.name) {
        compositor_ = Bind<wl_compositor>(registry_, name, wl_compositor_interface, version, 4);
    } else if (kind == zwlr_layer_shell_v1_interface.name) {
        layerShell_ = Bind<zwlr_layer_shell_v1>(registry_, name, zwlr_layer_shell_v1_interface, version, 1);
    } else if (kind == xdg_wm_base_interface.name) {
        wmBase_ = Bind<xdg_wm_base>(registry_, name, xdg_wm_base_interface, version, 1);
        xdg_wm_base_add_listener(wmBase_, &wmBaseListener, this);
    } else if (kind == wp_viewporter_interface.name) {
        viewporter_ = Bind<wp_viewporter>(registry_, name, wp_viewporter_interface, version, 1);
    } else if (kind == wp_fractional_scale_manager_v1_interface.name) {
        fractionalScales_ = Bind<wp_fractional_scale_manager_v1>(registry_, name,
                                                                 wp_fractional_scale_manager_v1_interface, version, 1);
    } else if (kind == wl_seat_interface.name && !seat_) {
        seat_ = Bind<wl_seat>(registry_, name, wl_seat_interface, version, 5);
        seatName_ = name;
        wl_seat_add_listener(seat_, &seatListener, this);
    } else if (kind == wl_output_interface.name) {
        auto output = std::make_unique<OutputSurface>();
        output->desktop = this;
        output->name = name;
        output->output = Bind<wl_output>(registry_, name, wl_output_interface, version, 2);
        wl_output_add_listener(output->output, &outputListener, output.get());
        if (connectedAll_) MakeSurface(*output);
        outputs_.push_back(std::move(output));
    }
}

void WaylandDesktop::RemoveGlobal(uint32_t name) {
    for (auto& output : outputs_) {
        if (output->name == name) output->closed = true;
    }
    if (name == seatName_ && seat_) {
        FollowSeatCapabilities(0);
        wl_seat_destroy(seat_);
        seat_ = nullptr;
    }
    layoutChanged_ = true;
}

void WaylandDesktop::MakeSurface(OutputSurface& output) {
    output.surface = wl_compositor_create_surface(compositor_);
    if (fractionalScales_ && viewporter_) {
        output.viewport = wp_viewporter_get_viewport(viewporter_, output.surface);
        output.fractional = wp_fractional_scale_manager_v1_get_fractional_scale(fractionalScales_, output.surface);
        wp_fractional_scale_v1_add_listener(output.fractional, &fractionalScaleListener, &output);
    }
    if (layerShell_) {
        output.layerSurface = zwlr_layer_shell_v1_get_layer_surface(layerShell_, output.surface, output.output,
                                                                    ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "vintrel");
        zwlr_layer_surface_v1_add_listener(output.layerSurface, &layerSurfaceListener, &output);
        zwlr_layer_surface_v1_set_anchor(output.layerSurface,
                                         ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                             ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
        zwlr_layer_surface_v1_set_exclusive_zone(output.layerSurface, -1);
        zwlr_layer_surface_v1_set_keyboard_interactivity(output.layerSurface, 1);  // exclusive
    } else {
        output.xdgSurface = xdg_wm_base_get_xdg_surface(wmBase_, output.surface);
        xdg_surface_add_listener(output.xdgSurface, &xdgSurfaceListener, &output);
        output.toplevel = xdg_surface_get_toplevel(output.xdgSurface);
        xdg_toplevel_add_listener(output.toplevel, &toplevelListener, &output);
        xdg_toplevel_set_title(output.toplevel, "Vintrel");
        xdg_toplevel_set_app_id(output.toplevel, "vintrel");
        xdg_toplevel_set_fullscreen(output.toplevel, output.output);
    }
    wl_surface_commit(output.surface);  // no buffer yet: the compositor answers with a configure
}

void WaylandDesktop::DestroySurface(OutputSurface& output) {
    if (output.frame) wl_callback_destroy(output.frame);
    if (output.eglWindow) wl_egl_window_destroy(output.eglWindow);
    if (output.fractional) wp_fractional_scale_v1_destroy(output.fractional);
    if (output.viewport) wp_viewport_destroy(output.viewport);
    if (output.layerSurface) zwlr_layer_surface_v1_destroy(output.layerSurface);
    if (output.toplevel) xdg_toplevel_destroy(output.toplevel);
    if (output.xdgSurface) xdg_surface_destroy(output.xdgSurface);
    if (output.surface) wl_surface_destroy(output.surface);
    output.frame = nullptr;
    output.eglWindow = nullptr;
    output.fractional = nullptr;
    output.viewport = nullptr;
    output.layerSurface = nullptr;
    output.toplevel = nullptr;
    output.xdgSurface = nullptr;
    output.surface = nullptr;
}

bool WaylandDesktop::TakeLayoutChange() {
    const bool changed = layoutChanged_;
    layoutChanged_ = false;
    return changed;
}

std::vector<OutputSurface*> WaylandDesktop::ShownOutputs(const std::function<void(void*)>& dropSurface) {
    for (auto& output : outputs_) {
        if (!output->closed) continue;
        if (output->eglSurface) dropSurface(output->eglSurface);
        output->eglSurface = nullptr;
        DestroySurface(*output);
        wl_output_destroy(output->output);
        output.reset();
    }
    outputs_.erase(std::remove(outputs_.begin(), outputs_.end(), nullptr), outputs_.end());
    std::vector<OutputSurface*> shown;
    for (auto& output : outputs_) {
        OutputSurface& o = *output;
        if (!o.configured) continue;
        const SurfacePixels pixels = SurfacePixelsFor(o.logicalWidth, o.logicalHeight, o.modeWidth, o.modeHeight,
                                                       o.outputScale, o.fractionalScale, o.viewport != nullptr);
        if (pixels.width <= 0) continue;
        const int width = pixels.width, height = pixels.height;
        if (pixels.throughViewport) {
            wp_viewport_set_destination(o.viewport, pixels.logicalWidth, pixels.logicalHeight);
        }
        wl_surface_set_buffer_scale(o.surface, pixels.bufferScale);
        if (!o.eglWindow) {
            o.eglWindow = wl_egl_window_create(o.surface, width, height);
        } else if (width != o.bufferWidth || height != o.bufferHeight) {
            wl_egl_window_resize(o.eglWindow, width, height, 0, 0);
        }
        o.bufferWidth = width;
        o.bufferHeight = height;
        if (o.eglWindow) shown.push_back(&o);
    }
    return shown;
}

wl_egl_window* WaylandDesktop::HiddenWindow(int width, int height) {
    if (!hiddenSurface_) hiddenSurface_ = wl_compositor_create_surface(compositor_);
    if (!hiddenWindow_) {
        hiddenWindow_ = wl_egl_window_create(hiddenSurface_, width, height);
    } else {
        wl_egl_window_resize(hiddenWindow_, width, height, 0, 0);
    }
    return hiddenWindow_;
}

void WaylandDesktop::AskForFrame(OutputSurface& output) {
    output.frame = wl_surface_frame(output.surface);
    wl_callback_add_listener(output.frame, &frameListener, &output);
}

void WaylandDesktop::FollowSeatCapabilities(uint32_t capabilities) {
    const bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    const bool touch = capabilities & WL_SEAT_CAPABILITY_TOUCH;
    if (pointer && !pointer_) {
        pointer_ = wl_seat_get_pointer(seat_);
        wl_pointer_add_listener(pointer_, &pointerListener, this);
    } else if (!pointer && pointer_) {
        wl_pointer_destroy(pointer_);
        pointer_ = nullptr;
    }
    if (keyboard && !keyboard_) {
        keyboard_ = wl_seat_get_keyboard(seat_);
        wl_keyboard_add_listener(keyboard_, &keyboardListener, this);
    } else if (!keyboard && keyboard_) {
        wl_keyboard_destroy(keyboard_);
        keyboard_ = nullptr;
    }
    if (touch && !touch_) {
        touch_ = wl_seat_get_touch(seat_);
        wl_touch_add_listener(touch_, &touchListener, this);
    } else if (!touch && touch_) {
        wl_touch_destroy(touch_);
        touch_ = nullptr;
    }
}

void WaylandDesktop::PointerAt(double x, double y, bool entered) {
    if (entered) {
        pointerOrigin_[0] = x;
        pointerOrigin_[1] = y;
        return;
    }
    if (std::hypot(x - pointerOrigin_[0], y - pointerOrigin_[1]) > kPointerHysteresis) inputEnds_ = true;
}

bool WaylandDesktop::Dispatch(int otherDescriptor, int timeoutMilliseconds) {
    // Events already read (by EGL's own waits among them) are handled first, and then nothing
    // is waited for: they may have asked for a frame.
    while (wl_display_prepare_read(display_) != 0) {
        const int handled = wl_display_dispatch_pending(display_);
        if (handled < 0) return false;
        if (handled > 0) timeoutMilliseconds = 0;
    }
    if (wl_display_flush(display_) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display_);
        return false;
    }
    pollfd watched[2] = {{wl_display_get_fd(display_), POLLIN, 0}, {otherDescriptor, POLLIN, 0}};
    const int ready = poll(watched, otherDescriptor >= 0 ? 2 : 1, timeoutMilliseconds);
    if (ready > 0 && watched[0].revents != 0) {
        if (wl_display_read_events(display_) < 0) return false;
    } else {
        wl_display_cancel_read(display_);
    }
    return wl_display_dispatch_pending(display_) >= 0;
}
