#include "preview_host.h"

namespace {

constexpr char kHostClass[] = "VintrelRecordingPreviewHost";

}  // namespace

PreviewHost::PreviewHost(int clientWidth, int clientHeight) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window_ = CreateWindowA(kHostClass, "preview host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), this);
}

PreviewHost::~PreviewHost() { Destroy(); }

void PreviewHost::Destroy() {
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
}

LRESULT CALLBACK PreviewHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* host = reinterpret_cast<PreviewHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (host && (message == WM_HELP || message == WM_CONTEXTMENU)) {
        HandedUpMessage received{message, wParam, lParam, {}};
        // Read without trusting the pointer: a WM_HELP that arrived without the system copying
        // its HELPINFO would point into another process.
        SIZE_T copied = 0;
        if (message == WM_HELP && !ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(lParam),
                                                     &received.help, sizeof received.help, &copied)) {
            received.help = {};
        }
        host->handedUp_.push_back(received);
        // Not passed on: the default handling would open the system menu's modal loop.
        return TRUE;
    }
    // The host has no menus: a system menu opened by a key the preview passes up would hold the
    // test in a modal loop.
    if (message == WM_SYSCOMMAND && ((wParam & 0xFFF0) == SC_KEYMENU || (wParam & 0xFFF0) == SC_MOUSEMENU)) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}
