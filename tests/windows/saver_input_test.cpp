// The full-screen saver driven as a user and the system drive it: the mouse, keys and
// buttons, system commands and the window title, on the module's real message path.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "saver_driving.h"

namespace {

// Starts the full-screen saver with the cursor at rest, so that the position stored at the
// window's creation is known.
class FullScreenSaver : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SetCursorPos(kCursorRest.x, kCursorRest.y));
        saver_ = std::make_unique<RunningSaver>("/s");
        ASSERT_TRUE(saver_->window) << "no full-screen window";
        POINT cursor{};
        GetCursorPos(&cursor);
        ASSERT_EQ(cursor.x, kCursorRest.x);
        ASSERT_EQ(cursor.y, kCursorRest.y);
    }

    RunningSaver& saver() { return *saver_; }
    HWND window() const { return saver_->window; }
    std::optional<DWORD> WaitForExit() { return saver_->process.WaitForExit(kExitMs); }

    // Moves the cursor to rest + (dx, dy) and makes sure the saver hears of it, whatever the
    // system itself reports of the move.
    void MoveCursorBy(int dx, int dy) {
        SetCursorPos(kCursorRest.x + dx, kCursorRest.y + dy);
        PostMessageA(window(), WM_MOUSEMOVE, 0, MAKELPARAM(kCursorRest.x + dx, kCursorRest.y + dy));
    }

private:
    std::unique_ptr<RunningSaver> saver_;
};

TEST_F(FullScreenSaver, StillMouseKeepsItRunning) {
    PostMessageA(window(), WM_MOUSEMOVE, 0, MAKELPARAM(kCursorRest.x, kCursorRest.y));
    PumpMessagesFor(300);  // frames go by
    EXPECT_TRUE(StillRunning(saver()));
}

TEST_F(FullScreenSaver, FourPixelsOfTravelKeepItRunningAndFiveCloseIt) {
    MoveCursorBy(3, 1);
    EXPECT_TRUE(StillRunning(saver())) << "4 pixels in total must not end the saver";
    MoveCursorBy(3, 2);
    EXPECT_EQ(WaitForExit(), 0u) << "5 pixels in total end the saver";
}

TEST_F(FullScreenSaver, TravelIsMeasuredByTheCursorNotTheMessage) {
    // Coordinates far from the cursor, which has not moved.
    PostMessageA(window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    PostMessageA(window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1200, 900));
    EXPECT_TRUE(StillRunning(saver())) << "the message's own coordinates must not count";

    // The cursor moves, while the message claims the resting position.
    SetCursorPos(kCursorRest.x - 4, kCursorRest.y + 4);
    PostMessageA(window(), WM_MOUSEMOVE, 0, MAKELPARAM(kCursorRest.x, kCursorRest.y));
    EXPECT_EQ(WaitForExit(), 0u);
}

struct InputCase {
    const char* name;
    void (*send)();
};

class InputClosesTheSaver : public FullScreenSaver, public testing::WithParamInterface<InputCase> {};

TEST_P(InputClosesTheSaver, WithExitCodeZero) {
    // Keys go to the foreground window; the saver takes the foreground once it has set up.
    ASSERT_TRUE(BringToForeground(window()));
    GetParam().send();
    EXPECT_EQ(WaitForExit(), 0u) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, InputClosesTheSaver,
    testing::Values(InputCase{"Key", [] { PressKey('Q'); }},
                    InputCase{"SystemKey", [] { PressKey(VK_MENU); }},
                    InputCase{"LeftButton", [] { ClickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }},
                    InputCase{"RightButton", [] { ClickButton(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }},
                    InputCase{"MiddleButton", [] { ClickButton(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP); }}),
    [](const testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST_F(FullScreenSaver, WindowSwitchingAndScreenSaveCommandsAreAnsweredZero) {
    for (WPARAM command : {SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW}) {
        LRESULT answer = -1;
        ASSERT_TRUE(SendAndWait(window(), WM_SYSCOMMAND, command, 0, &answer)) << std::hex << command;
        EXPECT_EQ(answer, 0) << std::hex << command;
    }
    EXPECT_TRUE(StillRunning(saver()));
}

TEST_F(FullScreenSaver, MonitorPowerCommandClosesIt) {
    ASSERT_TRUE(SendAndWait(window(), WM_SYSCOMMAND, SC_MONITORPOWER, 2));
    EXPECT_EQ(WaitForExit(), 0u);
}

TEST_F(FullScreenSaver, OtherSystemCommandsReachTheSystem) {
    // SC_CLOSE is the system's: passed on, it closes the window the ordinary way.
    ASSERT_TRUE(SendAndWait(window(), WM_SYSCOMMAND, SC_CLOSE, 0));
    EXPECT_EQ(WaitForExit(), 0u);
}

TEST_F(FullScreenSaver, TitleCannotBeChanged) {
    LRESULT answer = -1;
    ASSERT_TRUE(SendAndWait(window(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Changed"), &answer));
    EXPECT_EQ(answer, 0);
    EXPECT_FALSE(SetWindowTextA(window(), "Changed again"));
    EXPECT_EQ(WindowTitle(window()), "Screen Saver");
    EXPECT_TRUE(StillRunning(saver()));
}

TEST_F(FullScreenSaver, AutoPlayQueryIsNotAnsweredOnTheNtFamily) {
    const UINT query = RegisterWindowMessageA("QueryCancelAutoPlay");
    LRESULT answer = -1;
    ASSERT_TRUE(SendAndWait(window(), query, 0, 0, &answer));
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(StillRunning(saver()));
}

}  // namespace
