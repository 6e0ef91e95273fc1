// Shader programs, texture loaders and the snow (which makes its program and texture) on the
// real driver: lighting by OpenGL's equations, sprites turned and sized, images as stored.
#include <gtest/gtest.h>

#include <cmath>
#include <list>
#include <set>

#include "gfx/gl_capabilities.h"
#include "gfx/resource_loaders.h"
#include "gl_scene.h"
#include "particles/particle_snow.h"
#include "platform/platform_posix_control.h"
#include "platform/random.h"
#include "resources/resource_ids.h"
#include "scene/scene_setup.h"

namespace {

Vector3d Unit(const Vector3d& v) { return v * (1.0 / Length(v)); }

// A tiny square at `at` (eye coordinates) facing the viewer with `normal`, by `program`.
Image Shade(uint32_t program, const Vector3d& at, const Vector3d& normal) {
    glViewport(0, 0, 8, 8);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(at.x - 0.01, at.x + 0.01, at.y - 0.01, at.y + 0.01, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgramObjectARB(program);
    glBegin(GL_QUADS);
    glNormal3d(normal.x, normal.y, normal.z);
    for (const auto& [dx, dy] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) glVertex3d(at.x + dx * 0.01, at.y + dy * 0.01, at.z);
    glEnd();
    glUseProgramObjectARB(0);
    return ReadImage(8, 8);
}

// OpenGL's lighting equation for a positional light, worked out here: the gears' and dial's
// program by vertex from light 0, viewer far along +z, plus scene ambient, clamped, times the
// texel; the pendulum's and hands' by pixel from light 1, at the eye as in the scene.
TEST(Shaders, TheScenesProgramsLightAsOpenGlsEquationsSay) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glDisable(GL_BLEND);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Lights: ambient, diffuse, specular, position; the material: the same colours and emission.
    const float lights[2][4][4] = {{{.3f, .2f, .1f, 1}, {.8f, .7f, .6f, 1}, {.9f, .9f, .5f, 1}, {3, 4, 2, 1}},
                                   {{.1f, .2f, .3f, 1}, {.6f, .5f, .4f, 1}, {.8f, .7f, .9f, 1}, {0, 0, 0, 1}}};
    const float material[4][4] = {{.4f, .5f, .6f, 1}, {.7f, .6f, .5f, 1}, {.5f, .6f, .7f, 1}, {0, 0, 0, 1}};
    const float sceneAmbient[4] = {.05f, .1f, .15f, 1}, attenuation[3] = {1, .02f, .001f}, shininess = 8, texel[3] = {1, .8f, .6f};
    const GLenum parameters[4] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_POSITION};
    for (int p = 0; p < 4; ++p) {
        for (const int l : {0, 1}) glLightfv(GL_LIGHT0 + l, parameters[p], lights[l][p]);
        glMaterialfv(GL_FRONT, p < 3 ? parameters[p] : GL_EMISSION, material[p]);
    }
    for (int a = 0; a < 3; ++a) glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION + a, attenuation[a]);
    glMaterialf(GL_FRONT, GL_SHININESS, shininess);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, sceneAmbient);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char texelBytes[4] = {255, 204, 153, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texelBytes);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

    const Vector3d at{2, 1, -10}, normal = Unit({0.3, 0.5, 1});
    for (const int l : {0, 1}) {
        const Vector3d toLight = Vector3d{lights[l][3][0], lights[l][3][1], lights[l][3][2]} - at, v = Unit(toLight);
        const Vector3d half = Unit(v + (l == 0 ? Vector3d{0, 0, 1} : Unit(at * -1.0)));
        const double d = Length(toLight), diffuse = std::max(0.0, Dot(normal, v));
        const double specular = diffuse > 0 ? std::pow(std::max(0.0, Dot(normal, half)), shininess) : 0;
        const double fading = l == 0 ? 1 / (attenuation[0] + attenuation[1] * d + attenuation[2] * d * d) : 1;
        const Image shown = Shade(l == 0 ? sceneObjects.litTexturedProgram : sceneObjects.pixelLightingProgram, at, normal);
        for (int c = 0; c < 3; ++c) {
            double expected = fading * (material[0][c] * lights[l][0][c] + material[1][c] * lights[l][1][c] * diffuse +
                                        material[2][c] * lights[l][2][c] * specular);
            if (l == 0) expected = std::min(expected + material[0][c] * sceneAmbient[c], 1.0) * texel[c];
            EXPECT_NEAR(shown.At(4, 4)[c] / 255.0, expected, 2.5 / 255) << (l == 0 ? "gears and dial " : "pendulum and hands ") << c;
        }
    }
    glDeleteTextures(1, &texture);
    glPopAttrib();
}

