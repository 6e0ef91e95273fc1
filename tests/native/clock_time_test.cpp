#include <gtest/gtest.h>

#include "platform/platform_posix_control.h"
#include "scene/clock_time.h"
#include "scene/stopwatch.h"

namespace {

class ClockTimeTest : public testing::Test {
protected:
    void TearDown() override { UnfreezeClocks(); }

    static void UpdateAt(int hour, int minute, int second, int millisecond) {
        FreezeLocalTime({hour, minute, second, millisecond});
        UpdateScene();
    }
};

TEST_F(ClockTimeTest, MidnightIsZeroOnEveryHand) {
    UpdateAt(0, 0, 0, 0);
    EXPECT_EQ(secondFraction, 0.0f);
    EXPECT_EQ(minuteFraction, 0.0f);
    EXPECT_EQ(hourFraction, 0.0f);
}

TEST_F(ClockTimeTest, HalfPastNine) {
    UpdateAt(9, 30, 0, 0);
    EXPECT_EQ(minuteFraction, 0.5f);
    EXPECT_EQ(hourFraction, 0.7916667f);
    EXPECT_EQ(hourFraction, static_cast<float>(9.5 / 12.0));
}

TEST_F(ClockTimeTest, AfternoonRunsFromOneToTwo) {
    UpdateAt(12, 0, 0, 0);
    EXPECT_EQ(hourFraction, 1.0f);
    UpdateAt(18, 0, 0, 0);
    EXPECT_EQ(hourFraction, 1.5f);
}

TEST_F(ClockTimeTest, LastSecondsBeforeMidnightRoundInSinglePrecision) {
    UpdateAt(23, 59, 59, 0);
    EXPECT_EQ(hourFraction, 1.9999769f);
    EXPECT_LT(hourFraction, 2.0f);

    // Each step is stored in single precision before the next reads it, so the last
    // millisecond of the day reaches exactly 2 (and of the morning exactly 1).
    UpdateAt(23, 59, 59, 999);
    EXPECT_EQ(hourFraction, 2.0f);
    UpdateAt(11, 59, 59, 999);
    EXPECT_EQ(hourFraction, 1.0f);
}

TEST_F(ClockTimeTest, MinuteHandCarriesSecondsAndMilliseconds) {
    UpdateAt(10, 15, 30, 500);
    EXPECT_EQ(secondFraction, static_cast<float>(0.5f / 60.0 + 30 / 60.0));
    EXPECT_EQ(minuteFraction, static_cast<float>(15 / 60.0 + secondFraction / 60.0));
    EXPECT_GT(minuteFraction, 0.25f);
}

TEST_F(ClockTimeTest, AnimationClocksFollowTheStopwatches) {
    FreezeLocalTime({0, 0, 0, 0});
    FreezePerformanceCounter(5'000'000'000);
    RewindAnimationStopwatches(2.0);
    UpdateScene();
    EXPECT_EQ(swingSeconds, 2.0f);
    EXPECT_EQ(gearAngle, 100.0f);

    AdvanceFrozenPerformanceCounter(250'000'000);  // a quarter second later
    UpdateScene();
    EXPECT_EQ(swingSeconds, 2.25f);
    EXPECT_EQ(gearAngle, 112.5f);
}

TEST_F(ClockTimeTest, ElapsedSecondsMeasuresFromTheStart) {
    FreezePerformanceCounter(1000);
    OverridePerformanceFrequency(400);
    const Stopwatch stopwatch = StartStopwatch();
    EXPECT_EQ(stopwatch.start, 1000);
    EXPECT_EQ(stopwatch.frequency, 400);
    AdvanceFrozenPerformanceCounter(100);
    EXPECT_EQ(ElapsedSeconds(stopwatch), 0.25f);
    AdvanceFrozenPerformanceCounter(-300);  // a counter that went back reads negative time
    EXPECT_EQ(ElapsedSeconds(stopwatch), -0.5f);
}

TEST_F(ClockTimeTest, ZeroFrequencyMeasuresNoTime) {
    FreezePerformanceCounter(77);
    OverridePerformanceFrequency(0);
    const Stopwatch stopwatch = StartStopwatch();
    AdvanceFrozenPerformanceCounter(1'000'000);
    EXPECT_EQ(ElapsedSeconds(stopwatch), 0.0f);
}

}  // namespace
