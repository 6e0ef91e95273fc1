// What the set-up leaves in the context, and whole frames judged by what a person sees.
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include "gfx/gl_capabilities.h"
#include "gfx/resource_loaders.h"
#include "gl_scene.h"
#include "particles/particle_snow.h"
#include "platform/platform_posix_control.h"
#include "platform/random.h"
#include "scene/draw_scene.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"
#include "scene/sky_box_faces.h"
#include "tests/support/temporary_directory.h"

namespace {

// The camera stands 17 units before the dial and sees 35 degrees from bottom to top, so the
// dial's radius of 5 covers this many pixels.
const double kDialPixels = kFrameHeight / 2.0 * 5.0 / (17.0 * std::tan(17.5 * M_PI / 180.0));
const double kDomePixels = kDialPixels * 5.1 / 5.0;

TEST(SetUp, LightsAndHowTexturesAreSampled) {
    float value[4] = {};
    for (const GLenum light : {GL_LIGHT0, GL_LIGHT1}) {
        for (const auto& [parameter, level] : {std::pair{GL_AMBIENT, 0.1f}, {GL_DIFFUSE, 1.0f}, {GL_SPECULAR, 1.0f}}) {
            glGetLightfv(light, parameter, value);
            EXPECT_EQ(std::vector<float>(value, value + 4), std::vector<float>({level, level, level, 0})) << light << ", " << parameter;
        }
    }
    glGetLightfv(GL_LIGHT1, GL_POSITION, value);
    EXPECT_EQ(std::vector<float>(value, value + 4), std::vector<float>({0, 0, 0, 1})) << "light 1 at the eye";
    for (const auto& [parameter, factor] : {std::pair{GL_CONSTANT_ATTENUATION, 1.0f}, {GL_LINEAR_ATTENUATION, 0.0f}, {GL_QUADRATIC_ATTENUATION, 0.0f}}) {
        glGetLightfv(GL_LIGHT0, parameter, value);
        EXPECT_EQ(value[0], factor);
    }
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, value);
    EXPECT_EQ(std::vector<float>(value, value + 4), std::vector<float>(4, 0.0f));
    GLint state = 0;
    for (const auto& [name, expected] : {std::pair{GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE}, {GL_COLOR_MATERIAL_FACE, GL_FRONT_AND_BACK},
                                         {GL_COLOR_MATERIAL_PARAMETER, GL_AMBIENT_AND_DIFFUSE}}) {
        glGetIntegerv(name, &state);
        EXPECT_EQ(state, expected) << std::hex << name;
    }
    // The reflection is smooth and clamped; the images are mip-mapped, smooth and clamped.
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
    glBindTexture(GL_TEXTURE_2D, sceneObjects.sceneTextures[dialTexture]);
    for (const GLenum target : {GL_TEXTURE_CUBE_MAP, GL_TEXTURE_2D}) {
        for (const GLenum parameter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
            glGetTexParameteriv(target, parameter, &state);
            const GLint smooth = parameter == GL_TEXTURE_MIN_FILTER && target == GL_TEXTURE_2D ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR;
            EXPECT_EQ(state, parameter == GL_TEXTURE_MIN_FILTER || parameter == GL_TEXTURE_MAG_FILTER ? smooth : GL_CLAMP_TO_EDGE) << std::hex << parameter;
        }
    }
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, &state);
    EXPECT_EQ(state, GL_CLAMP_TO_EDGE);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 10, GL_TEXTURE_WIDTH, &state);
    EXPECT_EQ(state, 1) << "the dial's mip-maps";
}

using Colours = std::vector<std::array<unsigned char, 3>>;

void FillCubeFaces(const Colours& colours) {
    std::vector<unsigned char> texels(static_cast<std::size_t>(sceneObjects.environmentFaceSize) * sceneObjects.environmentFaceSize * 3);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int face = 0; face < 6; ++face) {
        for (std::size_t i = 0; i < texels.size(); ++i) texels[i] = colours[face][i % 3];
        glTexSubImage2D(cubeMapFaceTargets[face], 0, 0, 0, sceneObjects.environmentFaceSize, sceneObjects.environmentFaceSize, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    }
}

