// The program's window procedure: owns the rendering context and the frame timer.
#include <windows.h>

#include "gfx/gl.h"
#include "gfx/gl_capabilities.h"
#include "host/opengl_libraries_win32.h"
#include "host/saver_behaviour_win32.h"
#include "host/screen_saver_proc_win32.h"
#include "particles/particle_snow.h"
#include "scene/clock_time.h"
#include "scene/render_frame.h"
#include "scene/scene_setup.h"
#include "scene/scene_window.h"

namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFramePeriodMilliseconds = 10;

// PFD_DRAW_TO_WINDOW is deliberately not requested.
constexpr PIXELFORMATDESCRIPTOR pixelFormatRequest = {
    40,                                    // nSize
    1,                                     // nVersion
    PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, // dwFlags
    PFD_TYPE_RGBA,                         // iPixelType
    32,                                    // cColorBits
    0, 0, 0, 0, 0, 0, 0, 0,                // colour bits and shifts
    0, 0, 0, 0, 0,                         // accumulation bits
    24,                                    // cDepthBits
    8,                                     // cStencilBits
    0,                                     // cAuxBuffers
    PFD_MAIN_PLANE,                        // iLayerType
    0,                                     // bReserved
    0, 0, 0,                               // layer, visible and damage masks
};

RECT clientRect{};
HDC deviceContext = nullptr;
HGLRC renderContext = nullptr;

// True once OpenGL could be loaded for the window's context. Without it no OpenGL entry point
// exists to call, so the window simply shows nothing, as it would with a context that draws
// nothing.
bool openGlLoaded = false;

void CreateScene(HWND window) {
    GetClientRect(window, &clientRect);
    clientWidth = clientRect.right;
    clientHeight = clientRect.bottom;

    deviceContext = GetDC(window);
    // Before the pixel format, which the system's OpenGL answers: it is then the one loaded.
    LoadOpenGlLibraries();
    const int format = ChoosePixelFormat(deviceContext, &pixelFormatRequest);
    SetPixelFormat(deviceContext, format, &pixelFormatRequest);
    renderContext = CreateRenderContext(deviceContext);
    MakeRenderContextCurrent(deviceContext, renderContext);

    openGlLoaded = renderContext != nullptr && LoadOpenGl(LookUpOpenGlEntryPoint);
    if (openGlLoaded) {
        SetupProjection();
        SceneSetup();
    }
    SetTimer(window, kFrameTimer, kFramePeriodMilliseconds, nullptr);
}

void DrawFrame() {
    UpdateScene();
    if (openGlLoaded) RenderFrame();
    SwapBuffers(deviceContext);
}

void DestroyScene(HWND window) {
    KillTimer(window, kFrameTimer);
    snow.Release();
    if (sceneQuadric) gluDeleteQuadric(sceneQuadric);
    sceneQuadric = nullptr;
    MakeRenderContextCurrent(deviceContext, nullptr);
    DeleteRenderContext(renderContext);
    ReleaseDC(window, deviceContext);
    PostQuitMessage(0);
}

}  // namespace

LRESULT ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    sceneWindow = window;
    switch (message) {
        case WM_CREATE:
            CreateScene(window);
            return 0;
        case WM_TIMER:  // every timer message draws, whatever its identifier
            DrawFrame();
            return 0;
        case WM_DESTROY:
            DestroyScene(window);
            return 0;
        default:
            return DefScreenSaverProc(window, message, wParam, lParam);
    }
}

BOOL CALLBACK ScreenSaverConfigureDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL RegisterDialogClasses(HINSTANCE) { return TRUE; }
