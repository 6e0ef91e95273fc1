// The program's own window procedure and the configuration hooks the host requires.
#pragma once

#include <windows.h>

LRESULT ScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL RegisterDialogClasses(HINSTANCE instance);
