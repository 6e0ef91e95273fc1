// The local time as hand positions, and the animation clocks of the gears and the pendulum.
#pragma once

#include "scene/stopwatch.h"

// Started during static initialisation, gears first, and never restarted.
extern Stopwatch gearStopwatch;
extern Stopwatch swingStopwatch;

// Written only by UpdateScene.
extern float secondFraction;  // of the current minute
extern float minuteFraction;  // of the current hour
extern float hourFraction;    // twelfths of a day since midnight, 0 to 2
extern float gearAngle;       // degrees, 50 per second of gearStopwatch, less whole periods after the first hour
extern float swingSeconds;    // seconds of swingStopwatch, likewise

// Runs on every frame tick before the frame is drawn.
void UpdateScene();

// Restarts both stopwatches and puts every time value back to 0 (through ResetSceneState).
void ResetClockTime();

// Sets both animation stopwatches so that they read the given seconds now: the native
// front-end uses it for reproducible frames.
void RewindAnimationStopwatches(double seconds);
