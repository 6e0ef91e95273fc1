// Matrices, the random numbers and the snow's trigonometry.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/matrix.h"
#include "particles/flake_trigonometry.h"
#include "platform/random.h"

namespace {

TEST(Matrix, RotationsTurnCounterClockwiseAboutTheirAxis) {
    // A third of a turn about the diagonal carries x to y, y to z and z to x, whatever the
    // axis's length; a zero axis gives no turn at all.
    Matrix4 turn{};
    MakeRotationMatrix(2.0943951f, 2, 2, 2, turn);
    const Matrix4 cycle = {0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(turn[i], cycle[i], 1e-6f) << i;
    MakeRotationMatrix(1.0f, 0, 0, 0, turn);
    EXPECT_EQ(turn, identityMatrix);
}

TEST(Matrix, InversesUndoTheirMatrixAndSingularOnesAreRefused) {
    // The first pivot is zero: only pivoting finds the inverse.
    const Matrix4 m = {0, 2, 1, 0, 3, 1, 0, 0, 1, 0, 2, 0, 4, -1, 2, 1};
    Matrix4 inverse{};
    ASSERT_TRUE(InvertMatrix(m, inverse));
    for (int i = 0; i < 16; ++i) {
        float sum = 0;  // of row i % 4 of m times column i / 4 of the inverse
        for (int k = 0; k < 4; ++k) sum += m[4 * k + i % 4] * inverse[4 * (i / 4) + k];
        EXPECT_NEAR(sum, i % 5 == 0 ? 1.0f : 0.0f, 1e-5f) << i;
    }
    Matrix4 singular = m;
    for (int c = 0; c < 4; ++c) singular[4 * c + 2] = 0;  // a row of zeros
    Matrix4 untouched = identityMatrix;
    EXPECT_FALSE(InvertMatrix(singular, untouched));
    EXPECT_EQ(untouched, identityMatrix);
}

TEST(Random, TheWindowsRuntimesSequenceFromItsSeed) {
    SeedRandom(1);
    for (const int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(RandomInteger(), expected);
}

TEST(FlakeTrigonometry, AgreesWithTheLibraryToTheLastBitOfAFloat) {
    for (double x = -40.0; x < 60000.0; x = x * 1.001 + 0.37) {
        double sine = 0, cosine = 0;
        FlakeSineCosine(x, sine, cosine);
        EXPECT_EQ(static_cast<float>(sine), static_cast<float>(std::sin(x))) << x;
        EXPECT_EQ(static_cast<float>(cosine), static_cast<float>(std::cos(x))) << x;
        EXPECT_EQ(static_cast<float>(FlakeCosine(x)), static_cast<float>(std::cos(x))) << x;
    }
}

}  // namespace
