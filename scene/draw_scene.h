// The scene as one camera sees it: pendulum, hands, light, gears, dial, sky and the snow of a
// cube face.
#pragma once

// The centre of the dial and of the glass dome over it, where the cube-map camera stands.
constexpr float domeCentre[3] = {0.0f, 0.0f, 40.0f};

// Draws with the view transform of the camera in use current, and leaves the modelview matrix
// as it found it; without the dial, the hands and the snow's reversed copy when rendering a
// cube face.
void DrawScene(bool forCubeMap);
