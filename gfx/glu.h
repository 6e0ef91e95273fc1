// The GLU routines the module calls, declared here so that no system GL header is needed
// beside the generated loader's.
#pragma once

#include <glad/gl.h>

extern "C" {

struct GLUquadric;

void GLAD_API_PTR gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);
GLint GLAD_API_PTR gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height,
                                     GLenum format, GLenum type, const void* data);
GLUquadric* GLAD_API_PTR gluNewQuadric(void);
void GLAD_API_PTR gluDeleteQuadric(GLUquadric* quadric);
void GLAD_API_PTR gluCylinder(GLUquadric* quadric, GLdouble baseRadius, GLdouble topRadius,
                              GLdouble height, GLint slices, GLint stacks);
}
