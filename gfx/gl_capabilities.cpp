#include "gfx/gl_capabilities.h"

#include "gfx/gl.h"

GlCapabilities glCapabilities{};

namespace {

template <typename... Pointers>
bool AllLoaded(Pointers... pointers) {
    return ((pointers != nullptr) && ...);
}

}  // namespace

bool LoadOpenGl(GlProcLookup lookup) {
    glCapabilities = {};
    const int version = gladLoadGL(reinterpret_cast<GLADloadfunc>(lookup));
    if (version == 0) return false;
    DetectGlCapabilities();
    return true;
}

void DetectGlCapabilities() {
    GlCapabilities found{};
    found.cubeMaps = (GLAD_GL_VERSION_1_3 || GLAD_GL_ARB_texture_cube_map) != 0;
    found.shaderObjects =
        GLAD_GL_ARB_shader_objects && GLAD_GL_ARB_vertex_shader && GLAD_GL_ARB_fragment_shader &&
        AllLoaded(glad_glCreateShaderObjectARB, glad_glShaderSourceARB, glad_glCompileShaderARB,
                  glad_glGetObjectParameterivARB, glad_glCreateProgramObjectARB, glad_glAttachObjectARB,
                  glad_glLinkProgramARB, glad_glDeleteObjectARB, glad_glUseProgramObjectARB);
    found.shaderPrograms20 =
        GLAD_GL_VERSION_2_0 && found.shaderObjects &&
        AllLoaded(glad_glUseProgram, glad_glGetUniformLocationARB, glad_glUniformMatrix4fv, glad_glUniform2f,
                  glad_glGetAttribLocation, glad_glEnableVertexAttribArray, glad_glVertexAttribPointer);
    found.framebufferObjects =
        GLAD_GL_EXT_framebuffer_object &&
        AllLoaded(glad_glGenFramebuffersEXT, glad_glBindFramebufferEXT, glad_glFramebufferTexture2DEXT,
                  glad_glFramebufferRenderbufferEXT, glad_glGenRenderbuffersEXT, glad_glBindRenderbufferEXT,
                  glad_glRenderbufferStorageEXT, glad_glCheckFramebufferStatusEXT);
    found.packedDepthStencil = found.framebufferObjects && GLAD_GL_EXT_packed_depth_stencil;
    found.framebufferBlit = found.framebufferObjects && GLAD_GL_EXT_framebuffer_blit && AllLoaded(glad_glBlitFramebufferEXT);
    found.pointSprites = (GLAD_GL_VERSION_2_0 || GLAD_GL_ARB_point_sprite) != 0;
    glCapabilities = found;
}
