// The glass dome: a sphere flattened over the dial that reflects the cube map at half opacity.
#pragma once

#include <cstdint>

// Radius 5.1, 100 slices, 50 stacks, around the local z axis; changes no matrix.
void DrawDomeSphere();

// Texture coordinates from reflection vectors, looked up in cubeMap (2-D texturing off
// meanwhile); EndReflectionLookup switches the generation and the cube map off again and 2-D
// texturing on.
void BeginReflectionLookup(uint32_t cubeMap);
void EndReflectionLookup();

// Multiplies the modelview matrix by the dome's placement over the dial: flattened to a tenth
// along the world's z axis.
void PlaceDome();

// One side of the dome, with the faces given culled (GL_FRONT: the far side), under the
// inverse camera rotation in the texture matrix, so the eye-space reflection vectors look the
// cube map up along the world's axes. Leaves the matrix mode GL_MODELVIEW.
void DrawDomeSide(uint32_t culledFace);

// The whole dome, far side first and near side second so the translucent surfaces blend back to
// front, with the camera's view transform current; leaves the modelview matrix as it found it.
void DrawGlassDome();
