// The passes the particles are drawn in (the reflection's faces, every view), and which particles
// can land in each: the update sorts them once per frame, so that a pass submits only those.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/matrix.h"

// Which tiles of a pass's square viewport can show anything at all (the rest is masked off): a
// grid of tiles summed, so that whether any tile of a rectangle shows takes four reads.
class TileCoverage {
public:
    // From one bit of `tiles` x `tiles` tiles (rows from the bottom) of tileSide pixels each.
    void Take(const uint8_t* tileBits, uint8_t bit, int tiles, int tileSide);
    // Whether any pixel between (x0, y0) and (x1, y1), in the viewport's pixels, can show.
    bool AnyIn(float x0, float y0, float x1, float y1) const;

private:
    int tiles_ = 0;
    int tileSide_ = 1;
    std::unique_ptr<int[]> summed_;  // (tiles_ + 1) squared: showing tiles below and left
};

// Where the sprites of one pass can land: the transform from world to clip coordinates the pass
// draws them with, and the sizes the sprite program works from (see point_sprite.vert).
struct SpritePass {
    Matrix4 clipFromWorld;
    float sizingScale;   // projMat[0][0] of the projection the sprites are sized with
    float viewport[2];   // width and height in pixels
    // Drawn from the reversed copies (the views, over the dome), so chosen in their order.
    bool reversed;
    // What of the viewport can show; null: all of it.
    const TileCoverage* coverage = nullptr;
};

constexpr int maxSpritePasses = 24;

// A pass's sizes as the choosing works with them, made once when the passes change.
struct SpriteReach {
    float halfPerScale;     // a sprite's half height in clip units for each unit of its scale
    float heightOverWidth;  // of the viewport
    float pixelX, pixelY;   // a margin of one pixel, in units of w
    float halfWidth, halfHeight;  // of the viewport, in pixels
};

class SpritePasses {
public:
    // The passes of now; no particle is chosen for them until the next Choose.
    void Follow(const SpritePass* passes, int passCount, uint32_t particles);

    // Starts an update's sorting over `particles` particles.
    void Begin();
    // Particle i at `position` (x, y, z) with `scale`: chosen for every pass it can touch that
    // draws from the live arrays (reversed false) or, with reversed true, from the reversed ones.
    void Choose(uint32_t i, const float* position, float scale, bool reversed);
    // The sorting is complete; until Follow, each pass draws only what it chose.
    void End() { chosen_ = true; }

    int count() const { return passCount_; }
    // The indices chosen for a pass, in drawing order, and how many; null where nothing has
    // been chosen since the passes changed (the pass then draws every particle).
    const uint32_t* Chosen(int pass, uint32_t& chosen) const;

private:
    SpritePass passes_[maxSpritePasses] = {};
    SpriteReach reach_[maxSpritePasses] = {};
    int passCount_ = 0;
    // The passes drawn from the live arrays, and those drawn from the reversed copies.
    int livePasses_[maxSpritePasses] = {};
    int reversedPasses_[maxSpritePasses] = {};
    int liveCount_ = 0;
    int reversedCount_ = 0;
    uint32_t particles_ = 0;
    std::unique_ptr<uint32_t[]> indices_;  // particles_ per pass
    uint32_t chosenCount_[maxSpritePasses] = {};
    bool chosen_ = false;
};
