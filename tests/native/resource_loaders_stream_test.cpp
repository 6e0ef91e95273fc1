// The OpenGL commands the loaders issue, in order and with their arguments.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "crafted_images.h"
#include "gfx/gl.h"
#include "gfx/resource_loaders.h"
#include "platform/platform_posix_control.h"
#include "tests/support/gl_recorder.h"

namespace {

constexpr int kVertex = 921, kFragment = 922, kMissing = 923, kBitmap = 924, kSnowflake = 148;
const std::string kVertexText = "void main()\r\n{\r\n    gl_Position = ftransform();\r\n}\r\n";
const std::string kFragmentText = "void main()\r\n{\r\n    gl_FragColor = vec4(1.0);\r\n}\r\n";

class LoaderCommands : public testing::Test {
protected:
    void SetUp() override {
        Override("SHADER", kVertex, std::vector<unsigned char>(kVertexText.begin(), kVertexText.end()));
        Override("SHADER", kFragment, std::vector<unsigned char>(kFragmentText.begin(), kFragmentText.end()));
        OverrideModuleResource("SHADER", kMissing, nullptr, 0);
    }
    void TearDown() override {
        ClearModuleResourceOverrides();
        SetResourceModuleAvailable(true);
        ClearShownErrorMessages();
    }

    void Override(const char* type, int id, const std::vector<unsigned char>& bytes) {
        resources.push_back(std::make_unique<GuardedBytes>(bytes));
        OverrideModuleResource(type, id, resources.back()->data(), resources.back()->size());
    }

    // The calls with the first argument of each, for order checks that name the objects.
    std::vector<std::string> NamesWithFirstArgument() const {
        std::vector<std::string> names;
        for (const GlCall& call : gl.Calls()) {
            names.push_back(call.args.empty() ? call.name : call.name + " " + std::to_string(int64_t(call.Arg(0))));
        }
        return names;
    }

