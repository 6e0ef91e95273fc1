// A stopwatch on the high-resolution performance counter.
#pragma once

#include <cstdint>

struct Stopwatch {
    int64_t frequency;  // counter counts per second
    int64_t start;      // counter value when the stopwatch was started
};

// Reads the frequency, then the counter.
Stopwatch StartStopwatch();

// Seconds since start, rounded to single precision. A counter that reports no frequency
// (0 counts per second) measures no time: the result is 0.
float ElapsedSeconds(const Stopwatch& stopwatch);
