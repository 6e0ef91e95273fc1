// The image generator: its output is the committed images, byte for byte; its file writers
// and its arithmetic are sound.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <set>
#include <string>

#include "resource_images.h"
#include "sky_box_table.h"
#include "tools/images/deterministic_math.h"
#include "tools/images/gradient_noise.h"
#include "tools/images/image_files.h"
#include "tools/images/module_images.h"
#include "tools/images/sky_box_layout.h"

namespace {

const std::string kResources = VINTREL_RESOURCES_DIR;

std::string MakeTemporaryDirectory() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/vintrel-images-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

TEST(ImageGenerator, RegeneratingReproducesEveryCommittedImage) {
    const std::string directory = MakeTemporaryDirectory();
    ASSERT_FALSE(directory.empty());
    const std::string command = std::string(VINTREL_IMAGES) + " " + directory;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const ModuleImage& image : ModuleImages()) {
        SCOPED_TRACE(image.fileName);
        const std::vector<uint8_t> made = ReadWholeFile(directory + "/" + image.fileName);
        const std::vector<uint8_t> committed = ReadWholeFile(kResources + "/" + image.fileName);
        ASSERT_FALSE(made.empty());
        EXPECT_EQ(made.size(), committed.size());
        EXPECT_TRUE(made == committed) << "regenerate resources/ with vintrel-images";
        std::remove((directory + "/" + image.fileName).c_str());
    }
    rmdir(directory.c_str());
}

TEST(ImageGenerator, MakesEveryImageTheResourceScriptNames) {
    // Lines of the form <id> BITMAP "<file>" or <id> TGA "<file>".
    std::ifstream script(kResources + "/Vintrel.rc");
    std::set<std::string> named;
    for (std::string line; std::getline(script, line);) {
        std::istringstream words(line);
        std::string id;
        std::string type, file;
        if (!(words >> id >> type >> file) || (type != "BITMAP" && type != "TGA")) continue;
        if (file.size() > 2 && file.front() == '"' && file.back() == '"') named.insert(file.substr(1, file.size() - 2));
    }
    std::set<std::string> made;
    for (const ModuleImage& image : ModuleImages()) made.insert(image.fileName);
    EXPECT_EQ(named.size(), 9u);
    EXPECT_EQ(named, made);
}

TEST(ImageGenerator, UsageErrorsExitWithTwo) {
    const std::string noArgument = std::string(VINTREL_IMAGES) + " 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(noArgument.c_str())), 2);
    const std::string badDirectory = std::string(VINTREL_IMAGES) + " /nonexistent/directory 2>/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(badDirectory.c_str())), 1);
}

TEST(ImageFiles, BitmapRowsRunBottomUpInBgrPaddedToFourBytes) {
    // 3 × 2 pixels: each 9-byte row needs 3 bytes of padding.
    Rgb8Image image{3, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}};
    const std::vector<uint8_t> file = EncodeBmp24(image);
    ASSERT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(Little32(file.data() + 2), 78u);
    EXPECT_EQ(Little32(file.data() + 10), 54u);
    EXPECT_EQ(Little32(file.data() + 14), 40u);
    EXPECT_EQ(Little32(file.data() + 18), 3u);
    EXPECT_EQ(Little32(file.data() + 22), 2u);
    EXPECT_EQ(Little16(file.data() + 28), 24);
    EXPECT_EQ(Little32(file.data() + 34), 24u);
    const std::vector<uint8_t> pixels(file.begin() + 54, file.end());
    const std::vector<uint8_t> expected = {12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0,  // bottom row first
                                           3,  2,  1,  6,  5,  4,  9,  8,  7,  0, 0, 0};
    EXPECT_EQ(pixels, expected);
    // The test decoder agrees, so the image tests read what the module reads.
    const auto decoded = DecodeDib24(file.data() + 14, file.size() - 14);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixels, image.rgb);
}