// One snowflake, its arrays in the object.
struct OneFlake : ParticleSystem {
    void Init(const float viewport[2], const float projection[16]) override {
        std::copy(viewport, viewport + 2, viewportSize), std::copy(projection, projection + 16, projMat);
        count = 1, positions = position, angles = &angle, pointScales = &scale, colours = colour;
    }
    void Update() override {}
    void Release() override {}
    float position[4] = {0, 0, -10, 1}, angle = 0, scale = 5, colour[4] = {1, 1, 1, 0.6f};
};

// The flake alone over black: where its red lands from the flake (x, y up), brightest red (z).
Vector3d DrawFlake(OneFlake& flake, int width, int height) {
    glViewport(0, 0, width, height);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const float frustum[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, -101.0f / 99, -1, 0, 0, -200.0f / 99, 0};  // glFrustum(-.5, .5, -.5, .5, 1, 100)
    glMatrixMode(GL_PROJECTION), glLoadMatrixf(frustum), glMatrixMode(GL_MODELVIEW), glLoadIdentity();
    const float viewport[2] = {static_cast<float>(width), static_cast<float>(height)};
    flake.Init(viewport, frustum);
    flake.Render();
    glUseProgram(0);
    const Image image = ReadImage(width, height);
    Vector3d sum{0, 0, 0};
    double pixels = 0, brightest = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (image.At(x, y)[0] < 40) continue;
            sum = sum + Vector3d{x + 0.5 - width / 2.0, y + 0.5 - height / 2.0, 0}, ++pixels, brightest = std::max<double>(brightest, image.At(x, y)[0]);
        }
    }
    return {sum.x / pixels, sum.y / pixels, brightest};
}

