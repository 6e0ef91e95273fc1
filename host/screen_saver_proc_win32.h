// The program's own window procedure and the configuration hooks of the screen-saver contract:
// RegisterDialogClasses runs before the configuration mode's answer; the module has no dialog,
// so ScreenSaverConfigureDialog, which handles no message, is never reached.
#pragma once

#include <windows.h>

LRESULT ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL RegisterDialogClasses(HINSTANCE instance);
