// The floor of a frame on this machine: the frame's passes with nothing in them but a clear and
// one textured quad, so --bench can show how much of a frame the scene itself costs.
#pragma once

#include <cstdint>

#include "apps/bench_figures.h"

// A floor frame is five square cube-map faces of faceSide pixels through a framebuffer object of its own (a
// cube-map texture and a 24-bit depth buffer, the depth buffer attached once and each face
// attached in turn, as the reflection is rendered) and one width x height pass into the default
// framebuffer; each pass clears and draws the texture over its whole area. Without framebuffer
// objects only the window pass is drawn. Use it with the context current.
class FrameFloor {
public:
    FrameFloor(int width, int height, int faceSide, uint32_t texture);
    ~FrameFloor();
    FrameFloor(const FrameFloor&) = delete;
    FrameFloor& operator=(const FrameFloor&) = delete;

    // Draws one floor frame and returns its time, glFinish included. The OpenGL state,
    // matrices and bindings are put back as they were, so floor frames can run between the
    // scene's own frames and both see the same load on the machine.
    Elapsed RenderTimedFrame();

private:
    int width_;
    int height_;
    int faceSide_;
    uint32_t texture_;
    uint32_t cubeMap_ = 0;
    uint32_t framebuffer_ = 0;
    uint32_t depthBuffer_ = 0;
    bool usable_ = false;
};