// Mid-dome the surface faces the camera and mirrors what is behind the viewer (the -Z face) over
// the dial at half opacity. Beyond the dial's edge, where no dial hides the far side, far side
// and then near side each lay it over the sky at half opacity: three quarters show.
TEST(Frame, TheDomeMirrorsWhatIsBehindTheViewerAtHalfOpacity) {
    Image frames[3];
    const Restored<SceneObjects> restored(sceneObjects);
    sceneObjects.environmentFramebufferUsable = false;  // the frames keep the faces as filled here
    const std::array<unsigned char, 3> black{}, grey{200, 200, 200}, green{0, 90, 0}, red{200, 0, 0};
    for (const int i : {0, 1, 2}) {
        FillCubeFaces(i == 0 ? Colours(6, black) : i == 1 ? Colours{green, green, green, green, red, green} : Colours(6, grey));
        RenderFrameAt({10, 9, 30, 0}, 3.0);
        frames[i] = ReadImage();
    }
    auto change = [&](int frame, double radius, double degrees, int channel) {
        const int x = static_cast<int>(std::lround(kFrameWidth / 2.0 + radius * std::cos(degrees * M_PI / 180)));
        const int y = static_cast<int>(std::lround(kFrameHeight / 2.0 + radius * std::sin(degrees * M_PI / 180)));
        return frames[frame].At(x, y)[channel] - frames[0].At(x, y)[channel];
    };
    for (const double degrees : {40.0, 120.0, 215.0, 300.0}) {
        EXPECT_NEAR(change(1, kDialPixels * 0.6, degrees, 0), 100, 3) << degrees;
        EXPECT_NEAR(change(1, kDialPixels * 0.6, degrees, 1), 0, 3) << degrees;
        int rim = 0;
        for (double r = kDialPixels - 4; r < kDomePixels + 2; r += 0.5) rim = std::max(rim, change(2, r, degrees, 1));
        EXPECT_NEAR(rim, 150, 4) << degrees;
    }
}

