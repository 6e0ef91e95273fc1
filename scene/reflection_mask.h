// The reflection drawn only where the glass dome can read it. Seen from the camera, the dome
// reflects a few narrow bands of each side face and most of -Z: the rest of each face would be
// drawn every frame for nobody.
#pragma once

// Works out, for the views and the face size of now, which texels of each face any view's dome
// samples (linear filtering's neighbours included), and keeps them as one stencil bit per face
// in the faces' depth buffer, the faces' drawing then restricted to them. Where the context
// lacks what that needs (framebuffer objects, packed depth and stencil, RGB8 targets), the faces
// are drawn whole. Run with the scene created, whenever its views or the face size change.
void FollowReflectionMask();

class TileCoverage;

// Which tiles of face (0 to 5) its mask lets show, for choosing the flakes worth drawing there;
// null where the faces are not masked.
const TileCoverage* FaceCoverage(int face);

// With the faces' framebuffer object bound: the stencil test that keeps the drawing of face
// (0 to 5) inside its mask, where the faces are masked. EndFaceMask switches it off.
void BeginFaceMask(int face);
void EndFaceMask();
