// The loaders against a real OpenGL (Mesa, headless): what they leave in the context. Crafted
// resources sit right before an unreadable page, so a read past one faults, in GLU as well.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "apps/egl_context.h"
#include "crafted_images.h"
#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "gfx/resource_loaders.h"
#include "gfx/texture_image.h"
#include "platform/platform_posix_control.h"

namespace {

// Resource identifiers the module does not use, for crafted resources.
constexpr int kGoodVertex = 901, kGoodFragment = 902, kBadVertex = 903, kBadFragment = 904,
              kFragmentWithoutMain = 905, kMissingShader = 906;
constexpr int kCraftedBitmap = 911, kSnowflake = 148;

const char* const kGoodVertexText = "void main()\r\n{\r\n    gl_Position = ftransform();\r\n}\r\n";
const char* const kGoodFragmentText = "void main()\r\n{\r\n    gl_FragColor = vec4(1.0, 0.5, 0.25, 1.0);\r\n}\r\n";
const char* const kBadVertexText = "void main()\r\n{\r\n    gl_Position = ;\r\n}\r\n";
const char* const kBadFragmentText = "void main()\r\n{\r\n    gl_FragColor = notDeclaredAnywhere;\r\n}\r\n";
const char* const kFragmentWithoutMainText = "vec4 Shade()\r\n{\r\n    return vec4(1.0);\r\n}\r\n";

// The handles the loader creates, seen by wrapping the loaded entry points.
std::vector<GLhandleARB> createdShaders;
std::vector<GLhandleARB> createdPrograms;
PFNGLCREATESHADEROBJECTARBPROC realCreateShader = nullptr;
PFNGLCREATEPROGRAMOBJECTARBPROC realCreateProgram = nullptr;

GLhandleARB GLAD_API_PTR RecordingCreateShader(GLenum type) {
    const GLhandleARB shader = realCreateShader(type);
    createdShaders.push_back(shader);
    return shader;
}

GLhandleARB GLAD_API_PTR RecordingCreateProgram() {
    const GLhandleARB program = realCreateProgram();
    createdPrograms.push_back(program);
    return program;
}

class LoadersOnRealGl : public testing::Test {
protected:
    static void SetUpTestSuite() {
        context = std::make_unique<OffscreenContext>();
        contextMade = context->Create(16, 16);
    }
    static void TearDownTestSuite() { context.reset(); }

    void SetUp() override {
        ASSERT_TRUE(contextMade) << context->error();
        ASSERT_TRUE(glCapabilities.shaderObjects) << "Mesa offers ARB shader objects";
        savedCapabilities = glCapabilities;
        realCreateShader = glad_glCreateShaderObjectARB;
        realCreateProgram = glad_glCreateProgramObjectARB;
        glad_glCreateShaderObjectARB = RecordingCreateShader;
        glad_glCreateProgramObjectARB = RecordingCreateProgram;
        createdShaders.clear();
        createdPrograms.clear();
        Override("SHADER", kGoodVertex, kGoodVertexText);
        Override("SHADER", kGoodFragment, kGoodFragmentText);
        Override("SHADER", kBadVertex, kBadVertexText);
        Override("SHADER", kBadFragment, kBadFragmentText);
        Override("SHADER", kFragmentWithoutMain, kFragmentWithoutMainText);
        OverrideModuleResource("SHADER", kMissingShader, nullptr, 0);
        while (glGetError() != GL_NO_ERROR) {
        }
    }

