// What the recording stubs share with GlRecorder: the stream and the fake context's answers.
// Internal to vintrel_gl_recorder.
#pragma once

#include <glad/gl.h>

#include <deque>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/gl_recorder.h"

struct GlRecorderState {
    std::vector<GlCall> calls;
    uint32_t openList = 0;

    // Names handed out: each kind counts up from 1 on its own.
    GLuint nextTexture = 1;
    GLuint nextList = 1;
    GLuint nextFramebuffer = 1;
    GLuint nextRenderbuffer = 1;
    GLhandleARB nextObject = 1;  // shader and program objects share one name space
    GLint nextLocation = 1;      // uniform and attribute locations, distinct across both
    std::deque<int> quadrics;    // gluNewQuadric hands out the addresses of these

    std::map<GLhandleARB, GLenum> shaderTypes;  // live shader objects and their types
    std::set<GLhandleARB> programs;             // live program objects
    std::map<GLenum, bool> compiles;            // per shader type; absent means true
    bool links = true;
    GLenum framebufferStatus = GL_FRAMEBUFFER_COMPLETE_EXT;
    std::map<GLenum, std::vector<double>> answers;
    std::map<std::string, GLint, std::less<>> locations;
    std::set<GLenum> enabled;
    GLint unpackAlignment = 4;

    GlRecorderState();

    GlCall& Record(const char* name, std::initializer_list<double> args);
    GLint Location(std::string_view name);
};

// The state of the live recorder; null when none lives.
extern GlRecorderState* activeGlRecorder;

// The lookup LoadOpenGl is given: a stub for each entry point the recorder knows, null otherwise.
GLADapiproc LookUpRecordingStub(const char* name);
