#include "tools/images/image_files.h"

#include <cstdio>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFFu));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFFu));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFFu);
    Put16(out, value >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp24(const Rgb8Image& image) {
    const uint32_t rowBytes = static_cast<uint32_t>(image.width) * 3u;
    const uint32_t stride = (rowBytes + 3u) & ~3u;
    const uint32_t pixelBytes = stride * static_cast<uint32_t>(image.height);
    const uint32_t headerBytes = 14u + 40u;

    std::vector<uint8_t> out;
    out.reserve(headerBytes + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, headerBytes + pixelBytes);  // file size
    Put32(out, 0);                          // two reserved words
    Put32(out, headerBytes);                // offset of the pixels

    Put32(out, 40);  // info header size
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height));  // positive: bottom row first
    Put16(out, 1);   // planes
    Put16(out, 24);  // bits per pixel
    Put32(out, 0);   // BI_RGB
    Put32(out, pixelBytes);
    Put32(out, 2835);  // 72 dots per inch, in pixels per metre
    Put32(out, 2835);
    Put32(out, 0);  // colours used
    Put32(out, 0);  // important colours

    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = image.rgb.data() + static_cast<std::size_t>(y) * rowBytes;
        for (int x = 0; x < image.width; ++x) {
            out.push_back(row[x * 3 + 2]);
            out.push_back(row[x * 3 + 1]);
            out.push_back(row[x * 3 + 0]);
        }
        for (uint32_t pad = rowBytes; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> EncodeTga32(const Rgba8Image& image) {
    std::vector<uint8_t> out;
    out.reserve(18u + static_cast<std::size_t>(image.width) * image.height * 4u);
    out.push_back(0);  // image-ID length
    out.push_back(0);  // no colour map
    out.push_back(2);  // uncompressed true colour
    for (int i = 0; i < 5; ++i) out.push_back(0);  // colour-map fields: first entry, length, entry size
    Put16(out, 0);  // x origin
    Put16(out, 0);  // y origin
    Put16(out, static_cast<uint32_t>(image.width));
    Put16(out, static_cast<uint32_t>(image.height));
    out.push_back(32);
    out.push_back(8);  // eight alpha bits, origin at the lower left

    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* row = image.rgba.data() + static_cast<std::size_t>(y) * image.width * 4u;
        for (int x = 0; x < image.width; ++x) {
            out.push_back(row[x * 4 + 2]);
            out.push_back(row[x * 4 + 1]);
            out.push_back(row[x * 4 + 0]);
            out.push_back(row[x * 4 + 3]);
        }
    }
    return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
