#include "platform/stopwatch.h"

#include <cmath>

#include "platform/platform.h"

namespace {

// Counts since start, as a signed difference.
int64_t ElapsedCounts(const Stopwatch& stopwatch) { return ReadPerformanceCounter() - stopwatch.start; }

double Seconds(int64_t counts, int64_t frequency) {
    return static_cast<double>(counts) / static_cast<double>(frequency);
}

}  // namespace

Stopwatch StartStopwatch() {
    Stopwatch stopwatch{};
    stopwatch.frequency = ReadPerformanceFrequency();
    stopwatch.start = ReadPerformanceCounter();
    return stopwatch;
}

float ElapsedSeconds(const Stopwatch& stopwatch) {
    const int64_t counts = ElapsedCounts(stopwatch);
    if (stopwatch.frequency == 0) return 0.0f;
    return static_cast<float>(Seconds(counts, stopwatch.frequency));
}

float ElapsedSecondsInPeriod(const Stopwatch& stopwatch, double period) {
    const int64_t counts = ElapsedCounts(stopwatch);
    if (stopwatch.frequency == 0) return 0.0f;
    const double seconds = Seconds(counts, stopwatch.frequency);
    return static_cast<float>(seconds < exactSpanSeconds ? seconds : std::fmod(seconds, period));
}

double SecondsSinceLastReading(const Stopwatch& stopwatch, float& lastSeconds, int64_t& lastCounts) {
    const int64_t counts = ElapsedCounts(stopwatch);
    if (stopwatch.frequency == 0) return 0.0;
    const float seconds = static_cast<float>(Seconds(counts, stopwatch.frequency));
    const double step = seconds < exactSpanSeconds ? seconds - lastSeconds : Seconds(counts - lastCounts, stopwatch.frequency);
    lastSeconds = seconds;
    lastCounts = counts;
    return step;
}
