#include "host/dpi_awareness_win32.h"

#include "host/system_libraries_win32.h"

void AdoptDpiAwarenessOf(HWND window) {
    // Looked up: the module also runs on systems without them.
    using WindowContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND window);
    using SetThreadContextFn = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT context);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto windowContext = LookUpEntryPoint<WindowContextFn>(user32, "GetWindowDpiAwarenessContext");
    auto setThreadContext = LookUpEntryPoint<SetThreadContextFn>(user32, "SetThreadDpiAwarenessContext");
    if (!windowContext || !setThreadContext) return;
    if (DPI_AWARENESS_CONTEXT context = windowContext(window)) setThreadContext(context);
}
