// Hand-made bitmap and TGA resources with known pixels, and a buffer that ends at an
// inaccessible page, so a reader that runs past a resource's last byte faults at once, in our
// code or in a library's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgba {
    unsigned char red, green, blue, alpha;
    bool operator==(const Rgba& other) const {
        return red == other.red && green == other.green && blue == other.blue && alpha == other.alpha;
    }
};

// A distinct opaque colour for every pixel of a small image; y counts from the bottom row.
Rgba PixelColour(int x, int y);

// Snowflake-like alpha: 0 or 255 in a pattern that differs between neighbours.
Rgba PixelColourWithAlpha(int x, int y);

// A bitmap resource (info header, `coloursUsed` table entries, pixels; no file header) of
// PixelColour, 24 bits, rows padded to 4 bytes with 0xEE. A negative height stores the rows
// from the top down; `headerSize` above 40 adds zeroed header fields.
std::vector<unsigned char> CraftBitmap(int width, int height, uint32_t headerSize = 40, uint32_t coloursUsed = 0);

// Offsets of the info header's fields that the tests change.
namespace bitmap_field {
constexpr std::size_t kHeaderSize = 0, kWidth = 4, kHeight = 8, kPlanes = 12, kBitsPerPixel = 14,
                      kCompression = 16, kColoursUsed = 32;
}

// A TGA file of PixelColourWithAlpha: uncompressed, 32 bits, BGRA, an image ID of
// `imageIdLength` bytes; rows bottom-up unless `topDown`.
std::vector<unsigned char> CraftTga(int width, int height, bool topDown = false, int imageIdLength = 0);

namespace tga_field {
constexpr std::size_t kImageIdLength = 0, kColourMapType = 1, kImageType = 2, kWidth = 12, kHeight = 14,
                      kBitsPerPixel = 16, kDescriptor = 17;
}

void PutLe16(std::vector<unsigned char>& bytes, std::size_t offset, uint16_t value);
void PutLe32(std::vector<unsigned char>& bytes, std::size_t offset, uint32_t value);

// A copy of some bytes placed so that the page right after the last byte cannot be read.
class GuardedBytes {
public:
    explicit GuardedBytes(const std::vector<unsigned char>& bytes);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    const unsigned char* data() const { return data_; }
    std::size_t size() const { return size_; }

private:
    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    const unsigned char* data_ = nullptr;
    std::size_t size_ = 0;
};
