// What a person sees in the embedded images: the dial reads the right way up and fills its
// circle, the snowflake is a clean six-fold crystal, and the metal repeats without a seam.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "resource_images.h"

namespace {

// Runs of consecutive true values.
struct InkRun {
    int first, last;
    int Width() const { return last - first + 1; }
};

std::vector<InkRun> RunsOf(const std::vector<bool>& marks) {
    std::vector<InkRun> runs;
    for (int i = 0; i < static_cast<int>(marks.size()); ++i) {
        if (!marks[i]) continue;
        if (!runs.empty() && runs.back().last == i - 1) runs.back().last = i;
        else runs.push_back({i, i});
    }
    return runs;
}

// Runs round a closed loop: a run through the start and end counts once.
std::size_t RunsRound(const std::vector<bool>& marks) {
    const std::size_t runs = RunsOf(marks).size();
    return runs > 1 && marks.front() && marks.back() ? runs - 1 : runs;
}

// Columns of a box that hold ink (dark pixels), as runs of image columns: the numerals' glyphs.
std::vector<InkRun> InkedColumns(const DecodedImage& dial, int x0, int y0, int x1, int y1) {
    std::vector<bool> inked(x1, false);
    for (int x = x0; x < x1; ++x)
        for (int y = y0; y < y1; ++y)
            if (dial.Luma(x, y) < 100) inked[x] = true;
    return RunsOf(inked);
}

class DialImage : public ::testing::Test {
protected:
    void SetUp() override {
        const auto image = EmbeddedBitmap(104);
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width, 780);
        ASSERT_EQ(image->height, 780);
        dial = *image;
    }
    DecodedImage dial;
    static constexpr double kCentre = 390.0;
};

TEST_F(DialImage, TwelveStandsAtTheTopTheRightWayRound) {
    // The numeral ring lies about 230 to 310 pixels from the centre.
    const std::vector<InkRun> top = InkedColumns(dial, 330, 80, 450, 165);
    ASSERT_EQ(top.size(), 2u) << "the 12 has two figures";
    EXPECT_LT(top[0].Width(), top[1].Width()) << "the narrow 1 comes first";
    // The pair sits centred above the hub.
    EXPECT_NEAR((top[0].first + top[1].last) / 2.0, kCentre, 6.0);
    // The 6 at the bottom, the 3 on the right and the 9 on the left are single figures.
    EXPECT_EQ(InkedColumns(dial, 330, 615, 450, 700).size(), 1u);
    EXPECT_EQ(InkedColumns(dial, 615, 350, 700, 430).size(), 1u);
    EXPECT_EQ(InkedColumns(dial, 80, 350, 165, 430).size(), 1u);
    // Nothing dark between the hands' hub and the numerals.
    EXPECT_TRUE(InkedColumns(dial, 290, 290, 350, 350).empty());
}

TEST_F(DialImage, TheDialFillsTheInscribedCircle) {
    for (int step = 0; step < 720; ++step) {
        const double angle = step * M_PI / 360.0;
        auto at = [&](double radius) {
            return dial.Luma(static_cast<int>(kCentre + radius * std::cos(angle)),
                             static_cast<int>(kCentre - radius * std::sin(angle)));
        };
        // Light enamel between the numerals and the minute track ...
        ASSERT_GT(at(312.0), 150) << "angle step " << step;
        // ... up to a dark groove at the same distance all round, and beyond it a bezel that
        // reaches the image's edge.
        double groove = 0;
        for (double r = 358.0; r < 390.0; r += 0.25) {
            if (at(r) < 100) {
                groove = r;
                break;
            }
        }
        ASSERT_NEAR(groove, 367.5, 1.5) << "angle step " << step;
        for (double r = groove + 4.0; r < 389.5; r += 0.5) {
            const uint8_t* p = dial.At(static_cast<int>(kCentre + r * std::cos(angle)),
                                       static_cast<int>(kCentre - r * std::sin(angle)));
            ASSERT_GT(p[0] - p[2], 60) << "not brass at angle step " << step << ", radius " << r;
        }
    }
}

TEST_F(DialImage, HasSixtyMinuteMarks) {
    // Round the circle through the minute track, every mark is one dark run.
    std::vector<bool> marks;
    const int samples = 7200;
    for (int i = 0; i < samples; ++i) {
        const double angle = (i + 0.5) * 2.0 * M_PI / samples;
        const int x = static_cast<int>(kCentre + 345.0 * std::sin(angle));
        const int y = static_cast<int>(kCentre - 345.0 * std::cos(angle));
        marks.push_back(dial.Luma(x, y) < 100);
    }
    EXPECT_EQ(RunsRound(marks), 60u);
}

