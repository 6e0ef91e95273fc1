#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>

#include "platform/random.h"
#include "snow_fixture.h"

namespace {

constexpr uint32_t kFlakes = 10000;

// A snow made and initialised now, with the random numbers seeded first.
std::unique_ptr<ParticleSnow> SeededSnow(uint32_t seed, const float* viewport, const float* projection) {
    auto flakes = std::make_unique<ParticleSnow>();
    SeedRandom(seed);
    flakes->Init(viewport, projection);
    return flakes;
}

bool IsWhole(float value) { return value == std::floor(value); }

// ---- Initialisation -------------------------------------------------------------------------

using SnowSeedingTest = SnowTest;

TEST_F(SnowSeedingTest, EveryFlakeStartsAboveTheSceneWithinTheSlab) {
    const auto flakes = SeededSnow(12345, kViewport, kProjection);
    ASSERT_EQ(flakes->count, kFlakes);
    EXPECT_EQ(flakes->viewportSize[0], 1280.0f);
    EXPECT_EQ(flakes->viewportSize[1], 720.0f);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(flakes->projMat[i], kProjection[i]) << i;

    std::map<float, int> xs, ys, speeds, phases;
    float smallestAngle = 10.0f, largestAngle = -1.0f;
    for (uint32_t i = 0; i < kFlakes; ++i) {
        SCOPED_TRACE(i);
        const float* position = flakes->positions + 4 * i;
        ASSERT_TRUE(IsWhole(position[0]) && position[0] >= -250.0f && position[0] <= 249.0f) << position[0];
        ASSERT_TRUE(IsWhole(position[1]) && position[1] >= 1000.0f && position[1] <= 1999.0f) << position[1];
        ASSERT_EQ(position[3], 1.0f);
        const float* velocity = flakes->velocities + 4 * i;
        ASSERT_EQ(velocity[0], 0.0f);
        ASSERT_TRUE(IsWhole(velocity[1]) && velocity[1] >= -49.0f && velocity[1] <= -25.0f) << velocity[1];
        ASSERT_EQ(velocity[2], 0.0f);
        ASSERT_EQ(velocity[3], 1.0f);
        ASSERT_TRUE(IsWhole(flakes->phases[i]) && flakes->phases[i] >= 0.0f && flakes->phases[i] <= 359.0f);
        ASSERT_GE(flakes->angles[i], 0.0f);
        ASSERT_LE(flakes->angles[i], 6.28f);
        ASSERT_EQ(flakes->pointScales[i], 3.5f);
        ASSERT_EQ(flakes->colours[4 * i + 0], 1.0f);
        ASSERT_EQ(flakes->colours[4 * i + 1], 1.0f);
        ASSERT_EQ(flakes->colours[4 * i + 2], 1.0f);
        ASSERT_EQ(flakes->colours[4 * i + 3], 0.6f);
        ++xs[position[0]];
        ++ys[position[1]];
        ++speeds[velocity[1]];
        ++phases[flakes->phases[i]];
        smallestAngle = std::min(smallestAngle, flakes->angles[i]);
        largestAngle = std::max(largestAngle, flakes->angles[i]);
    }
    // Ten thousand draws reach every value of each range: a range cut short shows here.
    EXPECT_EQ(xs.size(), 500u);
    EXPECT_EQ(ys.size(), 1000u);
    EXPECT_EQ(speeds.size(), 25u);
    EXPECT_EQ(phases.size(), 360u);
    EXPECT_LT(smallestAngle, 0.01f);
    EXPECT_GT(largestAngle, 6.27f);
}

TEST_F(SnowSeedingTest, FlakesAreCutByIndexIntoFiveHundredDepthLayers) {
    const auto flakes = SeededSnow(1, kViewport, kProjection);
    auto z = [&](uint32_t i) { return flakes->positions[4 * i + 2]; };
    for (uint32_t i = 0; i <= 20; ++i) EXPECT_EQ(z(i), -250.0f) << i;
    for (uint32_t i = 21; i <= 40; ++i) EXPECT_EQ(z(i), -249.0f) << i;
    EXPECT_EQ(z(9980), 248.0f);
    for (uint32_t i = 9981; i < kFlakes; ++i) EXPECT_EQ(z(i), 249.0f) << i;

    std::map<float, int> perLayer;
    for (uint32_t i = 0; i < kFlakes; ++i) {
        if (i > 0) {
            ASSERT_GE(z(i), z(i - 1)) << i;
        }
        ++perLayer[z(i)];
    }
    ASSERT_EQ(perLayer.size(), 500u);
    EXPECT_EQ(perLayer[-250.0f], 21);
    EXPECT_EQ(perLayer[249.0f], 19);
    for (int layer = -249; layer <= 248; ++layer) EXPECT_EQ(perLayer[static_cast<float>(layer)], 20) << layer;
}

TEST_F(SnowSeedingTest, EachFlakeTakesFiveDrawsInAFixedOrder) {
    // The same seed must give the same snow on every platform: x, y, phase, speed, angle.
    const auto flakes = SeededSnow(777, kViewport, kProjection);
    const int drawAfterInit = RandomInteger();

    SeedRandom(777);
    for (uint32_t i = 0; i < kFlakes; ++i) {
        const int x = RandomInteger(), y = RandomInteger(), phase = RandomInteger();
        const int speed = RandomInteger(), angle = RandomInteger();
        if (i > 2 && i < kFlakes - 1) continue;  // the first few and the last are enough
        SCOPED_TRACE(i);
        EXPECT_EQ(flakes->positions[4 * i], static_cast<float>(x % 500 - 250));
        EXPECT_EQ(flakes->positions[4 * i + 1], static_cast<float>(y % 1000 + 1000));
        EXPECT_EQ(flakes->phases[i], static_cast<float>(phase % 360));
        EXPECT_EQ(flakes->velocities[4 * i + 1], static_cast<float>(-25 - speed % 25));
        EXPECT_NEAR(flakes->angles[i], angle / 32767.0 * 6.28, 1e-6);
    }
    // Nothing else was drawn: the generator stood where the replay stands now.
    EXPECT_EQ(drawAfterInit, RandomInteger());
}

TEST_F(SnowSeedingTest, ReversedCopiesHoldTheFlakesBackwardsButNoAnglesBeforeTheFirstUpdate) {
    const auto flakes = SeededSnow(5, kViewport, kProjection);
    for (uint32_t i = 0; i < kFlakes; ++i) {
        for (int c = 0; c < 4; ++c) {
            ASSERT_EQ(flakes->reversedPositions[4 * (kFlakes - 1 - i) + c], flakes->positions[4 * i + c]) << i;
        }
        ASSERT_EQ(flakes->reversedAngles[i], 0.0f) << i;
    }
    AdvanceSeconds(0.01);
    flakes->Update();
    // Nobody is near the floor yet, so the copies match the flakes exactly.
    for (uint32_t i = 0; i < kFlakes; ++i) {
        ASSERT_EQ(flakes->reversedAngles[kFlakes - 1 - i], flakes->angles[i]) << i;
        for (int c = 0; c < 4; ++c) {
            ASSERT_EQ(flakes->reversedPositions[4 * (kFlakes - 1 - i) + c], flakes->positions[4 * i + c]) << i;
        }
    }
}

// ---- Update ---------------------------------------------------------------------------------

using SnowUpdateTest = SnowTest;

TEST_F(SnowUpdateTest, TheFirstUpdateSeesTheWholeTimeSinceConstruction) {
    ParticleSnow flakes;
    AdvanceSeconds(2.5);
    SeedRandom(3);
    flakes.Init(kViewport, kProjection);
    const std::unique_ptr<float[]> phasesBefore(new float[kFlakes]);
    std::copy(flakes.phases, flakes.phases + kFlakes, phasesBefore.get());

    flakes.Update();
    EXPECT_EQ(flakes.deltaTime, 2.5f);
    EXPECT_EQ(flakes.lastTime, 2.5f);
    for (uint32_t i = 0; i < kFlakes; ++i) ASSERT_EQ(flakes.phases[i], phasesBefore[i] + 2.5f) << i;

    AdvanceSeconds(0.25);
    flakes.Update();
    EXPECT_EQ(flakes.deltaTime, 0.25f);
    EXPECT_EQ(flakes.lastTime, 2.75f);
}

TEST_F(SnowUpdateTest, FallFollowsTheClockWhileSwayAndDriftFollowTheUpdates) {
    // Two identical snows over the same tenth of a second, one updated twice as often.
    ParticleSnow slow, fast;
    SeedRandom(21);
    slow.Init(kViewport, kProjection);
    SeedRandom(21);
    fast.Init(kViewport, kProjection);
    AdvanceSeconds(0.0);
    slow.Update();  // both clocks now read the same
    fast.Update();

    struct Snapshot {
        std::unique_ptr<float[]> positions{new float[4 * kFlakes]};
        std::unique_ptr<float[]> angles{new float[kFlakes]};
        std::unique_ptr<float[]> phases{new float[kFlakes]};
    };
    auto take = [](const ParticleSnow& flakes) {
        Snapshot snapshot;
        std::copy(flakes.positions, flakes.positions + 4 * kFlakes, snapshot.positions.get());
        std::copy(flakes.angles, flakes.angles + kFlakes, snapshot.angles.get());
        std::copy(flakes.phases, flakes.phases + kFlakes, snapshot.phases.get());
        return snapshot;
    };
    const Snapshot slowBefore = take(slow);
    const Snapshot fastBefore = take(fast);

    for (int tick = 1; tick <= 100; ++tick) {
        AdvanceSeconds(0.001);
        fast.Update();
        if (tick % 2 == 0) slow.Update();
    }

    int swayCompared = 0, driftCompared = 0;
    for (uint32_t i = 0; i < kFlakes; ++i) {
        SCOPED_TRACE(i);
        const float vy = slow.velocities[4 * i + 1];
        ASSERT_EQ(vy, fast.velocities[4 * i + 1]);  // nobody reached the floor

        // The bob that moves a flake up and down also tumbles it (by 0.3 of it), which lets the
        // fall be told apart from the bob: what is left is the speed times the elapsed time,
        // however often the snow was updated.
        const float slowFall = (slow.positions[4 * i + 1] - slowBefore.positions[4 * i + 1]) -
                               (slow.angles[i] - slowBefore.angles[i]) / 0.3f;
        const float fastFall = (fast.positions[4 * i + 1] - fastBefore.positions[4 * i + 1]) -
                               (fast.angles[i] - fastBefore.angles[i]) / 0.3f;
        ASSERT_NEAR(slowFall, vy * 0.1f, 0.05f);
        ASSERT_NEAR(fastFall, vy * 0.1f, 0.05f);

        // Sway and drift are added once per update: twice the updates, twice as far.
        const double phase = slowBefore.phases[i];
        if (std::fabs(std::cos(phase)) > 0.5) {
            const float slowSway = slow.positions[4 * i] - slowBefore.positions[4 * i];
            const float fastSway = fast.positions[4 * i] - fastBefore.positions[4 * i];
            ASSERT_NEAR(fastSway / slowSway, 2.0f, 0.02f);
            ++swayCompared;
        }
        if (std::fabs(std::sin(phase)) > 0.5) {
            const float slowDrift = slow.positions[4 * i + 2] - slowBefore.positions[4 * i + 2];
            const float fastDrift = fast.positions[4 * i + 2] - fastBefore.positions[4 * i + 2];
            ASSERT_NEAR(fastDrift / slowDrift, 2.0f, 0.02f);
            ++driftCompared;
        }
    }
    EXPECT_GT(swayCompared, 5000);
    EXPECT_GT(driftCompared, 5000);
}

TEST_F(SnowUpdateTest, SwayBobDriftAndTumbleStayWithinTheirReach) {
    // Per update a flake sways at most 1/6, bobs at most 0.25 beside its fall, drifts at most
    // 1/8 and tumbles at most 0.075 radians.
    ParticleSnow flakes;
    SeedRandom(8);
    flakes.Init(kViewport, kProjection);
    flakes.Update();
    for (int tick = 0; tick < 20; ++tick) {
        const std::unique_ptr<float[]> before(new float[4 * kFlakes]);
        const std::unique_ptr<float[]> anglesBefore(new float[kFlakes]);
        std::copy(flakes.positions, flakes.positions + 4 * kFlakes, before.get());
        std::copy(flakes.angles, flakes.angles + kFlakes, anglesBefore.get());
        AdvanceSeconds(0.37);
        flakes.Update();
        for (uint32_t i = 0; i < kFlakes; ++i) {
            const float* now = flakes.positions + 4 * i;
            const float* was = before.get() + 4 * i;
            ASSERT_LE(std::fabs(now[0] - was[0]), 1.0f / 6.0f + 1e-4f) << i;
            ASSERT_LE(std::fabs(now[1] - was[1] - flakes.velocities[4 * i + 1] * 0.37f), 0.25f + 1e-3f) << i;
            ASSERT_LE(std::fabs(now[2] - was[2]), 0.125f + 1e-4f) << i;
            ASSERT_LE(std::fabs(flakes.angles[i] - anglesBefore[i]), 0.075f + 1e-5f) << i;
        }
    }
}

TEST_F(SnowUpdateTest, AFlakeGoesBackUpOnlyOnceBelowTheFloor) {
    ParticleSnow flakes;
    SeedRandom(4);
    flakes.Init(kViewport, kProjection);
    // No time passes, so only the bob moves a flake vertically; flake 0's phase leaves it
    // practically nothing to bob.
    flakes.phases[0] = 1.5707964f;
    flakes.positions[1] = -500.0f;
    flakes.velocities[1] = -30.0f;
    flakes.positions[4 + 1] = -500.5f;
    flakes.velocities[4 + 1] = -30.0f;
    const float x1 = flakes.positions[4], z1 = flakes.positions[6];

    SeedRandom(99);
    flakes.Update();
    SeedRandom(99);
    const int height = RandomInteger();
    const int speed = RandomInteger();

    // Exactly at the floor: stays.
    EXPECT_EQ(flakes.positions[1], -500.0f);
    EXPECT_EQ(flakes.velocities[1], -30.0f);
    // Below it: back up in the same update, from the next two draws, height first.
    EXPECT_EQ(flakes.positions[4 + 1], static_cast<float>(height % 500 + 500));
    EXPECT_EQ(flakes.velocities[4 + 1], static_cast<float>(-35 - speed % 25));
    // Nothing else about the flake is put back.
    EXPECT_NEAR(flakes.positions[4], x1, 1.0f / 6.0f + 1e-4f);
    EXPECT_NEAR(flakes.positions[6], z1, 0.125f + 1e-4f);
    // The reversed copy keeps where the flake was before it went back up.
    const float* reversed = flakes.reversedPositions + 4 * (kFlakes - 2);
    EXPECT_LT(reversed[1], -500.0f);
    EXPECT_GE(reversed[1], -500.75f);
    EXPECT_EQ(reversed[0], flakes.positions[4]);
    EXPECT_EQ(reversed[2], flakes.positions[6]);
    EXPECT_EQ(flakes.reversedPositions[4 * (kFlakes - 1) + 1], -500.0f);
}

TEST_F(SnowUpdateTest, FlakesThatWentBackUpFallFasterFromLower) {
    ParticleSnow flakes;
    SeedRandom(17);
    flakes.Init(kViewport, kProjection);
    // Long enough for the slowest, highest flake to reach the floor at least once.
    std::map<float, int> heights, speeds;
    const std::unique_ptr<float[]> before(new float[kFlakes]);
    for (int tick = 0; tick < 250; ++tick) {
        for (uint32_t i = 0; i < kFlakes; ++i) before[i] = flakes.positions[4 * i + 1];
        AdvanceSeconds(0.5);
        flakes.Update();
        for (uint32_t i = 0; i < kFlakes; ++i) {
            const float y = flakes.positions[4 * i + 1];
            ASSERT_GE(y, -500.0f) << i;
            if (y <= before[i]) continue;
            // Went back up: a whole height of 500 .. 999.
            ASSERT_TRUE(IsWhole(y) && y >= 500.0f && y <= 999.0f) << y;
            ++heights[y];
        }
    }
    EXPECT_EQ(heights.size(), 500u);
    for (uint32_t i = 0; i < kFlakes; ++i) {
        SCOPED_TRACE(i);
        const float vy = flakes.velocities[4 * i + 1];
        ASSERT_TRUE(IsWhole(vy) && vy >= -59.0f && vy <= -35.0f) << vy;
        ASSERT_LT(flakes.positions[4 * i + 1], 1000.0f);
        ++speeds[vy];
    }
    EXPECT_EQ(speeds.size(), 25u);
}

// ---- Lifecycle ------------------------------------------------------------------------------

using SnowLifecycleTest = SnowTest;

TEST_F(SnowLifecycleTest, ProgramAndTextureAreMadeOncePerProcess) {
    ParticleSnow flakes;
    flakes.Init(kViewport, kProjection);
    ASSERT_TRUE(pointSpriteProgramLoaded);
    ASSERT_TRUE(snowTextureLoaded);
    EXPECT_NE(pointSpriteProgram, 0u);
    EXPECT_NE(snowTexture, 0u);
    EXPECT_EQ(gl.Count("glCreateProgramObjectARB"), 1u);
    ASSERT_EQ(gl.Count("glGenTextures"), 1u);
    // The texture is bound before the loader fills it.
    const size_t bind = gl.IndexOf("glBindTexture", gl.IndexOf("glGenTextures"));
    ASSERT_LT(bind, gl.Calls().size());
    EXPECT_EQ(gl.Calls()[bind].Arg(1), snowTexture);
    const uint32_t program = pointSpriteProgram, texture = snowTexture;

    // Again without a release, after a release, and by another object: nothing is rebuilt.
    flakes.Init(kViewport, kProjection);
    flakes.Release();
    flakes.Init(kViewport, kProjection);
    ParticleSnow other;
    other.Init(kViewport, kProjection);
    EXPECT_EQ(gl.Count("glCreateProgramObjectARB"), 1u);
    EXPECT_EQ(gl.Count("glGenTextures"), 1u);
    EXPECT_EQ(pointSpriteProgram, program);
    EXPECT_EQ(snowTexture, texture);
    EXPECT_TRUE(ShownErrorMessages().empty());
    other.Release();
    flakes.Release();
}

TEST_F(SnowLifecycleTest, InitialisingAgainReplacesTheFlakesWithoutLosingAny) {
    // LeakSanitizer checks at exit that the replaced arrays were freed.
    ParticleSnow flakes;
    SeedRandom(1);
    flakes.Init(kViewport, kProjection);
    const float firstX = flakes.positions[0];
    SeedRandom(2);
    flakes.Init(kViewport, kProjection);
    SeedRandom(2);
    EXPECT_EQ(flakes.positions[0], static_cast<float>(RandomInteger() % 500 - 250));
    EXPECT_NE(flakes.positions[0], firstX);
    for (int cycle = 0; cycle < 3; ++cycle) {
        flakes.Init(kViewport, kProjection);
        flakes.Update();
        flakes.Release();
    }
}

TEST_F(SnowLifecycleTest, ReleaseLeavesNothingToReadOrWrite) {
    ParticleSnow flakes;
    flakes.Init(kViewport, kProjection);
    flakes.Release();
    EXPECT_EQ(flakes.count, 0u);
    EXPECT_EQ(flakes.positions, nullptr);
    EXPECT_EQ(flakes.reversedAngles, nullptr);
    // A stray update or draw after the release touches no freed memory (AddressSanitizer).
    AdvanceSeconds(1.0);
    flakes.Update();
    gl.Clear();
    flakes.RenderReversed();
    const std::vector<GlCall> draws = gl.CallsOf("glDrawArrays");
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].Arg(2), 0.0);
    // And the program and texture stay for the next Init.
    EXPECT_TRUE(pointSpriteProgramLoaded);
    EXPECT_TRUE(snowTextureLoaded);
}

