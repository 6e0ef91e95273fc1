// The image readers, and the module's images: made by the generator and carried by the program.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <tuple>

#include "gfx/texture_image.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "tests/support/temporary_directory.h"
#include "tools/images/module_images.h"

namespace {

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

std::vector<unsigned char> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Images, RegeneratingGivesTheCommittedFiles) {
    std::string directory = TemporaryDirectory() + "/vintrel-images-XXXXXX";
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
