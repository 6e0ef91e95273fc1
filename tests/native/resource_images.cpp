#include "resource_images.h"

#include <fstream>
#include <iterator>

#include "platform/platform.h"

uint32_t Little32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

uint16_t Little16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

double DecodedImage::Luma(int x, int y) const {
    const uint8_t* p = At(x, y);
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

std::optional<DecodedImage> DecodeDib24(const unsigned char* data, std::size_t size) {
    if (size < 40 || Little32(data) != 40) return std::nullopt;
    const int32_t width = static_cast<int32_t>(Little32(data + 4));
    const int32_t height = static_cast<int32_t>(Little32(data + 8));
    if (width <= 0 || height <= 0 || Little16(data + 14) != 24 || Little32(data + 16) != 0) return std::nullopt;
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
    if (size < 40 + stride * height) return std::nullopt;
    DecodedImage image{width, height, 3, std::vector<uint8_t>(static_cast<std::size_t>(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + 40 + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            uint8_t* out = image.pixels.data() + (static_cast<std::size_t>(y) * width + x) * 3;
            out[0] = row[x * 3 + 2];
            out[1] = row[x * 3 + 1];
            out[2] = row[x * 3 + 0];
        }
    }
    return image;
}

std::optional<DecodedImage> DecodeTga32(const unsigned char* data, std::size_t size) {
    if (size < 18 || data[0] != 0 || data[1] != 0 || data[2] != 2 || data[16] != 32 || (data[17] & 0x20) != 0)
        return std::nullopt;
    const int width = Little16(data + 12);
    const int height = Little16(data + 14);
    if (size < 18 + static_cast<std::size_t>(width) * height * 4) return std::nullopt;
    DecodedImage image{width, height, 4, std::vector<uint8_t>(static_cast<std::size_t>(width) * height * 4)};
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + 18 + static_cast<std::size_t>(height - 1 - y) * width * 4;
        for (int x = 0; x < width; ++x) {
            uint8_t* out = image.pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
            out[0] = row[x * 4 + 2];
            out[1] = row[x * 4 + 1];
            out[2] = row[x * 4 + 0];
            out[3] = row[x * 4 + 3];
        }
    }
    return image;
}

std::optional<DecodedImage> EmbeddedBitmap(int id) {
    const ResourceBytes bytes = FindModuleResource("BITMAP", id);
    if (!bytes) return std::nullopt;
    return DecodeDib24(bytes.data, bytes.size);
}

std::optional<DecodedImage> EmbeddedSnowflake() {
    const ResourceBytes bytes = FindModuleResource("TGA", 148);
    if (!bytes) return std::nullopt;
    return DecodeTga32(bytes.data, bytes.size);
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
