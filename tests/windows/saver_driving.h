// Driving a running Vintrel.scr from a test: real input, messages across processes, and
// knowing for certain that the saver has handled what it was sent.
#pragma once

#include <windows.h>

#include <string>

#include "saver_process.h"

constexpr char kSaverClass[] = "WindowsScreenSaverClass";
constexpr DWORD kStartMs = 30000;  // the first start of a Wine process can be slow
constexpr DWORD kExitMs = 20000;

// Where the cursor rests while a full-screen saver starts: every travel is measured from here.
constexpr POINT kCursorRest{600, 500};

// A saver process and its window, found once it exists.
struct RunningSaver {
    explicit RunningSaver(const std::string& arguments, HWND parent = nullptr,
                          const std::vector<std::pair<std::string, std::string>>& environment = {},
                          const std::string& modulePath = {});
    SaverProcess process;
    HWND window = nullptr;
};

// True when the saver's window has handled every message posted to it before the call, and
// every close request those messages posted in turn, and still exists.
bool StillRunning(RunningSaver& saver);

// Sends a message and waits for the answer; false when it could not be delivered.
bool SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* answer = nullptr);

// Makes the window the foreground window, waiting until its thread has taken the activation.
bool BringToForeground(HWND window);

// Real input, through the system's input queue: keys reach the foreground window, buttons the
// window under the cursor.
void PressKey(WORD key);
void ClickButton(DWORD downFlag, DWORD upFlag);

// The window's title as another process reads it.
std::string WindowTitle(HWND window);