// The view from the dome's centre along `d`, 20 degrees wide: of the scene, or of the cube map
// on a sphere round the eye, each point showing the map in its direction.
// A square viewport of `side` pixels and a camera at the dome's centre looking along d, `degrees` wide.
void LookFromDomeCentre(const Vector3d& d, const Vector3d& up, double degrees, double zNear, int side) {
    glViewport(0, 0, side, side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(degrees, 1, zNear, 100000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(domeCentre[0], domeCentre[1], domeCentre[2], domeCentre[0] + d.x, domeCentre[1] + d.y, domeCentre[2] + d.z,
              up.x, up.y, up.z);
}

Image ViewFromDomeCentre(const Vector3d& d, bool ofCubeMap) {
    LookFromDomeCentre(d, {0, 0, 1}, 20, 0.1, 200);
    if (ofCubeMap) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glUseProgramObjectARB(0);
        for (const GLenum off : {GL_LIGHTING, GL_CULL_FACE, GL_TEXTURE_2D}) glDisable(off);
        glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        const float depth[4] = {0, 0, 1, 0};  // s and t follow x and y as they are
        glTexGenfv(GL_R, GL_OBJECT_PLANE, depth);
        for (const GLenum coordinate : {GL_S, GL_T, GL_R}) glTexGeni(coordinate, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
        for (const GLenum on : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_CUBE_MAP}) glEnable(on);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glTranslatef(domeCentre[0], domeCentre[1], domeCentre[2]);
        gluSphere(sceneObjects.sceneQuadric, 1, 48, 24);
        glPopAttrib();
    } else {
        DrawScene(true, CurrentCamera());
    }
    return ReadImage(200, 200);
}

// Each face of the cube map shows, the right way up, what the scene shows that way from the
// dome's centre, by OpenGL's lookup. The sky gets images that tell directions apart; the views
// avoid the machinery, lit differently for each way the camera faces.
TEST(Frame, TheCubeMapHoldsTheSceneAroundTheDomesCentre) {
    const Restored<GlCapabilities> restored(glCapabilities);
    glCapabilities.packedDepthStencil = false;  // every texel of every face drawn
    SetUpScene();
    for (const SkyBoxFace& face : skyBoxFaces) {
        std::vector<unsigned char> texels;
        for (int i = 0; i < 64 * 64; ++i) texels.insert(texels.end(), {static_cast<unsigned char>(i % 64 * 4), static_cast<unsigned char>(i / 64 * 4),
                                                                        static_cast<unsigned char>(40 * face.textureIndex)});
        glBindTexture(GL_TEXTURE_2D, sceneObjects.sceneTextures[face.textureIndex]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    }
    KeepEnvironmentSky();
    RenderFixedEnvironmentFace();
    RenderFrameAt({10, 9, 30, 0}, 3.0);
    for (int axis = 0; axis < 6; ++axis) {
        double c[3];
        c[axis % 3] = axis < 3 ? 1 : -1, c[(axis + 1) % 3] = 0.55, c[(axis + 2) % 3] = -0.6;
        const Image scene = ViewFromDomeCentre({c[0], c[1], c[2]}, false), cube = ViewFromDomeCentre({c[0], c[1], c[2]}, true);
        double difference = 0;
        for (std::size_t i = 0; i < scene.rgba.size(); ++i) difference += std::abs(scene.rgba[i] - cube.rgba[i]);
        EXPECT_LT(difference / scene.rgba.size(), 3.0) << "looking along " << c[0] << ", " << c[1] << ", " << c[2];
    }
    for (const SkyBoxFace& face : skyBoxFaces) {
        glBindTexture(GL_TEXTURE_2D, sceneObjects.sceneTextures[face.textureIndex]);
        LoadBmpTexture(face.bitmapId);
    }
    SetUpScene();
}

// The sky's images meet as the one night sky they were painted from across each of the twelve
// edges of its box, seen from the dome's centre (the left and right faces only ever show in the
// dome): along the edge the image changes no more than beside it. An image on the wrong face
// would not meet its neighbours.
TEST(Frame, TheSkyMeetsItselfAcrossEveryEdgeOfItsBox) {
    const Vector3d axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int a = 0; a < 3; ++a) {
        for (int b = a + 1; b < 3; ++b) {
            for (const double sa : {-1.0, 1.0}) {
                for (const double sb : {-1.0, 1.0}) {
                    // Looking at the edge's middle with the third axis up, the edge is the middle column.
                    const Vector3d d = axes[a] * sa + axes[b] * sb, up = axes[3 - a - b];
                    LookFromDomeCentre(d, up, 10, 1, 64);
                    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
                    DrawSky();
                    const Image image = ReadImage(64, 64);
                    auto step = [&image](int column) {
                        double sum = 0;
                        for (int y = 0; y < 64; ++y) {
                            for (int c = 0; c < 3; ++c) sum += std::abs(image.At(column, y)[c] - image.At(column + 1, y)[c]);
                        }
                        return sum / 64;
                    };
                    const double beside = (step(27) + step(29) + step(33) + step(35)) / 4;
                    EXPECT_LT(step(31), 2 * beside + 3) << "edge towards " << d.x << ", " << d.y << ", " << d.z;
                }
            }
        }
    }
    SetUpScene();
}

// How many pixels differ between two frames, and how far from the middle the farthest lies.
std::pair<int, double> Changed(const Image& a, const Image& b) {
    std::pair<int, double> changed{0, 0.0};
    for (int i = 0; i < a.width * a.height; ++i) {
        const unsigned char *p = &a.rgba[4 * i], *q = &b.rgba[4 * i];
        if (std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) < 4) continue;
        ++changed.first;
        changed.second = std::max(changed.second, std::hypot(i % a.width + 0.5 - a.width / 2.0, i / a.width + 0.5 - a.height / 2.0));
    }
    return changed;
}

// No pixel shows the red the frame is cleared with, and the hour hand is black on the dial.
void ExpectSkyAllRoundAndTheClockAtThree(const Image& frame) {
    int red = 0, right = 0, left = 0;
    for (std::size_t i = 0; i < frame.rgba.size(); i += 4) red += frame.rgba[i] > 200 && frame.rgba[i + 1] < 40 && frame.rgba[i + 2] < 40;
    EXPECT_EQ(red, 0) << "the clear colour shows";
    for (int r = static_cast<int>(kDialPixels * 0.25); r < kDialPixels * 0.55; ++r) {
        right += frame.At(kFrameWidth / 2 + r, kFrameHeight / 2)[1];
        left += frame.At(kFrameWidth / 2 - r, kFrameHeight / 2)[1];
    }
    EXPECT_LT(right * 3, left) << "no black hour hand pointing right at three";
}

