#include "saver_process.h"

#include <cstring>
#include <string>

namespace {

// True when the environment entry "NAME=value" sets one of the names (names ignore case).
bool SetsOneOf(const char* entry, const std::vector<std::pair<std::string, std::string>>& variables) {
    const size_t length = static_cast<size_t>(lstrlenA(entry));
    for (const auto& variable : variables) {
        const std::string& name = variable.first;
        if (length > name.size() && entry[name.size()] == '=' && _strnicmp(entry, name.c_str(), name.size()) == 0) {
            return true;
        }
    }
    return false;
}

// The current environment block with the extra variables set; a variable that is already there
// is replaced, since a process reads the first of two entries with the same name.
std::vector<char> EnvironmentWith(const std::vector<std::pair<std::string, std::string>>& extra) {
    std::vector<char> block;
    char* current = GetEnvironmentStringsA();
    for (const char* entry = current; *entry; entry += lstrlenA(entry) + 1) {
        if (SetsOneOf(entry, extra)) continue;
        block.insert(block.end(), entry, entry + lstrlenA(entry) + 1);
    }
    FreeEnvironmentStringsA(current);
    for (const auto& [name, value] : extra) {
        const std::string entry = name + "=" + value;
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

struct FindContext {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
    auto* context = reinterpret_cast<FindContext*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == context->processId && lstrcmpA(className, context->className) == 0) {
        context->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

SaverProcess::SaverProcess(const std::string& arguments,
                           const std::vector<std::pair<std::string, std::string>>& environment,
                           const std::string& modulePath) {
    const std::string module = modulePath.empty() ? TestProgramDirectory() + "Vintrel.scr" : modulePath;
    std::string commandLine = "\"" + module + "\" " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    std::vector<char> block = EnvironmentWith(environment);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0,
                        environment.empty() ? nullptr : block.data(), nullptr, &startup, &process_)) {
        process_ = {};
    }
}

SaverProcess::~SaverProcess() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::optional<DWORD> SaverProcess::WaitForExit(DWORD milliseconds) {
    if (!process_.hProcess) return std::nullopt;
    const DWORD deadline = GetTickCount() + milliseconds;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD left = static_cast<LONG>(deadline - now) > 0 ? deadline - now : 0;
        const DWORD result = MsgWaitForMultipleObjects(1, &process_.hProcess, FALSE, left, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process_.hProcess, &code);
            return code;
        }
        if (result != WAIT_OBJECT_0 + 1) return std::nullopt;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

HWND SaverProcess::WaitForWindow(const char* className, DWORD milliseconds, HWND parent) {
    const DWORD start = GetTickCount();
    do {
        FindContext context{process_.dwProcessId, className, nullptr};
        if (parent) {
            EnumChildWindows(parent, MatchWindow, reinterpret_cast<LPARAM>(&context));
        } else {
            EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&context));
        }
        if (context.found) return context.found;
        PumpMessagesFor(50);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

std::string TestProgramDirectory() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    directory.erase(directory.find_last_of("\\/") + 1);
    return directory;
}

void PumpMessagesFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}
