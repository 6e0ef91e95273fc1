#include "particles/particle_system.h"

#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"

ParticleSystem::ParticleSystem()
    : projMat{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f} {}

// Runs after every derived destructor; the arrays are the derived class's to free.
ParticleSystem::~ParticleSystem() = default;

void ParticleSystem::Render() { DrawPointSprites(positions, angles, viewportSize, projMat); }

void ParticleSystem::RenderSizedFor(const float viewport[2], const float projection[16]) const {
    DrawPointSprites(positions, angles, viewport, projection);
}

void ParticleSystem::FollowViewport(const float viewport[2], const float projection[16]) {
    viewportSize[0] = viewport[0];
    viewportSize[1] = viewport[1];
    for (int i = 0; i < 16; ++i) projMat[i] = projection[i];
}

namespace {

void PointAttributeAt(const char* name, GLint components, const float* values) {
    // Looked up by name on every draw, nothing cached. A name the program lacks (or program 0)
    // gives -1, which OpenGL answers with an error and no effect.
    const GLint location = glGetAttribLocation(pointSpriteObjects.pointSpriteProgram, name);
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, values);
}

}  // namespace

void ParticleSystem::DrawPointSprites(const float* positionArray, const float* angleArray, const float viewport[2],
                                      const float projection[16]) const {
    // A context without the program calls or point sprites (Windows' own OpenGL 1.1, say)
    // has no entry points to call: the particles are simply not drawn there.
    if (!glCapabilities.shaderPrograms20 || !glCapabilities.pointSprites) return;

    glEnable(GL_POINT_SPRITE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glTexEnvi(GL_POINT_SPRITE, GL_COORD_REPLACE, GL_TRUE);
    glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
    glBindTexture(GL_TEXTURE_2D, pointSpriteObjects.snowTexture);
    glUseProgram(pointSpriteObjects.pointSpriteProgram);

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(4, GL_FLOAT, 0, positionArray);

    glUniformMatrix4fv(glGetUniformLocationARB(pointSpriteObjects.pointSpriteProgram, "projMat"), 1, GL_FALSE, projection);
    glUniform2f(glGetUniformLocationARB(pointSpriteObjects.pointSpriteProgram, "viewportSize"), viewport[0], viewport[1]);

    PointAttributeAt("pointScales", 1, pointScales);
    PointAttributeAt("angles", 1, angleArray);
    PointAttributeAt("colours", 4, colours);

    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(count));

    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_POINT_SPRITE);
    glDisable(GL_BLEND);
}