// The machinery is seen, and moves, only in the dome; the snow falls all over the view.
TEST(Frame, TheClockworkMovesOnlyInTheDomeAndTheSnowEverywhere) {
    RenderFrameAt({3, 0, 0, 0}, 1.0);
    const Image first = ReadImage();
    ExpectSkyAllRoundAndTheClockAtThree(first);
    RenderFrameAt({3, 0, 0, 0}, 2.7);
    const auto [pixels, farthest] = Changed(first, ReadImage());
    EXPECT_GT(pixels, 200) << "the machinery stood still in the reflection";
    EXPECT_LT(farthest, kDomePixels + 1.5);
    RenderFrameAt({4, 20, 0, 0}, 2.7, 40.0);
    EXPECT_GT(Changed(first, ReadImage()).second, kDomePixels * 1.3) << "no snow outside the dome";
}

// Without framebuffer objects the reflection stays as made; without shader objects too the
// fixed-function pipeline lights the scene, and nothing the context simply lacks is reported.
TEST(Frame, ContextsWithoutFramebufferOrShaderObjectsStillShowTheClockOverTheSky) {
    for (const bool shaders : {true, false}) {
        const Restored<GlCapabilities> restored(glCapabilities);
        SCOPED_TRACE(shaders ? "without framebuffer objects" : "without shader objects either");
        glCapabilities.framebufferObjects = false;
        glCapabilities.shaderObjects = glCapabilities.shaderPrograms20 = shaders;
        ClearShownErrorMessages();
        SetUpScene();
        EXPECT_FALSE(sceneObjects.environmentFramebufferUsable);
        EXPECT_EQ(sceneObjects.litTexturedProgram != 0 && sceneObjects.pixelLightingProgram != 0 && pointSpriteObjects.pointSpriteProgram != 0, shaders);
        EXPECT_TRUE(ShownErrorMessages().empty());
        RenderFrameAt({3, 0, 0, 0}, 1.0);
        ExpectSkyAllRoundAndTheClockAtThree(ReadImage());
    }
    SetUpScene();
    EXPECT_TRUE(sceneObjects.environmentFramebufferUsable);
}

// Mesa cuts a context down to a version and to the extensions of a year, read once per process:
// each context is this test run alone in a child with Mesa's variables set. There the context
// lacks what it should, and the scene goes without it and still shows the clock over the sky.
TEST(Frame, CutDownContextsLackWhatTheyShouldAndStillShowTheClockOverTheSky) {
    const struct {
        const char *version, *year;
        bool cubeMaps, shaderObjects, framebufferObjects;
    } contexts[] = {{"1.1", "1998", false, false, false}, {"1.4", "1999", true, false, false}, {"2.1", "2006", true, true, true}};
    if (const char* child = std::getenv("VINTREL_CUT_DOWN_CONTEXT")) {
        const auto& c = contexts[std::atoi(child)];
        const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        const std::string extensions = " " + std::string(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS))) + " ";
        auto offers = [&](const std::string& name) { return extensions.find(" " + name + " ") != std::string::npos; };
        EXPECT_EQ(version.substr(0, 4), std::string(c.version) + " ");
        EXPECT_EQ(offers("GL_ARB_texture_cube_map"), c.cubeMaps);
        EXPECT_EQ(offers("GL_ARB_shader_objects"), c.shaderObjects);
        EXPECT_EQ(offers("GL_EXT_framebuffer_object"), c.framebufferObjects);
        EXPECT_TRUE(glCapabilities.cubeMaps == c.cubeMaps && glCapabilities.shaderObjects == c.shaderObjects &&
                    glCapabilities.framebufferObjects == c.framebufferObjects && glCapabilities.pointSprites == c.shaderObjects);
        EXPECT_EQ(sceneObjects.environmentFramebufferUsable, c.framebufferObjects);
        EXPECT_EQ(sceneObjects.litTexturedProgram != 0 && sceneObjects.pixelLightingProgram != 0, c.shaderObjects);
        RenderFrameAt({3, 0, 0, 0}, 1.0);
        ExpectSkyAllRoundAndTheClockAtThree(ReadImage());
        return;
    }
    FILE* children[3];  // run side by side, each writing where this program writes
    for (int i = 0; i < 3; ++i) {
        const std::string command = "VINTREL_CUT_DOWN_CONTEXT=" + std::to_string(i) + " MESA_GL_VERSION_OVERRIDE=" +
                                    contexts[i].version + " MESA_EXTENSION_MAX_YEAR=" + contexts[i].year + " " +
                                    std::filesystem::read_symlink("/proc/self/exe").string() +
                                    " --gtest_brief=1 --gtest_filter=Frame.CutDownContexts*";
        ASSERT_NE(children[i] = popen(command.c_str(), "w"), nullptr);
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pclose(children[i]), 0) << "OpenGL " << contexts[i].version;
}

