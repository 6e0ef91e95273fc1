// Reading bitmaps and TGA files into rows for OpenGL. Every resource sits right before an
// unreadable page, so a read past its end fails the run even where no sanitizer looks.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "crafted_images.h"
#include "gfx/texture_image.h"

namespace {

std::optional<TextureImage> ReadGuardedBitmap(const std::vector<unsigned char>& bytes) {
    const GuardedBytes guarded(bytes);
    std::optional<TextureImage> image = ReadBitmapImage(guarded.data(), guarded.size());
    // Rows that point into the resource die with it; keep a copy for the checks.
    if (image && image->flippedRows.empty()) {
        image->flippedRows.assign(image->Pixels(), image->Pixels() + image->rowStride * image->height);
    }
    return image;
}

std::optional<TextureImage> ReadGuardedTga(const std::vector<unsigned char>& bytes) {
    const GuardedBytes guarded(bytes);
    std::optional<TextureImage> image = ReadTgaImage(guarded.data(), guarded.size());
    if (image && image->flippedRows.empty()) {
        image->flippedRows.assign(image->Pixels(), image->Pixels() + image->rowStride * image->height);
    }
    return image;
}

// Compares every pixel of a read image (bottom row first) with the colours it was made from.
void ExpectBgrPixels(const TextureImage& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* pixel = image.Pixels() + y * image.rowStride + 3 * x;
            const Rgba expected = PixelColour(x, y);
            EXPECT_EQ(pixel[0], expected.blue) << x << "," << y;
            EXPECT_EQ(pixel[1], expected.green) << x << "," << y;
            EXPECT_EQ(pixel[2], expected.red) << x << "," << y;
        }
    }
}

void ExpectBgraPixels(const TextureImage& image) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* pixel = image.Pixels() + y * image.rowStride + 4 * x;
            const Rgba expected = PixelColourWithAlpha(x, y);
            EXPECT_EQ((Rgba{pixel[2], pixel[1], pixel[0], pixel[3]}), expected) << x << "," << y;
        }
    }
}

struct Mutation {
    std::string name;
    std::function<void(std::vector<unsigned char>&)> apply;
};

TEST(BitmapImage, ReadsPaddedBottomUpRowsInPlace) {
    const std::vector<unsigned char> bytes = CraftBitmap(3, 5);
    const GuardedBytes guarded(bytes);
    const auto image = ReadBitmapImage(guarded.data(), guarded.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 5);
    EXPECT_EQ(image->rowStride, 12u);  // 9 bytes of pixels, padded to 12
    EXPECT_EQ(image->Pixels(), guarded.data() + 40);
    ExpectBgrPixels(*image);
}

TEST(BitmapImage, TopDownRowsComeOutBottomRowFirst) {
    const auto image = ReadGuardedBitmap(CraftBitmap(3, -4));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height, 4);
    ExpectBgrPixels(*image);
    // The padding travels with its row.
    EXPECT_EQ(image->Pixels()[9], 0xEE);
}

TEST(BitmapImage, PixelsFollowALongerHeaderAndAColourTable) {
    const auto versionFive = ReadGuardedBitmap(CraftBitmap(2, 2, 124));
    ASSERT_TRUE(versionFive);
    ExpectBgrPixels(*versionFive);

    const auto withTable = ReadGuardedBitmap(CraftBitmap(2, 3, 40, 5));
    ASSERT_TRUE(withTable);
    ExpectBgrPixels(*withTable);
}

TEST(BitmapImage, SidesUpToTheLimitAreAccepted) {
    const auto wide = ReadGuardedBitmap(CraftBitmap(kMaxTextureImageSide, 1));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->width, kMaxTextureImageSide);
    EXPECT_TRUE(ReadGuardedBitmap(CraftBitmap(1, kMaxTextureImageSide)));
    EXPECT_TRUE(ReadGuardedBitmap(CraftBitmap(780, 2)));
}

