#include "gfx/texture_image.h"

#include <cstdint>
#include <cstring>

namespace {

// Both formats store their fields little-endian, whatever the machine reading them.
uint16_t ReadLe16(const unsigned char* bytes) {
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ReadLe32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// Rows of `rowStride` bytes starting `pixelOffset` bytes in; nothing unless every row lies
// inside the resource. Rows stored from the top are copied in reverse so that the bottom row
// comes first, as OpenGL wants it.
std::optional<TextureImage> TakeRows(const unsigned char* data, std::size_t size, uint64_t pixelOffset,
                                     int width, int height, uint64_t rowStride, bool topDown) {
    if (pixelOffset > size) return std::nullopt;
    if ((size - pixelOffset) / rowStride < static_cast<uint64_t>(height)) return std::nullopt;

    TextureImage image;
    image.width = width;
    image.height = height;
    image.rowStride = static_cast<std::size_t>(rowStride);
    image.resourceRows = data + pixelOffset;
    if (topDown) {
        image.flippedRows.resize(image.rowStride * static_cast<std::size_t>(height));
        for (int row = 0; row < height; ++row) {
            std::memcpy(image.flippedRows.data() + static_cast<std::size_t>(height - 1 - row) * image.rowStride,
                        image.resourceRows + static_cast<std::size_t>(row) * image.rowStride, image.rowStride);
        }
    }
    return image;
}

bool SideInRange(int64_t side) { return side > 0 && side <= kMaxTextureImageSide; }

}  // namespace

std::optional<TextureImage> ReadBitmapImage(const unsigned char* data, std::size_t size) {
    // The 40-byte info header; later versions (108, 124 bytes) only add fields after it.
    constexpr std::size_t kInfoHeaderSize = 40;
    constexpr uint32_t kUncompressed = 0;
    if (!data || size < kInfoHeaderSize) return std::nullopt;

    const uint32_t headerSize = ReadLe32(data + 0);
    const int64_t width = static_cast<int32_t>(ReadLe32(data + 4));
    const int64_t signedHeight = static_cast<int32_t>(ReadLe32(data + 8));
    const uint16_t planes = ReadLe16(data + 12);
    const uint16_t bitsPerPixel = ReadLe16(data + 14);
    const uint32_t compression = ReadLe32(data + 16);
    const uint32_t coloursUsed = ReadLe32(data + 32);

    if (headerSize < kInfoHeaderSize) return std::nullopt;
    if (planes != 1 || bitsPerPixel != 24 || compression != kUncompressed) return std::nullopt;
    // A negative height marks rows stored from the top down.
    const bool topDown = signedHeight < 0;
    const int64_t height = topDown ? -signedHeight : signedHeight;
    if (!SideInRange(width) || !SideInRange(height)) return std::nullopt;

    // A true-colour bitmap may still carry a colour table (a palette hint); the pixels follow it.
    const uint64_t pixelOffset = static_cast<uint64_t>(headerSize) + static_cast<uint64_t>(coloursUsed) * 4;
    const uint64_t rowStride = (static_cast<uint64_t>(width) * 3 + 3) & ~uint64_t{3};
    return TakeRows(data, size, pixelOffset, static_cast<int>(width), static_cast<int>(height), rowStride,
                    topDown);
}

std::optional<TextureImage> ReadTgaImage(const unsigned char* data, std::size_t size) {
    constexpr std::size_t kHeaderSize = 18;
    constexpr unsigned char kUncompressedTrueColour = 2;
    constexpr unsigned char kRightToLeft = 0x10;
    constexpr unsigned char kTopToBottom = 0x20;
    constexpr unsigned char kInterleaving = 0xC0;
    if (!data || size < kHeaderSize) return std::nullopt;

    const unsigned char imageIdLength = data[0];
    const unsigned char colourMapType = data[1];
    const unsigned char imageType = data[2];
    const int64_t width = ReadLe16(data + 12);
    const int64_t height = ReadLe16(data + 14);
    const unsigned char bitsPerPixel = data[16];
    const unsigned char descriptor = data[17];

    if (colourMapType != 0 || imageType != kUncompressedTrueColour || bitsPerPixel != 32) return std::nullopt;
    if (descriptor & (kRightToLeft | kInterleaving)) return std::nullopt;
    if (!SideInRange(width) || !SideInRange(height)) return std::nullopt;

    // The image ID, if any, sits between the header and the pixels.
    const uint64_t pixelOffset = kHeaderSize + imageIdLength;
    const uint64_t rowStride = static_cast<uint64_t>(width) * 4;
    return TakeRows(data, size, pixelOffset, static_cast<int>(width), static_cast<int>(height), rowStride,
                    (descriptor & kTopToBottom) != 0);
}
