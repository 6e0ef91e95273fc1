// The hands' fractions of the local time, and the animation clocks of gears and pendulum.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/platform_posix_control.h"
#include "scene/clock_time.h"

namespace {

TEST(ClockTime, HandsShowTheLocalTimeAndTheMachineryRunsOnItsStopwatches) {
    // Turns of the minute hand, and twelfths of a day for the hour hand; just before midnight
    // single precision rounds the hour hand onto a whole turn.
    const struct {
        LocalTimeOfDay time;
        float minute, hour;
    } cases[] = {{{0, 0, 0, 0}, 0, 0},  {{9, 30, 0, 0}, 0.5f, 9.5f / 12}, {{12, 0, 0, 0}, 0, 1}, {{18, 0, 0, 0}, 0, 1.5f},
                 {{10, 9, 30, 0}, 9.5f / 60, (10 + 9.5f / 60) / 12}, {{23, 59, 59, 999}, (59 + 59.999f / 60) / 60, 2},
                 {{6, 0, 59, 500}, 59.5f / 3600, (6 + 59.5f / 3600) / 12}};
    for (const auto& c : cases) {
        FreezeLocalTime(c.time);
        UpdateScene();
        EXPECT_FLOAT_EQ(clockTime.minuteFraction, c.minute) << c.time.hour << ":" << c.time.minute << ":" << c.time.second;
        EXPECT_FLOAT_EQ(clockTime.hourFraction, c.hour) << c.time.hour << ":" << c.time.minute << ":" << c.time.second;
    }
    FreezePerformanceCounter(5'000'000'000);
    clockTime = StartedClockTime();  // the stopwatches start now
    AdvanceFrozenPerformanceCounter(2'500'000'000);  // 2.5 s of a 1 GHz counter
    UpdateScene();
    EXPECT_FLOAT_EQ(clockTime.gearAngle, 125.0f) << "50 degrees a second";
    EXPECT_FLOAT_EQ(clockTime.swingSeconds, 2.5f);
    // Gears and pendulum stand where the seconds on their stopwatches put them and a 10 ms tick
    // moves them alike (0.5 degrees, 0.01 s of swing), however long the saver has run; in its
    // first hour the readings are the seconds to single precision as they stand.
    for (const int64_t milliseconds : {60'370LL, 3'599'990LL, 2'592'000'370LL, 31'536'000'370LL}) {
        const double seconds = static_cast<double>(milliseconds) / 1000;
        clockTime = StartedClockTime();
        AdvanceFrozenPerformanceCounter(milliseconds * 1'000'000);
        UpdateScene();
        const float gear = clockTime.gearAngle, swing = clockTime.swingSeconds;
        EXPECT_NEAR(std::remainder(gear - 50 * seconds, 360.0), 0.0, 0.02) << seconds;
        EXPECT_NEAR(std::sin(swing), std::sin(seconds), 3e-4) << seconds;
        EXPECT_TRUE(seconds > 3600 || (swing == static_cast<float>(seconds) && gear == 50 * static_cast<float>(seconds)));
        AdvanceFrozenPerformanceCounter(10'000'000);
        UpdateScene();
        if (seconds < 3600) continue;  // a float of an hour's seconds steps by 2.4 % of a tick
        EXPECT_NEAR(std::remainder(clockTime.gearAngle - gear, 360.0), 0.5, 0.005) << seconds;
        EXPECT_NEAR(std::remainder(clockTime.swingSeconds - swing, 2 * M_PI), 0.01, 1e-4) << seconds;
    }
    OverridePerformanceFrequency(0);  // a counter that runs at no rate measures no time
    clockTime = StartedClockTime();
    UpdateScene();
    EXPECT_EQ(clockTime.gearAngle, 0.0f);
    UnfreezeClocks();
}

// Past a little over an hour the readings lose whole periods before they are rounded: the ticks
// on either side of that switch move gears and pendulum as every other tick does (to the few per
// cent a single-precision reading of an hour's seconds allows).
TEST(ClockTime, TicksAcrossTheEndOfTheExactSpanMoveTheMachineryAlike) {
    FreezePerformanceCounter(0);
    clockTime = StartedClockTime();
    AdvanceFrozenPerformanceCounter(static_cast<int64_t>((exactSpanSeconds - 0.05) * 1e9));
    UpdateScene();
    for (int tick = 0; tick < 10; ++tick) {
        const float gear = clockTime.gearAngle, swing = clockTime.swingSeconds;
        AdvanceFrozenPerformanceCounter(10'000'000);
        UpdateScene();
        EXPECT_NEAR(std::remainder(clockTime.gearAngle - gear, 360.0), 0.5, 0.03) << tick;
        EXPECT_NEAR(std::remainder(clockTime.swingSeconds - swing, 2 * M_PI), 0.01, 6e-4) << tick;
    }
    UnfreezeClocks();
}

}  // namespace
