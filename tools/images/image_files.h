// The two file formats the module embeds, written byte by byte in little-endian order so the
// output is the same on every machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/images/raster.h"

// A Windows bitmap file: 14-byte file header, 40-byte info header, 24 bits per pixel, no
// compression, positive height (rows bottom-up), each row padded to a multiple of 4 bytes.
std::vector<uint8_t> EncodeBmp24(const Rgb8Image& image);

// An uncompressed true-colour TGA: 18-byte header (no image ID, no colour map, type 2,
// 32 bits per pixel, descriptor 8: eight alpha bits, origin lower left), then blue, green,
// red, alpha per pixel, rows bottom-up.
std::vector<uint8_t> EncodeTga32(const Rgba8Image& image);

// Writes the whole file; false when it cannot be written completely.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
