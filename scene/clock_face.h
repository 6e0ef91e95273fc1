// The dial and the two hands as immediate-mode meshes, recorded once into display lists.
#pragma once

#include <cstdint>

#include "gfx/glu.h"

// A disc of radius 5 between z = -1 and +1 with a hole of radius 0.1; only its front face
// carries the dial image (`texture`), the rest is drawn with texture object 0. Changes no matrix.
void DrawClockFace(uint32_t texture);

// A hand pointing along +y: an elliptical hub at the origin, a flattened rod of the given
// radius and length and a cone for the arrowhead, drawn through `quadric` (without one the hand
// has no arrowhead). Both leave the matrix changed (no closing pop), so the caller brackets the
// list in a push and a pop.
void DrawHourHand(GLUquadric* quadric, float rodRadius, float rodLength);
void DrawMinuteHand(GLUquadric* quadric, float rodRadius, float rodLength);