// The sprite shows its texture turned anticlockwise by the angle, tinted and blended by its
// colour, sized by scale, projection, viewport height and distance: the red block, a quarter of
// the sprite right of its middle, lands that far from the flake.
TEST(Shaders, SnowflakesAreTurnedTintedAndSizedSprites) {
    std::vector<unsigned char> texels(64 * 64 * 4, 0);
    for (int texel = 0; texel < 64 * 64; ++texel) {
        if (texel / 64 >= 28 && texel / 64 < 36 && texel % 64 >= 44 && texel % 64 < 52) texels[texel * 4] = texels[texel * 4 + 3] = 255;
    }
    const Restored<PointSpriteObjects> restored(pointSpriteObjects);
    glGenTextures(1, &pointSpriteObjects.snowTexture);
    glBindTexture(GL_TEXTURE_2D, pointSpriteObjects.snowTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    const double offset = (48.0 / 64 - 0.5) * (5 * 2 / 10.0 * 100 / 2);  // scale x P00 / w x half the height
    OneFlake flake;
    EXPECT_NEAR(DrawFlake(flake, 256, 100).z, 0.6 * 255, 2) << "red at 60 % over black";
    for (const float angle : {0.0f, 1.5707963f, 2.5f, 1.5707963f + 6.2831853f}) {
        flake.angle = angle;
        const Vector3d spot = DrawFlake(flake, 256, 100);
        EXPECT_NEAR(spot.x, offset * std::cos(angle), 1.0) << angle;
        EXPECT_NEAR(spot.y, offset * std::sin(angle), 1.0) << angle;
    }
    flake.angle = 0;
    EXPECT_NEAR(DrawFlake(flake, 128, 200).x, 2 * offset, 1.5) << "twice the height, twice the sprite";
    flake.position[2] = -5;
    EXPECT_NEAR(DrawFlake(flake, 256, 100).x, 2 * offset, 1.5) << "half the distance, twice the sprite";
    glDeleteTextures(1, &pointSpriteObjects.snowTexture);
}

// Texts and images made here, handed to the loaders under identifiers the module does not use.
void Provide(const char* type, int id, std::string bytes) {
    static std::list<std::string> kept;
    kept.push_back(std::move(bytes));
    OverrideModuleResource(type, id, reinterpret_cast<const unsigned char*>(kept.back().data()), kept.back().size());
}

std::vector<GLhandleARB> shadersMade;
PFNGLCREATESHADEROBJECTARBPROC createShader = nullptr;

TEST(Loaders, ProgramsComeOnlyFromTextsThatCompileAndLinkAndFailuresLeaveNothing) {
    Provide("SHADER", 901, "void main()\r\n{\r\n    gl_Position = ftransform();\r\n}\r\n");
    Provide("SHADER", 902, "void main() { gl_FragColor = vec4(1.0); }");
    Provide("SHADER", 903, "void main() { gl_FragColor = undeclared; }");
    Provide("SHADER", 904, "vec4 Shade() { return vec4(1.0); }");
    createShader = glad_glCreateShaderObjectARB;
    glad_glCreateShaderObjectARB = [](GLenum type) { return shadersMade.emplace_back(createShader(type)); };
    EXPECT_NE(LoadShaderProgram(901, 902), 0u);
    for (const auto& [vertex, fragment] : {std::pair{901, 903}, {903, 902}, {901, 904}, {901, 999}}) {
        shadersMade.clear();
        EXPECT_EQ(LoadShaderProgram(vertex, fragment), 0u) << vertex << ", " << fragment;
        EXPECT_EQ(shadersMade.size(), 2u);
        for (const GLhandleARB shader : shadersMade) EXPECT_FALSE(glIsShader(shader)) << vertex << ", " << fragment;
    }
    glad_glCreateShaderObjectARB = createShader;
    ClearModuleResourceOverrides();
}

// The snowflake keeps its colours and alpha row for row (bitmaps are checked where they show);
// an unreadable image uploads nothing; a missing module is told once per image.
TEST(Loaders, TheSnowflakeAsStoredAndNothingFromWhatCannotBeHad) {
    const ResourceBytes file = FindModuleResource("TGA", SNOWFLAKE_TGA);
    ASSERT_TRUE(file);
    std::vector<unsigned char> texels(512 * 512 * 4);
    glBindTexture(GL_TEXTURE_2D, pointSpriteObjects.snowTexture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_TRUE(std::equal(texels.begin(), texels.end(), file.data + 18));
    Provide("BITMAP", 911, std::string(60, '\x18'));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    ClearShownErrorMessages();
    LoadBmpTexture(911);
    SetResourceModuleAvailable(false), LoadBmpTexture(METAL_BITMAP), LoadTgaTexture(), SetResourceModuleAvailable(true);
    GLint width = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 0);
    std::string told;
    for (const ShownErrorMessage& message : ShownErrorMessages()) told += message.text + "/" + message.caption + " ";
    EXPECT_EQ(told, "LoadTexture/BMP NOOOO/NOOOO ");
    glDeleteTextures(1, &texture);
    ClearModuleResourceOverrides();
}

// Each test starts from a fresh snow, seeded alike.
class Snow : public testing::Test {
    void SetUp() override {
        float viewport[2] = {kFrameWidth, kFrameHeight}, projection[16];
        std::copy(snow.projMat, snow.projMat + 16, projection);
        ResetParticleState(), SeedRandom(7), snow.Init(viewport, projection);
    }
};

// Flakes start above the scene in a slab 500 wide and deep, by index in 500 layers of depth,
// falling 25 to 49 units a second, white at 60 %; the reversed copy runs backwards.
TEST_F(Snow, FlakesStartAboveTheSceneInLayersOfDepth) {
    ASSERT_EQ(snow.count, 10000u);
    std::multiset<float> layers;
    for (uint32_t i = 0; i < snow.count; ++i) {
        const float* p = snow.positions + 4 * i;
        EXPECT_TRUE(p[0] >= -250 && p[0] <= 249 && p[1] >= 1000 && p[1] <= 1999 && p[3] == 1) << i;
        EXPECT_TRUE(snow.velocities[4 * i + 1] >= -49 && snow.velocities[4 * i + 1] <= -25) << i;
        EXPECT_TRUE(snow.angles[i] >= 0 && snow.angles[i] <= 6.28f && snow.pointScales[i] == 3.5f && snow.colours[4 * i + 3] == 0.6f) << i;
        EXPECT_GE(p[2], i > 0 ? p[-2] : -250.0f) << i;
        layers.insert(p[2]);
        for (int c = 0; c < 4; ++c) EXPECT_EQ(snow.reversedPositions[4 * (snow.count - 1 - i) + c], p[c]);
    }
    EXPECT_EQ(*layers.rbegin(), 249);
    EXPECT_EQ(std::vector<std::size_t>({layers.count(-250), layers.count(0), layers.count(249)}), std::vector<std::size_t>({21, 20, 19}));
}

// An update drops each flake by its speed times the seconds; once per update it sways and
// drifts round an ellipse a sixth across and an eighth deep, at its phase (which grows by the
// seconds), bobs out of step with its neighbours and tumbles with its bob. Below the floor it
// goes back up, anywhere from 500 to 999 units up, to fall faster.
TEST_F(Snow, AnUpdateMovesEveryFlakeByItsPhaseAndTheElapsedTime) {
    const std::vector<float> before(snow.positions, snow.positions + 4 * snow.count), angles(snow.angles, snow.angles + snow.count);
    const std::vector<float> phases(snow.phases, snow.phases + snow.count);
    for (uint32_t i = 0; i < snow.count; i += 10) snow.positions[4 * i + 1] = -600;  // below the floor
    snow.RewindStopwatch(0.75);
    snow.Update();
    float lowest = 1e9f, highest = -1e9f;
    for (uint32_t i = 0; i < snow.count; i += 10) {
        lowest = std::min(lowest, snow.positions[4 * i + 1]), highest = std::max(highest, snow.positions[4 * i + 1]);
        EXPECT_TRUE(snow.velocities[4 * i + 1] >= -59 && snow.velocities[4 * i + 1] <= -35) << snow.velocities[4 * i + 1];
    }
    EXPECT_TRUE(lowest >= 500 && lowest < 510 && highest > 990 && highest <= 999) << lowest << " to " << highest;
    for (uint32_t i = 1; i < snow.count; ++i) {
        if (i % 10 == 0) continue;
        const float* p = snow.positions + 4 * i;
        const double phase = snow.phases[i], dx = p[0] - before[4 * i], dz = p[2] - before[4 * i + 2];
        const double bob = p[1] - before[4 * i + 1] - snow.velocities[4 * i + 1] * 0.75;
        EXPECT_FLOAT_EQ(snow.phases[i], phases[i] + 0.75f);
        EXPECT_NEAR(std::hypot(6 * dx, 8 * dz), 1.0, 2e-3) << i;
        EXPECT_NEAR(std::remainder(std::atan2(8 * dz, 6 * dx) - phase, 2 * M_PI), 0.0, 2e-3) << i;
        EXPECT_NEAR(bob, 0.25 * std::cos(static_cast<float>(phase + 20.0 * i)), 1e-3) << i;
        EXPECT_NEAR(snow.angles[i] - angles[i], 0.3 * bob, 1e-4) << i;
        EXPECT_EQ(snow.reversedAngles[snow.count - 1 - i], snow.angles[i]);
        EXPECT_EQ(snow.reversedPositions[4 * (snow.count - 1 - i) + 1], p[1]);
    }
    EXPECT_LT(snow.reversedPositions[4 * (snow.count - 1) + 1], -500) << "the copy keeps where it fell to";
}

// However long the saver has run, each phase stands where the seconds put it, and a 10 ms tick
// turns it and drops the flakes as in the first minute, the tick that crosses into readings less
// whole turns (a little over an hour in) too. The first update after a rewind moves them by all
// the seconds the stopwatch reads, whatever was read before it (a year, then a month).
TEST_F(Snow, ATickMovesTheFlakesAlikeAfterAMinuteAnHourAMonthAndAYear) {
    for (const double seconds : {60.0, exactSpanSeconds - 0.005, 31'536'000.0, 2'592'000.0}) {
        const std::vector<float> seeded(snow.phases, snow.phases + snow.count);
        snow.RewindStopwatch(seconds);
        snow.Update();
        const std::vector<float> before(snow.phases, snow.phases + snow.count);
        AdvanceFrozenPerformanceCounter(10'000'000);  // 10 ms of the 1 GHz counter
        snow.Update();
        EXPECT_NEAR(snow.deltaTime, 0.01, 1e-4) << seconds;
        double worstStep = 0, worstPhase = 0;
        for (uint32_t i = 0; i < snow.count; ++i) {
            worstStep = std::max(worstStep, std::abs(std::remainder(snow.phases[i] - before[i], 2 * M_PI) - 0.01));
            worstPhase = std::max(worstPhase, std::abs(std::remainder(snow.phases[i] - seeded[i] - seconds - 0.01, 2 * M_PI)));
        }
        // A phase of an hour's radians in single precision resolves a tick to 2.4 %.
        EXPECT_LT(worstStep, seconds < exactSpanSeconds ? 3e-4 : 1e-4) << seconds;
        EXPECT_LT(worstPhase, 1e-3) << seconds;
    }
}

// Two seconds at 25 and at 7 updates a second leave every flake where 100 a second, the 10 ms
// timer the motion was made for, leaves it (nothing falls through the floor meanwhile); a pause
// of three hours then moves the snow on by half a second at most, and puts no flake back up.
TEST_F(Snow, FlakesMoveAlikeAtEveryRateAndGoOnFromWhereTheyWereAfterAPause) {
    const float viewport[2] = {snow.viewportSize[0], snow.viewportSize[1]};
    float projection[16];
    std::copy(snow.projMat, snow.projMat + 16, projection);
    auto after = [&](int64_t stepCounts, int steps) {
        ResetParticleState(), SeedRandom(7), snow.Init(viewport, projection);
        snow.RewindStopwatch(0.0);
        snow.Update();  // placed where the first update after a start places them
        for (int k = 0; k < steps; ++k) AdvanceFrozenPerformanceCounter(stepCounts), snow.Update();
        std::vector<float> moved(snow.positions, snow.positions + 4 * snow.count);
        moved.insert(moved.end(), snow.angles, snow.angles + snow.count);
        return moved;
    };
    const std::vector<float> reference = after(10'000'000, 200);
    for (const auto& [stepCounts, steps] : {std::pair<int64_t, int>{40'000'000, 50}, {142'857'143, 14}}) {
        const std::vector<float> moved = after(stepCounts, steps);
        float farthest = 0;
        for (std::size_t i = 0; i < moved.size(); ++i) farthest = std::max(farthest, std::abs(moved[i] - reference[i]));
        EXPECT_LT(farthest, 0.3f) << steps << " updates in two seconds";
    }
    const std::vector<float> before(snow.positions, snow.positions + 4 * snow.count);
    AdvanceFrozenPerformanceCounter(3 * 3600 * 1'000'000'000LL);
    snow.Update();
    EXPECT_EQ(snow.deltaTime, 0.5f);
    int farFlung = 0;  // half a second's fall and a bob's whole height, a sway's and a drift's width
    for (uint32_t i = 0; i < snow.count; ++i) {
        farFlung += std::abs(snow.positions[4 * i + 1] - before[4 * i + 1]) > 0.5f * 49 + 51 ||
                    std::hypot(snow.positions[4 * i] - before[4 * i], snow.positions[4 * i + 2] - before[4 * i + 2]) > 40;
    }
    EXPECT_EQ(farFlung, 0);
}

TEST_F(Snow, ReleasingLeavesNothingAndTheProgramIsMadeOncePerProcess) {
    const uint32_t program = pointSpriteObjects.pointSpriteProgram, texture = pointSpriteObjects.snowTexture;
    snow.Release();
    snow.Update();  // nothing to move, nothing touched
    EXPECT_TRUE(snow.count == 0 && snow.positions == nullptr && snow.reversedAngles == nullptr);
    snow.Init(snow.viewportSize, snow.projMat);
    EXPECT_TRUE(program != 0 && pointSpriteObjects.pointSpriteProgram == program && pointSpriteObjects.snowTexture == texture);
}

}  // namespace
