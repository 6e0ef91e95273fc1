// Which texels of a cube map something reads: every texel named by a 24-bit colour (its face in
// the top bits, then its row and column), so that drawing with a cube map of such colours and
// nearest filtering shows, pixel by pixel, the texel each sample fell in; and a mask of one bit
// per face for every texel found so, with the neighbours linear filtering also reads.
#pragma once

#include <cstdint>
#include <vector>

// Faces of at most this side can be named.
constexpr int largestAddressedFaceSide = 1024;

// Fills side x side RGB texels (rows from t = 0, three bytes each) with the names of face's own.
void WriteCubeTexelAddresses(int face, int side, unsigned char* rgb);

class CubeTexelMask {
public:
    // No texel marked, on faces of this side.
    explicit CubeTexelMask(int side);

    // Marks the texel a named colour gives and the eight around it on its face; a colour that
    // names no texel of this side (the clear colour, say) marks nothing and gives false.
    bool MarkNamedTexel(const unsigned char* rgb);

    int side() const { return side_; }
    // One byte per texel, rows from t = 0: bit f set where face f is read.
    const std::vector<uint8_t>& faceBits() const { return faceBits_; }
    // How many texels of the face are marked.
    int MarkedTexels(int face) const;

private:
    int side_;
    std::vector<uint8_t> faceBits_;
};
