// Vintrel.scr driven from a test under Wine: started as a child process, its window found, sent
// real input and messages, and watched until it has handled them. Every wait is for an event,
// with a generous limit.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <iterator>
#include <optional>
#include <random>
#include <string>

constexpr DWORD kLimitMs = 30000;
constexpr DWORD kExitMinusOne = 0xFFFFFFFFu;
constexpr POINT kCursorRest{200, 150};  // where the cursor rests while a full-screen saver starts

inline void PumpMessagesFor(DWORD milliseconds) {  // dispatching the test thread's messages meanwhile
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Dispatches the test thread's messages until the condition holds (true) or the limit passes.
template <typename Condition>
bool PumpUntil(Condition done) {
    for (const DWORD start = GetTickCount(); !done(); PumpMessagesFor(10)) {
        if (GetTickCount() - start > kLimitMs) return false;
    }
    return true;
}

inline std::optional<LRESULT> Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kLimitMs, &answer)) return std::nullopt;
    return LRESULT(answer);
}

inline std::string TestDirectory() {  // ends in a backslash
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, std::strrchr(path, '\\') + 1);
}
inline std::string Decimal(HWND window) { return std::to_string(reinterpret_cast<uintptr_t>(window)); }
inline bool Visible(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

class Saver {
public:
    // Starts Vintrel.scr beside the test, or the module at modulePath, with the argument text.
    explicit Saver(const std::string& arguments, const std::string& modulePath = {}) {
        std::string line = "\"" + (modulePath.empty() ? TestDirectory() + "Vintrel.scr" : modulePath) + "\" ";
        line += arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
            process_ = {};
        }
    }
    ~Saver() {  // ends the process if the test left it running (and fails harmlessly if not)
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, kLimitMs);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Saver(const Saver&) = delete;
    // The saver's window (in parent, if given): found while still being created, it is ready
    // once visible and answering. Every test ends its savers, so there is one at a time.
    HWND WaitForWindow(HWND parent = nullptr) {
        HWND found = nullptr;
        if (process_.hProcess &&
            PumpUntil([&] { return (found = FindWindowExA(parent, nullptr, "WindowsScreenSaverClass", nullptr)); }) &&
            PumpUntil([&] { return Visible(found); }) && Send(found, WM_NULL, 0, 0)) {
            window = found;
        }
        return window;
    }
    std::optional<DWORD> ExitCode() {  // none while the process runs on past the limit
        DWORD code = STILL_ACTIVE;
        const auto ended = [&] { return WaitForSingleObject(process_.hProcess, 10) == WAIT_OBJECT_0; };
        if (!process_.hProcess || !PumpUntil(ended) || !GetExitCodeProcess(process_.hProcess, &code)) return std::nullopt;
        return code;
    }
    // True when the window has handled all posted to it before, and the close requests those posted,
    // and still exists: of two markers (WM_SETREDRAW flips the visible style) the second comes after.
    bool StillRunning() {
        const bool visible = Visible(window);
        return PostMarker(!visible) && PostMarker(visible);
    }
    HANDLE Process() const { return process_.hProcess; }
    HWND window = nullptr;

private:
    bool PostMarker(bool visible) {
        return PostMessageA(window, WM_SETREDRAW, visible, 0) &&
               PumpUntil([&] { return !IsWindow(window) || Visible(window) == visible; }) && IsWindow(window);
    }
    PROCESS_INFORMATION process_{};
};

// A value in the current user's registry for the object's life (the project's own Wine prefix has
// none of these values otherwise).
struct RegistryValue {
    RegistryValue(const char* key, const char* name, DWORD type, const void* data, DWORD size)
        : key(key), name(name), set(!RegSetKeyValueA(HKEY_CURRENT_USER, key, name, type, data, size)) {}
    RegistryValue(const char* key, const char* name, const char* text)
        : RegistryValue(key, name, REG_SZ, text, lstrlenA(text) + 1) {}
    ~RegistryValue() { RegDeleteKeyValueA(HKEY_CURRENT_USER, key, name); }
    const char *key, *name;
    const bool set;
};

// The test display has no window manager, which Wine would wait two seconds for each time a
// full-screen window goes: the modules started here run unmanaged, as the test's popups do.
inline const RegistryValue kUnmanaged[] = {
    {"Software\\Wine\\AppDefaults\\Vintrel.scr\\X11 Driver", "Managed", "N"},
    {"Software\\Wine\\AppDefaults\\Vintrel98.scr\\X11 Driver", "Managed", "N"}};

