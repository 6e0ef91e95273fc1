#include "apps/frame_floor.h"

#include <time.h>

#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "scene/scene_setup.h"

namespace {

constexpr int kTimedFaces = 5;  // the reflection re-renders all faces but the last every frame

double MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

// The floor's own cube map and framebuffer object, so the scene's reflection is left untouched.
struct FloorTarget {
    GLuint cubeMap = 0;
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;
    bool usable = false;

    void Create() {
        if (!glCapabilities.framebufferObjects) return;
        glGenTextures(1, &cubeMap);
        glBindTexture(GL_TEXTURE_CUBE_MAP, cubeMap);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        for (int face = 0; face < 6; ++face) {
            glTexImage2D(static_cast<GLenum>(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face), 0, GL_RGB, environmentFaceSize, environmentFaceSize, 0,
                         GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        }
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        glGenRenderbuffersEXT(1, &depthBuffer);
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depthBuffer);
        glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, environmentFaceSize, environmentFaceSize);
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
        glGenFramebuffersEXT(1, &framebuffer);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, depthBuffer);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[0], cubeMap, 0);
        usable = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }

    void Release() {
        if (framebuffer) glDeleteFramebuffersEXT(1, &framebuffer);
        if (depthBuffer) glDeleteRenderbuffersEXT(1, &depthBuffer);
        if (cubeMap) glDeleteTextures(1, &cubeMap);
    }
};

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

void RenderFloorFrame(const FloorTarget& target, int width, int height) {
    if (target.usable) {
        glViewport(0, 0, environmentFaceSize, environmentFaceSize);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target.framebuffer);
        glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                     target.depthBuffer);
        for (int face = 0; face < kTimedFaces; ++face) {
            glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, cubeMapFaceTargets[face],
                                      target.cubeMap, 0);
            ClearAndDrawQuad();
        }
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
    glViewport(0, 0, width, height);
    ClearAndDrawQuad();
}

}  // namespace

std::vector<double> MeasureFrameFloor(int frames, int width, int height, uint32_t texture) {
    // The program in use is no part of the attribute stack; the floor is measured after the
    // frames, and the next frame's drawing selects its own program anyway.
    if (glCapabilities.shaderObjects) glUseProgramObjectARB(0);
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

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

    FloorTarget target;
    target.Create();
    std::vector<double> milliseconds;
    milliseconds.reserve(static_cast<std::size_t>(frames > 0 ? frames : 0));
    for (int frame = 0; frame < frames; ++frame) {
        const double begin = MonotonicMilliseconds();
        RenderFloorFrame(target, width, height);
        glFinish();
        milliseconds.push_back(MonotonicMilliseconds() - begin);
    }
    target.Release();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    return milliseconds;
}
