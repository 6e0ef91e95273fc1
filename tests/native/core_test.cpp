// Plain decisions and arithmetic: the hands' fractions and the animation clocks, matrices,
// random numbers, the snow's trigonometry, the image readers, vintrel-render's options; and
// the module's images, made by the generator and carried by the program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <tuple>
#include <fstream>
#include <iterator>

#include "apps/render_options.h"
#include "gfx/matrix.h"
#include "gfx/texture_image.h"
#include "particles/flake_trigonometry.h"
#include "platform/platform_posix_control.h"
#include "platform/random.h"
#include "resources/resource_ids.h"
#include "scene/clock_time.h"
#include "scene/scene_setup.h"
#include "tools/images/module_images.h"

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
        EXPECT_FLOAT_EQ(minuteFraction, c.minute) << c.time.hour << ":" << c.time.minute << ":" << c.time.second;
        EXPECT_FLOAT_EQ(hourFraction, c.hour) << c.time.hour << ":" << c.time.minute << ":" << c.time.second;
    }
    FreezePerformanceCounter(5'000'000'000);
    ResetSceneState();  // the stopwatches start now
    AdvanceFrozenPerformanceCounter(2'500'000'000);  // 2.5 s of a 1 GHz counter
    UpdateScene();
    EXPECT_FLOAT_EQ(gearAngle, 125.0f) << "50 degrees a second";
    EXPECT_FLOAT_EQ(swingSeconds, 2.5f);
    // Gears and pendulum stand where the seconds on their stopwatches put them and a 10 ms tick
    // moves them alike (0.5 degrees, 0.01 s of swing), however long the saver has run; in its
    // first hour the readings are the seconds to single precision as they stand.
    for (const int64_t milliseconds : {60'370LL, 3'599'990LL, 2'592'000'370LL, 31'536'000'370LL}) {
        const double seconds = static_cast<double>(milliseconds) / 1000;
        ResetSceneState();
        AdvanceFrozenPerformanceCounter(milliseconds * 1'000'000);
        UpdateScene();
        const float gear = gearAngle, swing = swingSeconds;
        EXPECT_NEAR(std::remainder(gear - 50 * seconds, 360.0), 0.0, 0.02) << seconds;
        EXPECT_NEAR(std::sin(swing), std::sin(seconds), 3e-4) << seconds;
        EXPECT_TRUE(seconds > 3600 || (swing == static_cast<float>(seconds) && gear == 50 * static_cast<float>(seconds)));
        AdvanceFrozenPerformanceCounter(10'000'000);
        UpdateScene();
        if (seconds < 3600) continue;  // a float of an hour's seconds steps by 2.4 % of a tick
        EXPECT_NEAR(std::remainder(gearAngle - gear, 360.0), 0.5, 0.005) << seconds;
        EXPECT_NEAR(std::remainder(swingSeconds - swing, 2 * M_PI), 0.01, 1e-4) << seconds;
    }
    OverridePerformanceFrequency(0);  // a counter that runs at no rate measures no time
    ResetSceneState();
    UpdateScene();
    EXPECT_EQ(gearAngle, 0.0f);
    UnfreezeClocks();
}

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

// A bitmap resource of 3 x 2 pixels (rows of 9 bytes padded to 12) after `colours` table
// entries, or a TGA of 2 x 2 pixels of 4 bytes after an ID of `colours` bytes; other bytes
// hold their offset.
std::vector<unsigned char> Image(bool tga, int32_t height = 2, unsigned char colours = 0, unsigned char descriptor = 8) {
    std::vector<unsigned char> b(tga ? 18 + colours + 16 : 40 + 4 * colours + 24);
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<unsigned char>(i);
    auto put = [&](std::size_t at, uint32_t value, int size) {
        for (int i = 0; i < size; ++i) b[at + i] = static_cast<unsigned char>(value >> (8 * i));
    };
    if (tga) {
        b[0] = colours, b[1] = 0, b[2] = 2, b[16] = 32, b[17] = descriptor, put(12, 2, 2), put(14, 2, 2);
    } else {
        put(0, 40, 4), put(4, 3, 4), put(8, static_cast<uint32_t>(height), 4), put(12, 1, 2), put(14, 24, 2), put(16, 0, 4), put(32, colours, 4);
    }
    return b;
}

// The first byte of the bottom row; -1 for an image that is refused.
int FirstRow(const std::vector<unsigned char>& b, bool tga) {
    const auto image = tga ? ReadTgaImage(b.data(), b.size()) : ReadBitmapImage(b.data(), b.size());
    return image ? image->Pixels()[0] : -1;
}

// The bottom row first, where the header says; nothing where the bytes do not bear it out.
TEST(TextureImage, RowsComeBottomFirstFromWhereTheHeaderSaysAndNoFurther) {
    EXPECT_EQ(FirstRow(Image(false), false), 40);
    EXPECT_EQ(FirstRow(Image(false, 2, 2), false), 48) << "after the colour table";
    EXPECT_EQ(FirstRow(Image(false, -2), false), 52) << "rows stored from the top, 12 bytes each";
    EXPECT_EQ(FirstRow(Image(true), true), 18);
    EXPECT_EQ(FirstRow(Image(true, 2, 3), true), 21) << "after the image ID";
    EXPECT_EQ(FirstRow(Image(true, 2, 0, 8 | 0x20), true), 26) << "rows stored from the top, 8 bytes each";
    // Bitmaps: 32 bits, compressed, no width, too wide, a short header, a colour table beyond the
    // end, two planes; TGAs: compressed, 24 bits, a colour map, right to left, an ID that leaves
    // the pixels a byte short. Then each one byte short.
    const std::tuple<bool, std::size_t, unsigned char> spoiled[] = {
        {false, 14, 32}, {false, 16, 1}, {false, 4, 0}, {false, 5, 0x41}, {false, 0, 12}, {false, 32, 100}, {false, 12, 2},
        {true, 2, 10},   {true, 16, 24}, {true, 1, 1},  {true, 17, 0x18},  {true, 0, 1},   {false, 0, 0},     {true, 0, 0}};
    for (const auto& [tga, at, value] : spoiled) {
        auto b = Image(tga);
        value ? void(b[at] = value) : b.pop_back();
        EXPECT_EQ(FirstRow(b, tga), -1) << tga << ", " << at;
    }
}

TEST(RenderOptions, EveryOptionAndWhatIsWrongWithABadOne) {
    const char* const good[] = {"vintrel-render", "--size", "640x480", "--time", "10:09:30.250", "--clock", "3", "--snow-clock", "5",
                                "--step", "0.02", "--seed", "4294967295", "--frames", "4", "--out", "f%d.png", "--bench",
                                "--warm-up", "60", "--floor-startup"};
    const ParsedRenderOptions parsed = ParseRenderOptions(static_cast<int>(std::size(good)), good);
    ASSERT_TRUE(parsed.options) << parsed.error;
    const RenderOptions& o = *parsed.options;
    EXPECT_EQ(std::vector<double>({double(o.width), double(o.height), double(o.time->hour), double(o.time->minute), double(o.time->second),
                                   double(o.time->millisecond), o.clockSeconds, *o.snowClockSeconds, o.stepSeconds, double(*o.seed),
                                   double(o.frames), double(o.bench), o.warmUpSeconds, double(o.floorStartup)}),
              std::vector<double>({640, 480, 10, 9, 30, 250, 3, 5, 0.02, 4294967295.0, 4, 1, 60, 1}));
    EXPECT_EQ(FramePath(o.out, 12), "f12.png");
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--bogus"}, {"--size", "640"}, {"--size", "0x10"}, {"--frames", "0"}, {"--time", "24:00:00"}, {"--time", "10:60:00"},
             {"--time", "1:00:00"}, {"--clock", "-1"}, {"--seed", "4294967296"}, {"--seed"},
             // a warm-up needs steps that advance, and not so many that it never ends
             {"--warm-up", "-5"}, {"--warm-up", "5", "--step", "0"}, {"--warm-up", "1000", "--step", "0.00001"}}) {
        bad.insert(bad.begin(), "vintrel-render");
        const ParsedRenderOptions refused = ParseRenderOptions(static_cast<int>(bad.size()), bad.data());
        EXPECT_FALSE(refused.options) << bad[1];
        EXPECT_NE(refused.error.find(bad[1]), std::string::npos) << refused.error;
    }
}

