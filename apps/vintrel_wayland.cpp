#include "apps/vintrel_wayland.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "apps/frame_rate_overlay.h"
#include "apps/stop_signals.h"
#include "apps/wayland_desktop.h"
#include "apps/wayland_egl.h"
#include "scene/scene_lifecycle.h"

namespace {

// The scene, its hidden drawable (where the reflection's masks are made) and the outputs that
// show it, each with its own view: view i is shown[i]'s.
struct WaylandScene {
    WaylandDesktop desktop;
    WaylandGl gl;
    void* hiddenSurface = nullptr;
    bool created = false;
    std::vector<OutputSurface*> shown;
};

// After outputs came or went or changed size: an EGL surface for each new one, and the scene's
// views (every output's buffer, all at the corner of a client area as large as the largest).
bool FollowOutputs(WaylandScene& scene) {
    scene.shown = scene.desktop.ShownOutputs([&scene](void* surface) { scene.gl.DestroySurface(surface); });
    ViewRect views[maxSceneViews];
    int count = 0, width = 1, height = 1;
    for (OutputSurface* output : scene.shown) {
        if (!output->eglSurface) output->eglSurface = scene.gl.CreateSurface(output->eglWindow);
        if (count == maxSceneViews) continue;  // further outputs stay without a clock
        views[count++] = {0, 0, output->bufferWidth, output->bufferHeight};
        width = std::max(width, output->bufferWidth);
        height = std::max(height, output->bufferHeight);
    }
    if (count == 0) return true;  // none to draw on: the scene waits for one
    wl_egl_window* hidden = scene.desktop.HiddenWindow(width, height);
    if (!scene.hiddenSurface) scene.hiddenSurface = scene.gl.CreateSurface(hidden);
    if (!scene.hiddenSurface || !scene.gl.MakeCurrent(scene.hiddenSurface)) return false;
    if (!scene.created) {
        CreateScene(width, height, views, count);
        scene.created = true;
    } else {
        FollowSceneSize(width, height, views, count);
    }
    return true;
}

// One tick: everything moves on and the reflection is rendered once, then every output that
// the compositor is ready to show a frame on gets its view.
void DrawFrames(WaylandScene& scene, const std::vector<int>& ready) {
    scene.gl.MakeCurrent(scene.hiddenSurface);
    TickSceneReflection();
    for (const int view : ready) {
        OutputSurface& output = *scene.shown[static_cast<size_t>(view)];
        if (!scene.gl.MakeCurrent(output.eglSurface)) continue;
        DrawSceneView(view);
        scene.desktop.AskForFrame(output);
        scene.gl.Swap(output.eglSurface);
    }
}

// The views whose outputs show a frame now: their surface drawn on, and the last frame's
// callback done. A powered-off or hidden output gets no callback, and so no frames.
std::vector<int> ReadyViews(const WaylandScene& scene) {
    std::vector<int> ready;
    const int views = std::min(static_cast<int>(scene.shown.size()), maxSceneViews);
    for (int i = 0; i < views; ++i) {
        if (scene.shown[static_cast<size_t>(i)]->eglSurface && !scene.shown[static_cast<size_t>(i)]->frame) {
            ready.push_back(i);
        }
    }
    return ready;
}

}  // namespace

int RunOnWayland(const SaverProgramOptions& options) {
    WaylandScene scene;
    if (!scene.desktop.Connect() || !scene.gl.Open(scene.desktop.display())) {
        const std::string& error = scene.desktop.error().empty() ? scene.gl.error() : scene.desktop.error();
        std::fprintf(stderr, "vintrel: %s\n", error.c_str());
        return 1;
    }
    CatchStopSignals();
    const double delay = static_cast<double>(options.delayMicroseconds) / 1.0e6;
    double nextTick = MonotonicSeconds();
    FrameRateMeter meter;
    int status = 0;
    while (!StopRequested() && !scene.desktop.inputEnds()) {
        if (scene.desktop.TakeLayoutChange() && !FollowOutputs(scene)) {
            std::fprintf(stderr, "vintrel: %s\n", scene.gl.error().c_str());
            status = 1;
            break;
        }
        const std::vector<int> ready = scene.created ? ReadyViews(scene) : std::vector<int>{};
        const double now = MonotonicSeconds();
        int timeout = -1;  // nothing to draw: only an event wakes the program
        if (!ready.empty() && now >= nextTick) {
            DrawFrames(scene, ready);
            const double end = MonotonicSeconds();
            if (options.fps && meter.AddFrame(now, end - now)) std::fprintf(stderr, "vintrel: %s\n", meter.text().c_str());
            // As in the X11 program, the whole delay is rest after the frame.
            nextTick = end + delay;
            timeout = 0;  // events that came while drawing first
        } else if (!ready.empty()) {
            timeout = static_cast<int>(std::ceil(std::fmin(nextTick - now, 3600.0) * 1000.0));
        }
        if (!scene.desktop.Dispatch(StopWakeDescriptor(), timeout)) {
            std::fputs("vintrel: lost the connection to the Wayland compositor\n", stderr);
            status = 1;
            break;
        }
    }
    if (scene.created && status == 0 && scene.gl.MakeCurrent(scene.hiddenSurface)) ReleaseScene();
    return status;
}
