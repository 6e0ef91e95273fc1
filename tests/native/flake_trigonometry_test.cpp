#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "particles/flake_trigonometry.h"

namespace {

// The floats from `from` up to `to`, `step` apart.
template <typename Check>
void ForEachArgument(float from, float to, float step, Check check) {
    for (float x = from; x < to; x += step) check(x);
}

void ExpectLikeTheLibrary(float x) {
    double sine = 0.0, cosine = 0.0;
    FlakeSineCosine(x, sine, cosine);
    const double librarySine = std::sin(static_cast<double>(x));
    const double libraryCosine = std::cos(static_cast<double>(x));
    // Within a few units in the last place of double precision, and the same once in float.
    ASSERT_NEAR(sine, librarySine, 4e-16) << x;
    ASSERT_NEAR(cosine, libraryCosine, 4e-16) << x;
    ASSERT_EQ(static_cast<float>(sine), static_cast<float>(librarySine)) << x;
    ASSERT_EQ(static_cast<float>(cosine), static_cast<float>(libraryCosine)) << x;
    ASSERT_EQ(FlakeCosine(x), cosine) << x;
}

TEST(FlakeTrigonometryTest, AgreesWithTheLibraryOverThePhasesOfFreshSnow) {
    // Phases start at whole radians 0 .. 359 and grow by the elapsed seconds.
    ForEachArgument(-10.0f, 400.0f, 0.0037f, ExpectLikeTheLibrary);
}

TEST(FlakeTrigonometryTest, AgreesWithTheLibraryOverTheBobArguments) {
    // Phase plus twenty times the flake's index: up to about two hundred thousand.
    ForEachArgument(1000.0f, 210000.0f, 1.37f, ExpectLikeTheLibrary);
    // After a long night the phases themselves have grown.
    ForEachArgument(1.0e6f, 1.2e6f, 17.3f, ExpectLikeTheLibrary);
}

TEST(FlakeTrigonometryTest, EveryQuarterTurnPicksTheRightSignAndFunction) {
    // Each side of every multiple of pi/4 up to ten turns, both signs: a wrong quarter or sign
    // shows at once.
    for (int eighth = -80; eighth <= 80; ++eighth) {
        const double at = eighth * 0.785398163397448309616;
        for (const double offset : {-1e-3, 1e-3}) ExpectLikeTheLibrary(static_cast<float>(at + offset));
    }
}

TEST(FlakeTrigonometryTest, ExactValuesAtZero) {
    double sine = 1.0, cosine = 0.0;
    FlakeSineCosine(0.0, sine, cosine);
    EXPECT_EQ(sine, 0.0);
    EXPECT_EQ(cosine, 1.0);
    EXPECT_EQ(FlakeCosine(0.0), 1.0);
    // Tiny arguments keep their full precision: sin x is x there.
    FlakeSineCosine(1e-9, sine, cosine);
    EXPECT_EQ(sine, 1e-9);
    EXPECT_EQ(cosine, 1.0);
}

}  // namespace
