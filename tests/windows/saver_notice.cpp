// Tells the running full-screen saver what Windows would tell it, from outside its process:
//   display-change          the monitors changed (Wine updates its monitors, but sends no
//                           WM_DISPLAYCHANGE for it)
//   display-off, display-on the display's state, as a power setting's change (Wine's
//                           registration is a stub that never sends one)
// Exits 0 once the saver has handled the message, 1 when there is no saver, 2 on a bad argument.
#include <windows.h>

#include <cstring>

namespace {

constexpr GUID kDisplayState = {0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};

bool Send(HWND saver, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(saver, message, wParam, lParam, SMTO_NORMAL, 30000, &answer) != 0;
}

// The setting is sent as Windows sends it: in the saver's own memory.
bool SendDisplayState(HWND saver, DWORD state) {
    DWORD processId = 0;
    GetWindowThreadProcessId(saver, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) return false;
    struct { GUID guid; DWORD length; DWORD value; } setting{kDisplayState, sizeof(DWORD), state};
    void* copy = VirtualAllocEx(process, nullptr, sizeof setting, MEM_COMMIT, PAGE_READWRITE);
    const bool sent = copy && WriteProcessMemory(process, copy, &setting, sizeof setting, nullptr) &&
                      Send(saver, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(copy));
    if (copy) VirtualFreeEx(process, copy, 0, MEM_RELEASE);
    CloseHandle(process);
    return sent;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    HWND saver = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    if (!saver) return 1;
    if (std::strcmp(argv[1], "display-change") == 0) {
        HDC screen = GetDC(nullptr);
        const WPARAM bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
        return Send(saver, WM_DISPLAYCHANGE, bitsPerPixel,
                    MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN))) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "display-off") == 0) return SendDisplayState(saver, 0) ? 0 : 1;
    if (std::strcmp(argv[1], "display-on") == 0) return SendDisplayState(saver, 1) ? 0 : 1;
    return 2;
}
