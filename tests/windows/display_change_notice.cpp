// Tells the running full-screen saver that the displays changed, as Windows does after a monitor
// comes or goes (Wine updates its monitors then, but sends no WM_DISPLAYCHANGE for it). Exits 0
// once the saver has handled the message.
#include <windows.h>

int main() {
    HWND saver = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    HDC screen = GetDC(nullptr);
    const WPARAM bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    const LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    DWORD_PTR answer = 0;
    return saver && SendMessageTimeoutA(saver, WM_DISPLAYCHANGE, bitsPerPixel, size, SMTO_NORMAL, 30000, &answer) ? 0 : 1;
}
