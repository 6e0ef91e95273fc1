// Mesa's headless context with the scene set up once for the program, as the saver sets it up
// when its window is made, and ways to see what it draws.
#pragma once

#include <functional>
#include <vector>

#include "gfx/gl.h"
#include "gfx/vector3.h"
#include "platform/platform.h"
#include "scene/draw_scene.h"

extern "C" void GLAD_API_PTR gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
                                       GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ);
extern "C" void GLAD_API_PTR gluSphere(GLUquadric* quadric, GLdouble radius, GLint slices, GLint stacks);
extern "C" GLint GLAD_API_PTR gluScaleImage(GLenum format, GLint width, GLint height, GLenum type, const void* data,
                                           GLint scaledWidth, GLint scaledHeight, GLenum scaledType, void* scaled);

constexpr int kFrameWidth = 320;
constexpr int kFrameHeight = 240;

// The middle of the box around the points: the centre of any shape symmetric about a point.
Vector3d BoxCentre(const std::vector<Vector3d>& points);

// The corners of every triangle `draw` makes (strips, fans and quads split), in order, in eye
// coordinates: captured by transform feedback, lists included, nothing drawn; the scene takes
// its fixed-function path meanwhile.
std::vector<Vector3d> Capture(const std::function<void()>& draw);

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;  // bottom row first
    const unsigned char* At(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};
Image ReadImage(int width = kFrameWidth, int height = kFrameHeight);

// Puts one owner's module-level values (a struct of them) back as they were when the guard was
// made, whatever the test changed in between.
template <typename Values>
class Restored {
public:
    explicit Restored(Values& values) : values_(values), saved_(values) {}
    ~Restored() { values_ = saved_; }
    Restored(const Restored&) = delete;
    Restored& operator=(const Restored&) = delete;

private:
    Values& values_;
    const Values saved_;
};

// The camera of the current matrices, as DrawScene takes it (a test may ask the driver).
SceneCamera CurrentCamera();

// The scene made anew as a window's creation makes it, in a frame-sized window or a client area
// of the given size (its rows at the bottom of the frame's).
void SetUpScene(int clientWidth = kFrameWidth, int clientHeight = kFrameHeight);

// The frame at a local time, gear and swing stopwatches at `clockSeconds`, snow's at `snowSeconds`.
void RenderFrameAt(const LocalTimeOfDay& time, double clockSeconds, double snowSeconds = 0.0);
