// Creates, once per window, every OpenGL state and object the frames rely on.
#pragma once

#include "gfx/glu.h"

#include <cstdint>

// The eight 2-D textures: 0 the metal of the gears, 1 to 6 the sky faces, 7 the dial.
extern uint32_t sceneTextures[8];

// Made first by SceneSetup; the window procedure deletes it when the window is destroyed.
extern GLUquadric* sceneQuadric;

// Runs on window creation with the rendering context current, after SetupProjection.
void SceneSetup();
