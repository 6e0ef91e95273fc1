// The whole frame as a person sees it, rendered by vintrel-render with fixed inputs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "png_image.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 360;

// Where the dial lies on screen: the camera stands 17 units before the dial's centre and sees
// 35 degrees vertically, so a radius of 5 covers 5 / (17 tan 17.5 degrees) of half the height.
const double kDialRadius = kHeight / 2.0 * 5.0 / (17.0 * std::tan(17.5 * M_PI / 180.0));
const double kDomeRadius = kDialRadius * 5.1 / 5.0;

struct Frame {
    PngImage image;
    std::string log;
};

std::string TempPath(const std::string& name) {
    const char* directory = std::getenv("TMPDIR");
    return std::string(directory ? directory : "/tmp") + "/vintrel-scene-" + std::to_string(getpid()) + "-" + name;
}

// Renders one frame with the given options (size and seed fixed) and reads it back.
Frame Render(const std::string& options, const std::string& environment = "") {
    static int counter = 0;
    const std::string path = TempPath(std::to_string(counter++) + ".png");
    const std::string command = environment + " " + VINTREL_RENDER + " --size " + std::to_string(kWidth) + "x" +
                                std::to_string(kHeight) + " --seed 7 " + options + " --out " + path + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string log;
    char buffer[512];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) log += buffer;
    const int status = pipe ? pclose(pipe) : -1;
    Frame frame;
    frame.log = log;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        if (auto image = ReadPng(path)) frame.image = *image;
    }
    std::remove(path.c_str());
    return frame;
}

double Luminance(Rgb pixel) { return 0.299 * pixel.r + 0.587 * pixel.g + 0.114 * pixel.b; }

// The screen point of a dial point given in dial units (x to the viewer's right, y up).
struct Point {
    int x, y;
};
Point OnDial(double x, double y) {
    return {static_cast<int>(std::lround(kWidth / 2.0 + x / 5.0 * kDialRadius)),
            static_cast<int>(std::lround(kHeight / 2.0 - y / 5.0 * kDialRadius))};
}

// Mean luminance along a ray from the dial's centre (0 degrees right, 90 up), between two
// radii in dial units.
double RayLuminance(const PngImage& image, double angleDegrees, double from, double to) {
    double sum = 0.0;
    int samples = 0;
    const double angle = angleDegrees * M_PI / 180.0;
    for (double r = from; r <= to; r += 0.05) {
        const Point point = OnDial(r * std::cos(angle), r * std::sin(angle));
        sum += Luminance(image.At(point.x, point.y));
        ++samples;
    }
    return sum / samples;
}

// How much darker a ray between hub and numerals is than in a frame whose hands lie away
// from every quarter direction (01:37): a hand darkens its ray, the rest of the scene is equal.
double HandDarkening(const PngImage& reference, const PngImage& image, double angleDegrees) {
    return RayLuminance(reference, angleDegrees, 1.2, 3.0) - RayLuminance(image, angleDegrees, 1.2, 3.0);
}

double DistanceFromCentre(int x, int y) { return std::hypot(x - kWidth / 2.0, y - kHeight / 2.0); }

}  // namespace

namespace {

// Snow held high above the scene so that only what a test changes moves.
constexpr char kStill[] = "--snow-clock 0";

// The hands, against a frame of the same scene with both hands between the quarter directions.
class HandDirections : public testing::Test {
protected:
    static void SetUpTestSuite() { reference_ = Render(std::string("--time 01:37:00 --clock 1 ") + kStill).image; }

    // Which of the four quarter directions a hand darkens at this time.
    static std::vector<int> DarkenedDirections(const std::string& time) {
        const Frame frame = Render("--time " + time + " --clock 1 " + kStill);
        EXPECT_GT(frame.image.width, 0) << frame.log;
        std::vector<int> darkened;
        if (frame.image.width == 0 || reference_.width == 0) return darkened;
        for (int angle : {0, 90, 180, 270}) {
            const double darkening = HandDarkening(reference_, frame.image, angle);
            EXPECT_TRUE(darkening > 10.0 || std::abs(darkening) < 3.0) << time << " at " << angle << ": " << darkening;
            if (darkening > 10.0) darkened.push_back(angle);
        }
        return darkened;
    }

