// The base of the particle effects: the per-particle arrays the point-sprite program reads, and
// the one drawing they all share (every particle in one call, as turned, blended point sprites).
#pragma once

#include <cstdint>

#include "particles/sprite_passes.h"

// Created by the snow (particle_snow.cpp), which owns them; 0 while not made. Every particle
// system draws with this program and shows this texture.
struct PointSpriteObjects {
    uint32_t pointSpriteProgram = 0;
    uint32_t snowTexture = 0;
    // Become true once the program / the texture has been made; neither is made again in the
    // process after that.
    bool pointSpriteProgramLoaded = false;
    bool snowTextureLoaded = false;
    // The program's inputs, looked up once when it is made; -1 for one it lacks, which is then
    // neither enabled nor given.
    int projMatLocation = -1;
    int viewportSizeLocation = -1;
    int pointScalesLocation = -1;
    int anglesLocation = -1;
    int coloursLocation = -1;
};

// Looks the program's inputs up in pointSpriteObjects.pointSpriteProgram.
void LookUpPointSpriteInputs();

extern PointSpriteObjects pointSpriteObjects;

class ParticleSystem {
public:
    // count 0 and an identity projMat until a derived class initialises the system.
    ParticleSystem();
    virtual ~ParticleSystem() = 0;

    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // Viewport width and height in pixels; projection 16 floats, column-major.
    virtual void Init(const float viewport[2], const float projection[16]) = 0;
    virtual void Update() = 0;
    // All count particles in array order, with the current modelview matrix.
    virtual void Render();
    // The same, with the sprites sized for another viewport and projection than the ones Init
    // was given (a cube face of its own size, say).
    void RenderSizedFor(const float viewport[2], const float projection[16]) const;
    // The same, for one of spritePasses (one that draws from the live arrays): only the
    // particles the last update chose for it.
    void RenderPass(int pass, const float viewport[2], const float projection[16]) const;
    virtual void Release() = 0;
    // Takes a new viewport and projection, as Init does, keeping the particles.
    void FollowViewport(const float viewport[2], const float projection[16]);

    uint32_t count = 0;
    float viewportSize[2] = {0.0f, 0.0f};
    float projMat[16];
    // count entries each, entry i of every array describing the same particle. The derived
    // class owns the storage behind them.
    float* positions = nullptr;    // x, y, z, w (w is 1)
    float* angles = nullptr;       // radians
    float* pointScales = nullptr;  // the shader makes a size in pixels of it
    float* colours = nullptr;      // r, g, b, a in 0..1
    // The passes the particles are drawn in, and which of them each update chose for each.
    SpritePasses spritePasses;

protected:
    // The drawing itself, with the vertex positions and angles taken from the given arrays
    // (of count entries, laid out like positions and angles), the sprites sized for the given
    // viewport and projection, and all else from the object. It leaves the program current,
    // program point size on, the three attribute arrays enabled, GL_COORD_REPLACE on and
    // snowTexture bound; the caller restores what it needs.
    // With a pass of spritePasses, only the particles chosen for it, in order.
    void DrawPointSprites(const float* positionArray, const float* angleArray, const float viewport[2],
                          const float projection[16], int pass = -1) const;
};