// A framebuffer object the driver finds incomplete (here its depth buffer is given a colour
// format) renders no reflection: the faces hold the night's blue, not what the memory held.
PFNGLRENDERBUFFERSTORAGEEXTPROC driverRenderbufferStorage;
void GLAD_API_PTR ColourDepthBufferStorage(GLenum target, GLenum, GLsizei width, GLsizei height) {
    driverRenderbufferStorage(target, GL_RGBA8, width, height);
}

TEST(Frame, AnIncompleteFramebufferLeavesTheFacesNightBlue) {
    driverRenderbufferStorage = std::exchange(glad_glRenderbufferStorageEXT, ColourDepthBufferStorage);
    SetUpScene();
    glad_glRenderbufferStorageEXT = driverRenderbufferStorage;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, sceneObjects.environmentFramebuffer);
    EXPECT_NE(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    EXPECT_FALSE(sceneObjects.environmentFramebufferUsable);
    std::vector<unsigned char> texels(static_cast<std::size_t>(sceneObjects.environmentFaceSize) * sceneObjects.environmentFaceSize * 3);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sceneObjects.environmentCubeMap);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (const uint32_t face : cubeMapFaceTargets) {
        glGetTexImage(face, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_TRUE(texels[2] > texels[0] && texels[2] > texels[1]) << "face " << face << " is not blue";
        std::size_t unlike = 0;
        for (std::size_t i = 3; i < texels.size(); i += 3) unlike += !std::equal(&texels[i], &texels[i + 3], &texels[0]);
        EXPECT_EQ(unlike, 0u) << face;
    }
    SetUpScene();
}

// vintrel-render exits 0 (leaks checked) and writes the frame its inputs give here.
TEST(Frame, VintrelRenderWritesTheFrameOfItsOptions) {
    const std::string path = TemporaryDirectory() + "/vintrel-render-test.png";
    const std::string command = std::string(VINTREL_RENDER) + " --size 320x240 --time 07:45:10.500 --clock 12 --snow-clock 35 --seed 7 --out " + path;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, path.c_str()));
    png.format = PNG_FORMAT_RGBA;
    Image written{static_cast<int>(png.width), static_cast<int>(png.height), std::vector<unsigned char>(PNG_IMAGE_SIZE(png))};
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, written.rgba.data(), -static_cast<png_int_32>(png.width * 4), nullptr));
    std::remove(path.c_str());
    ASSERT_EQ(written.width * 1000 + written.height, kFrameWidth * 1000 + kFrameHeight);

    // The same snow: seeded alike and updated once, after all the seconds on its stopwatch.
    float viewport[2] = {kFrameWidth, kFrameHeight}, projection[16];
    std::copy(snow.projMat, snow.projMat + 16, projection);
    ResetParticleState();
    SeedRandom(7);
    snow.Init(viewport, projection);
    RenderFrameAt({7, 45, 10, 500}, 12.0, 35.0);
    EXPECT_EQ(Changed(ReadImage(), written).first, 0);
}

}  // namespace
