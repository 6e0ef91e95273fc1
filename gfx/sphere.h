// An immediate-mode sphere about the local z axis: the glass dome and the pendulum's bob.
#pragma once

// Draws a sphere of `radius` centred on the origin as one GL_TRIANGLE_STRIP per stack, from the
// +z pole to the -z pole, with a unit normal and a texture coordinate at every vertex (s runs
// round from +y towards -x, t from 1 at +z to 0 at -z). Sets no other state. Nothing is drawn
// for stacks <= 0; slices < 0 gives empty strips.
void DrawSphere(float radius, int slices, int stacks);
