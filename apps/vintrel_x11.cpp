// vintrel: the screen saver as an X11 program, for XScreenSaver and the desktop. The same
// lifecycle as the Windows module (set-up once, then per tick update, render and swap, and the
// teardown of the window's destruction) in a window of its own or one a daemon hands it.
#include <poll.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "apps/frame_rate_overlay.h"
#include "apps/saver_program_options.h"
#include "apps/stop_signals.h"
#include "apps/vintrel_wayland.h"
#include "apps/x11_surface.h"
#include "scene/scene_lifecycle.h"

namespace {

// Waits for an X event, a stop signal or the tick, whichever comes first.
void WaitForTick(X11Surface& surface, double tick) {
    pollfd watched[2] = {{surface.FlushForWaiting(), POLLIN, 0}, {StopWakeDescriptor(), POLLIN, 0}};
    const double seconds = tick - MonotonicSeconds();
    if (seconds <= 0.0) return;
    const int milliseconds = static_cast<int>(std::ceil(std::fmin(seconds, 3600.0) * 1000.0));
    poll(watched, StopWakeDescriptor() >= 0 ? 2 : 1, milliseconds);
}

struct FrameRateDisplay {
    bool on = false;
    FrameRateMeter meter;
    uint32_t fontListBase = 0;
    int lineHeight = 0;
    bool fontLoaded = false;
};

void DrawFrame(X11Surface& surface, FrameRateDisplay& frameRate) {
    const double begin = MonotonicSeconds();
    TickScene();
    if (frameRate.fontLoaded) DrawOverlayText(frameRate.meter.text(), frameRate.fontListBase, frameRate.lineHeight);
    surface.Present();
    if (frameRate.on && frameRate.meter.AddFrame(begin, MonotonicSeconds() - begin)) {
        std::fprintf(stderr, "vintrel: %s\n", frameRate.meter.text().c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedSaverProgramOptions parsed = ParseSaverProgramOptions(argc, argv, std::getenv("XSCREENSAVER_WINDOW"));
    if (!parsed.options) {
        std::fprintf(stderr, "vintrel: %s (see --help)\n", parsed.error.c_str());
        return 2;
    }
    const SaverProgramOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(SaverProgramUsage(), stdout);
        return 0;
    }
    if (options.target == DrawTarget::WaylandOutputs) return RunOnWayland(options);

    X11Surface surface;
    if (const int failure = surface.Open(options)) {
        std::fprintf(stderr, "vintrel: %s\n", surface.error().c_str());
        return failure;
    }
    FrameRateDisplay frameRate;
    frameRate.on = options.fps;
    if (surface.openGlLoaded()) {
        ViewRect views[maxSceneViews];
        CreateScene(surface.width(), surface.height(), views, surface.MonitorViews(views));
        if (frameRate.on) frameRate.fontLoaded = surface.MakeFontLists(frameRate.fontListBase, frameRate.lineHeight);
    } else {
        std::fputs("vintrel: cannot load OpenGL for the window; it stays empty\n", stderr);
    }

    CatchStopSignals();
    const double delay = static_cast<double>(options.delayMicroseconds) / 1.0e6;
    double nextFrame = MonotonicSeconds();
    while (!StopRequested()) {
        const WindowEvents events = surface.TakeEvents();
        if (events.closeRequested || events.windowLost) break;
        if (events.resized || events.monitorsChanged) {
            ViewRect views[maxSceneViews];
            FollowSceneSize(surface.width(), surface.height(), views, surface.MonitorViews(views));
        }
        // Nothing is drawn while nobody can see it: the next event wakes the program, and the
        // frame after the window shows again comes at once, at the time it is then.
        if (!surface.seen()) {
            WaitForTick(surface, MonotonicSeconds() + 3600.0);
            continue;
        }
        if (MonotonicSeconds() >= nextFrame || events.resized || events.monitorsChanged || events.exposed || events.shown) {
            DrawFrame(surface, frameRate);
            // The whole delay is rest after the frame, however long the frame took, as in
            // XScreenSaver's programs: on a slow renderer the saver still leaves the processor
            // idle between frames instead of drawing back to back. The animation follows the
            // clocks, so fewer frames show the same motion.
            nextFrame = MonotonicSeconds() + delay;
            continue;  // events that arrived while drawing come first
        }
        WaitForTick(surface, nextFrame);
    }

    ReleaseScene();
    surface.Close();
    return 0;
}
