#include "host/saver_decisions.h"

#include <cstring>

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

bool SameSetting(const unsigned char* guid, const PowerSettingGuid& setting) {
    unsigned char bytes[16];
    std::memcpy(bytes, &setting.data1, 4);
    std::memcpy(bytes + 4, &setting.data2, 2);
    std::memcpy(bytes + 6, &setting.data3, 2);
    std::memcpy(bytes + 8, setting.data4, 8);
    return std::memcmp(guid, bytes, sizeof bytes) == 0;
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

const PowerSettingGuid& DisplayStateSettingFor(uint32_t majorVersion, uint32_t minorVersion) {
    const bool windows8OrLater = majorVersion > 6 || (majorVersion == 6 && minorVersion >= 2);
    return windows8OrLater ? consoleDisplayStateSetting : monitorPowerOnSetting;
}

PowerSettingChange PowerSettingChangeOf(const void* setting) {
    if (!setting) return PowerSettingChange::None;
    const auto* bytes = static_cast<const unsigned char*>(setting);
    uint32_t dataLength = 0;
    std::memcpy(&dataLength, bytes + 16, sizeof dataLength);
    if (dataLength < sizeof(uint32_t)) return PowerSettingChange::None;
    uint32_t value = 0;
    std::memcpy(&value, bytes + 20, sizeof value);
    if (SameSetting(bytes, consoleDisplayStateSetting) || SameSetting(bytes, monitorPowerOnSetting)) {
        const bool dimmed = value == 2 && SameSetting(bytes, consoleDisplayStateSetting);
        if (value == 0) return PowerSettingChange::DisplayOff;
        if (value == 1 || dimmed) return PowerSettingChange::DisplayOn;
    } else if (SameSetting(bytes, powerSavingStatusSetting)) {
        if (value == 0) return PowerSettingChange::BatterySaverOff;
        if (value == 1) return PowerSettingChange::BatterySaverOn;
    }
    return PowerSettingChange::None;
}

uint32_t FramePeriodMilliseconds(uint32_t usualPeriod, bool batterySaverOn) {
    const uint32_t slowest = (1000 + batterySaverFramesPerSecond - 1) / batterySaverFramesPerSecond;
    return batterySaverOn && usualPeriod < slowest ? slowest : usualPeriod;
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