    GlRecorder gl;
    std::vector<std::unique_ptr<GuardedBytes>> resources;
};

// Vertex shader 1, fragment shader 2 and program 3: the recorder numbers objects from 1.
TEST_F(LoaderCommands, AProgramIsBuiltInTheOrderOfItsSteps) {
    const uint32_t program = LoadShaderProgram(kVertex, kFragment);
    EXPECT_EQ(program, 3u);
    const std::vector<std::string> expected = {
        "glCreateShaderObjectARB " + std::to_string(GL_VERTEX_SHADER_ARB),
        "glCreateShaderObjectARB " + std::to_string(GL_FRAGMENT_SHADER_ARB),
        "glShaderSourceARB 1", "glShaderSourceARB 2",
        "glCompileShaderARB 1", "glCompileShaderARB 2",
        "glGetObjectParameterivARB 1", "glGetObjectParameterivARB 2",
        "glCreateProgramObjectARB",
        "glAttachObjectARB 3", "glAttachObjectARB 3",
        "glLinkProgramARB 3",
        "glGetObjectParameterivARB 3",
        "glDeleteObjectARB 1", "glDeleteObjectARB 2",
    };
    EXPECT_EQ(NamesWithFirstArgument(), expected);

    const std::vector<GlCall> sources = gl.CallsOf("glShaderSourceARB");
    EXPECT_EQ(sources[0].text, kVertexText);
    EXPECT_EQ(sources[1].text, kFragmentText);
    for (const GlCall& status : gl.CallsOf("glGetObjectParameterivARB")) {
        EXPECT_EQ(status.Arg(1), status.Arg(0) == 3 ? GL_OBJECT_LINK_STATUS_ARB : GL_OBJECT_COMPILE_STATUS_ARB);
    }
    const std::vector<GlCall> attached = gl.CallsOf("glAttachObjectARB");
    EXPECT_EQ(attached[0].Arg(1), 1);
    EXPECT_EQ(attached[1].Arg(1), 2);
    EXPECT_EQ(gl.LiveShaderObjects(), 1u) << "only the program stays";
}

TEST_F(LoaderCommands, AShaderThatDoesNotCompileDeletesBothAndMakesNoProgram) {
    for (GLenum failing : {GL_VERTEX_SHADER_ARB, GL_FRAGMENT_SHADER_ARB}) {
        SCOPED_TRACE(failing);
        gl.Clear();
        gl.SetCompileStatus(GL_VERTEX_SHADER_ARB, failing != GL_VERTEX_SHADER_ARB);
        gl.SetCompileStatus(GL_FRAGMENT_SHADER_ARB, failing != GL_FRAGMENT_SHADER_ARB);
        EXPECT_EQ(LoadShaderProgram(kVertex, kFragment), 0u);

        const std::vector<GlCall> created = gl.CallsOf("glCreateShaderObjectARB");
        ASSERT_EQ(created.size(), 2u);
        const std::vector<std::string> names = gl.Names();
        ASSERT_GE(names.size(), 4u);
        // Both statuses are read before anything is deleted.
        EXPECT_EQ(gl.Count("glGetObjectParameterivARB"), 2u);
        EXPECT_LT(gl.IndexOf("glGetObjectParameterivARB", gl.IndexOf("glGetObjectParameterivARB") + 1),
                  gl.IndexOf("glDeleteObjectARB"));
        const std::vector<GlCall> deleted = gl.CallsOf("glDeleteObjectARB");
        ASSERT_EQ(deleted.size(), 2u);
        EXPECT_EQ(deleted[0].Arg(0), created[0].result);
        EXPECT_EQ(deleted[1].Arg(0), created[1].result);
        EXPECT_EQ(names.back(), "glDeleteObjectARB");
        EXPECT_EQ(gl.Count("glCreateProgramObjectARB"), 0u);
        EXPECT_EQ(gl.LiveShaderObjects(), 0u);
    }
}

TEST_F(LoaderCommands, AMissingSourceDeletesBothBeforeCompiling) {
    EXPECT_EQ(LoadShaderProgram(kMissing, kFragment), 0u);
    EXPECT_EQ(gl.Names(), (std::vector<std::string>{"glCreateShaderObjectARB", "glCreateShaderObjectARB",
                                                    "glDeleteObjectARB", "glDeleteObjectARB"}));
    gl.Clear();
    EXPECT_EQ(LoadShaderProgram(kVertex, kMissing), 0u);
    EXPECT_EQ(gl.Names(), (std::vector<std::string>{"glCreateShaderObjectARB", "glCreateShaderObjectARB",
                                                    "glShaderSourceARB", "glDeleteObjectARB", "glDeleteObjectARB"}));
    EXPECT_EQ(gl.LiveShaderObjects(), 0u);
    EXPECT_FALSE(LoadShaderSource(kMissing, 1));
}

TEST_F(LoaderCommands, AProgramThatDoesNotLinkIsDeletedToo) {
    gl.SetLinkStatus(false);
    EXPECT_EQ(LoadShaderProgram(kVertex, kFragment), 0u);
    const size_t link = gl.IndexOf("glLinkProgramARB");
    ASSERT_LT(link, gl.Calls().size());
    EXPECT_EQ(gl.Count("glDeleteObjectARB"), 3u);
    EXPECT_EQ(gl.CallsOf("glDeleteObjectARB").back().Arg(0), gl.CallsOf("glCreateProgramObjectARB")[0].result);
    EXPECT_EQ(gl.LiveShaderObjects(), 0u);
}

TEST_F(LoaderCommands, WithoutShaderObjectsNoCallIsMade) {
    GlCapabilities capabilities = GlRecorder::AllCapabilities();
    capabilities.shaderObjects = false;
    gl.SetCapabilities(capabilities);
    EXPECT_EQ(LoadShaderProgram(kVertex, kFragment), 0u);
    EXPECT_FALSE(LoadShaderSource(kVertex, 1));
    EXPECT_TRUE(gl.Calls().empty());
}

// The four sampling parameters every loaded texture gets, in this order.
void ExpectSamplingParametersFrom(const GlRecorder& gl, size_t first) {
    const std::vector<std::vector<double>> expected = {
        {GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR},
        {GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR},
        {GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE},
        {GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE},
    };
    ASSERT_EQ(gl.Calls().size(), first + expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(gl.Calls()[first + i].name, "glTexParameteri");
        EXPECT_EQ(gl.Calls()[first + i].args, expected[i]) << "parameter " << i;
    }
}

TEST_F(LoaderCommands, ABitmapIsUploadedAsPaddedBgrRows) {
    Override("BITMAP", kBitmap, CraftBitmap(3, 2));  // 9 bytes a row, padded to 12
    LoadBmpTexture(kBitmap);

    ASSERT_GE(gl.Calls().size(), 2u);
    EXPECT_EQ(gl.Calls()[0].name, "glPixelStorei");
    EXPECT_EQ(gl.Calls()[0].args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 4}));
    const GlCall& build = gl.Calls()[1];
    EXPECT_EQ(build.name, "gluBuild2DMipmaps");
    EXPECT_EQ(build.args, (std::vector<double>{GL_TEXTURE_2D, GL_RGB, 3, 2, GL_BGR_EXT, GL_UNSIGNED_BYTE}));
    ASSERT_GE(build.pixels.size(), 12u + 9u);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const Rgba colour = PixelColour(x, y);
            const uint8_t* pixel = build.pixels.data() + 12 * y + 3 * x;
            EXPECT_EQ((Rgba{pixel[2], pixel[1], pixel[0], 255}), colour) << x << "," << y;
        }
    }
    ExpectSamplingParametersFrom(gl, 2);
}

