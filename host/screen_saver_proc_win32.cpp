// The program's window procedure: owns the rendering context and the frame timer.
#include <windows.h>

#include <vector>

#include "gfx/gl_capabilities.h"
#include "host/opengl_libraries_win32.h"
#include "host/power_notifications_win32.h"
#include "host/saver_behaviour_win32.h"
#include "host/saver_decisions.h"
#include "host/saver_modes_win32.h"
#include "host/screen_saver_proc_win32.h"
#include "platform/platform.h"
#include "scene/monitor_views.h"
#include "scene/scene_lifecycle.h"

HWND sceneWindow = nullptr;

namespace {

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFramePeriodMilliseconds = 10;
constexpr WPARAM kPowerSettingChange = 0x8013;  // PBT_POWERSETTINGCHANGE

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
bool openGlLoaded = false;
// While the display is off nothing is drawn and the timer is stopped.
bool displayOff = false;
bool batterySaverOn = false;

// The scene's loaders report through message boxes owned by the screen-saver window.
void* OwnerOfErrorMessages() { return sceneWindow; }

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM monitors) {
    reinterpret_cast<std::vector<ViewRect>*>(monitors)->push_back(
        {rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top});
    return TRUE;
}

// The full-screen window spans every monitor: one view each, so each shows the whole clock
// instead of one clock split over the seams. The rectangles are physical pixels, as the module
// is per-monitor DPI aware. The preview is one view (none returned).
int MonitorViewsOf(HWND window, ViewRect* views) {
    if (isPreview) return 0;
    std::vector<ViewRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    POINT clientOrigin{0, 0};
    ClientToScreen(window, &clientOrigin);
    return MonitorViews(monitors.data(), static_cast<int>(monitors.size()), clientOrigin.x, clientOrigin.y,
                        clientRect.right, clientRect.bottom, views);
}

void CreateSceneWindow(HWND window) {
    // The client size is the rectangle's right and bottom edges (it starts at 0, 0).
    GetClientRect(window, &clientRect);

    deviceContext = GetDC(window);
    // Before the pixel format, which the system's OpenGL answers: it is then the one loaded.
    LoadOpenGlLibraries();
    const int format = ChoosePixelFormat(deviceContext, &pixelFormatRequest);
    SetPixelFormat(deviceContext, format, &pixelFormatRequest);
    renderContext = CreateRenderContext(deviceContext);
    MakeRenderContextCurrent(deviceContext, renderContext);

    // Without OpenGL for the context no entry point exists to call, so the window simply shows
    // nothing, as it would with a context that draws nothing.
    openGlLoaded = renderContext != nullptr && LoadOpenGl(LookUpOpenGlEntryPoint);
    SetErrorMessageOwner(OwnerOfErrorMessages);
    if (openGlLoaded) {
        ViewRect views[maxSceneViews];
        const int viewCount = MonitorViewsOf(window, views);
        CreateScene(clientRect.right, clientRect.bottom, views, viewCount);
    }
    SetTimer(window, kFrameTimer, kFramePeriodMilliseconds, nullptr);
    // The preview keeps drawing while its dialog is open, whatever the display does.
    RegisterPowerNotifications(window, !isPreview);
}

void DrawFrame() {
    TickScene();
    SwapBuffers(deviceContext);
}

// With the battery saver on fewer frames come; the motion follows the clocks, so it is the same.
void StartFrameTimer(HWND window) {
    SetTimer(window, kFrameTimer, FramePeriodMilliseconds(kFramePeriodMilliseconds, batterySaverOn), nullptr);
}

void FollowPowerSetting(HWND window, const void* setting) {
    const PowerSettingChange change = PowerSettingChangeOf(setting);
    switch (change) {
        case PowerSettingChange::DisplayOff:
            displayOff = true;
            KillTimer(window, kFrameTimer);
            break;
        case PowerSettingChange::DisplayOn:
            if (!displayOff) break;
            displayOff = false;
            DrawFrame();  // at once, with the hands at the time it is now
            StartFrameTimer(window);
            break;
        case PowerSettingChange::BatterySaverOn:
        case PowerSettingChange::BatterySaverOff:
            batterySaverOn = change == PowerSettingChange::BatterySaverOn;
            if (!displayOff) StartFrameTimer(window);  // the same timer, with the new period
            break;
        case PowerSettingChange::None:
            break;
    }
}

// Monitors came, went or changed: the full-screen window covers the virtual screen as it is now
// and every monitor gets its view again before the next frame.
void FollowDisplays(HWND window) {
    if (isPreview) return;
    PlaceOverVirtualScreen(window);
    GetClientRect(window, &clientRect);
    if (!openGlLoaded) return;
    ViewRect views[maxSceneViews];
    const int viewCount = MonitorViewsOf(window, views);
    FollowSceneSize(clientRect.right, clientRect.bottom, views, viewCount);
}

void DestroySceneWindow(HWND window) {
    UnregisterPowerNotifications();
    KillTimer(window, kFrameTimer);
    ReleaseScene();
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
            CreateSceneWindow(window);
            return 0;
        case WM_TIMER:  // every timer message draws, whatever its identifier
            if (!displayOff) DrawFrame();
            return 0;
        case WM_POWERBROADCAST:
            // A setting's change never closes the saver: it is followed here, before the close
            // table. lParam points at the setting, which a plain poster cannot hand across
            // processes, so one that was posted is not read.
            if (wParam != kPowerSettingChange) break;
            if (InSendMessage()) FollowPowerSetting(window, reinterpret_cast<const void*>(lParam));
            return TRUE;
        case WM_DISPLAYCHANGE:
            FollowDisplays(window);
            break;
        case WM_DESTROY:
            DestroySceneWindow(window);
            return 0;
        default:
            break;
    }
    return DefScreenSaverProc(window, message, wParam, lParam);
}

BOOL CALLBACK ScreenSaverConfigureDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

BOOL RegisterDialogClasses(HINSTANCE) { return TRUE; }
