// The floor of a frame on this machine: the frame's passes with nothing in them but a clear and
// one textured quad, so --bench can show how much of a frame the scene itself costs.
#pragma once

#include <cstdint>
#include <vector>

// Renders frames floor frames and returns each one's milliseconds, glFinish included. A frame
// is five 1024 x 1024 cube-map faces through a framebuffer object of its own (a cube-map
// texture and a 24-bit depth buffer, the depth buffer attached once and each face attached in
// turn, as the reflection is rendered) and one width x height pass into the default
// framebuffer; each pass clears and draws texture over its whole area. Without framebuffer
// objects only the window pass is timed. Call with the context current; the OpenGL state and
// matrices are put back as they were.
std::vector<double> MeasureFrameFloor(int frames, int width, int height, uint32_t texture);