TEST_F(LoaderCommands, TheSnowflakeIsUploadedAsPackedBgraRows) {
    const std::vector<unsigned char> tga = CraftTga(512, 512);
    Override("TGA", kSnowflake, tga);
    LoadTgaTexture();

    ASSERT_GE(gl.Calls().size(), 2u);
    EXPECT_EQ(gl.Calls()[0].name, "glPixelStorei");
    EXPECT_EQ(gl.Calls()[0].args, (std::vector<double>{GL_UNPACK_ALIGNMENT, 1}));
    const GlCall& build = gl.Calls()[1];
    EXPECT_EQ(build.name, "gluBuild2DMipmaps");
    EXPECT_EQ(build.args, (std::vector<double>{GL_TEXTURE_2D, GL_RGBA8, 512, 512, GL_BGRA_EXT, GL_UNSIGNED_BYTE}));
    EXPECT_TRUE(std::equal(build.pixels.begin(), build.pixels.end(), tga.begin() + 18, tga.end()));
    EXPECT_EQ(build.pixels.size(), tga.size() - 18);
    ExpectSamplingParametersFrom(gl, 2);
}

TEST_F(LoaderCommands, AnImageThatCannotBeReadIssuesNoCommand) {
    std::vector<unsigned char> wideBitmap = CraftBitmap(4, 4);
    PutLe32(wideBitmap, bitmap_field::kWidth, 5);
    std::vector<unsigned char> paletteBitmap = CraftBitmap(4, 4);
    PutLe16(paletteBitmap, bitmap_field::kBitsPerPixel, 8);
    std::vector<unsigned char> shortTga = CraftTga(512, 512);
    shortTga.resize(18 + 512 * 512 * 4 - 1);
    std::vector<unsigned char> mappedTga = CraftTga(4, 4);
    mappedTga[tga_field::kColourMapType] = 1;

    for (const auto* bytes : {&wideBitmap, &paletteBitmap}) {
        Override("BITMAP", kBitmap, *bytes);
        LoadBmpTexture(kBitmap);
    }
    for (const auto* bytes : {&shortTga, &mappedTga}) {
        Override("TGA", kSnowflake, *bytes);
        LoadTgaTexture();
    }
    OverrideModuleResource("BITMAP", kBitmap, nullptr, 0);
    LoadBmpTexture(kBitmap);
    EXPECT_TRUE(gl.Calls().empty()) << gl.Calls().front().name;
    EXPECT_TRUE(ShownErrorMessages().empty());
}

TEST_F(LoaderCommands, AMissingModuleIsReportedAndIssuesNoCommand) {
    Override("BITMAP", kBitmap, CraftBitmap(2, 2));
    SetResourceModuleAvailable(false);
    LoadBmpTexture(kBitmap);
    LoadTgaTexture();
    EXPECT_EQ(LoadShaderProgram(kVertex, kFragment), 0u);
    EXPECT_EQ(gl.LiveShaderObjects(), 0u);
    EXPECT_EQ(gl.Count("gluBuild2DMipmaps") + gl.Count("glTexParameteri") + gl.Count("glPixelStorei"), 0u);
    ASSERT_EQ(ShownErrorMessages().size(), 2u);
    EXPECT_EQ(ShownErrorMessages()[0].text + "/" + ShownErrorMessages()[0].caption, "LoadTexture/BMP");
    EXPECT_EQ(ShownErrorMessages()[1].text + "/" + ShownErrorMessages()[1].caption, "NOOOO/NOOOO");
}

}  // namespace
