// The glass dome's geometry: the sphere that the frame flattens over the dial.
#pragma once

// Radius 5.1, 100 slices, 50 stacks, around the local z axis; changes no matrix.
void DrawDomeSphere();
