#include "apps/frame_rate_overlay.h"

#include <cstdio>

#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"

bool FrameRateMeter::AddFrame(double beginSeconds, double workSeconds) {
    if (periodBegin_ < 0.0) periodBegin_ = beginSeconds;
    ++frames_;
    workSeconds_ += workSeconds;
    const double elapsed = beginSeconds + workSeconds - periodBegin_;
    if (elapsed < 1.0) return false;
    char line[64];
    std::snprintf(line, sizeof line, "%.1f fps, %.1f ms a frame", frames_ / elapsed, 1000.0 * workSeconds_ / frames_);
    text_ = line;
    periodBegin_ = beginSeconds + workSeconds;
    frames_ = 0;
    workSeconds_ = 0.0;
    return true;
}

void DrawOverlayText(const std::string& text, uint32_t fontListBase, int lineHeight) {
    if (text.empty() || !glad_glWindowPos2i) return;
    // The snow leaves its program current; bitmaps must go through the fixed pipeline.
    GLint program = 0;
    if (glCapabilities.shaderPrograms20) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glUseProgram(0);
    } else if (glCapabilities.shaderObjects) {
        glUseProgramObjectARB(0);  // every frame chooses its programs again
    }
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LIST_BIT);
    for (const GLenum capability : {GL_LIGHTING, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_TEXTURE_CUBE_MAP, GL_BLEND,
                                    GL_ALPHA_TEST, GL_FOG, GL_STENCIL_TEST, GL_CULL_FACE}) {
        glDisable(capability);
    }
    glListBase(fontListBase);
    const int margin = lineHeight / 2;
    // A dark shadow keeps the white figures readable over the pale dial.
    for (const int shadow : {1, 0}) {
        const GLfloat grey = shadow ? 0.0f : 1.0f;
        glColor3f(grey, grey, grey);
        glWindowPos2i(margin + shadow, margin - shadow);
        glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    }
    glPopAttrib();
    if (glCapabilities.shaderPrograms20) glUseProgram(static_cast<GLuint>(program));
}
