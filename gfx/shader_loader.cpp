// Shader programs from pairs of "SHADER" resources (raw GLSL text, no terminating NUL).
#include <climits>

#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "gfx/resource_loaders.h"
#include "platform/platform.h"

namespace {

// Deleting a shader that is still attached only marks it; it goes with its program.
void DeleteShaderPair(GLhandleARB vertexShader, GLhandleARB fragmentShader) {
    glDeleteObjectARB(vertexShader);
    glDeleteObjectARB(fragmentShader);
}

GLint ObjectParameter(GLhandleARB object, GLenum name) {
    GLint value = 0;
    glGetObjectParameterivARB(object, name, &value);
    return value;
}

}  // namespace

bool LoadShaderSource(int id, uint32_t shaderObject) {
    if (!glCapabilities.shaderObjects) return false;
    const ResourceBytes text = FindModuleResource("SHADER", id);
    // The length goes to OpenGL as a GLint.
    if (!text || text.size > static_cast<std::size_t>(INT_MAX)) return false;
    const GLcharARB* source = reinterpret_cast<const GLcharARB*>(text.data);
    const GLint length = static_cast<GLint>(text.size);
    glShaderSourceARB(shaderObject, 1, &source, &length);
    return true;
}

uint32_t LoadShaderProgram(int vertexShaderId, int fragmentShaderId) {
    if (!glCapabilities.shaderObjects) return 0;

    const GLhandleARB vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    const GLhandleARB fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    if (!LoadShaderSource(vertexShaderId, vertexShader) || !LoadShaderSource(fragmentShaderId, fragmentShader)) {
        DeleteShaderPair(vertexShader, fragmentShader);
        return 0;
    }

    glCompileShaderARB(vertexShader);
    glCompileShaderARB(fragmentShader);
    const GLint vertexCompiled = ObjectParameter(vertexShader, GL_OBJECT_COMPILE_STATUS_ARB);
    const GLint fragmentCompiled = ObjectParameter(fragmentShader, GL_OBJECT_COMPILE_STATUS_ARB);
    if (vertexCompiled == 0 || fragmentCompiled == 0) {
        DeleteShaderPair(vertexShader, fragmentShader);
        return 0;
    }

    const GLhandleARB program = glCreateProgramObjectARB();
    glAttachObjectARB(program, vertexShader);
    glAttachObjectARB(program, fragmentShader);
    glLinkProgramARB(program);
    // A program that did not link would only make every later use of it an OpenGL error; the
    // callers are built to go on without a program (handle 0), so it is not handed out.
    const GLint linked = ObjectParameter(program, GL_OBJECT_LINK_STATUS_ARB);
    DeleteShaderPair(vertexShader, fragmentShader);
    if (linked == 0) {
        glDeleteObjectARB(program);
        return 0;
    }
    return static_cast<uint32_t>(program);
}
