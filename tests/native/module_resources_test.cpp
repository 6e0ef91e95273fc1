// The resources the native build embeds from resources/Vintrel.rc are the committed files, in
// the formats the loaders read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "resource_images.h"

namespace {

const std::string kResources = VINTREL_RESOURCES_DIR;

struct NamedResource {
    int id;
    const char* file;
};

// Bitmap identifiers and the files they come from, with their sizes.
struct BitmapResource {
    int id;
    const char* file;
    int side;
};

const BitmapResource kBitmaps[] = {
    {104, "clock_face.bmp", 780}, {105, "sky_ahead.bmp", 600}, {106, "sky_down.bmp", 600},
    {107, "metal.bmp", 512},      {108, "sky_behind.bmp", 600}, {109, "sky_right.bmp", 600},
    {110, "sky_left.bmp", 600},   {111, "sky_up.bmp", 600},
};

const NamedResource kShaders[] = {
    {150, "pixel_lighting.frag"}, {151, "pixel_lighting.vert"}, {152, "lit_textured.frag"},
    {153, "lit_textured.vert"},   {157, "point_sprite.frag"},   {158, "point_sprite.vert"},
};

std::vector<uint8_t> Bytes(const ResourceBytes& resource) {
    return std::vector<uint8_t>(resource.data, resource.data + resource.size);
}

TEST(ModuleResources, BitmapsAreTheCommittedFilesWithoutTheirFileHeader) {
    for (const BitmapResource& bitmap : kBitmaps) {
        SCOPED_TRACE(bitmap.file);
        const std::vector<uint8_t> file = ReadWholeFile(kResources + "/" + bitmap.file);
        ASSERT_GT(file.size(), 54u);
        // The file header says where the pixels start and how long the file is.
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(Little32(file.data() + 2), file.size());
        EXPECT_EQ(Little32(file.data() + 10), 54u);

        const ResourceBytes resource = FindModuleResource("BITMAP", bitmap.id);
        ASSERT_TRUE(resource);
        EXPECT_EQ(Bytes(resource), std::vector<uint8_t>(file.begin() + 14, file.end()));

        // 40-byte info header, square, bottom-up, 24 bits, uncompressed, no palette.
        ASSERT_GE(resource.size, 40u);
        EXPECT_EQ(Little32(resource.data), 40u);
        EXPECT_EQ(static_cast<int32_t>(Little32(resource.data + 4)), bitmap.side);
        EXPECT_EQ(static_cast<int32_t>(Little32(resource.data + 8)), bitmap.side);
        EXPECT_EQ(Little16(resource.data + 12), 1);
        EXPECT_EQ(Little16(resource.data + 14), 24);
        EXPECT_EQ(Little32(resource.data + 16), 0u);
        EXPECT_EQ(Little32(resource.data + 32), 0u);
        const std::size_t stride = (static_cast<std::size_t>(bitmap.side) * 3 + 3) / 4 * 4;
        EXPECT_EQ(resource.size, 40 + stride * bitmap.side);
    }
}

TEST(ModuleResources, SnowflakeIsTheCommittedTgaWithItsFixedHeader) {
    const ResourceBytes resource = FindModuleResource("TGA", 148);
    ASSERT_TRUE(resource);
    EXPECT_EQ(Bytes(resource), ReadWholeFile(kResources + "/snowflake.tga"));
    ASSERT_EQ(resource.size, 1048594u);
    const unsigned char* h = resource.data;
    EXPECT_EQ(h[0], 0);  // no image ID
    EXPECT_EQ(h[1], 0);  // no colour map
    EXPECT_EQ(h[2], 2);  // uncompressed true colour
    for (int i = 3; i < 8; ++i) EXPECT_EQ(h[i], 0) << "colour-map field byte " << i;
    EXPECT_EQ(Little16(h + 8), 0);
    EXPECT_EQ(Little16(h + 10), 0);
    EXPECT_EQ(Little16(h + 12), 512);
    EXPECT_EQ(Little16(h + 14), 512);
    EXPECT_EQ(h[16], 32);
    EXPECT_EQ(h[17], 8);  // eight alpha bits, origin at the lower left
}

TEST(ModuleResources, ShadersAreTheCommittedTextsAsPlainCrlfAscii) {
    for (const NamedResource& shader : kShaders) {
        SCOPED_TRACE(shader.file);
        const ResourceBytes resource = FindModuleResource("SHADER", shader.id);
        ASSERT_TRUE(resource);
        const std::vector<uint8_t> text = Bytes(resource);
        EXPECT_EQ(text, ReadWholeFile(kResources + "/" + shader.file));
        ASSERT_FALSE(text.empty());
        for (std::size_t i = 0; i < text.size(); ++i) {
            ASSERT_NE(text[i], 0) << "NUL at " << i;
            ASSERT_LT(text[i], 0x80) << "not ASCII at " << i;
            if (text[i] == '\n') {
                ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare line feed at " << i;
            }
            if (text[i] == '\r') {
                ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare return at " << i;
            }
        }
    }
}

TEST(ModuleResources, LookUpIsByTypeAsWellAsIdentifier) {
    EXPECT_FALSE(FindModuleResource("SHADER", 104));
    EXPECT_FALSE(FindModuleResource("BITMAP", 148));
    EXPECT_FALSE(FindModuleResource("TGA", 150));
    EXPECT_FALSE(FindModuleResource("BITMAP", 112));
}

}  // namespace
