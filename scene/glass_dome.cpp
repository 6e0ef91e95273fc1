#include "scene/glass_dome.h"

#include "gfx/sphere.h"

void DrawDomeSphere() { DrawSphere(5.1f, 100, 50); }
