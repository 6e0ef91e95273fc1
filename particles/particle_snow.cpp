#include "particles/particle_snow.h"

#include <algorithm>
#include <cmath>

#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "gfx/resource_loaders.h"
#include "particles/flake_trigonometry.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "resources/resource_ids.h"

PointSpriteObjects pointSpriteObjects;

// Right after the two animation stopwatches (priority 1000, scene/clock_time.cpp).
__attribute__((init_priority(1001))) ParticleSnow snow;

namespace {

constexpr uint32_t kFlakeCount = 10000;
constexpr uint32_t kDepthLayers = 500;

// Flakes are moved in blocks of this many (see Update).
constexpr uint32_t kUpdateBlock = 256;

// Flakes that fall below this height go back up.
constexpr float kFloor = -500.0f;

constexpr float kFlakeScale = 3.5f;

// The step of the saver's 10 ms timer, which the sway, bob, drift and tumble were made for.
constexpr double kTimerStepSeconds = 0.01;
// A longer step between two updates is a pause, and the snow moves by this much of it.
constexpr double kLongestStepSeconds = 0.5;
constexpr float kFlakeColour[4] = {1.0f, 1.0f, 1.0f, 0.6f};

// The remainder of a fresh draw, so 0 .. divisor-1.
int DrawBelow(int divisor) { return RandomInteger() % divisor; }

std::unique_ptr<float[]> FlakeArray(uint32_t flakes, uint32_t floatsPerFlake) {
    // Zero-filled, so that nothing reads indeterminate values (reversedAngles before the first
    // update, say).
    return std::make_unique<float[]>(static_cast<std::size_t>(flakes) * floatsPerFlake);
}

}  // namespace

ParticleSnow::ParticleSnow() : stopwatch(StartStopwatch()) {}

ParticleSnow::~ParticleSnow() = default;

void ParticleSnow::Init(const float viewport[2], const float projection[16]) {
    if (!pointSpriteObjects.pointSpriteProgramLoaded) {
        pointSpriteObjects.pointSpriteProgram = LoadShaderProgram(POINT_SPRITE_VERTEX_SHADER, POINT_SPRITE_FRAGMENT_SHADER);
        if (pointSpriteObjects.pointSpriteProgram != 0) {
            pointSpriteObjects.pointSpriteProgramLoaded = true;
            if (glCapabilities.shaderPrograms20) LookUpPointSpriteInputs();
        } else if (glCapabilities.shaderObjects) {
            // The snow still falls; it is drawn without the program. A context without shader
            // objects at all (Windows' own OpenGL 1.1) cannot have one: nothing to report there.
            ShowErrorMessage("coud not load base point sprite shader", "load issue");
        }
    }

    viewportSize[0] = viewport[0];
    viewportSize[1] = viewport[1];
    for (int i = 0; i < 16; ++i) projMat[i] = projection[i];

    count = kFlakeCount;
    // A second Init without Release replaces the arrays; the old ones are freed here.
    positionStore_ = FlakeArray(count, 4);
    pointScaleStore_ = FlakeArray(count, 1);
    angleStore_ = FlakeArray(count, 1);
    colourStore_ = FlakeArray(count, 4);
    velocityStore_ = FlakeArray(count, 4);
    phaseStore_ = FlakeArray(count, 1);
    reversedPositionStore_ = FlakeArray(count, 4);
    reversedAngleStore_ = FlakeArray(count, 1);
    positions = positionStore_.get();
    pointScales = pointScaleStore_.get();
    angles = angleStore_.get();
    colours = colourStore_.get();
    velocities = velocityStore_.get();
    phases = phaseStore_.get();
    reversedPositions = reversedPositionStore_.get();
    reversedAngles = reversedAngleStore_.get();

    SeedFlakes();
    spritePasses.Begin();  // nothing chosen for the new flakes yet

    if (!pointSpriteObjects.snowTextureLoaded) {
        glGenTextures(1, &pointSpriteObjects.snowTexture);
        glBindTexture(GL_TEXTURE_2D, pointSpriteObjects.snowTexture);
        LoadTgaTexture();
        // Judged by the name alone: an image that did not upload is not noticed here.
        if (pointSpriteObjects.snowTexture != 0) {
            pointSpriteObjects.snowTextureLoaded = true;
        } else {
            ShowErrorMessage("coud not load Snow Flake Texture", "load issue");
        }
    }
}

