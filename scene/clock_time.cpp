#include "scene/clock_time.h"

#include <initializer_list>

#include "particles/particle_snow.h"
#include "platform/platform.h"

// Both stopwatches run before anything else of the program (the snow's own stopwatch, which
// starts right after them, has the next priority).
__attribute__((init_priority(1000))) ClockTime clockTime = StartedClockTime();

namespace {

// Every gear turns at a whole multiple of gearAngle (draw_scene.cpp), which grows 50 degrees a
// second: in 36 s, a whole number of seconds unlike the 7.2 s of one turn, it makes five whole
// turns and leaves every gear where it was.
constexpr double kGearPeriodSeconds = 36.0;
// The pendulum swings with the sine of its seconds.
constexpr double kSwingPeriodSeconds = fullTurnRadians;

}  // namespace

void UpdateScene() {
    const LocalTimeOfDay now = ReadLocalTime();

    // Each step is worked out in double precision and stored in single precision; the next
    // step reads the stored value. Just before midnight hourFraction rounds up to exactly 2.
    ClockTime& t = clockTime;
    const float milliseconds = static_cast<float>(now.millisecond / 1000.0);
    t.secondFraction = static_cast<float>(milliseconds / 60.0 + now.second / 60.0);
    t.minuteFraction = static_cast<float>(now.minute / 60.0 + t.secondFraction / 60.0);
    t.hourFraction = static_cast<float>(now.hour / 12.0 + t.minuteFraction / 12.0);

    // Whole periods come off the machinery's clocks before they are rounded (beyond the first
    // hour), so that it moves as smoothly after a month as in the first minute.
    t.gearAngle = static_cast<float>(50.0 * ElapsedSecondsInPeriod(t.gearStopwatch, kGearPeriodSeconds));
    t.swingSeconds = ElapsedSecondsInPeriod(t.swingStopwatch, kSwingPeriodSeconds);

    snow.Update();
}

ClockTime StartedClockTime() {
    ClockTime started;
    started.gearStopwatch = StartStopwatch();
    started.swingStopwatch = StartStopwatch();
    return started;
}

void RewindAnimationStopwatches(double seconds) {
    const int64_t now = ReadPerformanceCounter();
    for (Stopwatch* stopwatch : {&clockTime.gearStopwatch, &clockTime.swingStopwatch}) {
        stopwatch->frequency = ReadPerformanceFrequency();
        stopwatch->start = now - static_cast<int64_t>(seconds * static_cast<double>(stopwatch->frequency) + 0.5);
    }
}
