// The screen-saver host: command line, modes, the window and its message loop.
#pragma once

#include <windows.h>

extern HINSTANCE saverInstance;
extern bool win9xPlatform;  // the Windows 95/98/Me family: the host handles passwords there
extern bool isPreview;
extern HWND mainWindow;
extern BYTE acLineStatus;          // 255 when the power status cannot be read
extern UINT queryCancelAutoPlayMsg;  // 0 when not registered

extern "C" void SaverEntry();
int SaverMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR arguments, int showCommand);
int RunSaverWindow(HWND parent);
// Moves the full-screen window over the virtual screen of every monitor as it is now.
void PlaceOverVirtualScreen(HWND window);
int ShowConfigureDialog(HWND parent);
void ChangeSaverPassword(HWND owner);
