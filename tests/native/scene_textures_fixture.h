// Gives the scene's textures distinct names while a geometry routine is recorded, so a test
// can tell which one it bound, and puts the old names back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "tests/support/gl_recorder.h"
#include "scene/scene_setup.h"

class SceneTexturesTest : public testing::Test {
protected:
    static constexpr uint32_t firstTextureName = 301;

    SceneTexturesTest() {
        std::copy(std::begin(sceneTextures), std::end(sceneTextures), saved_);
        for (uint32_t i = 0; i < 8; ++i) sceneTextures[i] = firstTextureName + i;
    }
    ~SceneTexturesTest() override { std::copy(std::begin(saved_), std::end(saved_), sceneTextures); }

    // The texture names of every glBindTexture(GL_TEXTURE_2D, ...) in order.
    std::vector<double> BoundTextures() const {
        std::vector<double> names;
        for (const GlCall& call : gl.CallsOf("glBindTexture")) {
            EXPECT_EQ(call.Arg(0), GL_TEXTURE_2D);
            names.push_back(call.Arg(1));
        }
        return names;
    }

    size_t MatrixCommands() const {
        size_t count = 0;
        for (const char* name : {"glPushMatrix", "glPopMatrix", "glLoadIdentity", "glTranslatef", "glTranslated",
                                 "glRotatef", "glRotated", "glScalef", "glScaled", "glMultMatrixf", "glMultMatrixd"})
            count += gl.Count(name);
        return count;
    }

    GlRecorder gl;

private:
    uint32_t saved_[8];
};
