// The host's decisions without Windows: mouse travel, power events, system commands, and when a
// close request asks for the password, on a clock the test drives.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/saver_decisions.h"

TEST(MouseTravel, MoreThanFourPixelsInTotalCloses) {
    const struct { int32_t dx, dy; bool closes; } moves[] = {
        {0, 0, false}, {3, 1, false}, {-4, 0, false}, {1, -3, false}, {3, 2, true}, {-5, 0, true}, {-2, -3, true}};
    for (auto move : moves) EXPECT_EQ(MouseTravelCloses(9, 9, 9 + move.dx, 9 + move.dy), move.closes) << move.dx;
    EXPECT_TRUE(MouseTravelCloses(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX));  // no overflow
}

TEST(PowerBroadcast, EventsWithAndWithoutTheResumeFailureFlag) {
    constexpr auto close = PowerBroadcastAction::Close, keep = PowerBroadcastAction::KeepRunning,
                   compare = PowerBroadcastAction::CompareAcLineStatus;
    const struct { uintptr_t event; PowerBroadcastAction plain, failed; } events[] = {{0, close, close},
        {1, close, close}, {2, close, close}, {3, close, close}, {4, close, close}, {5, close, close}, {6, close, keep},
        {7, close, keep}, {8, close, keep}, {18, close, keep}, {9, close, close}, {11, close, close},
        {12, close, close}, {0x8013, close, close}, {10, compare, compare}};
    for (auto power : events) {
        EXPECT_EQ(PowerBroadcastDecision(power.event, 0), power.plain) << power.event;
        EXPECT_EQ(PowerBroadcastDecision(power.event, 1), power.failed) << power.event;
    }
    EXPECT_EQ(PowerBroadcastDecision(7, 2), close);  // only bit 0 is the failure flag
}

TEST(PowerBroadcast, AcLineChangesCountFromTheLastReading) {
    uint8_t stored = 1;  // on mains power at start-up
    const struct { uint8_t reading; bool changed; } readings[] = {
        {1, false}, {0, true}, {0, false}, {unreadableAcLineStatus, true}, {1, true}};
    for (auto now : readings) {
        EXPECT_EQ(AcLineStatusChanged(stored, now.reading), now.changed) << int{now.reading};
        EXPECT_EQ(stored, now.reading);
    }
}

// A POWERBROADCAST_SETTING as Windows lays it out: the GUID, the data's length, then the data.
std::vector<unsigned char> Setting(const PowerSettingGuid& guid, uint32_t length, uint32_t value) {
    std::vector<unsigned char> bytes(24);
    std::memcpy(bytes.data(), &guid.data1, 4);
    std::memcpy(bytes.data() + 4, &guid.data2, 2);
    std::memcpy(bytes.data() + 6, &guid.data3, 2);
    std::memcpy(bytes.data() + 8, guid.data4, 8);
    std::memcpy(bytes.data() + 16, &length, 4);
    std::memcpy(bytes.data() + 20, &value, 4);
    return bytes;
}

