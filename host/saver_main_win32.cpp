// Process entry, the mode dispatch, the configuration mode's answer and the password change.
#include <windows.h>

#include "host/saver_arguments.h"
#include "host/saver_behaviour_win32.h"
#include "host/saver_modes_win32.h"
#include "host/screen_saver_proc_win32.h"
#include "host/system_libraries_win32.h"
#include "resources/resource_ids.h"

HINSTANCE saverInstance = nullptr;
bool win9xPlatform = false;

namespace {

const char* NextCharacter(const char* text) { return CharNextA(text); }

HWND WindowFromNumber(uint32_t number) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(number));
}

// The named window, or the foreground window where the number names no existing window.
HWND WindowOrForeground(uint32_t number) {
    HWND window = WindowFromNumber(number);
    return number != 0 && IsWindow(window) ? window : GetForegroundWindow();
}

// An exception that no one else handles ends the saver with -1, after telling the system
// that no password-protected saver runs any longer. It is the process's unhandled-exception
// filter, not a handler around the dispatch: GCC has no __try/__except to guard a block with,
// and C++ catch never sees an access violation. The filter also covers faults on other threads
// (the OpenGL driver's own, say), which a handler around the dispatch would not.
LONG WINAPI SaverExceptionFilter(EXCEPTION_POINTERS*) {
    SetSaverRunning(FALSE);
    ExitProcess(static_cast<UINT>(-1));
}

int DispatchSaverMode(const char* text) {
    const SaverArguments arguments = ParseSaverArguments(text);
    switch (arguments.mode) {
        case SaverMode::ConfigureWithoutOwner:
            return ShowConfigureDialog(nullptr);
        case SaverMode::FullScreen:
            return RunSaverWindow(nullptr);
        case SaverMode::Preview: {
            HWND parent = WindowFromNumber(arguments.window);
            if (arguments.window == 0 || !IsWindow(parent)) return -1;
            return RunSaverWindow(parent);
        }
        case SaverMode::Configure:
            return ShowConfigureDialog(WindowOrForeground(arguments.window));
        case SaverMode::ChangePassword:
            if (!win9xPlatform) return -1;
            ChangeSaverPassword(WindowOrForeground(arguments.window));
            return 0;
        case SaverMode::Unrecognised:
            break;
    }
    return -1;
}

}  // namespace

extern "C" void SaverEntry() {
    const char* arguments = SkipProgramName(GetCommandLineA(), NextCharacter);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    const int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    const int exitCode = SaverMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(arguments), showCommand);
    ExitProcess(static_cast<UINT>(exitCode));
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    SaverEntry();
    return 0;
}

int SaverMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    saverInstance = instance;

    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    win9xPlatform = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
#pragma GCC diagnostic pop

    // The 95/98/Me family finds its password libraries by name, wherever they are.
    if (!win9xPlatform) RestrictLibrarySearchToSystemFolder();
    InitialiseCommonControls();

    SetUnhandledExceptionFilter(SaverExceptionFilter);
    return DispatchSaverMode(arguments);
}

int ShowConfigureDialog(HWND parent) {
    if (!RegisterDialogClasses(saverInstance)) return 0;
    // The saver has no settings. A Settings button that shows nothing reads as a broken saver,
    // so the answer is a box that says so, with the name the system lists the saver by.
    char name[64] = "";
    LoadStringA(saverInstance, DESCRIPTION_STRING, name, sizeof name);
    MessageBoxA(parent, "This screen saver has no options that you can set.", name, MB_OK | MB_ICONINFORMATION);
    return 0;
}

void ChangeSaverPassword(HWND owner) {
    using ChangePasswordFn = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2);
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (!library) return;
    const auto changePassword = LookUpEntryPoint<ChangePasswordFn>(library, "PwdChangePasswordA");
    if (changePassword) changePassword("SCRSAVE", owner, 0, 0);
    FreeLibrary(library);
}