    void TearDown() override {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        glad_glCreateShaderObjectARB = realCreateShader;
        glad_glCreateProgramObjectARB = realCreateProgram;
        glCapabilities = savedCapabilities;
        ClearModuleResourceOverrides();
        for (GLuint texture : textures) glDeleteTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    // Makes the bytes resource (type, id), kept in an unreadable page's neighbourhood.
    void Override(const char* type, int id, const std::vector<unsigned char>& bytes) {
        resources.push_back(std::make_unique<GuardedBytes>(bytes));
        OverrideModuleResource(type, id, resources.back()->data(), resources.back()->size());
    }
    void Override(const char* type, int id, const std::string& text) {
        Override(type, id, std::vector<unsigned char>(text.begin(), text.end()));
    }

    GLuint BindNewTexture() {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        textures.push_back(texture);
        return texture;
    }

    static std::unique_ptr<OffscreenContext> context;
    static bool contextMade;
    GlCapabilities savedCapabilities{};
    std::vector<std::unique_ptr<GuardedBytes>> resources;
    std::vector<GLuint> textures;
};

std::unique_ptr<OffscreenContext> LoadersOnRealGl::context;
bool LoadersOnRealGl::contextMade = false;

GLint ShaderParameter(GLhandleARB object, GLenum name) {
    GLint value = -1;
    glGetObjectParameterivARB(object, name, &value);
    return value;
}

void ExpectNoObjectLeft() {
    for (GLhandleARB shader : createdShaders) EXPECT_FALSE(glIsShader(shader)) << "shader " << shader;
    for (GLhandleARB program : createdPrograms) EXPECT_FALSE(glIsProgram(program)) << "program " << program;
}

GLint TextureParameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

GLint LevelParameter(int level, GLenum name) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

// Every level from the first down to 1x1 halves the one before, and nothing lies below 1x1.
void ExpectFullMipChain() {
    int level = 0;
    int width = LevelParameter(0, GL_TEXTURE_WIDTH);
    int height = LevelParameter(0, GL_TEXTURE_HEIGHT);
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    while (width > 1 || height > 1) {
        ++level;
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
        ASSERT_EQ(LevelParameter(level, GL_TEXTURE_WIDTH), width) << "level " << level;
        ASSERT_EQ(LevelParameter(level, GL_TEXTURE_HEIGHT), height) << "level " << level;
    }
    EXPECT_EQ(LevelParameter(level + 1, GL_TEXTURE_WIDTH), 0);
}

void ExpectLoaderSampling() {
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
}

// A texture that no loader touched: no image and the default sampling.
void ExpectUntouchedTexture() {
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST_MIPMAP_LINEAR);
    EXPECT_EQ(TextureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
}

std::vector<Rgba> ReadFirstLevel(int width, int height) {
    std::vector<Rgba> texels(static_cast<std::size_t>(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

// ---- shader programs ----

TEST_F(LoadersOnRealGl, AGoodPairLinksAndOnlyTheProgramStays) {
    const uint32_t program = LoadShaderProgram(kGoodVertex, kGoodFragment);
    ASSERT_NE(program, 0u);
    ASSERT_EQ(createdPrograms.size(), 1u);
    EXPECT_EQ(program, createdPrograms[0]);
    EXPECT_EQ(ShaderParameter(program, GL_OBJECT_LINK_STATUS_ARB), GL_TRUE);
    EXPECT_EQ(ShaderParameter(program, GL_OBJECT_ATTACHED_OBJECTS_ARB), 2);
    ASSERT_EQ(createdShaders.size(), 2u);
    EXPECT_EQ(ShaderParameter(createdShaders[0], GL_OBJECT_SUBTYPE_ARB), GL_VERTEX_SHADER_ARB);
    EXPECT_EQ(ShaderParameter(createdShaders[1], GL_OBJECT_SUBTYPE_ARB), GL_FRAGMENT_SHADER_ARB);
    // Both shaders are already deleted; they live on only while attached.
    for (GLhandleARB shader : createdShaders) EXPECT_EQ(ShaderParameter(shader, GL_OBJECT_DELETE_STATUS_ARB), GL_TRUE);

    glDeleteObjectARB(program);
    ExpectNoObjectLeft();
}

TEST_F(LoadersOnRealGl, AShaderThatDoesNotCompileLeavesNothingBehind) {
    EXPECT_EQ(LoadShaderProgram(kGoodVertex, kBadFragment), 0u);
    EXPECT_EQ(createdShaders.size(), 2u);
    EXPECT_TRUE(createdPrograms.empty());
    ExpectNoObjectLeft();

    createdShaders.clear();
    EXPECT_EQ(LoadShaderProgram(kBadVertex, kGoodFragment), 0u);
    EXPECT_EQ(createdShaders.size(), 2u);
    EXPECT_TRUE(createdPrograms.empty());
    ExpectNoObjectLeft();
}

TEST_F(LoadersOnRealGl, AMissingSourceLeavesNothingBehind) {
    EXPECT_EQ(LoadShaderProgram(kGoodVertex, kMissingShader), 0u);
    EXPECT_EQ(LoadShaderProgram(kMissingShader, kGoodFragment), 0u);
    EXPECT_EQ(LoadShaderProgram(kGoodVertex, 999), 0u);  // never embedded
    EXPECT_EQ(createdShaders.size(), 6u);
    EXPECT_TRUE(createdPrograms.empty());
    ExpectNoObjectLeft();
}

TEST_F(LoadersOnRealGl, AProgramThatDoesNotLinkIsNotHandedOut) {
    EXPECT_EQ(LoadShaderProgram(kGoodVertex, kFragmentWithoutMain), 0u);
    ASSERT_EQ(createdPrograms.size(), 1u);
    ExpectNoObjectLeft();
}

TEST_F(LoadersOnRealGl, WithoutShaderObjectsNothingIsCalled) {
    glCapabilities.shaderObjects = false;
    EXPECT_EQ(LoadShaderProgram(kGoodVertex, kGoodFragment), 0u);
    EXPECT_FALSE(LoadShaderSource(kGoodVertex, 0));
    EXPECT_TRUE(createdShaders.empty());
    EXPECT_TRUE(createdPrograms.empty());
}

TEST_F(LoadersOnRealGl, ShaderSourceIsTheWholeTextEachTime) {
    const std::string text = kGoodFragmentText;
    for (int load = 0; load < 2; ++load) {
        SCOPED_TRACE(load);
        const GLhandleARB shader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
        ASSERT_TRUE(LoadShaderSource(kGoodFragment, shader));
        std::vector<GLcharARB> source(text.size() + 16, '\0');
        GLsizei length = 0;
        glGetShaderSourceARB(shader, static_cast<GLsizei>(source.size()), &length, source.data());
        EXPECT_EQ(std::string(source.data(), length), text);
        glDeleteObjectARB(shader);
    }

    const GLhandleARB shader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    EXPECT_FALSE(LoadShaderSource(kMissingShader, shader));
    EXPECT_EQ(ShaderParameter(shader, GL_OBJECT_SHADER_SOURCE_LENGTH_ARB), 0);
    glDeleteObjectARB(shader);
}

TEST_F(LoadersOnRealGl, TheModulesOwnProgramsLink) {
    // Vertex and fragment resources of the point sprites, the lit textures and per-pixel lighting.
    for (const auto& [vertex, fragment] : {std::pair{158, 157}, std::pair{153, 152}, std::pair{151, 150}}) {
        const uint32_t program = LoadShaderProgram(vertex, fragment);
        EXPECT_NE(program, 0u) << "vertex " << vertex << ", fragment " << fragment;
        glDeleteObjectARB(program);
    }
    ExpectNoObjectLeft();
}

// ---- textures ----

TEST_F(LoadersOnRealGl, ABitmapBecomesAMipMappedTextureWithItsColours) {
    // Two pixels a row: 6 bytes padded to 8. Stored bottom-up and top-down, the same picture.
    for (int storedHeight : {4, -4}) {
        SCOPED_TRACE(storedHeight);
        Override("BITMAP", kCraftedBitmap, CraftBitmap(2, storedHeight));
        BindNewTexture();
        LoadBmpTexture(kCraftedBitmap);

        ASSERT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 2);
        ASSERT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 4);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
        const std::vector<Rgba> texels = ReadFirstLevel(2, 4);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 2; ++x) EXPECT_EQ(texels[y * 2 + x], PixelColour(x, y)) << x << "," << y;
        }
        ExpectFullMipChain();
        ExpectLoaderSampling();
    }
}

TEST_F(LoadersOnRealGl, SidesThatAreNoPowerOfTwoAreAccepted) {
    for (int side : {3, 780}) {
        SCOPED_TRACE(side);
        Override("BITMAP", kCraftedBitmap, CraftBitmap(side, side == 3 ? 5 : side));
        BindNewTexture();
        LoadBmpTexture(kCraftedBitmap);
        ExpectFullMipChain();
        ExpectLoaderSampling();
    }
}

TEST_F(LoadersOnRealGl, TheSnowflakeKeepsItsAlpha) {
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown);
        Override("TGA", kSnowflake, CraftTga(4, 2, topDown));
        BindNewTexture();
        LoadTgaTexture();

