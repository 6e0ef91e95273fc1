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

void ParticleSystem::RenderPass(int pass, const float viewport[2], const float projection[16]) const {
    DrawPointSprites(positions, angles, viewport, projection, pass);
}

void ParticleSystem::FollowViewport(const float viewport[2], const float projection[16]) {
    viewportSize[0] = viewport[0];
    viewportSize[1] = viewport[1];
    for (int i = 0; i < 16; ++i) projMat[i] = projection[i];
}

namespace {

void PointAttributeAt(int location, GLint components, const float* values) {
    if (location < 0) return;
    glEnableVertexAttribArray(static_cast<GLuint>(location));
    glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, values);
}

}  // namespace

void LookUpPointSpriteInputs() {
    PointSpriteObjects& o = pointSpriteObjects;
    const GLuint program = o.pointSpriteProgram;
    o.projMatLocation = glGetUniformLocationARB(program, "projMat");
    o.viewportSizeLocation = glGetUniformLocationARB(program, "viewportSize");
    o.pointScalesLocation = glGetAttribLocation(program, "pointScales");
    o.anglesLocation = glGetAttribLocation(program, "angles");
    o.coloursLocation = glGetAttribLocation(program, "colours");
}

void ParticleSystem::DrawPointSprites(const float* positionArray, const float* angleArray, const float viewport[2],
                                      const float projection[16], int pass) const {
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

    const PointSpriteObjects& o = pointSpriteObjects;
    if (o.projMatLocation >= 0) glUniformMatrix4fv(o.projMatLocation, 1, GL_FALSE, projection);
    if (o.viewportSizeLocation >= 0) glUniform2f(o.viewportSizeLocation, viewport[0], viewport[1]);

    PointAttributeAt(o.pointScalesLocation, 1, pointScales);
    PointAttributeAt(o.anglesLocation, 1, angleArray);
    PointAttributeAt(o.coloursLocation, 4, colours);

    uint32_t chosen = 0;
    if (const uint32_t* indices = spritePasses.Chosen(pass, chosen)) {
        // In array order still, so overlapping sprites blend as when all are drawn.
        glDrawElements(GL_POINTS, static_cast<GLsizei>(chosen), GL_UNSIGNED_INT, indices);
    } else {
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(count));
    }

    glDisableClientState(GL_VERTEX_ARRAY);
    glDisable(GL_POINT_SPRITE);
    glDisable(GL_BLEND);
}
