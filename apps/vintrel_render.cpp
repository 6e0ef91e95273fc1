// vintrel-render: the screen saver's set-up / update / render lifecycle on a headless OpenGL
// context, with fixed inputs, writing PNG frames and, with --bench, timings.
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "apps/egl_context.h"
#include "apps/frame_floor.h"
#include "apps/png_writer.h"
#include "apps/render_options.h"
#include "gfx/gl.h"
#include "particles/particle_snow.h"
#include "platform/platform.h"
#include "platform/platform_posix_control.h"
#include "scene/clock_time.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"
#include "scene/scene_window.h"

namespace {

double MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

// Taken before any other static initialisation, as close to process start as a program gets.
struct ProcessStart {
    double milliseconds = MonotonicMilliseconds();
};
__attribute__((init_priority(101))) const ProcessStart processStart;

bool WritesEveryFrame(const std::string& pattern) { return pattern.find("%d") != std::string::npos; }

struct TimeSummary {
    double median;
    double minimum;
    double maximum;
};

TimeSummary Summarise(std::vector<double> milliseconds) {
    std::sort(milliseconds.begin(), milliseconds.end());
    const std::size_t n = milliseconds.size();
    const double median = n % 2 ? milliseconds[n / 2] : (milliseconds[n / 2 - 1] + milliseconds[n / 2]) / 2.0;
    return {median, milliseconds.front(), milliseconds.back()};
}

void PrintBench(double startupMilliseconds, const std::vector<double>& frameMilliseconds,
                const std::vector<double>& floorMilliseconds) {
    const TimeSummary frames = Summarise(frameMilliseconds);
    const TimeSummary floor = Summarise(floorMilliseconds);
    std::printf("startup_ms %.3f\n", startupMilliseconds);
    std::printf("frame_median_ms %.3f\n", frames.median);
    std::printf("frame_min_ms %.3f\n", frames.minimum);
    std::printf("frame_max_ms %.3f\n", frames.maximum);
    std::printf("floor_median_ms %.3f\n", floor.median);
    std::printf("floor_min_ms %.3f\n", floor.minimum);
    std::printf("floor_max_ms %.3f\n", floor.maximum);
    std::printf("frame_to_floor_ratio %.3f\n", frames.median / floor.median);
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

    if (options.time) FreezeLocalTime(*options.time);
    if (options.seed) FreezeTickCount(*options.seed);
    FreezePerformanceCounter(ReadPerformanceCounter());

    OffscreenContext context;
    if (!context.Create(options.width, options.height)) {
        std::fprintf(stderr, "vintrel-render: %s\n", context.error().c_str());
        return 1;
    }

    // The same creation sequence as the screen saver's window procedure.
    clientWidth = options.width;
    clientHeight = options.height;
    SetupProjection();
    SceneSetup();
    RewindAnimationStopwatches(options.clockSeconds);
    snow.RewindStopwatch(options.snowClockSeconds.value_or(options.clockSeconds));

    const auto stepCounts =
        static_cast<int64_t>(std::llround(options.stepSeconds * static_cast<double>(ReadPerformanceFrequency())));
    std::vector<double> frameMilliseconds;
    double startupMilliseconds = 0.0;
    for (int frame = 0; frame < options.frames; ++frame) {
        if (frame > 0) AdvanceFrozenPerformanceCounter(stepCounts);
        const double begin = MonotonicMilliseconds();
        UpdateScene();
        RenderFrame();
        glFinish();
        const double end = MonotonicMilliseconds();
        frameMilliseconds.push_back(end - begin);
        if (frame == 0) startupMilliseconds = end - processStart.milliseconds;

        const bool last = frame + 1 == options.frames;
        if (!options.out.empty() && (last || WritesEveryFrame(options.out))) {
            if (!WriteFramePng(FramePath(options.out, frame), options.width, options.height)) return 1;
        }
    }

    // The floor runs after the real frames so it cannot disturb the state they start from.
    std::vector<double> floorMilliseconds;
    if (options.bench) floorMilliseconds = MeasureFrameFloor(options.frames, options.width, options.height, sceneTextures[0]);

    snow.Release();
    if (sceneQuadric) gluDeleteQuadric(sceneQuadric);
    if (options.bench) PrintBench(startupMilliseconds, frameMilliseconds, floorMilliseconds);
    return 0;
}
