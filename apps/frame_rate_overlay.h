// --fps: frames per second and the time a frame takes, renewed once a second, printed on
// stderr and drawn over the frame's lower-left corner.
#pragma once

#include <cstdint>
#include <string>

class FrameRateMeter {
public:
    // Counts a frame that began at beginSeconds (a monotonic clock) and took workSeconds to
    // update, draw and show. Returns true when a second or more has passed since the figures
    // were last renewed, and renews them.
    bool AddFrame(double beginSeconds, double workSeconds);
    // "4.8 fps, 203.5 ms a frame"; empty until the first second has passed.
    const std::string& text() const { return text_; }

private:
    double periodBegin_ = -1.0;
    int frames_ = 0;
    double workSeconds_ = 0.0;
    std::string text_;
};

// Draws one line of text at the lower-left corner with the font lists made for it, putting
// back every OpenGL state it changes.
void DrawOverlayText(const std::string& text, uint32_t fontListBase, int lineHeight);
