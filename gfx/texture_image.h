// Reads the two image formats the module embeds into pixel rows that gluBuild2DMipmaps can take
// as they stand. Every header field is checked against the bytes that are really there, so an
// image that cannot be read yields nothing rather than a read past its end.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// Pixel rows with the bottom row of the picture first (OpenGL's first row), each row
// `rowStride` bytes apart.
struct TextureImage {
    int width = 0;
    int height = 0;
    std::size_t rowStride = 0;

    // The first row: inside the resource, or inside `flippedRows` where the file stores its rows
    // from the top down.
    const unsigned char* Pixels() const { return flippedRows.empty() ? resourceRows : flippedRows.data(); }

    const unsigned char* resourceRows = nullptr;
    std::vector<unsigned char> flippedRows;
};

// Larger sides than this are refused: GLU sizes its work buffers in int arithmetic, and no
// image the module carries comes near it.
constexpr int kMaxTextureImageSide = 16384;

// A device-independent bitmap as a bitmap resource holds it (info header, optional colour
// table, pixels; no file header): 24 bits per pixel, uncompressed, rows padded to 4 bytes,
// stored bottom-up or top-down. Pixels are blue, green, red.
std::optional<TextureImage> ReadBitmapImage(const unsigned char* data, std::size_t size);

// A TGA file: uncompressed true colour, 32 bits per pixel, no colour map, rows stored from the
// bottom or from the top, left to right. Pixels are blue, green, red, alpha; rows are packed.
std::optional<TextureImage> ReadTgaImage(const unsigned char* data, std::size_t size);
