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

// The seconds since the previous reading of a stopwatch read once per tick; lastSeconds and
// lastCounts hold that reading (0 and 0 for the start) and receive this one. Within the exact
// span the step is the difference of the two single-precision readings; beyond it, the exact
// difference of the counts, unrounded (a step of weeks keeps its fraction of a second).
double SecondsSinceLastReading(const Stopwatch& stopwatch, float& lastSeconds, int64_t& lastCounts);

constexpr double fullTurnRadians = 6.283185307179586;

// An angle in radians less whole turns (towards zero), worked out in double precision and then
// rounded: a phase kept small this way keeps its resolution. For angles of fewer than 2^31
// turns, such as a phase plus less than a turn.
inline float WithoutWholeTurns(double radians) {
    const auto turns = static_cast<double>(static_cast<int32_t>(radians / fullTurnRadians));
    return static_cast<float>(radians - turns * fullTurnRadians);
}
