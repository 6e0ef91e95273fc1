// The local time as hand positions, and the animation clocks of the gears and the pendulum.
#pragma once

#include "platform/stopwatch.h"

struct ClockTime {
    // Started during static initialisation, gears first; the saver never restarts them (the
    // native front-ends and the tests rewind them, or start them afresh, for fixed frames).
    Stopwatch gearStopwatch{};
    Stopwatch swingStopwatch{};
    // Written only by UpdateScene.
    float secondFraction = 0.0f;  // of the current minute
    float minuteFraction = 0.0f;  // of the current hour
    float hourFraction = 0.0f;    // twelfths of a day since midnight, 0 to 2
    float gearAngle = 0.0f;       // degrees, 50 per second of gearStopwatch, less whole periods after the first hour
    float swingSeconds = 0.0f;    // seconds of swingStopwatch, likewise
};

extern ClockTime clockTime;

// Both stopwatches started now, gears first, and every time value 0: the program's start.
ClockTime StartedClockTime();

// Runs on every frame tick before the frame is drawn.
void UpdateScene();

// Sets both animation stopwatches so that they read the given seconds now: the native
// front-end uses it for reproducible frames.
void RewindAnimationStopwatches(double seconds);
