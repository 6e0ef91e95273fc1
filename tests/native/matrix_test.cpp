// Rotation matrices and the general inverse.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/matrix.h"

namespace {

constexpr float kHalfPi = 1.57079632679489661923f;
constexpr float kSentinel = 12345.0f;

Matrix4 Sentinel() {
    Matrix4 m;
    m.fill(kSentinel);
    return m;
}

// Column-major matrix times column-major matrix, in double precision.
std::array<double, 16> Multiply(const Matrix4& a, const Matrix4& b) {
    std::array<double, 16> product{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            for (int k = 0; k < 4; ++k) product[4 * c + r] += double(a[4 * k + r]) * b[4 * c + k];
        }
    }
    return product;
}

void ExpectIdentity(const std::array<double, 16>& m, double tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], i % 5 == 0 ? 1.0 : 0.0, tolerance) << "element " << i;
}

// Where the matrix sends a direction.
std::array<float, 3> Apply(const Matrix4& m, float x, float y, float z) {
    return {m[0] * x + m[4] * y + m[8] * z, m[1] * x + m[5] * y + m[9] * z, m[2] * x + m[6] * y + m[10] * z};
}

void ExpectNear(const std::array<float, 3>& v, float x, float y, float z) {
    EXPECT_NEAR(v[0], x, 1e-7);
    EXPECT_NEAR(v[1], y, 1e-7);
    EXPECT_NEAR(v[2], z, 1e-7);
}

TEST(MakeRotationMatrix, ZeroAxisIsNoRotationWhateverTheAngle) {
    for (float angle : {0.0f, 1.0f, 3.14f, -20.0f}) {
        Matrix4 m = Sentinel();
        MakeRotationMatrix(angle, 0, 0, 0, m);
        EXPECT_EQ(m, identityMatrix) << "angle " << angle;
    }
}

TEST(MakeRotationMatrix, AxisLengthDoesNotMatter) {
    Matrix4 unit;
    Matrix4 longer;
    MakeRotationMatrix(0.7f, 0, 0, 1, unit);
    MakeRotationMatrix(0.7f, 0, 0, 2, longer);
    EXPECT_EQ(longer, unit);

    MakeRotationMatrix(-2.5f, 1, 2, 2, unit);
    MakeRotationMatrix(-2.5f, 2, 4, 4, longer);
    EXPECT_EQ(longer, unit);
}

TEST(MakeRotationMatrix, QuarterTurnsFollowTheRightHandRule) {
    Matrix4 m;
    MakeRotationMatrix(kHalfPi, 0, 0, 1, m);
    ExpectNear(Apply(m, 1, 0, 0), 0, 1, 0);
    ExpectNear(Apply(m, 0, 1, 0), -1, 0, 0);
    ExpectNear(Apply(m, 0, 0, 1), 0, 0, 1);

    MakeRotationMatrix(kHalfPi, 1, 0, 0, m);
    ExpectNear(Apply(m, 0, 1, 0), 0, 0, 1);
    MakeRotationMatrix(kHalfPi, 0, 1, 0, m);
    ExpectNear(Apply(m, 0, 0, 1), 1, 0, 0);
    MakeRotationMatrix(-kHalfPi, 0, 1, 0, m);
    ExpectNear(Apply(m, 0, 0, 1), -1, 0, 0);

    // A rotation keeps the translation column and the bottom row of the identity.
    for (int i : {3, 7, 11, 12, 13, 14}) EXPECT_EQ(m[i], 0.0f) << "element " << i;
    EXPECT_EQ(m[15], 1.0f);
}

TEST(MakeRotationMatrix, ATurnAboutTheDiagonalCyclesTheAxes) {
    // A third of a turn about (1, 1, 1) takes x to y, y to z and z to x.
    Matrix4 m;
    MakeRotationMatrix(2.0943951f, 1, 1, 1, m);
    EXPECT_NEAR(Apply(m, 1, 0, 0)[1], 1.0f, 1e-6);
    EXPECT_NEAR(Apply(m, 0, 1, 0)[2], 1.0f, 1e-6);
    EXPECT_NEAR(Apply(m, 0, 0, 1)[0], 1.0f, 1e-6);
}

