// The full-screen or preview window and the message loop that runs it.
#include <windows.h>

#include "host/dpi_awareness_win32.h"
#include "host/saver_behaviour_win32.h"
#include "host/saver_decisions.h"
#include "host/saver_modes_win32.h"

bool isPreview = false;
HWND mainWindow = nullptr;
BYTE acLineStatus = unreadableAcLineStatus;
UINT queryCancelAutoPlayMsg = 0;

namespace {

constexpr char kClassName[] = "WindowsScreenSaverClass";
constexpr char kFullScreenTitle[] = "Screen Saver";
constexpr int kIconResource = 100;

struct WindowPlacement {
    int x, y, width, height;
};

// The virtual screen of all monitors, or the screen's clip box where the metrics give no size.
WindowPlacement VirtualScreen() {
    WindowPlacement placement{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                              GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (placement.width == 0 || placement.height == 0) {
        HDC screen = GetDC(nullptr);
        RECT box{};
        GetClipBox(screen, &box);
        ReleaseDC(nullptr, screen);
        placement = {box.left, box.top, box.right - box.left, box.bottom - box.top};
    }
    return placement;
}

}  // namespace

void PlaceOverVirtualScreen(HWND window) {
    const WindowPlacement placement = VirtualScreen();
    SetWindowPos(window, HWND_TOPMOST, placement.x, placement.y, placement.width, placement.height,
                 SWP_NOACTIVATE);
}

int RunSaverWindow(HWND parent) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = saverInstance;
    windowClass.hIcon = LoadIconA(saverInstance, MAKEINTRESOURCEA(kIconResource));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;

    WindowPlacement placement{};
    const char* title = nullptr;
    DWORD style = 0;
    DWORD extendedStyle = 0;
    if (parent) {
        AdoptDpiAwarenessOf(parent);
        RECT client{};
        GetClientRect(parent, &client);
        placement = {0, 0, client.right, client.bottom};
        isPreview = true;
        title = "Preview";
        style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    } else {
        placement = VirtualScreen();
        // Only one full-screen saver runs at a time.
        if (HWND running = FindWindowA(kClassName, kFullScreenTitle)) {
            SetForegroundWindow(running);
            return 0;
        }
        SYSTEM_POWER_STATUS power{};
        acLineStatus = GetSystemPowerStatus(&power) ? power.ACLineStatus : unreadableAcLineStatus;
        LoadPasswordVerifier();
        title = kFullScreenTitle;
        style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        extendedStyle = WS_EX_TOPMOST;
    }

    queryCancelAutoPlayMsg = win9xPlatform ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    if (RegisterClassA(&windowClass)) {
        mainWindow = CreateWindowExA(extendedStyle, kClassName, title, style, placement.x, placement.y,
                                     placement.width, placement.height, parent, nullptr, saverInstance, nullptr);
    }

    MSG message{};
    if (mainWindow) {
        if (!isPreview) SetForegroundWindow(mainWindow);
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    UnloadPasswordVerifier();
    return static_cast<int>(message.wParam);
}
