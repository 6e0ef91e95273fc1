#include "host/saver_decisions.h"

namespace {

constexpr uintptr_t kPowerStatusChange = 10;  // PBT_APMPOWERSTATUSCHANGE
constexpr uintptr_t kResumeAutomatic = 18;    // PBT_APMRESUMEAUTOMATIC

constexpr uintptr_t kNextWindow = 0xF040;     // SC_NEXTWINDOW
constexpr uintptr_t kPreviousWindow = 0xF050; // SC_PREVWINDOW
constexpr uintptr_t kScreenSave = 0xF140;     // SC_SCREENSAVE
constexpr uintptr_t kMonitorPower = 0xF170;   // SC_MONITORPOWER

constexpr uint32_t kVerifyQuietMilliseconds = 200;

int64_t Distance(int32_t a, int32_t b) {
    const int64_t difference = static_cast<int64_t>(a) - static_cast<int64_t>(b);
    return difference < 0 ? -difference : difference;
}

}  // namespace

bool MouseTravelCloses(int32_t lastX, int32_t lastY, int32_t x, int32_t y) {
    return Distance(x, lastX) + Distance(y, lastY) > static_cast<int64_t>(mouseMoveThreshold);
}

PowerBroadcastAction PowerBroadcastDecision(uintptr_t event, intptr_t lParam) {
    const bool resumedAfterFailure = (lParam & 1) != 0;
    if (event <= 5) return PowerBroadcastAction::Close;  // queries, suspend, standby
    if (event <= 8 || event == kResumeAutomatic) {        // resume critical, suspend, standby, automatic
        return resumedAfterFailure ? PowerBroadcastAction::KeepRunning : PowerBroadcastAction::Close;
    }
    if (event == kPowerStatusChange) return PowerBroadcastAction::CompareAcLineStatus;
    return PowerBroadcastAction::Close;  // battery low, OEM events and anything unknown
}

bool AcLineStatusChanged(uint8_t& stored, uint8_t current) {
    const bool changed = current != stored;
    stored = current;
    return changed;
}

SystemCommandAction SystemCommandDecision(uintptr_t wParam) {
    switch (wParam) {
        case kNextWindow:
        case kPreviousWindow:
        case kScreenSave:
            return SystemCommandAction::AnswerZero;
        case kMonitorPower:
            return SystemCommandAction::CloseAndForward;
        default:
            return SystemCommandAction::Forward;
    }
}

PasswordCheck PasswordCheckFor(bool verifying, bool closing, bool verifierLoaded, uint32_t lastVerifyTick,
                               uint32_t now) {
    if (verifying || closing) return PasswordCheck::Refuse;
    if (!verifierLoaded) return PasswordCheck::CloseWithoutPrompt;
    if (lastVerifyTick != noVerificationYet && now - lastVerifyTick < kVerifyQuietMilliseconds) {
        return PasswordCheck::RepeatLastAnswer;
    }
    return PasswordCheck::Prompt;
}
