// What every message of the screen-saver window means: closing on input, power and activation
// events, the password on the Windows 95/98/Me family, the hidden cursor.
#pragma once

#include <windows.h>

// The host's private message that asks the window for the password; non-zero answer: close.
constexpr UINT VerifyPasswordMessage = WM_APP;

using VerifyPasswordFn = BOOL(WINAPI*)(HWND window);

extern bool isClosing;
extern bool isVerifying;
extern HMODULE passwordLibrary;
extern VerifyPasswordFn verifyPasswordFn;
extern POINT lastCursorPos;
extern DWORD lastVerifyTick;

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefScreenSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL VerifySaverPassword(HWND window);
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunning(BOOL running);