TEST(ImageFiles, TgaRowsRunBottomUpInBgra) {
    Rgba8Image image{1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
    const std::vector<uint8_t> file = EncodeTga32(image);
    ASSERT_EQ(file.size(), 18u + 8u);
    const std::vector<uint8_t> header(file.begin(), file.begin() + 18);
    const std::vector<uint8_t> expectedHeader = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 0, 32, 8};
    EXPECT_EQ(header, expectedHeader);
    const std::vector<uint8_t> pixels(file.begin() + 18, file.end());
    const std::vector<uint8_t> expected = {7, 6, 5, 8, 3, 2, 1, 4};
    EXPECT_EQ(pixels, expected);
}

TEST(DeterministicMath, AgreesWithTheSystemLibraryToItsLastBits) {
    for (double x = -40.0; x <= 40.0; x += 0.0137) {
        ASSERT_NEAR(detmath::Sin(x), std::sin(x), 4e-16 * (1.0 + std::fabs(x))) << x;
        ASSERT_NEAR(detmath::Cos(x), std::cos(x), 4e-16 * (1.0 + std::fabs(x))) << x;
        ASSERT_NEAR(detmath::Exp(x), std::exp(x), 1e-15 * std::exp(x)) << x;
        ASSERT_NEAR(detmath::Atan2(x, 3.0), std::atan2(x, 3.0), 1e-15) << x;
        ASSERT_NEAR(detmath::Atan2(-3.0, x), std::atan2(-3.0, x), 1e-15) << x;
    }
    for (double x = 1e-6; x < 1e6; x *= 1.37) {
        ASSERT_NEAR(detmath::Log(x), std::log(x), 1e-15 * (1.0 + std::fabs(std::log(x)))) << x;
        ASSERT_NEAR(detmath::Pow(x, 0.4545), std::pow(x, 0.4545), 1e-14 * std::pow(x, 0.4545)) << x;
    }
    EXPECT_EQ(detmath::Exp(-800.0), 0.0);
    EXPECT_EQ(detmath::Pow(0.0, 2.0), 0.0);
    EXPECT_DOUBLE_EQ(detmath::Atan2(0.0, -1.0), detmath::kPi);
}

TEST(GradientNoise, PeriodicNoiseRepeatsAfterItsPeriods) {
    for (double y = 0.05; y < 6.0; y += 0.37) {
        for (double x = 0.05; x < 6.0; x += 0.29) {
            const double n = PeriodicFractalNoise2(x, y, 3, 5, 4, 0.5, 11);
            EXPECT_NEAR(n, PeriodicFractalNoise2(x + 3.0, y, 3, 5, 4, 0.5, 11), 1e-12);
            EXPECT_NEAR(n, PeriodicFractalNoise2(x, y - 5.0, 3, 5, 4, 0.5, 11), 1e-12);
            EXPECT_LE(std::fabs(n), 1.5);
        }
    }
    // ... and is not constant.
    EXPECT_NE(PeriodicNoise2(0.5, 0.5, 4, 4, 1), PeriodicNoise2(1.5, 0.5, 4, 4, 1));
    EXPECT_NE(Noise3(0.3, 0.6, 0.45, 1), Noise3(0.3, 1.6, 0.45, 1));
}

TEST(SkyBoxLayout, EveryVertexOfTheDrawingTableLandsWhereTheGeneratorPaintsIt) {
    for (int face = 0; face < 6; ++face) {
        const TableFace& table = kSkyBoxTable[face];
        EXPECT_EQ(SkyFaceAt(face).bitmapId, table.bitmapId);
        const double turn = table.turnDegrees * M_PI / 180.0;
        for (const TableVertex& vertex : table.vertices) {
            // glRotatef about y: x' = x cos + z sin, z' = −x sin + z cos.
            const double x = vertex.x * std::cos(turn) + vertex.z * std::sin(turn);
            const double z = -vertex.x * std::sin(turn) + vertex.z * std::cos(turn);
            const Direction painted = SkyFacePoint(face, vertex.u, vertex.v);
            EXPECT_NEAR(painted.x, x, 1e-12) << "face " << face + 1;
            EXPECT_NEAR(painted.y, vertex.y, 1e-12) << "face " << face + 1;
            EXPECT_NEAR(painted.z, z, 1e-12) << "face " << face + 1;
        }
    }
}

}  // namespace