void ParticleSnow::SeedFlakes() {
    // The flakes are cut by index into depth layers: the first layer holds one flake more
    // than the others and the last one fewer.
    const float layerStep = static_cast<float>(count) / static_cast<float>(kDepthLayers);
    float layerThreshold = layerStep;
    int layer = 0;

    // Five draws per flake, always in this order, so that a seed gives the same snow.
    for (uint32_t i = 0; i < count; ++i) {
        float* position = positions + 4 * i;
        position[0] = static_cast<float>(DrawBelow(500) - 250);
        position[1] = static_cast<float>(DrawBelow(1000) + 1000);
        position[2] = static_cast<float>(layer - 250);
        position[3] = 1.0f;

        float* mirrored = reversedPositions + 4 * (count - 1 - i);
        for (int c = 0; c < 4; ++c) mirrored[c] = position[c];

        if (static_cast<float>(i) >= layerThreshold) {
            ++layer;
            layerThreshold += layerStep;
        }

        phases[i] = static_cast<float>(DrawBelow(360));

        float* velocity = velocities + 4 * i;
        velocity[0] = 0.0f;
        velocity[1] = static_cast<float>(-25 - DrawBelow(25));
        velocity[2] = 0.0f;
        velocity[3] = 1.0f;

        angles[i] = static_cast<float>(RandomInteger() / 32767.0 * static_cast<double>(6.28f));
        pointScales[i] = kFlakeScale;
        for (int c = 0; c < 4; ++c) colours[4 * i + c] = kFlakeColour[c];
    }
}

void ParticleSnow::Update() {
    const int64_t countsBefore = lastCounts;
    const double step = SecondsSinceLastReading(stopwatch, lastTime, lastCounts);
    // The first update after a start (or a rewind) moves the flakes by all the seconds the
    // stopwatch reads, and sways them once. After that, a step longer than a pause's (the display
    // off for hours, say) moves them as one of a pause's: the snow goes on from where it was.
    const bool afterStart = !movedSinceStart;
    movedSinceStart = true;
    const double moved = afterStart ? step : std::min(step, kLongestStepSeconds);
    // A step of the 10 ms timer, the motion's own, sways, bobs, drifts and tumbles a flake once;
    // any other step by as much as those would have over it, so the snow moves alike at every
    // frame rate.
    const bool timerStep = afterStart || (lastCounts - countsBefore) * 100 == stopwatch.frequency;
    deltaTime = static_cast<float>(moved);
    // Each phase grows by the seconds moved. Beyond the first hour the phases, which only matter
    // modulo a turn, are kept within a turn, and grow here, in a pass of their own, by the step
    // less whole turns: a phase of weeks of seconds would swallow a tick.
    float phaseGrowth = deltaTime;
    double phaseStep = deltaTime;
    if (lastTime >= exactSpanSeconds) {
        phaseStep = std::fmod(moved, fullTurnRadians);
        for (uint32_t i = 0; i < count; ++i) phases[i] = WithoutWholeTurns(phases[i] + phaseStep);
        phaseGrowth = 0.0f;
    }

    // The flakes go in blocks: first the trigonometry of a whole block, which the compiler can
    // vectorise, then the moves, copies and draws in index order.
    const uint32_t flakes = count;
    const float elapsed = deltaTime;
    spritePasses.Begin();
    for (uint32_t first = 0; first < flakes; first += kUpdateBlock) {
        const uint32_t block = std::min(kUpdateBlock, flakes - first);
        float sway[kUpdateBlock];
        float bob[kUpdateBlock];
        float drift[kUpdateBlock];
        float* const blockPhases = phases + first;
        for (uint32_t j = 0; j < block; ++j) {
            const float phaseBefore = blockPhases[j];
            const float phase = phaseBefore + phaseGrowth;
            blockPhases[j] = phase;
            // Neighbouring flakes bob out of step; the argument is rounded to float first.
            const auto index = static_cast<float>(static_cast<int>(first + j) * 20);
            double sine, cosine;
            FlakeSineCosine(phase, sine, cosine);
            if (timerStep) {
                sway[j] = static_cast<float>(cosine) / 6.0f;
                drift[j] = 0.125f * static_cast<float>(sine);
                bob[j] = 0.25f * static_cast<float>(FlakeCosine(phase + index));
            } else {
                // Each is a rate per timer step of a hundredth of a second; over this step, the
                // sine's or cosine's change from the phase before to the phase now, so that the
                // steps add up to the same whatever their length. Beyond the first hour the
                // phase before is the phase now less the step.
                const double before = phaseGrowth != 0.0f ? phaseBefore : static_cast<double>(phase) - phaseStep;
                double sineBefore, cosineBefore, bobSine, bobSineBefore, unused;
                FlakeSineCosine(before, sineBefore, cosineBefore);
                FlakeSineCosine(phase + index, bobSine, unused);
                FlakeSineCosine(static_cast<float>(before) + index, bobSineBefore, unused);
                sway[j] = static_cast<float>((sine - sineBefore) / 6.0 / kTimerStepSeconds);
                drift[j] = static_cast<float>(0.125 * (cosineBefore - cosine) / kTimerStepSeconds);
                bob[j] = static_cast<float>(0.25 * (bobSine - bobSineBefore) / kTimerStepSeconds);
            }
        }

        for (uint32_t j = 0; j < block; ++j) {
            const uint32_t i = first + j;
            float* position = positions + 4 * i;
            position[0] += sway[j];
            position[1] += velocities[4 * i + 1] * elapsed + bob[j];
            position[2] += drift[j];
            angles[i] += 0.3f * bob[j];

            const uint32_t mirror = flakes - 1 - i;
            reversedAngles[mirror] = angles[i];
            float* mirrored = reversedPositions + 4 * mirror;
            for (int c = 0; c < 4; ++c) mirrored[c] = position[c];
            spritePasses.Choose(i, position, pointScales[i], true);

            // Below the floor: back up, falling faster than at the start. The reversed copy
            // keeps this update's position until the next one.
            if (position[1] < kFloor) {
                position[1] = static_cast<float>(DrawBelow(500) + 500);
                velocities[4 * i + 1] = static_cast<float>(-35 - DrawBelow(25));
            }
            spritePasses.Choose(i, position, pointScales[i], false);
        }
    }
    spritePasses.End();
}

