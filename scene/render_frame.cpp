#include "scene/render_frame.h"

#include "gfx/gl.h"

void RenderFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