        ASSERT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 4);
        ASSERT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 2);
        EXPECT_EQ(LevelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
        const std::vector<Rgba> texels = ReadFirstLevel(4, 2);
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 4; ++x) EXPECT_EQ(texels[y * 4 + x], PixelColourWithAlpha(x, y)) << x << "," << y;
        }
        ExpectFullMipChain();
        ExpectLoaderSampling();
    }
    Override("TGA", kSnowflake, CraftTga(512, 512));
    BindNewTexture();
    LoadTgaTexture();
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 512);
    ExpectFullMipChain();
}

TEST_F(LoadersOnRealGl, TheModulesOwnImagesLoad) {
    // The dial, the six sky faces and the metal, with the sides they are drawn at.
    const std::pair<int, int> bitmaps[] = {{104, 780}, {105, 600}, {106, 600}, {107, 512},
                                           {108, 600}, {109, 600}, {110, 600}, {111, 600}};
    for (const auto& [id, side] : bitmaps) {
        SCOPED_TRACE(id);
        const ResourceBytes resource = FindModuleResource("BITMAP", id);
        const std::optional<TextureImage> image = ReadBitmapImage(resource.data, resource.size);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, side);
        EXPECT_EQ(image->height, side);
        BindNewTexture();
        LoadBmpTexture(id);
        ExpectFullMipChain();
        ExpectLoaderSampling();
    }
    EXPECT_EQ(FindModuleResource("TGA", kSnowflake).size, 18u + 512 * 512 * 4);
    BindNewTexture();
    LoadTgaTexture();
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_HEIGHT), 512);
    ExpectFullMipChain();
}

TEST_F(LoadersOnRealGl, OnlyTheBoundTextureChanges) {
    const GLuint other = BindNewTexture();
    Override("BITMAP", kCraftedBitmap, CraftBitmap(2, 2));
    BindNewTexture();
    LoadBmpTexture(kCraftedBitmap);
    glBindTexture(GL_TEXTURE_2D, other);
    ExpectUntouchedTexture();

    // With no texture bound, the default texture takes the image.
    glBindTexture(GL_TEXTURE_2D, 0);
    LoadBmpTexture(kCraftedBitmap);
    EXPECT_EQ(LevelParameter(0, GL_TEXTURE_WIDTH), 2);
    ExpectLoaderSampling();
}

}  // namespace
