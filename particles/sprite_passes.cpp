#include "particles/sprite_passes.h"

#include <algorithm>
#include <cmath>

namespace {

// A pixel and a hundredth more than the sprite's half size, for rounding in the driver.
constexpr float kMarginPixels = 1.0f;
constexpr float kMarginFactor = 1.01f;

// Whether a sprite of `scale` at world point p can put a fragment into the pass's viewport. The
// program's size in pixels is scale * sizingScale / w * height / 2; half of it, over half the
// viewport and times w, is its half extent in clip coordinates: the same at every distance.
bool CanLand(const SpritePass& pass, const SpriteReach& reach, const float* p, float scale) {
    const Matrix4& m = pass.clipFromWorld;
    const float w = m[3] * p[0] + m[7] * p[1] + m[11] * p[2] + m[15];
    if (w <= 0.0f) return false;  // behind the eye: clipped
    const float x = m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12];
    const float y = m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13];
    const float halfHeight = scale * reach.halfPerScale;  // in clip units
    if (std::abs(x) > w * (1.0f + reach.pixelX) + halfHeight * reach.heightOverWidth ||
        std::abs(y) > w * (1.0f + reach.pixelY) + halfHeight) {
        return false;
    }
    if (!pass.coverage) return true;
    // The sprite's square in the viewport's pixels, a margin round it.
    const float perW = 1.0f / w;
    const float centreX = (x * perW + 1.0f) * reach.halfWidth;
    const float centreY = (y * perW + 1.0f) * reach.halfHeight;
    const float half = halfHeight * perW * reach.halfHeight + kMarginPixels;
    return pass.coverage->AnyIn(centreX - half, centreY - half, centreX + half, centreY + half);
}

}  // namespace

void TileCoverage::Take(const uint8_t* tileBits, uint8_t bit, int tiles, int tileSide) {
    tileSide_ = tileSide;
    tiles_ = tiles;
    const int row = tiles_ + 1;
    summed_ = std::make_unique<int[]>(static_cast<std::size_t>(row) * row);
    for (int ty = 1; ty <= tiles_; ++ty) {
        for (int tx = 1; tx <= tiles_; ++tx) {
            const int shows = (tileBits[(ty - 1) * tiles_ + tx - 1] & bit) != 0;
            summed_[ty * row + tx] =
                shows + summed_[(ty - 1) * row + tx] + summed_[ty * row + tx - 1] - summed_[(ty - 1) * row + tx - 1];
        }
    }
}

bool TileCoverage::AnyIn(float x0, float y0, float x1, float y1) const {
    if (!summed_) return true;
    auto tile = [this](float pixel) {
        return static_cast<int>(std::clamp(std::floor(pixel / static_cast<float>(tileSide_)), -1.0f,
                                           static_cast<float>(tiles_)));
    };
    const int left = std::max(tile(x0), 0), bottom = std::max(tile(y0), 0);
    const int right = std::min(tile(x1), tiles_ - 1), top = std::min(tile(y1), tiles_ - 1);
    if (left > right || bottom > top) return false;
    const int row = tiles_ + 1;
    return summed_[(top + 1) * row + right + 1] - summed_[bottom * row + right + 1] - summed_[(top + 1) * row + left] +
               summed_[bottom * row + left] > 0;
}

void SpritePasses::Follow(const SpritePass* passes, int passCount, uint32_t particles) {
    passCount_ = std::min(passCount, maxSpritePasses);
    std::copy(passes, passes + passCount_, passes_);
    liveCount_ = reversedCount_ = 0;
    for (int pass = 0; pass < passCount_; ++pass) {
        const SpritePass& p = passes_[pass];
        const float width = p.viewport[0], height = p.viewport[1];
        reach_[pass] = {p.sizingScale / 2.0f * kMarginFactor, height / width, 2.0f * kMarginPixels / width,
                        2.0f * kMarginPixels / height, width / 2.0f, height / 2.0f};
        (p.reversed ? reversedPasses_[reversedCount_++] : livePasses_[liveCount_++]) = pass;
    }
    if (particles != particles_ || !indices_) {
        particles_ = particles;
        indices_ = std::make_unique<uint32_t[]>(static_cast<std::size_t>(particles) * maxSpritePasses);
    }
    chosen_ = false;
}

void SpritePasses::Begin() {
    std::fill(chosenCount_, chosenCount_ + maxSpritePasses, 0u);
    chosen_ = false;
}

void SpritePasses::Choose(uint32_t i, const float* position, float scale, bool reversed) {
    if (i >= particles_) return;  // passes followed for fewer particles than there are now
    const int* passes = reversed ? reversedPasses_ : livePasses_;
    const int count = reversed ? reversedCount_ : liveCount_;
    for (int k = 0; k < count; ++k) {
        const int pass = passes[k];
        if (!CanLand(passes_[pass], reach_[pass], position, scale)) continue;
        uint32_t* indices = &indices_[static_cast<std::size_t>(pass) * particles_];
        // The reversed copies hold particle i at count-1-i: filled from the end, in their order.
        if (reversed) {
            indices[particles_ - 1 - chosenCount_[pass]++] = particles_ - 1 - i;
        } else {
            indices[chosenCount_[pass]++] = i;
        }
    }
}

const uint32_t* SpritePasses::Chosen(int pass, uint32_t& chosen) const {
    if (!chosen_ || pass < 0 || pass >= passCount_) return nullptr;
    chosen = chosenCount_[pass];
    const uint32_t* indices = &indices_[static_cast<std::size_t>(pass) * particles_];
    return passes_[pass].reversed ? indices + (particles_ - chosen) : indices;
}
