// What the snow costs per frame: one Update of the ten thousand flakes, and their point-sprite
// draws on Mesa's OpenGL. Build without sanitizers (the linux-release preset) to measure.
//
//     build/linux-release/bin/vintrel-snow-benchmark --benchmark_repetitions=5
//         --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>

#include "apps/egl_context.h"
#include "gfx/gl.h"
#include "particles/particle_snow.h"
#include "platform/platform.h"
#include "platform/platform_posix_control.h"
#include "platform/random.h"
#include "scene/scene_window.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
// One frame of the saver's 10 ms timer, in counts of the frozen counter (nanoseconds).
constexpr int64_t kFrameCounts = 10'000'000;

float projection[16];

void PerFlake(benchmark::State& state, uint32_t flakes) {
    state.counters["ns_per_flake"] = benchmark::Counter(
        static_cast<double>(flakes), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The baseline: the C library's double-precision sine and cosine alone, three per flake over
// the same phases, as a plain per-flake loop would call them.
void BM_LibraryTrigonometryAlone(benchmark::State& state) {
    const uint32_t flakes = snow.count;
    for (auto _ : state) {
        float sum = 0.0f;
        for (uint32_t i = 0; i < flakes; ++i) {
            const float phase = snow.phases[i];
            sum += static_cast<float>(std::cos(static_cast<double>(phase)));
            sum += static_cast<float>(std::cos(static_cast<double>(phase + static_cast<float>(20 * i))));
            sum += static_cast<float>(std::sin(static_cast<double>(phase)));
        }
        benchmark::DoNotOptimize(sum);
    }
    PerFlake(state, flakes);
}
BENCHMARK(BM_LibraryTrigonometryAlone);

void BM_SnowUpdate(benchmark::State& state) {
    for (auto _ : state) {
        AdvanceFrozenPerformanceCounter(kFrameCounts);
        snow.Update();
        benchmark::ClobberMemory();
    }
    PerFlake(state, snow.count);
}
BENCHMARK(BM_SnowUpdate);

// The main view's draw as the frame does it, finished so that the rasterising is counted.
void BM_SnowRenderReversed(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        snow.RenderReversed();
        glFinish();
    }
    PerFlake(state, snow.count);
}
BENCHMARK(BM_SnowRenderReversed)->Unit(benchmark::kMillisecond)->UseRealTime();

// The draw calls alone: state, uniforms, attribute pointers and the one glDrawArrays, with
// the rasterising left to the glFinish outside the timing.
void BM_SnowRenderIssue(benchmark::State& state) {
    for (auto _ : state) {
        snow.Render();
        state.PauseTiming();
        glFinish();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SnowRenderIssue)->Unit(benchmark::kMicrosecond)->UseRealTime();

// An Update a month into a run, where every phase is kept within a turn; last, since it moves
// the flakes' clock on by the month.
void BM_SnowUpdateAfterAMonth(benchmark::State& state) {
    snow.RewindStopwatch(30 * 86400.0);
    snow.Update();
    BM_SnowUpdate(state);
}
BENCHMARK(BM_SnowUpdateAfterAMonth);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    FreezePerformanceCounter(ReadPerformanceCounter());
    OffscreenContext context;
    if (!context.Create(kWidth, kHeight)) {
        std::fprintf(stderr, "vintrel-snow-benchmark: %s\n", context.error().c_str());
        return 1;
    }
    // The saver's projection and a view from the middle of the slab.
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(mainViewFieldOfView, static_cast<double>(kWidth) / kHeight, 0.1, 100000.0);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);

    snow.RewindStopwatch(0.0);  // the frozen counter's time starts now for the snow too
    SeedRandom(1);
    const float viewport[2] = {static_cast<float>(kWidth), static_cast<float>(kHeight)};
    snow.Init(viewport, projection);
    // Forty seconds of snowfall, so that the flakes are spread through the slab and in view.
    for (int frame = 0; frame < 4000; ++frame) {
        AdvanceFrozenPerformanceCounter(kFrameCounts);
        snow.Update();
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    snow.Release();
    return 0;
}
