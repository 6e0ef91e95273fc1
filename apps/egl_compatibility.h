// What both EGL front-ends share (vintrel-render's pbuffer, vintrel --wayland's windows): a
// configuration with 8-bit colour, 24 depth and 8 stencil bits for the surfaces they draw on, a
// desktop OpenGL compatibility context for it, OpenGL's entry points through EGL, and the end.
#pragma once

#include <string>

struct EglCompatibilityContext {
    void* config = nullptr;
    void* context = nullptr;
};

// On an initialised display: a configuration for surfaces of this EGL surface type (with an
// alpha channel where asked) and its context. False, and error says why, where either is missing.
bool CreateEglCompatibilityContext(void* display, int surfaceType, bool alpha, EglCompatibilityContext& made,
                                   std::string& error);

// OpenGL's entry points, for the loader, once a context is current.
void (*LookUpEglOpenGl(const char* name))(void);

// Releases the current context, destroys the context (where there is one) and ends the display.
void EndEglDisplay(void* display, void* context);