TEST_F(SnowLifecycleTest, AProgramThatFailsIsReportedAndTheSnowStillFalls) {
    gl.SetCompileStatus(GL_VERTEX_SHADER_ARB, false);
    ParticleSnow flakes;
    flakes.Init(kViewport, kProjection);
    ASSERT_EQ(ShownErrorMessages().size(), 1u);
    EXPECT_TRUE(Shown("coud not load base point sprite shader"));
    EXPECT_EQ(pointSpriteProgram, 0u);
    EXPECT_FALSE(pointSpriteProgramLoaded);
    EXPECT_TRUE(snowTextureLoaded);  // the texture does not depend on it

    const float y = flakes.positions[1];
    AdvanceSeconds(1.0);
    flakes.Update();
    EXPECT_LT(flakes.positions[1], y - 20.0f);

    // Drawn all the same, with no program.
    gl.Clear();
    flakes.Render();
    const std::vector<GlCall> programs = gl.CallsOf("glUseProgram");
    ASSERT_EQ(programs.size(), 1u);
    EXPECT_EQ(programs[0].Arg(0), 0.0);
    EXPECT_EQ(gl.Count("glDrawArrays"), 1u);

    // The next Init tries again, and a program that builds now is kept without a word.
    gl.SetCompileStatus(GL_VERTEX_SHADER_ARB, true);
    ClearShownErrorMessages();
    flakes.Init(kViewport, kProjection);
    EXPECT_NE(pointSpriteProgram, 0u);
    EXPECT_TRUE(pointSpriteProgramLoaded);
    EXPECT_TRUE(ShownErrorMessages().empty());
    flakes.Release();
}

TEST_F(SnowLifecycleTest, TheSnowStopwatchCanBeSetForReproducibleFrames) {
    ParticleSnow flakes;
    flakes.Init(kViewport, kProjection);
    AdvanceSeconds(40.0);
    flakes.RewindStopwatch(3.25);
    flakes.Update();
    EXPECT_EQ(flakes.deltaTime, 3.25f);
    AdvanceSeconds(0.5);
    flakes.Update();
    EXPECT_EQ(flakes.lastTime, 3.75f);
    flakes.Release();
}

}  // namespace
