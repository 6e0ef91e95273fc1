// vintrel-render: the screen saver's set-up / update / render lifecycle on a headless OpenGL
// context, with fixed inputs, writing PNG frames and, with --bench, timings.
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

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
                const std::vector<double>& floorMilliseconds, double floorStartupMilliseconds) {
    const TimeSummary frames = Summarise(frameMilliseconds);
    const TimeSummary floor = Summarise(floorMilliseconds);
    std::printf("startup_ms %.3f\n", startupMilliseconds);
    std::printf("frame_median_ms %.3f\n", frames.median);
    std::printf("frame_min_ms %.3f\n", frames.minimum);
    std::printf("frame_max_ms %.3f\n", frames.maximum);
    std::printf("floor_startup_ms %.3f\n", floorStartupMilliseconds);
    std::printf("floor_median_ms %.3f\n", floor.median);
    std::printf("floor_min_ms %.3f\n", floor.minimum);
    std::printf("floor_max_ms %.3f\n", floor.maximum);
    std::printf("frame_to_floor_ratio %.3f\n", frames.median / floor.median);
    if (floorStartupMilliseconds > 0.0) {
        std::printf("startup_to_floor_ratio %.3f\n", startupMilliseconds / floorStartupMilliseconds);
    } else {
        std::fputs("vintrel-render: the floor's start-up could not be measured\n", stderr);
    }
}

// The floor of start-up: this program started afresh with --floor-startup, so that it pays
// for the process, the driver and the context as the real start-up does. 0 where it fails.
// The caller runs it once just before the scene's own start-up and once after, so that a
// change in the machine's load between the two counts both ways.
double MeasureFloorStartup(const RenderOptions& options) {
    const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
    const char* const argv[] = {"vintrel-render", "--floor-startup", "--size", size.c_str(), nullptr};
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return 0.0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, "/proc/self/exe", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[256];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    if (spawned != 0) return 0.0;
    int status = 0;
    waitpid(child, &status, 0);
    double milliseconds = 0.0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(output.c_str(), "floor_startup_ms %lf", &milliseconds) != 1) {
        return 0.0;
    }
    return milliseconds;
}

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
    FrameFloor floor(options.width, options.height, texture);
    floor.RenderTimedFrame();
    std::printf("floor_startup_ms %.3f\n", MonotonicMilliseconds() - processStart.milliseconds);
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

    // Not counted in the scene's start-up.
    double floorStartupBefore = 0.0;
    double floorStartupSpent = 0.0;
    if (options.bench) {
        const double begin = MonotonicMilliseconds();
        floorStartupBefore = MeasureFloorStartup(options);
        floorStartupSpent = MonotonicMilliseconds() - begin;
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
    // The warm-up is no part of start-up: a saver starts drawing at once.
    const double warmUpBegin = MonotonicMilliseconds();
    WarmUp(options.warmUpSeconds, stepCounts);
    const double warmUpMilliseconds = MonotonicMilliseconds() - warmUpBegin;

    std::vector<double> frameMilliseconds;
    std::vector<double> floorMilliseconds;
    frameMilliseconds.reserve(static_cast<std::size_t>(options.frames));
    floorMilliseconds.reserve(static_cast<std::size_t>(options.frames));
    std::optional<FrameFloor> floor;
    double startupMilliseconds = 0.0;
    for (int frame = 0; frame < options.frames; ++frame) {
        if (frame > 0) AdvanceFrozenPerformanceCounter(stepCounts);
        const double begin = MonotonicMilliseconds();
        UpdateScene();
        RenderFrame();
        glFinish();
        const double end = MonotonicMilliseconds();
        frameMilliseconds.push_back(end - begin);
        if (frame == 0) {
            startupMilliseconds = end - processStart.milliseconds - warmUpMilliseconds - floorStartupSpent;
        }

        const bool last = frame + 1 == options.frames;
        if (!options.out.empty() && (last || WritesEveryFrame(options.out))) {
            if (!WriteFramePng(FramePath(options.out, frame), options.width, options.height)) return 1;
        }
        // A floor frame after each of the scene's (it draws over the window), so that both see
        // the same load.
        if (options.bench) {
            if (!floor) floor.emplace(options.width, options.height, sceneTextures[metalTexture]);
            floorMilliseconds.push_back(floor->RenderTimedFrame());
        }
    }

    floor.reset();
    snow.Release();
    if (sceneQuadric) gluDeleteQuadric(sceneQuadric);
    if (options.bench) {
        const double floorStartupAfter = MeasureFloorStartup(options);
        const double floorStartup = floorStartupBefore > 0.0 && floorStartupAfter > 0.0
                                        ? (floorStartupBefore + floorStartupAfter) / 2.0
                                        : 0.0;
        PrintBench(startupMilliseconds, frameMilliseconds, floorMilliseconds, floorStartup);
    }
    return 0;
}
