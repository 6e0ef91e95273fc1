// The one way the core reaches OpenGL: the generated loader's entry points and the few GLU
// routines the scene uses. Win32 files include <windows.h> before this header.
#pragma once

#include <glad/gl.h>

#include "gfx/glu.h"
