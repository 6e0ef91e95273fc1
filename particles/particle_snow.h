// The falling snow: ten thousand flakes in a slab 500 units wide and deep that fall, sway,
// drift in depth and tumble, and go back up once they have fallen through the floor.
#pragma once

#include <cstdint>
#include <memory>

#include "particles/particle_system.h"
#include "platform/stopwatch.h"

class ParticleSnow : public ParticleSystem {
public:
    // Starts the snow's own stopwatch.
    ParticleSnow();
    // Touches no OpenGL object. Release has normally freed the flakes already; arrays still
    // held go with the object.
    ~ParticleSnow() override;

    // Makes the point-sprite program and the snowflake texture where they are not made yet
    // (telling the user when that fails) and seeds every flake from the random numbers.
    // Initialising again without Release replaces the flakes; nothing is lost.
    void Init(const float viewport[2], const float projection[16]) override;
    // Moves every flake by the time since the previous update on the stopwatch (a pause counts
    // as half a second), alike at every rate of updates, and chooses for each of spritePasses the
    // flakes that can land in it.
    void Update() override;
    // Frees the flakes; only Init may follow. Program and texture stay.
    void Release() override;

    // Draws the flakes from the last to the first (the reversed copies the last Update wrote).
    void RenderReversed();
    // The same, with the sprites sized for a view's own viewport and projection.
    void RenderReversed(const float viewport[2], const float projection[16]) const;
    // The same for one of spritePasses (one drawn from the reversed copies): only the flakes the
    // last update chose for it.
    void RenderReversedPass(int pass, const float viewport[2], const float projection[16]) const;

    // Sets the stopwatch so that it reads `seconds` now, as if started that long ago with no
    // update since: the native front-end uses it for reproducible frames.
    void RewindStopwatch(double seconds);

    Stopwatch stopwatch;
    float lastTime = 0.0f;   // stopwatch reading at the previous update
    int64_t lastCounts = 0;  // the same reading in counts: the step beyond the first hour is exact
    float deltaTime = 0.0f;  // seconds the last update moved the flakes by
    bool movedSinceStart = false;  // an update has moved them since the stopwatch started
    // count entries each; owned by the object like the base's arrays.
    float* velocities = nullptr;         // 0, vy, 0, 1: units per second, negative is down
    float* phases = nullptr;             // radians, growing by the elapsed seconds (less whole turns
                                         // once the stopwatch is past its first hour)
    float* reversedPositions = nullptr;  // entry count-1-i holds flake i as of the last update
    float* reversedAngles = nullptr;     // likewise; zero until the first update

private:
    void SeedFlakes();

    std::unique_ptr<float[]> positionStore_;
    std::unique_ptr<float[]> angleStore_;
    std::unique_ptr<float[]> pointScaleStore_;
    std::unique_ptr<float[]> colourStore_;
    std::unique_ptr<float[]> velocityStore_;
    std::unique_ptr<float[]> phaseStore_;
    std::unique_ptr<float[]> reversedPositionStore_;
    std::unique_ptr<float[]> reversedAngleStore_;
};

// The one snow of the program, constructed during static initialisation right after the
// animation stopwatches.
extern ParticleSnow snow;

// Puts the particles' module-level values back as they were when the program started: the snow
// released and its stopwatch restarted, no program or texture made. Tests use it before they
// initialise the snow again. Deletes no OpenGL object.
void ResetParticleState();