TEST(PowerBroadcast, SettingsTheSaverFollowsAndThoseItIgnores) {
    using Change = PowerSettingChange;
    constexpr PowerSettingGuid acDcSource = {0x5D3E9A59, 0xE9D5, 0x4B00, {0xA6, 0xBD, 0xFF, 0x34, 0xFF, 0x51, 0x65, 0x48}};
    PowerSettingGuid oneByteOff = consoleDisplayStateSetting;
    oneByteOff.data4[7] ^= 1;
    const struct { PowerSettingGuid guid; uint32_t length, value; Change change; } settings[] = {
        {consoleDisplayStateSetting, 4, 0, Change::DisplayOff}, {consoleDisplayStateSetting, 4, 1, Change::DisplayOn},
        {consoleDisplayStateSetting, 4, 2, Change::DisplayOn}, {consoleDisplayStateSetting, 4, 3, Change::None},
        {consoleDisplayStateSetting, 3, 0, Change::None}, {monitorPowerOnSetting, 4, 0, Change::DisplayOff},
        {monitorPowerOnSetting, 8, 1, Change::DisplayOn}, {monitorPowerOnSetting, 4, 2, Change::None},
        {powerSavingStatusSetting, 4, 1, Change::BatterySaverOn}, {powerSavingStatusSetting, 4, 0, Change::BatterySaverOff},
        {powerSavingStatusSetting, 0, 1, Change::None}, {acDcSource, 4, 0, Change::None}, {oneByteOff, 4, 0, Change::None}};
    for (const auto& entry : settings) {
        EXPECT_EQ(PowerSettingChangeOf(Setting(entry.guid, entry.length, entry.value).data()), entry.change)
            << entry.guid.data1 << " length " << entry.length << " value " << entry.value;
    }
    EXPECT_EQ(PowerSettingChangeOf(nullptr), Change::None);
    // Windows 8 (6.2) and later tell the display's state; Vista and 7, the monitor's power.
    EXPECT_EQ(DisplayStateSettingFor(6, 2).data1, consoleDisplayStateSetting.data1);
    EXPECT_EQ(DisplayStateSettingFor(10, 0).data1, consoleDisplayStateSetting.data1);
    EXPECT_EQ(DisplayStateSettingFor(6, 1).data1, monitorPowerOnSetting.data1);
}

TEST(PowerBroadcast, TheBatterySaverAllowsThirtyFramesASecondAtMost) {
    const struct { uint32_t usual; bool saver; uint32_t period; } periods[] = {
        {10, false, 10}, {10, true, 34}, {33, true, 34}, {34, true, 34}, {50, true, 50}, {50, false, 50}};
    for (auto entry : periods) EXPECT_EQ(FramePeriodMilliseconds(entry.usual, entry.saver), entry.period) << entry.usual;
    EXPECT_LE(1000.0 / FramePeriodMilliseconds(10, true), 30.0);
}

TEST(SystemCommand, TheWholeWParamSelectsTheAnswer) {
    using Action = SystemCommandAction;
    const struct { uintptr_t command; Action action; } commands[] = {{0xF040, Action::AnswerZero},
        {0xF050, Action::AnswerZero}, {0xF140, Action::AnswerZero}, {0xF170, Action::CloseAndForward},
        {0xF060, Action::Forward}, {0xF141, Action::Forward}, {0xF172, Action::Forward}, {0x1F140, Action::Forward}};
    for (auto entry : commands) EXPECT_EQ(SystemCommandDecision(entry.command), entry.action) << entry.command;
}

TEST(PasswordCheck, APromptsAnswerStandsForTwoHundredMilliseconds) {
    using Check = PasswordCheck;
    EXPECT_EQ(PasswordCheckFor(false, false, false, noVerificationYet, 5), Check::CloseWithoutPrompt);
    EXPECT_EQ(PasswordCheckFor(true, false, true, noVerificationYet, 5), Check::Refuse);   // a prompt is open
    EXPECT_EQ(PasswordCheckFor(false, true, false, noVerificationYet, 5), Check::Refuse);  // the close is allowed
    EXPECT_EQ(PasswordCheckFor(false, false, true, noVerificationYet, ~0u), Check::Prompt);  // no prompt yet
    // A prompt ended at `end`; the clock is driven on from there, across the wrap too.
    const struct { uint32_t end, later; Check check; } steps[] = {{1000, 0, Check::RepeatLastAnswer},
        {1000, 199, Check::RepeatLastAnswer}, {1000, 200, Check::Prompt}, {0xFFFFFF80u, 199, Check::RepeatLastAnswer},
        {0xFFFFFF80u, 200, Check::Prompt}, {0xFFFFFF80u, 5000, Check::Prompt}};
    for (auto step : steps) {
        EXPECT_EQ(PasswordCheckFor(false, false, true, step.end, step.end + step.later), step.check) << step.later;
    }
}
