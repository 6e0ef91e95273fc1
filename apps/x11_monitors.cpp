// The monitors of the root window: each gets a view of its own, so a root window over two
// monitors shows two whole clocks instead of one split over the seam.
#include <X11/Xlib.h>
#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <vector>

#include "apps/x11_surface.h"
#include "scene/monitor_views.h"

namespace {

std::vector<ViewRect> RandrMonitors(Display* display) {
    std::vector<ViewRect> monitors;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    // Monitors came with RandR 1.5.
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
        major * 100 + minor < 105) {
        return monitors;
    }
    int count = 0;
    XRRMonitorInfo* info = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    for (int i = 0; i < count; ++i) monitors.push_back({info[i].x, info[i].y, info[i].width, info[i].height});
    if (info) XRRFreeMonitors(info);
    return monitors;
}

std::vector<ViewRect> XineramaMonitors(Display* display) {
    std::vector<ViewRect> monitors;
    int eventBase = 0;
    int errorBase = 0;
    if (!XineramaQueryExtension(display, &eventBase, &errorBase) || !XineramaIsActive(display)) return monitors;
    int count = 0;
    XineramaScreenInfo* screens = XineramaQueryScreens(display, &count);
    for (int i = 0; i < count; ++i) {
        monitors.push_back({screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height});
    }
    if (screens) XFree(screens);
    return monitors;
}

}  // namespace

int X11Surface::MonitorViews(ViewRect* views) const {
    if (!onRoot_ || !display_) return 0;
    Display* display = static_cast<Display*>(display_);
    std::vector<ViewRect> monitors = RandrMonitors(display);
    if (monitors.empty()) monitors = XineramaMonitors(display);
    return ::MonitorViews(monitors.data(), static_cast<int>(monitors.size()), 0, 0, width_, height_, views);
}

void X11Surface::WatchMonitors() {
    if (!onRoot_) return;
    Display* display = static_cast<Display*>(display_);
    int errorBase = 0;
    if (!XRRQueryExtension(display, &randrEventBase_, &errorBase)) {
        randrEventBase_ = -1;
        return;
    }
    XRRSelectInput(display, DefaultRootWindow(display),
                   RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
}

bool X11Surface::IsMonitorChange(void* event) const {
    if (randrEventBase_ < 0) return false;
    XEvent* e = static_cast<XEvent*>(event);
    if (e->type != randrEventBase_ + RRScreenChangeNotify && e->type != randrEventBase_ + RRNotify) return false;
    XRRUpdateConfiguration(e);
    return true;
}
