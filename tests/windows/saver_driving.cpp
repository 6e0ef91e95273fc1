#include "saver_driving.h"

namespace {

bool HasVisibleStyle(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// Posts WM_SETREDRAW behind whatever is queued for the window and waits until the window's
// visible style, which the system's default handling of that message sets or clears, shows it
// handled: every message posted before it has then been handled too. The style reads back
// without a message, and nothing in the saver depends on it.
bool PostMarker(HWND window, bool visible) {
    if (!PostMessageA(window, WM_SETREDRAW, visible, 0)) return false;
    const DWORD start = GetTickCount();
    do {
        if (!IsWindow(window)) return false;
        if (HasVisibleStyle(window) == visible) return true;
        PumpMessagesFor(5);
    } while (GetTickCount() - start < kExitMs);
    return false;
}

}  // namespace

RunningSaver::RunningSaver(const std::string& arguments, HWND parent,
                           const std::vector<std::pair<std::string, std::string>>& environment,
                           const std::string& modulePath)
    : process(arguments, environment, modulePath) {
    if (!process.started()) return;
    HWND found = process.WaitForWindow(kSaverClass, kStartMs, parent);
    if (!found) return;
    // The window is found while it is still being created. It is ready once it is visible and
    // its thread answers: until then its style changes by itself, and the round trips of
    // StillRunning could not be trusted.
    const DWORD start = GetTickCount();
    while (!HasVisibleStyle(found)) {
        if (!IsWindow(found) || GetTickCount() - start > kStartMs) return;
        PumpMessagesFor(10);
    }
    if (SendAndWait(found, WM_NULL, 0, 0)) window = found;
}

bool StillRunning(RunningSaver& saver) {
    // Two markers that each change the style: a close request posted while the queued messages
    // were handled lands behind the first marker and is handled before the second.
    const bool visible = HasVisibleStyle(saver.window);
    return PostMarker(saver.window, !visible) && PostMarker(saver.window, visible) && IsWindow(saver.window) &&
           !saver.process.WaitForExit(0);
}

bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer) {
    DWORD_PTR result = 0;
    const bool delivered =
        SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kExitMs, &result) != 0;
    if (answer) *answer = static_cast<LRESULT>(result);
    return delivered;
}

bool BringToForeground(HWND window) {
    SetForegroundWindow(window);
    const DWORD start = GetTickCount();
    while (GetForegroundWindow() != window) {
        if (!IsWindow(window) || GetTickCount() - start > kStartMs) return false;
        PumpMessagesFor(20);
    }
    return true;
}

void PressKey(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void ClickButton(DWORD downFlag, DWORD upFlag) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = downFlag;
    inputs[1] = inputs[0];
    inputs[1].mi.dwFlags = upFlag;
    SendInput(2, inputs, sizeof(INPUT));
}

std::string WindowTitle(HWND window) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}
