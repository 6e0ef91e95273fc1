// The power settings the saver follows while it runs: the display's state (the full-screen saver
// draws nothing while the display is off) and the battery saver (fewer frames). Windows reports
// each by WM_POWERBROADCAST with PBT_POWERSETTINGCHANGE, the current state right after asking.
#pragma once

#include <windows.h>

// Asks for the battery saver's changes, and for the display's where displayState is set; where
// the system cannot report them (before Windows Vista, or a refused registration) nothing changes.
void RegisterPowerNotifications(HWND window, bool displayState);

// Before the window goes: ends every registration made for it.
void UnregisterPowerNotifications();
