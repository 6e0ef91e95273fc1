// The recorder's own logic: slicing the stream into primitives with the attributes current at
// each vertex, triangle winding, display-list tagging and the answers it fakes.
#include <gtest/gtest.h>

#include "gfx/gl.h"
#include "tests/support/gl_recorder.h"

namespace {

// Signed area of a triangle seen from +z: positive when counter-clockwise.
double TurnAboutZ(const GlTriangle& t) {
    return (t[1][0] - t[0][0]) * (t[2][1] - t[0][1]) - (t[1][1] - t[0][1]) * (t[2][0] - t[0][0]);
}

TEST(GlRecorderSlicing, EachVertexCarriesTheAttributesCurrentWhenItWasIssued) {
    GlRecorder gl;
    glNormal3f(0, 1, 0);  // set before the block: still current inside it
    glBegin(GL_TRIANGLES);
    glTexCoord2f(0.25f, 0.5f);
    glVertex3f(1, 2, 3);
    const GLdouble normal[3] = {1, 0, 0};
    glNormal3dv(normal);
    glColor4ub(255, 0, 51, 255);
    glVertex2f(4, 5);
    glColor3f(0.5f, 0.5f, 0.5f);
    const GLdouble position[3] = {7, 8, 9};
    glVertex3dv(position);
    glEnd();

    const std::vector<GlPrimitive> primitives = gl.Primitives();
    ASSERT_EQ(primitives.size(), 1u);
    EXPECT_EQ(primitives[0].mode, static_cast<GLenum>(GL_TRIANGLES));
    EXPECT_EQ(primitives[0].beginIndex, 1u);
    const std::vector<GlVertex>& v = primitives[0].vertices;
    ASSERT_EQ(v.size(), 3u);

    EXPECT_EQ(v[0].position, (std::array<double, 3>{1, 2, 3}));
    EXPECT_EQ(v[0].normal, (std::array<double, 3>{0, 1, 0}));
    EXPECT_EQ(v[0].texCoord, (std::array<double, 4>{0.25, 0.5, 0, 1}));
    EXPECT_EQ(v[0].colour, (std::array<double, 4>{1, 1, 1, 1}));

    EXPECT_EQ(v[1].position, (std::array<double, 3>{4, 5, 0}));
    EXPECT_EQ(v[1].normal, (std::array<double, 3>{1, 0, 0}));
    EXPECT_EQ(v[1].texCoord, v[0].texCoord);
    EXPECT_EQ(v[1].colour, (std::array<double, 4>{1, 0, 0.2, 1}));

    EXPECT_EQ(v[2].position, (std::array<double, 3>{7, 8, 9}));
    EXPECT_EQ(v[2].colour, (std::array<double, 4>{0.5, 0.5, 0.5, 1}));  // three components: alpha back to 1
}

TEST(GlRecorderSlicing, BlocksAreSeparatedAndAnUnfinishedOneIsDropped) {
    GlRecorder gl;
    glBegin(GL_POINTS);
    glEnd();
    glVertex3f(9, 9, 9);  // outside any block: no vertex
    glBegin(GL_LINES);
    glVertex3f(1, 0, 0);
    glVertex3f(2, 0, 0);
    glEnd();
    glBegin(GL_TRIANGLES);
    glVertex3f(3, 0, 0);

    const std::vector<GlPrimitive> primitives = gl.Primitives();
    ASSERT_EQ(primitives.size(), 2u);
    EXPECT_TRUE(primitives[0].vertices.empty());
    EXPECT_EQ(primitives[1].mode, static_cast<GLenum>(GL_LINES));
    EXPECT_EQ(primitives[1].vertices.size(), 2u);
}

TEST(GlRecorderSlicing, StripsFansAndQuadsKeepOneWinding) {
    GlRecorder gl;
    // A counter-clockwise unit square as seen from +z, in each mode's vertex order.
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2f(0, 1); glVertex2f(0, 0); glVertex2f(1, 1); glVertex2f(1, 0);
    glEnd();
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(0, 0); glVertex2f(1, 0); glVertex2f(1, 1); glVertex2f(0, 1);
    glEnd();
    glBegin(GL_QUADS);
    glVertex2f(0, 0); glVertex2f(1, 0); glVertex2f(1, 1); glVertex2f(0, 1);
    glEnd();
    glBegin(GL_QUAD_STRIP);
    glVertex2f(0, 0); glVertex2f(1, 0); glVertex2f(0, 1); glVertex2f(1, 1);
    glEnd();

    for (const GlPrimitive& primitive : gl.Primitives()) {
        const std::vector<GlTriangle> triangles = Triangles(primitive);
        ASSERT_EQ(triangles.size(), 2u) << "mode " << primitive.mode;
        double area = 0;
        for (const GlTriangle& t : triangles) {
            EXPECT_GT(TurnAboutZ(t), 0) << "mode " << primitive.mode;
            area += TurnAboutZ(t) / 2;
        }
        EXPECT_DOUBLE_EQ(area, 1.0) << "mode " << primitive.mode;
    }
}

TEST(GlRecorderLists, CallsAreTaggedWithTheListBeingCompiled) {
    GlRecorder gl;
    const GLuint first = glGenLists(2);
    EXPECT_EQ(gl.CallsOf("glGenLists").at(0).result, first);
    glNewList(first, GL_COMPILE);
    EXPECT_EQ(gl.OpenList(), first);
    glBegin(GL_TRIANGLES);
    glVertex3f(0, 0, 0); glVertex3f(1, 0, 0); glVertex3f(0, 1, 0);
    glEnd();
    glEndList();
    glPushMatrix();
    glNewList(first + 1, GL_COMPILE);
    glRotatef(90, 0, 0, 1);
    glEndList();
    glCallList(first);

    EXPECT_EQ(gl.OpenList(), 0u);
    const std::vector<GlCall> inFirst = gl.InList(first);
    ASSERT_EQ(inFirst.size(), 5u);
    EXPECT_EQ(inFirst.front().name, "glBegin");
    EXPECT_EQ(inFirst.back().name, "glEnd");
    ASSERT_EQ(gl.InList(first + 1).size(), 1u);
    EXPECT_EQ(gl.InList(first + 1)[0].args, (std::vector<double>{90, 0, 0, 1}));
    EXPECT_EQ(gl.PrimitivesInList(first).size(), 1u);
    EXPECT_TRUE(gl.PrimitivesInList(first + 1).empty());
    EXPECT_EQ(gl.CallsOf("glPushMatrix").at(0).list, 0u);
    EXPECT_EQ(gl.CallsOf("glCallList").at(0).list, 0u);
}

TEST(GlRecorderCopies, ArraysAreRecordedByValueWithTheirLength) {
    GlRecorder gl;
    GLfloat diffuse[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    GLfloat direction[3] = {0, -1, 0};
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, direction);
    glMaterialf(GL_FRONT, GL_SHININESS, 64);
    diffuse[0] = 9;  // a later change of the caller's array does not reach the record

    const std::vector<GlCall> lights = gl.CallsOf("glLightfv");
    ASSERT_EQ(lights.size(), 2u);
    EXPECT_EQ(lights[0].args, (std::vector<double>{GL_LIGHT0, GL_DIFFUSE, 0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(lights[1].args.size(), 5u);

    const GLcharARB* parts[2] = {"void main() {}XXX", "// tail"};
    const GLint lengths[2] = {14, -1};
    glShaderSourceARB(7, 2, parts, lengths);
    EXPECT_EQ(gl.CallsOf("glShaderSourceARB").at(0).text, "void main() {}// tail");
}

TEST(GlRecorderCopies, TextureUploadsKeepTheBytesTheUnpackAlignmentImplies) {
    GlRecorder gl;
    uint8_t image[2 * 8] = {};
    for (size_t i = 0; i < sizeof image; ++i) image[i] = static_cast<uint8_t>(i + 1);

    // 2 × 2 RGB rows are 6 bytes, padded to 8 under the default alignment of 4.
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 2, 2, GL_RGB, GL_UNSIGNED_BYTE, image);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 2, 2, GL_RGB, GL_UNSIGNED_BYTE, image);
    glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, GL_RGB, 1024, 1024, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);

    const std::vector<GlCall> uploads = gl.CallsOf("gluBuild2DMipmaps");
    ASSERT_EQ(uploads.size(), 2u);
    EXPECT_EQ(uploads[0].pixels, std::vector<uint8_t>(image, image + 16));
    EXPECT_EQ(uploads[1].pixels, std::vector<uint8_t>(image, image + 12));
    EXPECT_EQ(uploads[1].pointers.at(0), image);
    const GlCall empty = gl.CallsOf("glTexImage2D").at(0);
    EXPECT_TRUE(empty.pixels.empty());
    EXPECT_EQ(empty.pointers.at(0), nullptr);
}

TEST(GlRecorderAnswers, NamesAreFreshAndShaderStatusFollowsTheTest) {
    GlRecorder gl;
    GLuint textures[3] = {};
    glGenTextures(3, textures);
    GLuint more = 0;
    glGenTextures(1, &more);
    EXPECT_LT(textures[0], textures[1]);
    EXPECT_LT(textures[1], textures[2]);
    EXPECT_LT(textures[2], more);
    EXPECT_NE(textures[0], 0u);
    EXPECT_EQ(gl.CallsOf("glGenTextures").at(0).args, (std::vector<double>{3, double(textures[0]),
                                                                         double(textures[1]), double(textures[2])}));

    gl.SetCompileStatus(GL_FRAGMENT_SHADER_ARB, false);
    const GLhandleARB vertex = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    const GLhandleARB fragment = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    const GLhandleARB program = glCreateProgramObjectARB();
    EXPECT_NE(vertex, fragment);
    EXPECT_NE(fragment, program);
    GLint status = -1;
    glGetObjectParameterivARB(vertex, GL_OBJECT_COMPILE_STATUS_ARB, &status);
    EXPECT_EQ(status, 1);
    glGetObjectParameterivARB(fragment, GL_OBJECT_COMPILE_STATUS_ARB, &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(gl.LiveShaderObjects(), 3u);
    glDeleteObjectARB(vertex);
    glDeleteObjectARB(fragment);
    EXPECT_EQ(gl.LiveShaderObjects(), 1u);

    const GLint projMat = glGetUniformLocationARB(program, "projMat");
    const GLint angles = glGetAttribLocation(program, "angles");
    EXPECT_NE(projMat, angles);
    EXPECT_EQ(glGetUniformLocationARB(program, "projMat"), projMat);
    EXPECT_EQ(gl.UniformLocation("projMat"), projMat);
    EXPECT_EQ(gl.AttribLocation("angles"), angles);
    EXPECT_EQ(gl.CallsOf("glGetAttribLocation").at(0).text, "angles");
}

TEST(GlRecorderAnswers, QueriesReturnWhatTheTestSet) {
    GlRecorder gl;
    GLfloat matrix[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, matrix);
    EXPECT_EQ(matrix[0], 1.0f);
    EXPECT_EQ(matrix[1], 0.0f);
    EXPECT_EQ(matrix[15], 1.0f);

    std::array<float, 16> projection{};
    for (size_t i = 0; i < projection.size(); ++i) projection[i] = 0.5f * static_cast<float>(i);
    gl.SetMatrix(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_PROJECTION_MATRIX, matrix);
    EXPECT_EQ(std::vector<float>(matrix, matrix + 16), std::vector<float>(projection.begin(), projection.end()));

    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE_EXT));
    gl.SetFramebufferStatus(GL_FRAMEBUFFER_UNSUPPORTED_EXT);
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), static_cast<GLenum>(GL_FRAMEBUFFER_UNSUPPORTED_EXT));

    glEnable(GL_BLEND);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    EXPECT_FALSE(gl.IsEnabled(GL_BLEND));
    EXPECT_TRUE(gl.IsEnabled(GL_LIGHTING));
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_TRUE);
}

TEST(GlRecorderAnswers, CapabilitiesAreAllPresentUntilSwitchedOff) {
    GlRecorder gl;
    EXPECT_TRUE(glCapabilities.shaderObjects && glCapabilities.framebufferObjects && glCapabilities.cubeMaps &&
                glCapabilities.shaderPrograms20 && glCapabilities.pointSprites);
    GlCapabilities without = GlRecorder::AllCapabilities();
    without.framebufferObjects = false;
    gl.SetCapabilities(without);
    EXPECT_FALSE(glCapabilities.framebufferObjects);
    EXPECT_TRUE(glCapabilities.shaderObjects);
    EXPECT_TRUE(gl.Calls().empty());  // installing leaves nothing in the stream
}

}  // namespace
