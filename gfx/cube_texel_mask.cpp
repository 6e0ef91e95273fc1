#include "gfx/cube_texel_mask.h"

#include <algorithm>
#include <cstddef>

namespace {

// Ten bits of column (s), ten of row (t), then the face.
constexpr int kCoordinateBits = 10;
constexpr uint32_t kCoordinateMask = (1u << kCoordinateBits) - 1;

uint32_t TexelName(int face, int s, int t) {
    return static_cast<uint32_t>(face) << (2 * kCoordinateBits) | static_cast<uint32_t>(t) << kCoordinateBits |
           static_cast<uint32_t>(s);
}

}  // namespace

void WriteCubeTexelAddresses(int face, int side, unsigned char* bgra) {
    for (int t = 0; t < side; ++t) {
        for (int s = 0; s < side; ++s, bgra += 4) {
            const uint32_t name = TexelName(face, s, t);
            bgra[0] = static_cast<unsigned char>(name >> 16);
            bgra[1] = static_cast<unsigned char>(name >> 8);
            bgra[2] = static_cast<unsigned char>(name);
            bgra[3] = 0xFF;
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
    faceBits_[static_cast<std::size_t>(t) * side_ + s] |= static_cast<uint8_t>(1u << face);
    return true;
}

void CubeTexelMask::MarkFilterNeighbours() {
    // Every face's bit at once: along each row, then along each column.
    const auto side = static_cast<std::size_t>(side_);
    std::vector<uint8_t> rows(faceBits_.size());
    for (std::size_t t = 0; t < side; ++t) {
        const uint8_t* in = &faceBits_[t * side];
        uint8_t* out = &rows[t * side];
        for (std::size_t s = 0; s < side; ++s) {
            out[s] = static_cast<uint8_t>(in[s] | (s > 0 ? in[s - 1] : 0) | (s + 1 < side ? in[s + 1] : 0));
        }
    }
    for (std::size_t t = 0; t < side; ++t) {
        const uint8_t* below = t > 0 ? &rows[(t - 1) * side] : nullptr;
        const uint8_t* above = t + 1 < side ? &rows[(t + 1) * side] : nullptr;
        uint8_t* out = &faceBits_[t * side];
        for (std::size_t s = 0; s < side; ++s) {
            out[s] = static_cast<uint8_t>(rows[t * side + s] | (below ? below[s] : 0) | (above ? above[s] : 0));
        }
    }
}

std::vector<uint8_t> CubeTexelMask::TileBits(int tileSide) const {
    const int tiles = (side_ + tileSide - 1) / tileSide;
    std::vector<uint8_t> bits(static_cast<std::size_t>(tiles) * tiles, 0);
    for (int t = 0; t < side_; ++t) {
        uint8_t* tileRow = &bits[static_cast<std::size_t>(t / tileSide) * tiles];
        const uint8_t* texels = &faceBits_[static_cast<std::size_t>(t) * side_];
        for (int s = 0; s < side_; ++s) tileRow[s / tileSide] |= texels[s];
    }
    return bits;
}
