// What the snow's tests share: a recording OpenGL layer in place of a context, a frozen
// performance counter, and the snow's load-once program and texture forgotten before each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "particles/particle_snow.h"
#include "platform/platform_posix_control.h"
#include "tests/support/gl_recorder.h"

class SnowTest : public testing::Test {
protected:
    // Counts per second of the frozen counter.
    static constexpr int64_t kFrequency = 1'000'000;
    static constexpr float kViewport[2] = {1280.0f, 720.0f};
    // An arbitrary column-major matrix whose entries can be told apart.
    static constexpr float kProjection[16] = {1.5f, 0, 0, 0, 0, 2.7f, 0, 0, 0, 0, -1.0f, -1, 0, 0, -0.2f, 0};

    void SetUp() override {
        OverridePerformanceFrequency(kFrequency);
        FreezePerformanceCounter(1'000'000'000);
        pointSpriteProgram = 0;
        snowTexture = 0;
        pointSpriteProgramLoaded = false;
        snowTextureLoaded = false;
        ClearShownErrorMessages();
    }
    void TearDown() override {
        UnfreezeClocks();
        ClearShownErrorMessages();
    }

    static void AdvanceSeconds(double seconds) {
        AdvanceFrozenPerformanceCounter(static_cast<int64_t>(seconds * kFrequency + 0.5));
    }

    static bool Shown(const char* text) {
        for (const ShownErrorMessage& message : ShownErrorMessages()) {
            if (message.text == text && message.caption == "load issue") return true;
        }
        return false;
    }

    GlRecorder gl;
};
