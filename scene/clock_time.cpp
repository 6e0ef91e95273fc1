#include "scene/clock_time.h"

#include <initializer_list>

#include "particles/particle_snow.h"
#include "platform/platform.h"

// Both stopwatches run before anything else of the program (the snow's own stopwatch, which
// starts right after them, has the next priority).
__attribute__((init_priority(1000))) Stopwatch gearStopwatch = StartStopwatch();
__attribute__((init_priority(1000))) Stopwatch swingStopwatch = StartStopwatch();

float secondFraction = 0.0f;
float minuteFraction = 0.0f;
float hourFraction = 0.0f;
float gearAngle = 0.0f;
float swingSeconds = 0.0f;

void UpdateScene() {
    const LocalTimeOfDay now = ReadLocalTime();

    // Each step is worked out in double precision and stored in single precision; the next
    // step reads the stored value. Just before midnight hourFraction rounds up to exactly 2.
    const float milliseconds = static_cast<float>(now.millisecond / 1000.0);
    secondFraction = static_cast<float>(milliseconds / 60.0 + now.second / 60.0);
    minuteFraction = static_cast<float>(now.minute / 60.0 + secondFraction / 60.0);
    hourFraction = static_cast<float>(now.hour / 12.0 + minuteFraction / 12.0);

    gearAngle = static_cast<float>(50.0 * ElapsedSeconds(gearStopwatch));
    swingSeconds = ElapsedSeconds(swingStopwatch);

    snow.Update();
}

void ResetClockTime() {
    gearStopwatch = StartStopwatch();
    swingStopwatch = StartStopwatch();
    secondFraction = minuteFraction = hourFraction = gearAngle = swingSeconds = 0.0f;
}

void RewindAnimationStopwatches(double seconds) {
    const int64_t now = ReadPerformanceCounter();
    for (Stopwatch* stopwatch : {&gearStopwatch, &swingStopwatch}) {
        stopwatch->frequency = ReadPerformanceFrequency();
        stopwatch->start = now - static_cast<int64_t>(seconds * static_cast<double>(stopwatch->frequency) + 0.5);
    }
}