    static PngImage reference_;
};

PngImage HandDirections::reference_;

TEST_F(HandDirections, HourHandPointsRightAtThreeMorningAndAfternoon) {
    EXPECT_EQ(DarkenedDirections("03:00:00"), (std::vector<int>{0, 90}));  // hour right, minute up
    EXPECT_EQ(DarkenedDirections("15:00:00"), (std::vector<int>{0, 90}));
}

TEST_F(HandDirections, BothHandsPointUpAtNoonAndMidnight) {
    EXPECT_EQ(DarkenedDirections("12:00:00"), std::vector<int>{90});
    EXPECT_EQ(DarkenedDirections("00:00:00"), std::vector<int>{90});
}

TEST_F(HandDirections, MinuteHandPointsDownAtHalfPastNine) {
    // The hour hand lies just above the nine, between the quarter directions' rays.
    const std::vector<int> darkened = DarkenedDirections("09:30:00");
    EXPECT_NE(std::find(darkened.begin(), darkened.end(), 270), darkened.end());
    EXPECT_EQ(std::find(darkened.begin(), darkened.end(), 0), darkened.end());
    EXPECT_EQ(std::find(darkened.begin(), darkened.end(), 90), darkened.end());
}

// Counts pixels that differ between two frames, and the farthest of them from the centre.
struct Difference {
    int pixels = 0;
    double farthest = 0.0;
};

Difference Compare(const PngImage& a, const PngImage& b) {
    Difference difference;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const Rgb p = a.At(x, y);
            const Rgb q = b.At(x, y);
            if (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 3) {
                ++difference.pixels;
                difference.farthest = std::max(difference.farthest, DistanceFromCentre(x, y));
            }
        }
    }
    return difference;
}

TEST(SceneFrames, TheMachineryIsSeenOnlyInTheDome) {
    // Gears, pendulum and the light at its bob move with --clock; the snow's clock is held.
    const Frame before = Render("--time 10:00:00 --clock 1 --snow-clock 30");
    const Frame after = Render("--time 10:00:00 --clock 2.7 --snow-clock 30");
    ASSERT_GT(before.image.width, 0) << before.log;
    ASSERT_GT(after.image.width, 0) << after.log;
    const Difference difference = Compare(before.image, after.image);
    EXPECT_GT(difference.pixels, 200) << "the machinery did not move";
    EXPECT_LT(difference.farthest, kDomeRadius * 1.08 + 2.0);
}

TEST(SceneFrames, TheTimeChangesOnlyTheDial) {
    const Frame before = Render(std::string("--time 10:00:00 --clock 1 ") + kStill);
    const Frame after = Render(std::string("--time 04:20:00 --clock 1 ") + kStill);
    ASSERT_GT(before.image.width, 0) << before.log;
    const Difference difference = Compare(before.image, after.image);
    EXPECT_GT(difference.pixels, 200) << "the hands did not move";
    EXPECT_LT(difference.farthest, kDialRadius * 1.02 + 2.0);
}

TEST(SceneFrames, SnowFallsOverTheWholeView) {
    const Frame early = Render("--time 10:00:00 --clock 1 --snow-clock 0");
    const Frame late = Render("--time 10:00:00 --clock 1 --snow-clock 40");
    const Difference difference = Compare(early.image, late.image);
    EXPECT_GT(difference.farthest, kDomeRadius * 1.2) << "no snow outside the dome";
}

bool IsClearRed(Rgb pixel) { return pixel.r > 200 && pixel.g < 40 && pixel.b < 40; }

// No pixel shows the red clear colour, and no straight column or row of the sky jumps in
// brightness as an edge between two sky images would.
void ExpectSkyWithoutGapsOrSeams(const PngImage& image) {
    int red = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) red += IsClearRed(image.At(x, y));
    }
    EXPECT_EQ(red, 0) << "the clear colour shows";

    std::vector<double> columnSteps;
    for (int x = 0; x + 1 < image.width; ++x) {
        double sum = 0.0;
        int rows = 0;
        for (int y = 0; y < image.height; ++y) {
            if (DistanceFromCentre(x, y) < kDomeRadius * 1.2) continue;
            sum += std::abs(Luminance(image.At(x, y)) - Luminance(image.At(x + 1, y)));
            ++rows;
        }
        if (rows > image.height / 2) columnSteps.push_back(sum / rows);
    }
    ASSERT_FALSE(columnSteps.empty());
    std::vector<double> sorted = columnSteps;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_LT(sorted.back(), sorted[sorted.size() / 2] * 4.0 + 2.0) << "a column of the sky jumps";
}

