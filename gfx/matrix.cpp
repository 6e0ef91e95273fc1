#include "gfx/matrix.h"

#include <cmath>
#include <utility>

const Matrix4 identityMatrix = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

void MakeRotationMatrix(float angle, float x, float y, float z, Matrix4& result) {
    const auto s = static_cast<float>(std::sin(static_cast<double>(angle)));
    const auto c = static_cast<float>(std::cos(static_cast<double>(angle)));
    const auto length = static_cast<float>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y +
                                                     static_cast<double>(z) * z));
    if (length == 0.0f) {
        result = identityMatrix;
        return;
    }
    x /= length;
    y /= length;
    z /= length;
    const float t = 1.0f - c;

    result[0] = c + t * x * x;
    result[1] = t * x * y + s * z;
    result[2] = t * x * z - s * y;
    result[3] = 0.0f;
    result[4] = t * x * y - s * z;
    result[5] = c + t * y * y;
    result[6] = t * y * z + s * x;
    result[7] = 0.0f;
    result[8] = t * x * z + s * y;
    result[9] = t * y * z - s * x;
    result[10] = c + t * z * z;
    result[11] = 0.0f;
    result[12] = 0.0f;
    result[13] = 0.0f;
    result[14] = 0.0f;
    result[15] = 1.0f;
}

namespace {

// A row of the augmented matrix: four columns of m, then four of what becomes the inverse.
using Row = std::array<float, 8>;

// Brings the row with the larger magnitude in `column` up; ties keep the order.
void SwapIfLarger(Row*& upper, Row*& lower, int column) {
    if (std::fabs((*lower)[column]) > std::fabs((*upper)[column])) std::swap(upper, lower);
}

// row -= factor × pivotRow over the columns from `first` on. The right half of the pivot row
// holds many zeros; skipping them keeps an infinite factor from turning zeros into NaN.
void Eliminate(Row& row, const Row& pivotRow, float factor, int first) {
    for (int j = first; j < 8; ++j) {
        if (j >= 4 && pivotRow[j] == 0.0f) continue;
        row[j] -= factor * pivotRow[j];
    }
}

}  // namespace

bool InvertMatrix(const Matrix4& m, Matrix4& result) {
    Row rows[4];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            rows[r][c] = m[4 * c + r];
            rows[r][4 + c] = r == c ? 1.0f : 0.0f;
        }
    }
    Row* r0 = &rows[0];
    Row* r1 = &rows[1];
    Row* r2 = &rows[2];
    Row* r3 = &rows[3];

    SwapIfLarger(r2, r3, 0);
    SwapIfLarger(r1, r2, 0);
    SwapIfLarger(r0, r1, 0);
    if ((*r0)[0] == 0.0f) return false;
    for (Row* row : {r1, r2, r3}) Eliminate(*row, *r0, (*row)[0] / (*r0)[0], 1);

    SwapIfLarger(r2, r3, 1);
    SwapIfLarger(r1, r2, 1);
    if ((*r1)[1] == 0.0f) return false;
    for (Row* row : {r2, r3}) Eliminate(*row, *r1, (*row)[1] / (*r1)[1], 2);

    SwapIfLarger(r2, r3, 2);
    if ((*r2)[2] == 0.0f) return false;
    Eliminate(*r3, *r2, (*r3)[2] / (*r2)[2], 3);

    if ((*r3)[3] == 0.0f) return false;

    // Back substitution over the right halves.
    const float scale3 = 1.0f / (*r3)[3];
    for (int j = 4; j < 8; ++j) (*r3)[j] *= scale3;

    for (int j = 4; j < 8; ++j) (*r2)[j] = ((*r2)[j] - (*r2)[3] * (*r3)[j]) / (*r2)[2];
    for (int j = 4; j < 8; ++j) (*r1)[j] -= (*r1)[3] * (*r3)[j];
    for (int j = 4; j < 8; ++j) (*r0)[j] -= (*r0)[3] * (*r3)[j];

    for (int j = 4; j < 8; ++j) (*r1)[j] = ((*r1)[j] - (*r1)[2] * (*r2)[j]) / (*r1)[1];
    for (int j = 4; j < 8; ++j) (*r0)[j] -= (*r0)[2] * (*r2)[j];

    for (int j = 4; j < 8; ++j) (*r0)[j] = ((*r0)[j] - (*r0)[1] * (*r1)[j]) / (*r0)[0];

    const Row* ordered[4] = {r0, r1, r2, r3};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) result[4 * c + r] = (*ordered[r])[4 + c];
    }
    return true;
}

Matrix4 MultiplyMatrices(const Matrix4& a, const Matrix4& b) {
    Matrix4 product{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += static_cast<double>(a[4 * k + row]) * b[4 * column + k];
            product[4 * column + row] = static_cast<float>(sum);
        }
    }
    return product;
}

Matrix4 TranslationMatrix(float x, float y, float z) {
    Matrix4 m = identityMatrix;
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix4 RotationMatrixDegrees(float degrees, float x, float y, float z) {
    Matrix4 m;
    MakeRotationMatrix(static_cast<float>(degrees * 3.14159265358979323846 / 180.0), x, y, z, m);
    return m;
}

Matrix4 ScaleMatrix(float x, float y, float z) {
    Matrix4 m = identityMatrix;
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Matrix4 PerspectiveMatrix(double fieldOfView, double aspect, double nearPlane, double farPlane) {
    const double f = 1.0 / std::tan(fieldOfView * 3.14159265358979323846 / 360.0);
    Matrix4 m{};
    m[0] = static_cast<float>(f / aspect);
    m[5] = static_cast<float>(f);
    m[10] = static_cast<float>((farPlane + nearPlane) / (nearPlane - farPlane));
    m[11] = -1.0f;
    m[14] = static_cast<float>(2.0 * farPlane * nearPlane / (nearPlane - farPlane));
    return m;
}
