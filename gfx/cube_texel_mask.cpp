#include "gfx/cube_texel_mask.h"

#include <algorithm>

namespace {

// Ten bits of column (s), ten of row (t), then the face.
constexpr int kCoordinateBits = 10;
constexpr uint32_t kCoordinateMask = (1u << kCoordinateBits) - 1;

uint32_t TexelName(int face, int s, int t) {
    return static_cast<uint32_t>(face) << (2 * kCoordinateBits) | static_cast<uint32_t>(t) << kCoordinateBits |
           static_cast<uint32_t>(s);
}

}  // namespace

void WriteCubeTexelAddresses(int face, int side, unsigned char* rgb) {
    for (int t = 0; t < side; ++t) {
        for (int s = 0; s < side; ++s, rgb += 3) {
            const uint32_t name = TexelName(face, s, t);
            rgb[0] = static_cast<unsigned char>(name);
            rgb[1] = static_cast<unsigned char>(name >> 8);
            rgb[2] = static_cast<unsigned char>(name >> 16);
        }
    }
}

CubeTexelMask::CubeTexelMask(int side)
    : side_(side), faceBits_(static_cast<std::size_t>(side) * static_cast<std::size_t>(side), 0) {}

bool CubeTexelMask::MarkNamedTexel(const unsigned char* rgb) {
    const uint32_t name = rgb[0] | rgb[1] << 8 | rgb[2] << 16;
    const auto face = static_cast<int>(name >> (2 * kCoordinateBits));
    const auto s = static_cast<int>(name & kCoordinateMask);
    const auto t = static_cast<int>(name >> kCoordinateBits & kCoordinateMask);
    if (face > 5 || s >= side_ || t >= side_) return false;
    // Linear filtering reads the texel a sample falls in and one beside it along each axis, on
    // whichever side the sample lies: the eight around it hold every such pair. At an edge the
    // face is clamped, as the cube map's wrapping is.
    const auto bit = static_cast<uint8_t>(1u << face);
    for (int row = std::max(t - 1, 0); row <= std::min(t + 1, side_ - 1); ++row) {
        uint8_t* texels = &faceBits_[static_cast<std::size_t>(row) * side_];
        for (int column = std::max(s - 1, 0); column <= std::min(s + 1, side_ - 1); ++column) texels[column] |= bit;
    }
    return true;
}

int CubeTexelMask::MarkedTexels(int face) const {
    const auto bit = static_cast<uint8_t>(1u << face);
    return static_cast<int>(std::count_if(faceBits_.begin(), faceBits_.end(), [bit](uint8_t b) { return (b & bit) != 0; }));
}