TEST(SceneFrames, SkyFillsEverythingOutsideTheClock) {
    const Frame frame = Render(std::string("--time 08:15:00 --clock 5 ") + kStill);
    ASSERT_GT(frame.image.width, 0) << frame.log;
    ExpectSkyWithoutGapsOrSeams(frame.image);
}

// The dial's numerals stay readable under the reflection: the ring of numerals holds both
// dark ink and light enamel.
TEST(SceneFrames, TheDomeIsTranslucent) {
    const Frame frame = Render(std::string("--time 10:00:00 --clock 3 ") + kStill);
    ASSERT_GT(frame.image.width, 0) << frame.log;
    std::vector<double> ring;
    for (int degrees = 0; degrees < 360; ++degrees) {
        for (double r = 3.5; r <= 4.3; r += 0.1) {
            const Point point = OnDial(r * std::cos(degrees * M_PI / 180.0), r * std::sin(degrees * M_PI / 180.0));
            ring.push_back(Luminance(frame.image.At(point.x, point.y)));
        }
    }
    std::sort(ring.begin(), ring.end());
    const double ink = ring[ring.size() / 50];
    const double enamel = ring[ring.size() * 9 / 10];
    EXPECT_GT(enamel - ink, 60.0) << "ink " << ink << ", enamel " << enamel;
}

TEST(SceneFrames, SameInputsGiveTheSameImage) {
    const Frame first = Render("--time 07:45:10.500 --clock 12 --snow-clock 35");
    const Frame second = Render("--time 07:45:10.500 --clock 12 --snow-clock 35");
    ASSERT_GT(first.image.width, 0) << first.log;
    EXPECT_EQ(first.image.pixels, second.image.pixels);
}

// A context without framebuffer objects, or without shader objects, still gives a whole frame.
TEST(SceneFrames, DegradedContextsStillDrawTheWholeFrame) {
    for (const char* environment : {"MESA_EXTENSION_OVERRIDE=-GL_EXT_framebuffer_object",
                                    "MESA_EXTENSION_OVERRIDE=-GL_ARB_shader_objects",
                                    "MESA_GL_VERSION_OVERRIDE=1.4 MESA_EXTENSION_OVERRIDE='-GL_EXT_framebuffer_object "
                                    "-GL_ARB_shader_objects -GL_ARB_vertex_shader -GL_ARB_fragment_shader'"}) {
        const Frame frame = Render(std::string("--time 03:00:00 --clock 4 ") + kStill, environment);
        ASSERT_GT(frame.image.width, 0) << environment << ": " << frame.log;
        ExpectSkyWithoutGapsOrSeams(frame.image);
        // The dial and its hands are there: the hour hand darker than the enamel left of the hub.
        EXPECT_LT(RayLuminance(frame.image, 0, 1.2, 3.0) + 10.0, RayLuminance(frame.image, 180, 1.2, 3.0))
            << environment;
    }
}

}  // namespace

namespace {

// Frames kept under tests/reference, regenerated with the same options when the picture is
// meant to change. The tolerance lets small rasteriser differences pass, not a moved part.
TEST(SceneFrames, MatchesTheReferenceFrames) {
    const struct {
        const char* file;
        const char* options;
    } references[] = {
        {"frame_10h09.png", "--time 10:09:30 --clock 3 --snow-clock 25"},
        {"frame_03h40.png", "--time 03:40:00 --clock 12 --snow-clock 40"},
    };
    for (const auto& reference : references) {
        const auto expected = ReadPng(std::string(VINTREL_REFERENCE_DIR) + "/" + reference.file);
        ASSERT_TRUE(expected) << reference.file;
        const Frame frame = Render(reference.options);
        ASSERT_EQ(frame.image.width, expected->width) << frame.log;
        ASSERT_EQ(frame.image.height, expected->height);
        double total = 0.0;
        int far = 0;
        for (std::size_t i = 0; i < expected->pixels.size(); i += 3) {
            int sum = 0;
            for (int c = 0; c < 3; ++c) sum += std::abs(expected->pixels[i + c] - frame.image.pixels[i + c]);
            total += sum / 3.0;
            far += sum > 48;
        }
        const double pixels = static_cast<double>(expected->pixels.size() / 3);
        EXPECT_LT(total / pixels, 2.0) << reference.file;
        EXPECT_LT(far / pixels, 0.005) << reference.file;
    }
}

}  // namespace
