// A headless desktop OpenGL compatibility context on Mesa's surfaceless EGL platform, with a
// pbuffer of the frame's size standing in for the window's back buffer.
#pragma once

#include <string>

class OffscreenContext {
public:
    OffscreenContext() = default;
    ~OffscreenContext();
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    // Makes the context current with 24 depth and 8 stencil bits and loads OpenGL; on failure
    // returns false and error() says why.
    bool Create(int width, int height);
    // Gives the frame a new size, as a resized window's drawable: a new pbuffer, made current
    // with the same context (the old one's pixels are gone). False, and error() says why, where
    // it cannot be made.
    bool Resize(int width, int height);
    const std::string& error() const { return error_; }

private:
    bool CreateSurface(int width, int height);

    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
    void* config_ = nullptr;
    std::string error_;
};
