// Reading the module's embedded images back for the tests: bitmaps as the resource compiler
// stores them (a 40-byte info header, then the rows) and the snowflake's TGA file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;             // 3 (r, g, b) or 4 (r, g, b, a)
    std::vector<uint8_t> pixels;  // top row first, as the image is viewed

    const uint8_t* At(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * channels;
    }
    // Brightness 0..255 of a pixel, by the usual weights.
    double Luma(int x, int y) const;
};

// A 24-bit, uncompressed, bottom-up device-independent bitmap; none when the bytes are not one.
std::optional<DecodedImage> DecodeDib24(const unsigned char* data, std::size_t size);

// A 32-bit uncompressed TGA with its origin at the lower left; none when the bytes are not one.
std::optional<DecodedImage> DecodeTga32(const unsigned char* data, std::size_t size);

// An embedded resource of the running module, decoded; none when missing or malformed.
std::optional<DecodedImage> EmbeddedBitmap(int id);
std::optional<DecodedImage> EmbeddedSnowflake();

std::vector<uint8_t> ReadWholeFile(const std::string& path);

uint32_t Little32(const unsigned char* p);
uint16_t Little16(const unsigned char* p);
