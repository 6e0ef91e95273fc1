// Vintrel.scr as a child process of a test: started with an argument text, watched and ended.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

class SaverProcess {
public:
    // Starts the module with the given argument text: Vintrel.scr beside the test program, or
    // the module at modulePath. Environment variables (name, value) are set in the child's
    // environment, replacing the test's own values of the same name.
    explicit SaverProcess(const std::string& arguments,
                          const std::vector<std::pair<std::string, std::string>>& environment = {},
                          const std::string& modulePath = {});
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    DWORD id() const { return process_.dwProcessId; }

    // The exit code once the process has ended within the time, none while it still runs.
    // Messages of the test's own windows are dispatched while waiting.
    std::optional<DWORD> WaitForExit(DWORD milliseconds);

    // The first top-level or child window of this process with the given class, waiting for
    // it to appear.
    HWND WaitForWindow(const char* className, DWORD milliseconds, HWND parent = nullptr);

private:
    PROCESS_INFORMATION process_{};
};

// The folder of the test program, ending in a backslash.
std::string TestProgramDirectory();

// Dispatches the test thread's messages for about the given time.
void PumpMessagesFor(DWORD milliseconds);

// The colour of a screen pixel, read back from the desktop.
COLORREF ScreenPixel(int x, int y);

// The process exit code that the module's -1 becomes.
constexpr DWORD kExitMinusOne = 0xFFFFFFFFu;
