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

// A power setting's identifier, laid out as Windows lays out a GUID.
struct PowerSettingGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

// The display's state, Windows 8 and later: 0 off, 1 on, 2 dimmed.
constexpr PowerSettingGuid consoleDisplayStateSetting = {
    0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
// The monitor's power, Windows Vista and 7: 0 off, 1 on.
constexpr PowerSettingGuid monitorPowerOnSetting = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};
// The battery saver, Windows 10 and later: 0 off, 1 on.
constexpr PowerSettingGuid powerSavingStatusSetting = {
    0xE00958C0, 0xC213, 0x4ACE, {0xAC, 0x77, 0xFE, 0xCC, 0xED, 0x2E, 0xEE, 0xA5}};

// The setting that tells the display's state on this version of Windows.
const PowerSettingGuid& DisplayStateSettingFor(uint32_t majorVersion, uint32_t minorVersion);

enum class PowerSettingChange {
    None,  // not a setting the saver follows, or not one it can read
    DisplayOff,
    DisplayOn,  // dimmed counts as on: somebody may still be looking
    BatterySaverOff,
    BatterySaverOn
};

// What a setting's change (PBT_POWERSETTINGCHANGE) reports. The setting is laid out as Windows'
// POWERBROADCAST_SETTING: the GUID, a 32-bit data length, then the data; a null pointer, another
// GUID, data shorter than 32 bits or a value the setting does not define is no change.
PowerSettingChange PowerSettingChangeOf(const void* setting);

// Frames a second at most while the battery saver is on.
constexpr uint32_t batterySaverFramesPerSecond = 30;

// The frame timer's period: the usual one, or with the battery saver on one long enough that no
// more than its frames a second come.
uint32_t FramePeriodMilliseconds(uint32_t usualPeriod, bool batterySaverOn);

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
