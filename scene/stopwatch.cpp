#include "scene/stopwatch.h"

#include "platform/platform.h"

Stopwatch StartStopwatch() {
    Stopwatch stopwatch{};
    stopwatch.frequency = ReadPerformanceFrequency();
    stopwatch.start = ReadPerformanceCounter();
    return stopwatch;
}

float ElapsedSeconds(const Stopwatch& stopwatch) {
    const int64_t now = ReadPerformanceCounter();
    if (stopwatch.frequency == 0) return 0.0f;
    const int64_t counts = now - stopwatch.start;
    return static_cast<float>(static_cast<double>(counts) / static_cast<double>(stopwatch.frequency));
}
