// Creates, once per window, every OpenGL state and object the frames rely on.
#pragma once

#include "gfx/glu.h"

// Made first by SceneSetup; the window procedure deletes it when the window is destroyed.
extern GLUquadric* sceneQuadric;

// Runs on window creation with the rendering context current, after SetupProjection.
void SceneSetup();
