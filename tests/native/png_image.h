// Reading PNG frames back for the render tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
};

struct PngImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // RGB, top row first

    Rgb At(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
};

// The image, or none when the file is missing or no valid PNG.
std::optional<PngImage> ReadPng(const std::string& path);
