// What a screen-saver message means, decided without the operating system: the Win32 default
// procedure asks these and applies the answer.
#pragma once

#include <cstdint>

// Pixels of mouse travel (x plus y) from the stored position that end the saver.
constexpr uint32_t mouseMoveThreshold = 4;

// True when the cursor has travelled more than the threshold from the stored position.
bool MouseTravelCloses(int32_t lastX, int32_t lastY, int32_t x, int32_t y);

enum class PowerBroadcastAction {
    Close,               // post the close request
    KeepRunning,         // nothing to do
    CompareAcLineStatus  // close only when the AC-line status has changed
};

// The answer to WM_POWERBROADCAST with this event (wParam); bit 0 of lParam marks a resume
// after a failure, which does not end the saver.
PowerBroadcastAction PowerBroadcastDecision(uintptr_t event, intptr_t lParam);

// The AC-line status when the power status cannot be read.
constexpr uint8_t unreadableAcLineStatus = 255;

// On a power-status change: true when the AC-line status now read differs from the stored one;
// the stored status becomes the one now read either way.
bool AcLineStatusChanged(uint8_t& stored, uint8_t current);

enum class SystemCommandAction {
    AnswerZero,       // swallowed: the saver keeps running
    CloseAndForward,  // post the close request, then pass the command on
    Forward           // pass the command on
};

// The answer to WM_SYSCOMMAND in the full-screen saver; wParam is compared whole.
SystemCommandAction SystemCommandDecision(uintptr_t wParam);

// Tick count stored before any password prompt has ended.
constexpr uint32_t noVerificationYet = 0xFFFFFFFFu;

enum class PasswordCheck {
    Refuse,              // a prompt is open, or the close is already allowed: this request is refused
    CloseWithoutPrompt,  // no password verifier is loaded
    RepeatLastAnswer,    // a prompt ended less than 200 ms ago: its answer stands, without a new prompt
    Prompt               // ask for the password
};

// How a close request is checked on the Windows 95/98/Me family; lastVerifyTick and now are
// millisecond tick counts that wrap at 32 bits.
PasswordCheck PasswordCheckFor(bool verifying, bool closing, bool verifierLoaded, uint32_t lastVerifyTick,
                               uint32_t now);
