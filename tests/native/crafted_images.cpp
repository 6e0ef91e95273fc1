#include "crafted_images.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

Rgba PixelColour(int x, int y) {
    return {static_cast<unsigned char>(10 + 40 * x), static_cast<unsigned char>(20 + 30 * y),
            static_cast<unsigned char>(5 + 17 * (x + 2 * y)), 255};
}

Rgba PixelColourWithAlpha(int x, int y) {
    Rgba colour = PixelColour(x, y);
    colour.alpha = (x + y) % 2 == 0 ? 255 : 0;
    return colour;
}

void PutLe16(std::vector<unsigned char>& bytes, std::size_t offset, uint16_t value) {
    bytes[offset] = static_cast<unsigned char>(value);
    bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

void PutLe32(std::vector<unsigned char>& bytes, std::size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::vector<unsigned char> CraftBitmap(int width, int height, uint32_t headerSize, uint32_t coloursUsed) {
    const int rows = height < 0 ? -height : height;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t pixelOffset = headerSize + 4 * static_cast<std::size_t>(coloursUsed);
    std::vector<unsigned char> bytes(pixelOffset + stride * rows, 0);
    using namespace bitmap_field;
    PutLe32(bytes, kHeaderSize, headerSize);
    PutLe32(bytes, kWidth, static_cast<uint32_t>(width));
    PutLe32(bytes, kHeight, static_cast<uint32_t>(height));
    PutLe16(bytes, kPlanes, 1);
    PutLe16(bytes, kBitsPerPixel, 24);
    PutLe32(bytes, kCompression, 0);
    PutLe32(bytes, 20, static_cast<uint32_t>(stride * rows));  // image size
    PutLe32(bytes, kColoursUsed, coloursUsed);
    for (std::size_t i = headerSize; i < pixelOffset; ++i) bytes[i] = 0x77;
    for (int stored = 0; stored < rows; ++stored) {
        const int y = height < 0 ? rows - 1 - stored : stored;
        unsigned char* row = bytes.data() + pixelOffset + stride * stored;
        std::memset(row, 0xEE, stride);
        for (int x = 0; x < width; ++x) {
            const Rgba colour = PixelColour(x, y);
            row[3 * x + 0] = colour.blue;
            row[3 * x + 1] = colour.green;
            row[3 * x + 2] = colour.red;
        }
    }
    return bytes;
}

std::vector<unsigned char> CraftTga(int width, int height, bool topDown, int imageIdLength) {
    const std::size_t pixelOffset = 18 + static_cast<std::size_t>(imageIdLength);
    std::vector<unsigned char> bytes(pixelOffset + 4 * static_cast<std::size_t>(width) * height, 0);
    using namespace tga_field;
    bytes[kImageIdLength] = static_cast<unsigned char>(imageIdLength);
    bytes[kImageType] = 2;
    PutLe16(bytes, kWidth, static_cast<uint16_t>(width));
    PutLe16(bytes, kHeight, static_cast<uint16_t>(height));
    bytes[kBitsPerPixel] = 32;
    bytes[kDescriptor] = static_cast<unsigned char>(8 | (topDown ? 0x20 : 0));
    for (int i = 0; i < imageIdLength; ++i) bytes[18 + i] = 'I';
    for (int stored = 0; stored < height; ++stored) {
        const int y = topDown ? height - 1 - stored : stored;
        for (int x = 0; x < width; ++x) {
            const Rgba colour = PixelColourWithAlpha(x, y);
            unsigned char* pixel = bytes.data() + pixelOffset + 4 * (static_cast<std::size_t>(stored) * width + x);
            pixel[0] = colour.blue;
            pixel[1] = colour.green;
            pixel[2] = colour.red;
            pixel[3] = colour.alpha;
        }
    }
    return bytes;
}

GuardedBytes::GuardedBytes(const std::vector<unsigned char>& bytes) : size_(bytes.size()) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t dataPages = (bytes.size() + page - 1) / page;
    mappingSize_ = (dataPages + 1) * page;
    mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED) std::abort();
    unsigned char* guard = static_cast<unsigned char*>(mapping_) + dataPages * page;
    if (mprotect(guard, page, PROT_NONE) != 0) std::abort();
    unsigned char* start = guard - bytes.size();
    if (!bytes.empty()) std::memcpy(start, bytes.data(), bytes.size());
    data_ = start;
}

GuardedBytes::~GuardedBytes() { munmap(mapping_, mappingSize_); }