TEST(InvertMatrix, ARotationInvertsToItsTranspose) {
    Matrix4 rotation;
    MakeRotationMatrix(1.1f, 0.3f, -0.8f, 0.5f, rotation);
    Matrix4 inverse = Sentinel();
    ASSERT_TRUE(InvertMatrix(rotation, inverse));
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(inverse[4 * c + r], rotation[4 * r + c], 1e-6) << r << "," << c;
    }
}

TEST(InvertMatrix, AGeneralMatrixTimesItsInverseIsTheIdentity) {
    // Translation, scale and shear together, with no zero entry on the diagonal.
    const Matrix4 m = {2, 1, 0, 0.5f, -1, 3, 1, 0, 0, 2, 4, 1, 5, -7, 9, 1};
    Matrix4 inverse;
    ASSERT_TRUE(InvertMatrix(m, inverse));
    ExpectIdentity(Multiply(m, inverse), 1e-5);
    ExpectIdentity(Multiply(inverse, m), 1e-5);
}

TEST(InvertMatrix, PivotingTakesTheLargerEntryFromALaterRow) {
    // Without row exchanges this one fails (a zero first pivot) ...
    const Matrix4 swapped = {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0};
    Matrix4 inverse;
    ASSERT_TRUE(InvertMatrix(swapped, inverse));
    EXPECT_EQ(inverse, swapped);  // a permutation that swaps pairs is its own inverse

    // ... and this one loses every digit: dividing by the tiny first pivot swamps the rest.
    const Matrix4 tiny = {1e-9f, 1, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ASSERT_TRUE(InvertMatrix(tiny, inverse));
    EXPECT_NEAR(inverse[0], -1.0f, 1e-6);
    EXPECT_NEAR(inverse[1], 1.0f, 1e-6);
    EXPECT_NEAR(inverse[4], 1.0f, 1e-6);
    EXPECT_NEAR(inverse[5], 0.0f, 1e-6);
    ExpectIdentity(Multiply(tiny, inverse), 1e-6);
}

TEST(InvertMatrix, SingularMatricesFailAndLeaveTheResultAlone) {
    const Matrix4 full = {2, 1, 0, 0.5f, -1, 3, 1, 0, 0, 2, 4, 1, 5, -7, 9, 1};
    for (int k = 0; k < 4; ++k) {
        Matrix4 zeroRow = full;
        Matrix4 zeroColumn = full;
        for (int i = 0; i < 4; ++i) {
            zeroRow[4 * i + k] = 0;
            zeroColumn[4 * k + i] = 0;
        }
        Matrix4 result = Sentinel();
        EXPECT_FALSE(InvertMatrix(zeroRow, result)) << "row " << k;
        EXPECT_EQ(result, Sentinel()) << "row " << k;
        EXPECT_FALSE(InvertMatrix(zeroColumn, result)) << "column " << k;
        EXPECT_EQ(result, Sentinel()) << "column " << k;
    }

    // Two equal rows: elimination leaves an exact zero where the last pivot should be.
    Matrix4 repeated = full;
    for (int c = 0; c < 4; ++c) repeated[4 * c + 3] = repeated[4 * c + 1];
    Matrix4 result = Sentinel();
    EXPECT_FALSE(InvertMatrix(repeated, result));
    EXPECT_EQ(result, Sentinel());
}

TEST(InvertMatrix, MayWriteOverItsInput) {
    Matrix4 m = {4, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0.5f, 0, 8, -6, 1, 1};
    ASSERT_TRUE(InvertMatrix(m, m));
    const Matrix4 expected = {0.25f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 2, 0, -2, 3, -2, 1};
    EXPECT_EQ(m, expected);
}

}  // namespace
