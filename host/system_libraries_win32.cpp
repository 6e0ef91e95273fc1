#include "host/system_libraries_win32.h"

// windows.h first: commctrl.h relies on its types.
#include <commctrl.h>

namespace {

HMODULE Kernel32() { return GetModuleHandleW(L"kernel32.dll"); }

}  // namespace

void RestrictLibrarySearchToSystemFolder() {
    // Windows 8 and later, and 7 and Vista with update KB2533623.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD flags);
    auto setDefaultDirectories = LookUpEntryPoint<SetDefaultDllDirectoriesFn>(Kernel32(), "SetDefaultDllDirectories");
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    // The search flags exist where AddDllDirectory does; before them, the full path.
    if (LookUpEntryPoint<FARPROC>(Kernel32(), "AddDllDirectory")) {
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenW(name) >= MAX_PATH) return nullptr;
    lstrcatW(path, L"\\");
    lstrcatW(path, name);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void InitialiseCommonControls() {
    using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX* controls);
    auto initialise = LookUpEntryPoint<InitCommonControlsExFn>(LoadSystemLibrary(L"comctl32.dll"),
                                                               "InitCommonControlsEx");
    if (!initialise) return;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_TAB_CLASSES;
    initialise(&controls);
}