std::vector<unsigned char> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Images, RegeneratingGivesTheCommittedFiles) {
    std::string directory = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/vintrel-images-XXXXXX";
    ASSERT_TRUE(mkdtemp(directory.data()));
    ASSERT_TRUE(WriteModuleImages(directory));
    for (const ModuleImage& image : ModuleImages()) {
        const std::string made = directory + "/" + image.fileName;
        EXPECT_TRUE(FileBytes(made) == FileBytes(std::string(VINTREL_RESOURCES_DIR) + "/" + image.fileName))
            << image.fileName << ": regenerate resources/ with vintrel-images";
        std::remove(made.c_str());
    }
    rmdir(directory.c_str());
}

// A bitmap resource is the file without its 14-byte file header, found by type and identifier.
TEST(Images, TheProgramCarriesThemByTypeAndIdentifier) {
    const std::vector<unsigned char> dial = FileBytes(std::string(VINTREL_RESOURCES_DIR) + "/clock_face.bmp");
    const ResourceBytes carried = FindModuleResource("BITMAP", CLOCK_FACE_BITMAP);
    EXPECT_TRUE(carried && std::equal(dial.begin() + 14, dial.end(), carried.data, carried.data + carried.size));
    EXPECT_FALSE(FindModuleResource("SHADER", CLOCK_FACE_BITMAP));
}

}  // namespace
