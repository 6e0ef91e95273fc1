#include "apps/frame_floor.h"

#include <initializer_list>

#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "scene/scene_setup.h"

namespace {

constexpr int kTimedFaces = 5;  // the reflection re-renders all faces but the last every frame

void ClearAndDrawQuad() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}

// Everything the floor changes, saved; the program in use is no part of the attribute stack.
struct SavedState {
    GLint program = 0;
    GLint framebuffer = 0;

    SavedState() {
        if (glCapabilities.shaderObjects) {
            program = static_cast<GLint>(glGetHandleARB(GL_PROGRAM_OBJECT_ARB));
            glUseProgramObjectARB(0);
        }
        if (glCapabilities.framebufferObjects) glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &framebuffer);
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        for (const GLenum matrix : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
            glMatrixMode(matrix);
            glPushMatrix();
            glLoadIdentity();
        }
    }

    ~SavedState() {
        for (const GLenum matrix : {GL_PROJECTION, GL_TEXTURE, GL_MODELVIEW}) {
            glMatrixMode(matrix);
            glPopMatrix();
        }
        glPopAttrib();  // the matrix mode too
        if (glCapabilities.framebufferObjects) {
            glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, static_cast<GLuint>(framebuffer));
        }
        if (glCapabilities.shaderObjects) glUseProgramObjectARB(static_cast<GLhandleARB>(program));
    }
};

void SetFloorState(GLuint texture) {
    for (const GLenum capability : {GL_LIGHTING, GL_DEPTH_TEST, GL_BLEND, GL_CULL_FACE, GL_FOG, GL_ALPHA_TEST,
                                    GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_CUBE_MAP}) {
        glDisable(capability);
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glDepthMask(GL_TRUE);
}

}  // namespace

FrameFloor::FrameFloor(int width, int height, int faceSide, uint32_t texture)
    : width_(width), height_(height), faceSide_(faceSide), texture_(texture) {
    if (!glCapabilities.framebufferObjects) return;
    const SavedState saved;
    glGenTextures(1, &cubeMap_);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap_);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    for (const uint32_t target : cubeMapFaceTargets) {
        glTexImage2D(target, 0, GL_RGB, faceSide_, faceSide_, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     nullptr);
    }
    glGenRenderbuffersEXT(1, &depthBuffer_);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer_);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, faceSide_, faceSide_);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glGenFramebuffersEXT(1, &framebuffer_);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer_);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[0], cubeMap_, 0);
    usable_ = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
}

FrameFloor::~FrameFloor() {
    if (framebuffer_) glDeleteFramebuffersEXT(1, &framebuffer_);
    if (depthBuffer_) glDeleteRenderbuffersEXT(1, &depthBuffer_);
    if (cubeMap_) glDeleteTextures(1, &cubeMap_);
}

Elapsed FrameFloor::RenderTimedFrame() {
    const SavedState saved;
    SetFloorState(texture_);
    const Elapsed begin = ClockReading();
    if (usable_) {
        glViewport(0, 0, faceSide_, faceSide_);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer_);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer_);
        for (int face = 0; face < kTimedFaces; ++face) {
            glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[face], cubeMap_,
                                      0);
            ClearAndDrawQuad();
        }
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
    glViewport(0, 0, width_, height_);
    ClearAndDrawQuad();
    glFinish();
    return ClockReading() - begin;
}
