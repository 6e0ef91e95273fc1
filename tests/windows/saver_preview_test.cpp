// The preview inside a window of the test: nothing the user does closes it, help and the
// context menu go up to the parent, and it ends with its parent.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "preview_host.h"
#include "saver_driving.h"

namespace {

std::string Decimal(HWND window) { return std::to_string(reinterpret_cast<uintptr_t>(window)); }

class Preview : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host_.window());
        SetForegroundWindow(host_.window());
        saver_ = std::make_unique<RunningSaver>("/p " + Decimal(host_.window()), host_.window());
        ASSERT_TRUE(saver_->window) << "no preview window in the parent";
    }

    PreviewHost& host() { return host_; }
    RunningSaver& saver() { return *saver_; }
    HWND preview() const { return saver_->window; }

    // The preview's centre in screen coordinates.
    POINT Centre() const {
        RECT frame{};
        GetWindowRect(preview(), &frame);
        return {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
    }

    // Waits until the host has received the given number of handed-up messages.
    bool WaitForHandedUp(size_t count) {
        for (int attempt = 0; attempt < 200 && host_.handedUp().size() < count; ++attempt) PumpMessagesFor(20);
        return host_.handedUp().size() >= count;
    }

private:
    PreviewHost host_{320, 240};
    std::unique_ptr<RunningSaver> saver_;
};

TEST_F(Preview, KeysClicksAndMouseTravelCloseNothing) {
    // Real clicks on the preview, after a cursor journey across it.
    const POINT centre = Centre();
    SetCursorPos(centre.x - 60, centre.y - 40);
    SetCursorPos(centre.x, centre.y);
    ClickButton(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ClickButton(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ClickButton(MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP);
    // Keys go to the focus, which the parent keeps: they are handed to the preview directly.
    PostMessageA(preview(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageA(preview(), WM_SYSKEYDOWN, VK_MENU, 0x20380001);
    PostMessageA(preview(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    PostMessageA(preview(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PumpMessagesFor(200);
    EXPECT_TRUE(StillRunning(saver()));
}

TEST_F(Preview, PowerAndActivationEventsCloseNothing) {
    for (WPARAM event : {0, 4, 7, 9, 10, 18}) {
        ASSERT_TRUE(SendAndWait(preview(), WM_POWERBROADCAST, event, 0)) << event;
    }
    ASSERT_TRUE(SendAndWait(preview(), WM_POWER, PWR_SUSPENDRESUME, 0));
    ASSERT_TRUE(SendAndWait(preview(), WM_ACTIVATEAPP, FALSE, 0));
    EXPECT_TRUE(StillRunning(saver()));
}

TEST_F(Preview, ContextMenuGoesUpToTheParentWithTheParentsHandle) {
    const LPARAM where = MAKELPARAM(123, 45);
    ASSERT_TRUE(PostMessageA(preview(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(preview()), where));
    ASSERT_TRUE(WaitForHandedUp(1));
    const HandedUpMessage& received = host().handedUp()[0];
    EXPECT_EQ(received.message, static_cast<UINT>(WM_CONTEXTMENU));
    EXPECT_EQ(received.wParam, reinterpret_cast<WPARAM>(host().window()));
    EXPECT_EQ(received.lParam, where);
    EXPECT_TRUE(StillRunning(saver()));
}

TEST_F(Preview, HelpGoesUpToTheParentWithItsHelpInfo) {
    HELPINFO help{};
    help.cbSize = sizeof help;
    help.iContextType = HELPINFO_WINDOW;
    help.iCtrlId = 77;
    help.hItemHandle = preview();
    help.dwContextId = 0x5150;
    help.MousePos = {33, 44};
    LRESULT answer = 0;
    ASSERT_TRUE(SendAndWait(preview(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help), &answer));
    EXPECT_EQ(answer, 1);
    ASSERT_TRUE(WaitForHandedUp(1)) << "the parent never heard of the help request";
    const HandedUpMessage& received = host().handedUp()[0];
    EXPECT_EQ(received.message, static_cast<UINT>(WM_HELP));
    EXPECT_EQ(received.wParam, reinterpret_cast<WPARAM>(host().window()));
    EXPECT_EQ(received.help.cbSize, sizeof(HELPINFO));
    EXPECT_EQ(received.help.iCtrlId, 77);
    EXPECT_EQ(received.help.dwContextId, 0x5150u);
    EXPECT_EQ(received.help.MousePos.x, 33);
    EXPECT_EQ(received.help.MousePos.y, 44);
    EXPECT_TRUE(StillRunning(saver()));
}

TEST_F(Preview, TitleCannotBeChanged) {
    LRESULT answer = -1;
    ASSERT_TRUE(SendAndWait(preview(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Changed"), &answer));
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(WindowTitle(preview()), "Preview");
}

TEST_F(Preview, EndsWithItsParent) {
    PumpMessagesFor(300);
    ASSERT_TRUE(StillRunning(saver()));
    host().Destroy();
    EXPECT_EQ(saver().process.WaitForExit(kExitMs), 0u);
}

}  // namespace