// Puts the cursor at a point, for the X pointer too. Wine warps the X pointer only when the position
// changes, and refuses while another process (a saver still ending) holds the pointer; a little
// later it reads the X pointer back. So: move away and back, and read back until the point stays.
inline bool PlaceCursor(POINT point) {
    return PumpUntil([&] {
        SetCursorPos(point.x + 1, point.y);
        SetCursorPos(point.x, point.y);
        PumpMessagesFor(150);  // past the 100 ms after a move in which Wine trusts its own copy
        POINT at{};
        return GetCursorPos(&at) && at.x == point.x && at.y == point.y;
    });
}

inline bool BringToForeground(HWND window) {
    SetForegroundWindow(window);
    return PumpUntil([&] { return GetForegroundWindow() == window; });
}

// Real input, pressed and released: a key to the foreground window, or else the button of the
// given down flag to the window under the cursor.
inline void Press(WORD key, DWORD buttonDownFlag = 0) {
    INPUT inputs[2] = {};
    for (DWORD i = 0; i < 2; ++i) {
        inputs[i].type = buttonDownFlag ? INPUT_MOUSE : INPUT_KEYBOARD;
        if (buttonDownFlag) inputs[i].mi.dwFlags = buttonDownFlag << i;  // a button's up flag follows its down flag
        else inputs[i].ki = {key, 0, i ? DWORD(KEYEVENTF_KEYUP) : 0, 0, 0};
    }
    SendInput(2, inputs, sizeof(INPUT));
}

inline COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return pixel;
}
inline int Brightness(COLORREF colour) { return (GetRValue(colour) + GetGValue(colour) + GetBValue(colour)) / 3; }
// The night sky's dark blue: not the black of a bare window, nor a lit part of the scene.
inline bool NightSky(COLORREF colour) {
    return Brightness(colour) > 0 && Brightness(colour) < 60 && GetBValue(colour) >= GetRValue(colour);
}
inline bool CoversTheVirtualScreen(HWND window) {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    RECT frame{}, screen{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return GetWindowRect(window, &frame) && EqualRect(&frame, &screen);
}

inline std::string WindowTitle(HWND window) {
    char title[64] = {};
    return std::string(title, GetWindowTextA(window, title, sizeof title));
}

inline HWND CreateTestWindow(const char* title, int x, int y, int width, int height,
                             WNDPROC procedure = DefWindowProcA) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = title;
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_TOPMOST, title, title, WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                           nullptr, nullptr);
}

// Random messages in batches, checking after each that the saver runs: half what its procedures
// look at (input, power, activation only in a preview), half private or registered numbers.
inline void Storm(Saver& saver, uint32_t seed, bool preview, int batches = 6) {
    static const UINT kLookedAt[] = {WM_TIMER, WM_PAINT, WM_SETCURSOR, WM_SHOWWINDOW, WM_MOUSEMOVE, WM_ACTIVATE,
                                     WM_CONTEXTMENU, WM_KEYUP, /* then what ends a full-screen saver */ WM_KEYDOWN,
                                     WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_ACTIVATEAPP,
                                     WM_POWER, WM_POWERBROADCAST};
    std::mt19937_64 random(seed);
    for (int batch = 1; batch <= batches; ++batch) {
        for (int i = 0; i < 100; ++i) {
            UINT message = random() % 2 ? kLookedAt[random() % (preview ? std::size(kLookedAt) : 8)]
                                        : WM_USER + random() % (0x10000 - WM_USER);
            if (preview && message == WM_ACTIVATE) message = WM_NULL;  // activation goes to top-level windows only
            const uint64_t wParam = random() >> random() % 64, anyLParam = random() >> random() % 64;
            const LPARAM lParam = message == WM_TIMER ? 0 : anyLParam;  // else the address of a callback
            DWORD_PTR ignored = 0;
            if (random() % 8) PostMessageA(saver.window, message, wParam, lParam);
            else SendMessageTimeoutA(saver.window, message, wParam, lParam, SMTO_NORMAL, 2000, &ignored);
        }
        ASSERT_TRUE(saver.StillRunning()) << "batch " << batch << " of the storm with seed " << seed;
    }
}
