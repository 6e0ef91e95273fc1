#include "scene/reflection_mask.h"

#include <algorithm>
#include <vector>

#include "gfx/camera_frame.h"
#include "gfx/cube_texel_mask.h"
#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "particles/sprite_passes.h"
#include "scene/glass_dome.h"
#include "scene/scene_setup.h"
#include "scene/scene_window.h"

namespace {

// Tiles of this many texels a side (the blocks the software renderer shades together): a sprite
// is worth drawing in a face only over one that shows.
constexpr int kCoverageTile = 4;

TileCoverage faceCoverage[6];

// What no dome pixel can hold: it names a seventh face.
constexpr float kNoTexel[4] = {1.0f, 1.0f, 1.0f, 1.0f};

bool EightBitsEach(const GLint sizes[3]) { return sizes[0] == 8 && sizes[1] == 8 && sizes[2] == 8; }

// A cube map of the faces' size whose texels hold their own names, sampled without filtering;
// 0 where the driver cannot keep eight bits a channel.
GLuint MakeTexelNameCubeMap(int side) {
    GLuint names = 0;
    glGenTextures(1, &names);
    glBindTexture(GL_TEXTURE_CUBE_MAP, names);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    std::vector<unsigned char> texels(static_cast<std::size_t>(side) * side * 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int face = 0; face < 6; ++face) {
        WriteCubeTexelAddresses(face, side, texels.data());
        glTexImage2D(cubeMapFaceTargets[face], 0, GL_RGBA8, side, side, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    }
    GLint sizes[3] = {};
    glGetTexLevelParameteriv(cubeMapFaceTargets[0], 0, GL_TEXTURE_RED_SIZE, &sizes[0]);
    glGetTexLevelParameteriv(cubeMapFaceTargets[0], 0, GL_TEXTURE_GREEN_SIZE, &sizes[1]);
    glGetTexLevelParameteriv(cubeMapFaceTargets[0], 0, GL_TEXTURE_BLUE_SIZE, &sizes[2]);
    if (!EightBitsEach(sizes)) {
        glDeleteTextures(1, &names);
        return 0;
    }
    return names;
}

// The window's own framebuffer, where the frame itself is drawn: a framebuffer object's rows
// run the other way in some drivers (Mesa's among them), which moves the pixel centres at the
// dome's rim, where one pixel sweeps over tens of texels. Its colours must keep eight bits.
bool WindowKeepsTexelNames() {
    GLint sizes[3] = {};
    glGetIntegerv(GL_RED_BITS, &sizes[0]);
    glGetIntegerv(GL_GREEN_BITS, &sizes[1]);
    glGetIntegerv(GL_BLUE_BITS, &sizes[2]);
    return EightBitsEach(sizes);
}

// Marks what one side of the dome samples in the view, read back from the bound target.
void MarkDomeSide(GLenum culledFace, const int box[4], std::vector<unsigned char>& pixels, CubeTexelMask& mask) {
    glClear(GL_COLOR_BUFFER_BIT);
    DrawDomeSide(culledFace);
    glReadPixels(box[0], box[1], box[2], box[3], GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        if (pixels[i + 2] != 0xFF) mask.MarkNamedTexel(&pixels[i]);  // quickly past the clear colour
    }
}

// Every view's dome, drawn as the frame draws it but with the named texels: unlit, unblended,
// undimmed and with nothing in front of it (a pixel hidden behind the dial counts too), each
// pixel shows the texel its sample fell in.
void MarkTexelsTheDomesRead(GLuint names, CubeTexelMask& mask) {
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_POLYGON_BIT | GL_SCISSOR_BIT |
                 GL_VIEWPORT_BIT | GL_TRANSFORM_BIT | GL_PIXEL_MODE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    // As in the frame, where the dome comes after the sky: no program (a frame leaves the snow's).
    if (glCapabilities.shaderObjects) glUseProgramObjectARB(0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_DITHER);
    glDisable(GL_LIGHTING);
    glEnable(GL_NORMALIZE);  // as every main view has it
    glEnable(GL_SCISSOR_TEST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glClearColor(kNoTexel[0], kNoTexel[1], kNoTexel[2], kNoTexel[3]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<unsigned char> pixels;
    for (int view = 0; view < sceneSize.viewCount; ++view) {
        int box[4];
        ViewportOf(sceneSize.views[view].rect, box);
        glScissor(box[0], box[1], box[2], box[3]);
        pixels.resize(static_cast<std::size_t>(box[2]) * box[3] * 4);
        ApplyView(view, mainViewFarPlane);
        ApplyCameraTransform(CameraFrame);
        BeginReflectionLookup(names);
        PlaceDome();
        MarkDomeSide(GL_FRONT, box, pixels, mask);
        MarkDomeSide(GL_BACK, box, pixels, mask);
        EndReflectionLookup();
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// Draws into the window's back buffer, which every frame clears before anything shows.
bool FindTexelsTheDomesRead(CubeTexelMask& mask) {
    if (!WindowKeepsTexelNames()) return false;
    const GLuint names = MakeTexelNameCubeMap(mask.side());
    if (names == 0) return false;
    MarkTexelsTheDomesRead(names, mask);
    glDeleteTextures(1, &names);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
    return true;
}

// The mask's bits into the faces' stencil, all six faces' at once.
void WriteStencil(const CubeTexelMask& mask) {
    const int side = mask.side();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, sceneObjects.environmentFramebuffer);
    AttachEnvironmentDepthBuffer();
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[0],
                              sceneObjects.environmentCubeMap, 0);
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT | GL_STENCIL_BUFFER_BIT | GL_CURRENT_BIT | GL_PIXEL_MODE_BIT);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glStencilMask(0xFF);
    glViewport(0, 0, side, side);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, side, 0.0, side, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glRasterPos2f(0.25f, 0.25f);  // inside the lower left texel, so the position is valid
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(side, side, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, mask.faceBits().data());
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

}  // namespace

void FollowReflectionMask() {
    SceneObjects& o = sceneObjects;
    o.environmentFacesMasked = false;
    for (bool& read : o.environmentFaceRead) read = true;
    if (!o.created || !o.environmentFramebufferUsable || !o.environmentStencil || !glCapabilities.cubeMaps ||
        o.environmentFaceSize > largestAddressedFaceSide) {
        return;
    }
    CubeTexelMask mask(o.environmentFaceSize);
    if (!FindTexelsTheDomesRead(mask)) return;
    mask.MarkFilterNeighbours();
    WriteStencil(mask);
    const std::vector<uint8_t> tiles = mask.TileBits(kCoverageTile);
    const int tilesAcross = (mask.side() + kCoverageTile - 1) / kCoverageTile;
    for (int face = 0; face < 6; ++face) {
        const auto bit = static_cast<uint8_t>(1u << face);
        o.environmentFaceRead[face] = std::any_of(tiles.begin(), tiles.end(), [bit](uint8_t b) { return (b & bit) != 0; });
        faceCoverage[face].Take(tiles.data(), bit, tilesAcross, kCoverageTile);
    }
    o.environmentFacesMasked = true;
}

const TileCoverage* FaceCoverage(int face) {
    return sceneObjects.environmentFacesMasked ? &faceCoverage[face] : nullptr;
}

void BeginFaceMask(int face) {
    if (!sceneObjects.environmentFacesMasked) return;
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, 0, 1u << face);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
}

void EndFaceMask() {
    if (sceneObjects.environmentFacesMasked) glDisable(GL_STENCIL_TEST);
}
