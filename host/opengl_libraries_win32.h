// OpenGL's and GLU's libraries, loaded once from the system folder (see
// system_libraries_win32.h), and the WGL calls the window procedure makes through them.
// OpenGL is usable only when both libraries and every entry point used here are there; where
// one is missing no rendering context is made, and the window shows nothing, as it would
// without a pixel format.
#pragma once

#include <windows.h>

// Loads both libraries the first time; true when everything is there.
bool LoadOpenGlLibraries();

// wglCreateContext, wglMakeCurrent and wglDeleteContext of the loaded library; without it, no
// context and FALSE.
HGLRC CreateRenderContext(HDC deviceContext);
BOOL MakeRenderContextCurrent(HDC deviceContext, HGLRC renderContext);
BOOL DeleteRenderContext(HGLRC renderContext);

// An OpenGL entry point of the current context, for the loader: from wglGetProcAddress, or for
// OpenGL 1.1 from the library itself.
void (*LookUpOpenGlEntryPoint(const char* name))(void);