void ParticleSnow::RenderReversed() { DrawPointSprites(reversedPositions, reversedAngles, viewportSize, projMat); }

void ParticleSnow::RenderReversed(const float viewport[2], const float projection[16]) const {
    DrawPointSprites(reversedPositions, reversedAngles, viewport, projection);
}

void ParticleSnow::RenderReversedPass(int pass, const float viewport[2], const float projection[16]) const {
    DrawPointSprites(reversedPositions, reversedAngles, viewport, projection, pass);
}

void ParticleSnow::Release() {
    reversedPositionStore_.reset();
    reversedAngleStore_.reset();
    velocityStore_.reset();
    phaseStore_.reset();
    positionStore_.reset();
    pointScaleStore_.reset();
    angleStore_.reset();
    colourStore_.reset();
    // Back to the constructed state, so that a stray Update or draw after the release reads and
    // writes no freed memory.
    count = 0;
    spritePasses.Begin();
    positions = angles = pointScales = colours = nullptr;
    velocities = phases = reversedPositions = reversedAngles = nullptr;
}

void ResetParticleState() {
    snow.Release();
    snow.RewindStopwatch(0.0);
    pointSpriteObjects = PointSpriteObjects{};
}

void ParticleSnow::RewindStopwatch(double seconds) {
    stopwatch.frequency = ReadPerformanceFrequency();
    stopwatch.start =
        ReadPerformanceCounter() - static_cast<int64_t>(seconds * static_cast<double>(stopwatch.frequency) + 0.5);
    // The next update moves the flakes by all the seconds the stopwatch now reads, as the first
    // update after its start does; a reading kept from before would make that step the
    // difference between two unrelated clocks.
    lastTime = deltaTime = 0.0f;
    lastCounts = 0;
    movedSinceStart = false;
}