TEST(BitmapImage, RefusesWhatItCannotReadOrWhatRunsPastItsEnd) {
    using namespace bitmap_field;
    const std::vector<Mutation> mutations = {
        {"no bytes at all", [](auto& b) { b.clear(); }},
        {"shorter than the info header", [](auto& b) { b.resize(39); }},
        {"last row one byte short", [](auto& b) { b.pop_back(); }},
        {"header size below 40", [](auto& b) { PutLe32(b, kHeaderSize, 12); }},
        {"header size past the end", [](auto& b) { PutLe32(b, kHeaderSize, static_cast<uint32_t>(b.size() + 1)); }},
        {"header size pushes the rows past the end", [](auto& b) { PutLe32(b, kHeaderSize, 44); }},
        {"huge header size", [](auto& b) { PutLe32(b, kHeaderSize, 0xFFFFFFFFu); }},
        {"colour table pushes the rows past the end", [](auto& b) { PutLe32(b, kColoursUsed, 1); }},
        {"huge colour table", [](auto& b) { PutLe32(b, kColoursUsed, 0xFFFFFFFFu); }},
        {"32 bits per pixel", [](auto& b) { PutLe16(b, kBitsPerPixel, 32); }},
        {"8 bits per pixel", [](auto& b) { PutLe16(b, kBitsPerPixel, 8); }},
        {"run-length compressed", [](auto& b) { PutLe32(b, kCompression, 1); }},
        {"bit fields", [](auto& b) { PutLe32(b, kCompression, 3); }},
        {"two planes", [](auto& b) { PutLe16(b, kPlanes, 2); }},
        {"zero width", [](auto& b) { PutLe32(b, kWidth, 0); }},
        {"negative width", [](auto& b) { PutLe32(b, kWidth, static_cast<uint32_t>(-4)); }},
        {"zero height", [](auto& b) { PutLe32(b, kHeight, 0); }},
        {"most negative height", [](auto& b) { PutLe32(b, kHeight, 0x80000000u); }},
        {"width past the limit", [](auto& b) { PutLe32(b, kWidth, kMaxTextureImageSide + 1); }},
        {"largest width", [](auto& b) { PutLe32(b, kWidth, 0x7FFFFFFFu); }},
        {"one row more than stored", [](auto& b) { PutLe32(b, kHeight, 5); }},
        {"one row more than stored, top-down", [](auto& b) { PutLe32(b, kHeight, static_cast<uint32_t>(-5)); }},
        {"wider than stored", [](auto& b) { PutLe32(b, kWidth, 3); }},
    };
    for (const Mutation& mutation : mutations) {
        SCOPED_TRACE(mutation.name);
        std::vector<unsigned char> bytes = CraftBitmap(2, 4);  // rows of 6 bytes padded to 8
        ASSERT_TRUE(ReadGuardedBitmap(bytes)) << "the unchanged bitmap must be readable";
        mutation.apply(bytes);
        EXPECT_FALSE(ReadGuardedBitmap(bytes));
    }
    EXPECT_FALSE(ReadBitmapImage(nullptr, 100));
    EXPECT_FALSE(ReadGuardedBitmap(CraftBitmap(kMaxTextureImageSide + 1, 1)));
}

TEST(TgaImage, ReadsPackedBottomUpRowsInPlace) {
    const std::vector<unsigned char> bytes = CraftTga(3, 2);
    const GuardedBytes guarded(bytes);
    const auto image = ReadTgaImage(guarded.data(), guarded.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->rowStride, 12u);
    EXPECT_EQ(image->Pixels(), guarded.data() + 18);
    ExpectBgraPixels(*image);
}

TEST(TgaImage, SkipsTheImageIdAndTurnsTopDownRows) {
    const auto withId = ReadGuardedTga(CraftTga(2, 3, false, 7));
    ASSERT_TRUE(withId);
    ExpectBgraPixels(*withId);

    const auto topDown = ReadGuardedTga(CraftTga(2, 3, true));
    ASSERT_TRUE(topDown);
    ExpectBgraPixels(*topDown);
}

TEST(TgaImage, TheSnowflakeFormatIsAccepted) {
    const auto image = ReadGuardedTga(CraftTga(512, 512));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 512);
    EXPECT_EQ(image->height, 512);
}

TEST(TgaImage, RefusesWhatItCannotReadOrWhatRunsPastItsEnd) {
    using namespace tga_field;
    const std::vector<Mutation> mutations = {
        {"no bytes at all", [](auto& b) { b.clear(); }},
        {"shorter than the header", [](auto& b) { b.resize(17); }},
        {"header only", [](auto& b) { b.resize(18); }},
        {"last pixel one byte short", [](auto& b) { b.pop_back(); }},
        {"image ID pushes the pixels past the end", [](auto& b) { b[kImageIdLength] = 1; }},
        {"colour-mapped", [](auto& b) { b[kImageType] = 1; }},
        {"run-length compressed", [](auto& b) { b[kImageType] = 10; }},
        {"grey scale", [](auto& b) { b[kImageType] = 3; }},
        {"carries a colour map", [](auto& b) { b[kColourMapType] = 1; }},
        {"24 bits per pixel", [](auto& b) { b[kBitsPerPixel] = 24; }},
        {"16 bits per pixel", [](auto& b) { b[kBitsPerPixel] = 16; }},
        {"zero width", [](auto& b) { PutLe16(b, kWidth, 0); }},
        {"zero height", [](auto& b) { PutLe16(b, kHeight, 0); }},
        {"one row more than stored", [](auto& b) { PutLe16(b, kHeight, 3); }},
        {"largest sides", [](auto& b) {
             PutLe16(b, kWidth, 0xFFFF);
             PutLe16(b, kHeight, 0xFFFF);
         }},
        {"rows right to left", [](auto& b) { b[kDescriptor] |= 0x10; }},
        {"interleaved rows", [](auto& b) { b[kDescriptor] |= 0x40; }},
    };
    for (const Mutation& mutation : mutations) {
        SCOPED_TRACE(mutation.name);
        std::vector<unsigned char> bytes = CraftTga(2, 2);
        ASSERT_TRUE(ReadGuardedTga(bytes)) << "the unchanged image must be readable";
        mutation.apply(bytes);
        EXPECT_FALSE(ReadGuardedTga(bytes));
    }
    EXPECT_FALSE(ReadTgaImage(nullptr, 100));

    // The snowflake's header with all but its last pixel.
    std::vector<unsigned char> truncated = CraftTga(512, 512);
    ASSERT_EQ(truncated.size(), 18u + 512 * 512 * 4);
    truncated.resize(truncated.size() - 4);
    EXPECT_FALSE(ReadGuardedTga(truncated));
}

}  // namespace
