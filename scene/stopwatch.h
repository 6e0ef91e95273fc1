// A stopwatch on the high-resolution performance counter, and its readings for motion that must
// stay smooth however long the saver runs.
#pragma once

#include <cstdint>

struct Stopwatch {
    int64_t frequency;  // counter counts per second
    int64_t start;      // counter value when the stopwatch was started
};

// Up to this many seconds on a stopwatch (a little over an hour) its readings are used as they
// stand. Beyond it a single-precision reading resolves a 10 ms tick only to a few per cent, and
// a month in not at all (it steps by a quarter second), so readings that drive motion are made
// small first, in double precision, and only then rounded.
constexpr double exactSpanSeconds = 4096.0;

// Reads the frequency, then the counter.
Stopwatch StartStopwatch();

// Seconds since start, rounded to single precision. A counter that reports no frequency
// (0 counts per second) measures no time: the result is 0.
float ElapsedSeconds(const Stopwatch& stopwatch);

// Seconds since start for a motion that repeats every `period` seconds: ElapsedSeconds within
// the exact span, and beyond it the same less whole periods, so below `period`.
float ElapsedSecondsInPeriod(const Stopwatch& stopwatch, double period);

constexpr double fullTurnRadians = 6.283185307179586;
