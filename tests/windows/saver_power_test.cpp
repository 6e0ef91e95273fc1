// Power and activation events sent to the full-screen saver as the system sends them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "saver_driving.h"

namespace {

constexpr WPARAM kPowerStatusChange = 10;  // PBT_APMPOWERSTATUSCHANGE
constexpr LPARAM kResumedAfterFailure = 1;  // bit 0 of lParam

std::string Describe(WPARAM event, LPARAM lParam) {
    return "event " + std::to_string(event) + ", lParam " + std::to_string(lParam);
}

struct PowerEvent {
    WPARAM event;
    LPARAM lParam;
};

class PowerEventClosesTheSaver : public testing::TestWithParam<PowerEvent> {};

TEST_P(PowerEventClosesTheSaver, WithExitCodeZero) {
    RunningSaver saver("/s");
    ASSERT_TRUE(saver.window);
    const PowerEvent& power = GetParam();
    ASSERT_TRUE(SendAndWait(saver.window, WM_POWERBROADCAST, power.event, power.lParam));
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u) << Describe(power.event, power.lParam);
}

INSTANTIATE_TEST_SUITE_P(
    SuspendAndStandbyEvenAfterAFailure, PowerEventClosesTheSaver,
    testing::Values(PowerEvent{0, 1}, PowerEvent{1, 1}, PowerEvent{2, 1}, PowerEvent{3, 1}, PowerEvent{4, 1},
                    PowerEvent{5, 1}));
INSTANTIATE_TEST_SUITE_P(ResumeWithoutAFailure, PowerEventClosesTheSaver,
                         testing::Values(PowerEvent{6, 0}, PowerEvent{7, 0}, PowerEvent{8, 0}, PowerEvent{18, 0},
                                         PowerEvent{18, 2}));
INSTANTIATE_TEST_SUITE_P(BatteryLowOemAndUnknownEvents, PowerEventClosesTheSaver,
                         testing::Values(PowerEvent{9, 1}, PowerEvent{11, 1}, PowerEvent{0x8013, 0},
                                         PowerEvent{12, 0}));

TEST(PowerEvents, ResumeAfterAFailureAndAnUnchangedAcLineKeepItRunning) {
    RunningSaver saver("/s");
    ASSERT_TRUE(saver.window);
    for (WPARAM event : {6, 7, 8, 18}) {
        ASSERT_TRUE(SendAndWait(saver.window, WM_POWERBROADCAST, event, kResumedAfterFailure));
        ASSERT_TRUE(StillRunning(saver)) << Describe(event, kResumedAfterFailure);
    }
    // Nothing changes the machine's power supply here, so the AC-line status read now is the
    // one read at start-up.
    for (LPARAM lParam : {0, 1}) {
        ASSERT_TRUE(SendAndWait(saver.window, WM_POWERBROADCAST, kPowerStatusChange, lParam));
        ASSERT_TRUE(StillRunning(saver)) << Describe(kPowerStatusChange, lParam);
    }
}

TEST(PowerEvents, OnlyNotice3OfTheOldPowerMessageClosesIt) {
    RunningSaver saver("/s");
    ASSERT_TRUE(saver.window);
    // Notice 3 is the resume the older message reports on its own; 1 (suspend request),
    // 2 and an unknown notice leave the saver running.
    for (WPARAM notice : {1, 2, 4}) {
        ASSERT_TRUE(SendAndWait(saver.window, WM_POWER, notice, 0));
        ASSERT_TRUE(StillRunning(saver)) << "WM_POWER " << notice;
    }
    ASSERT_TRUE(SendAndWait(saver.window, WM_POWER, 3, 0));
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
}

TEST(ActivationEvents, LosingTheDesktopClosesIt) {
    RunningSaver saver("/s");
    ASSERT_TRUE(saver.window);
    ASSERT_TRUE(SendAndWait(saver.window, WM_ACTIVATEAPP, TRUE, 0));
    ASSERT_TRUE(StillRunning(saver)) << "gaining activation must not end the saver";
    ASSERT_TRUE(SendAndWait(saver.window, WM_ACTIVATEAPP, FALSE, 0));
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
}

TEST(ActivationEvents, AnotherWindowComingToTheForegroundClosesIt) {
    RunningSaver saver("/s");
    ASSERT_TRUE(saver.window);
    ASSERT_TRUE(BringToForeground(saver.window));

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VintrelForegroundThief";
    RegisterClassA(&windowClass);
    HWND thief = CreateWindowExA(WS_EX_TOPMOST, "VintrelForegroundThief", "thief", WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(thief);
    EXPECT_TRUE(BringToForeground(thief));
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
    DestroyWindow(thief);
}

}  // namespace
