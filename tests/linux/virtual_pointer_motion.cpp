// Moves the seat's pointer as a pointing device would, through wlroots' virtual-pointer
// protocol (the headless seat has no pointer of its own): each argument DX,DY is one motion,
// the motions a third of a second apart.
#include <unistd.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

zwlr_virtual_pointer_manager_v1* manager = nullptr;

void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

const wl_registry_listener registryListener = {Global, [](void*, wl_registry*, uint32_t) {}};

}  // namespace

int main(int argc, char** argv) {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return 1;
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager) return 1;
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
    wl_display_roundtrip(display);
    usleep(300000);  // the clients learn of the new pointer first
    for (int i = 1; i < argc; ++i) {
        double dx = 0.0, dy = 0.0;
        if (std::sscanf(argv[i], "%lf,%lf", &dx, &dy) != 2) return 2;
        zwlr_virtual_pointer_v1_motion(pointer, 0, wl_fixed_from_double(dx), wl_fixed_from_double(dy));
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0) return 1;
        usleep(300000);
    }
    wl_display_disconnect(display);
    return 0;
}