class SnowflakeImage : public ::testing::Test {
protected:
    void SetUp() override {
        const auto image = EmbeddedSnowflake();
        ASSERT_TRUE(image);
        ASSERT_EQ(image->width, 512);
        ASSERT_EQ(image->height, 512);
        flake = *image;
    }
    bool Opaque(int x, int y) const {
        return x >= 0 && y >= 0 && x < 512 && y < 512 && flake.At(x, y)[3] != 0;
    }
    DecodedImage flake;
};

TEST_F(SnowflakeImage, AlphaIsAllOrNothingWithWhiteCrystalAndAClearBorder) {
    int opaque = 0;
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const uint8_t* p = flake.At(x, y);
            ASSERT_TRUE(p[3] == 0 || p[3] == 255) << x << "," << y;
            if (p[3] == 0) continue;
            ++opaque;
            ASSERT_GE(std::min({p[0], p[1], p[2]}), 190) << "not white at " << x << "," << y;
            ASSERT_TRUE(x >= 8 && y >= 8 && x < 504 && y < 504) << "opaque in the border at " << x << "," << y;
        }
    }
    // A crystal, neither a speck nor a filled square.
    EXPECT_GT(opaque, 512 * 512 / 20);
    EXPECT_LT(opaque, 512 * 512 / 2);
}

TEST_F(SnowflakeImage, HasNoIsolatedOpaqueTexels) {
    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            if (!Opaque(x, y)) continue;
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((dx || dy) && Opaque(x + dx, y + dy)) ++neighbours;
            ASSERT_GT(neighbours, 0) << "isolated texel at " << x << "," << y;
        }
    }
}

TEST_F(SnowflakeImage, IsSixFoldAndBranched) {
    // Turning by 60° about the centre maps the crystal onto itself, texel rounding aside.
    for (const double turn : {60.0, 120.0, 180.0}) {
        const double c = std::cos(turn * M_PI / 180.0), s = std::sin(turn * M_PI / 180.0);
        int opaque = 0, matched = 0;
        for (int y = 0; y < 512; ++y) {
            for (int x = 0; x < 512; ++x) {
                if (!Opaque(x, y)) continue;
                ++opaque;
                const double dx = x + 0.5 - 256.0, dy = y + 0.5 - 256.0;
                const int tx = static_cast<int>(std::floor(256.0 + c * dx - s * dy));
                const int ty = static_cast<int>(std::floor(256.0 + s * dx + c * dy));
                if (Opaque(tx, ty)) ++matched;
            }
        }
        EXPECT_GT(matched, 0.93 * opaque) << "turned by " << turn;
    }
    // Round a circle through the arms, their side branches cross it as well: far more than
    // six opaque runs.
    std::vector<bool> ring;
    for (int i = 0; i < 3600; ++i) {
        const double angle = i * 2.0 * M_PI / 3600;
        ring.push_back(Opaque(static_cast<int>(256.0 + 150.0 * std::cos(angle)), static_cast<int>(256.0 + 150.0 * std::sin(angle))));
    }
    EXPECT_GE(RunsRound(ring), 24u);
}

TEST(MetalImage, RepeatsWithoutASeam) {
    const auto image = EmbeddedBitmap(107);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 512);
    const DecodedImage& metal = *image;
    auto difference = [&](int x0, int y0, int x1, int y1) {
        const uint8_t* a = metal.At(x0, y0);
        const uint8_t* b = metal.At(x1, y1);
        return (std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2])) / 3.0;
    };
    // Across the wrap, neighbours differ no more than neighbours anywhere inside do.
    double acrossColumns = 0, insideColumns = 0, acrossRows = 0, insideRows = 0;
    for (int i = 0; i < 512; ++i) {
        acrossColumns += difference(511, i, 0, i) / 512;
        acrossRows += difference(i, 511, i, 0) / 512;
        for (int k = 0; k < 511; ++k) {
            insideColumns += difference(k, i, k + 1, i) / (512.0 * 511.0);
            insideRows += difference(i, k, i, k + 1) / (512.0 * 511.0);
        }
    }
    EXPECT_LT(acrossColumns, 1.3 * insideColumns + 0.5);
    EXPECT_LT(acrossRows, 1.3 * insideRows + 0.5);
    // Brushed and worn, not a flat colour: neighbouring rows differ visibly.
    EXPECT_GT(insideRows, 2.0);
}

}  // namespace
