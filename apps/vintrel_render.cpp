// vintrel-render: the screen saver's set-up / update / render lifecycle on a headless OpenGL
// context, with fixed inputs, writing PNG frames and, with --bench, timings.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "apps/bench_figures.h"
#include "apps/egl_context.h"
#include "apps/frame_floor.h"
#include "apps/png_writer.h"
#include "apps/render_options.h"
#include "gfx/gl.h"
#include "gfx/resource_loaders.h"
#include "particles/particle_snow.h"
#include "platform/platform.h"
#include "platform/platform_posix_control.h"
#include "resources/resource_ids.h"
#include "scene/clock_time.h"
#include "scene/scene_lifecycle.h"
#include "scene/scene_setup.h"

namespace {

// Taken before any other static initialisation, as close to process start as a program gets;
// the processor time of a process starts at 0.
struct ProcessStart {
    Elapsed reading{ClockReading().wall, 0.0};
};
__attribute__((init_priority(101))) const ProcessStart processStart;

bool WritesEveryFrame(const std::string& pattern) { return pattern.find("%d") != std::string::npos; }

// What the least program with the same context and passes needs before its first frame is
// finished: the context, one of our images as a mip-mapped texture and one floor frame.
int RunFloorStartup(const RenderOptions& options) {
    OffscreenContext context;
    if (!context.Create(options.width, options.height)) {
        std::fprintf(stderr, "vintrel-render: %s\n", context.error().c_str());
        return 1;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    LoadBmpTexture(SKY_AHEAD_BITMAP);
    SceneSize whole;
    SetSceneViews(whole, options.width, options.height, nullptr, 0);
    FrameFloor floor(options.width, options.height, EnvironmentFaceSizeFor(whole), texture);
    floor.RenderTimedFrame();
    PrintFloorStartup(ClockReading() - processStart.reading);
    return 0;
}

// Runs the per-tick update every step for warmUpSeconds, drawing nothing, as a saver that has
// been running that long; the last step may be shorter so the clocks advance by exactly that.
void WarmUp(double warmUpSeconds, int64_t stepCounts) {
    const double frequency = static_cast<double>(ReadPerformanceFrequency());
    auto remaining = static_cast<int64_t>(std::llround(warmUpSeconds * frequency));
    while (remaining > 0) {
        UpdateScene();
        const int64_t step = std::min(stepCounts, remaining);
        AdvanceFrozenPerformanceCounter(step);
        remaining -= step;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedRenderOptions parsed = ParseRenderOptions(argc, argv);
    if (!parsed.options) {
        std::fprintf(stderr, "vintrel-render: %s (see --help)\n", parsed.error.c_str());
        return 2;
    }
    const RenderOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(RenderUsage(), stdout);
        return 0;
    }
    if (options.floorStartup) return RunFloorStartup(options);

    // The floor's start-up runs just before the scene's and again after its frames, so that a
    // change in the machine's load between the two counts both ways. Not counted in the scene's.
    BenchFigures figures;
    std::optional<Elapsed> floorStartupBefore;
    Elapsed floorStartupSpent;
    if (options.bench) {
        const Elapsed begin = ClockReading();
        floorStartupBefore = MeasureFloorStartup(options.width, options.height);
        floorStartupSpent = ClockReading() - begin;
    }

    if (options.time) FreezeLocalTime(*options.time);
    if (options.seed) FreezeTickCount(*options.seed);
    FreezePerformanceCounter(ReadPerformanceCounter());

    OffscreenContext context;
    if (!context.Create(options.width, options.height)) {
        std::fprintf(stderr, "vintrel-render: %s\n", context.error().c_str());
        return 1;
    }

    CreateScene(options.width, options.height, options.monitors.data(), static_cast<int>(options.monitors.size()));
    RewindAnimationStopwatches(options.clockSeconds);
    snow.RewindStopwatch(options.snowClockSeconds.value_or(options.clockSeconds));

    const auto stepCounts =
        static_cast<int64_t>(std::llround(options.stepSeconds * static_cast<double>(ReadPerformanceFrequency())));
    // The warm-up is no part of start-up: a saver starts drawing at once.
    const Elapsed warmUpBegin = ClockReading();
    WarmUp(options.warmUpSeconds, stepCounts);
    const Elapsed warmUpSpent = ClockReading() - warmUpBegin;

    figures.frames.reserve(static_cast<std::size_t>(options.frames));
    figures.floorFrames.reserve(static_cast<std::size_t>(options.frames));
    std::optional<FrameFloor> floor;
    int width = options.width;
    int height = options.height;
    for (int frame = 0; frame < options.frames; ++frame) {
        if (frame > 0) AdvanceFrozenPerformanceCounter(stepCounts);
        if (frame == 1 && options.resizedWidth) {
            width = *options.resizedWidth;
            height = *options.resizedHeight;
            if (!context.Resize(width, height)) {
                std::fprintf(stderr, "vintrel-render: %s\n", context.error().c_str());
                return 1;
            }
            FollowSceneSize(width, height);
        }
        const Elapsed begin = ClockReading();
        TickScene();
        glFinish();
        const Elapsed end = ClockReading();
        figures.frames.push_back(end - begin);
        if (frame == 0) figures.startup = end - processStart.reading - warmUpSpent - floorStartupSpent;

        const bool last = frame + 1 == options.frames;
        if (!options.out.empty() && (last || WritesEveryFrame(options.out))) {
            if (!WriteFramePng(FramePath(options.out, frame), width, height)) return 1;
        }
        // A floor frame after each of the scene's (it draws over the window), so that both see
        // the same load.
        if (options.bench) {
            if (!floor) floor.emplace(options.width, options.height, sceneObjects.environmentFaceSize,
                                       sceneObjects.sceneTextures[metalTexture]);
            figures.floorFrames.push_back(floor->RenderTimedFrame());
        }
    }

    floor.reset();
    ReleaseScene();
    if (options.bench) {
        const std::optional<Elapsed> floorStartupAfter = MeasureFloorStartup(options.width, options.height);
        if (floorStartupBefore && floorStartupAfter) {
            figures.floorStartup = Elapsed{(floorStartupBefore->wall + floorStartupAfter->wall) / 2.0,
                                           (floorStartupBefore->cpu + floorStartupAfter->cpu) / 2.0};
        }
        PrintBench(figures);
    }
    return 0;
}
