// The clock's machinery as immediate-mode meshes: three spur gears, the axles they turn on and
// the pendulum. The scene set-up records each routine once into a display list; the frame only
// places and turns the lists. Everything is modelled around the z axis.
#pragma once

#include <cstdint>

#include "gfx/view_bounds.h"

// Gears of 30, 15 and 60 teeth between z = -1 and z = +1, so neighbours mesh tooth for tooth
// when turned at rates in inverse proportion to their tooth counts. Each binds the texture
// `metal` first and changes no matrix.
void DrawMediumGear(uint32_t metal);
void DrawSmallGear(uint32_t metal);
void DrawLargeGear(uint32_t metal);

// A capped shaft of the given radius centred on the origin, from z = -length/2 to +length/2.
// It binds nothing, so it shows the texture of the gear drawn before it.
void DrawAxle(float radius, float length);

// A rod hanging from the origin down -z, then a disc-shaped bob around z = -30. Leaves the
// matrix translated, turned and scaled: the caller brackets the list in a push and a pop.
void DrawPendulum(float radius, float length);

// Spheres in the lists' own coordinates that hold all they draw, with room to spare: a gear
// with the shaft it turns on (the teeth reach furthest out, the shaft furthest along z), and
// the pendulum of DrawPendulum's arguments.
BoundingSphere MediumGearWithAxleBounds(float axleRadius, float axleLength);
BoundingSphere SmallGearWithAxleBounds(float axleRadius, float axleLength);
BoundingSphere LargeGearWithAxleBounds(float axleRadius, float axleLength);
BoundingSphere PendulumBounds(float radius, float length);
