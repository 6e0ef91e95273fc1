// Which texels of a cube map something reads: every texel named by a 24-bit colour (its face in
// the top bits, then its row and column), so that drawing with a cube map of such colours and
// nearest filtering shows, pixel by pixel, the texel each sample fell in; and a mask of one bit
// per face for every texel found so, with the neighbours linear filtering also reads.
#pragma once

#include <cstdint>
#include <vector>

// Faces of at most this side can be named.
constexpr int largestAddressedFaceSide = 1024;

// Fills side x side texels (rows from t = 0, four bytes each: blue, green, red, alpha, the order
// drivers keep them in) with the names of face's own.
void WriteCubeTexelAddresses(int face, int side, unsigned char* bgra);

class CubeTexelMask {
public:
    // No texel marked, on faces of this side.
    explicit CubeTexelMask(int side);

    // Marks the texel a named colour gives; a colour that names no texel of this side (the
    // clear colour, say) marks nothing and gives false.
    bool MarkNamedTexel(const unsigned char* rgb);
    // Marks the eight texels around every marked one on its face, which linear filtering reads
    // with it: a sample reads the texel it falls in and one beside it along each axis, on
    // whichever side it lies. At an edge the face is clamped, as the cube map's wrapping is.
    void MarkFilterNeighbours();

    int side() const { return side_; }
    // One byte per texel, rows from t = 0: bit f set where face f is marked.
    const std::vector<uint8_t>& faceBits() const { return faceBits_; }
    // The faces' bits of each tile of tileSide x tileSide texels, tiles in rows from t = 0.
    std::vector<uint8_t> TileBits(int tileSide) const;

private:
    int side_;
    std::vector<uint8_t> faceBits_;
};
