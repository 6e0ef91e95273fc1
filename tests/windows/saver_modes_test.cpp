// The module's modes end to end: each test starts Vintrel.scr as the system would.
#include <gtest/gtest.h>
#include <windows.h>

#include "preview_host.h"
#include "saver_driving.h"
#include "saver_process.h"

namespace {

constexpr char kSaverClass[] = "WindowsScreenSaverClass";
constexpr DWORD kStartMs = 30000;  // the first start of a Wine process can be slow
constexpr DWORD kExitMs = 20000;

std::string Decimal(HWND window) { return std::to_string(reinterpret_cast<uintptr_t>(window)); }

int Brightness(COLORREF colour) { return (GetRValue(colour) + GetGValue(colour) + GetBValue(colour)) / 3; }

bool IsOpaqueRed(COLORREF colour) {
    return GetRValue(colour) == 255 && GetGValue(colour) == 0 && GetBValue(colour) == 0;
}

// Once the frame timer runs, the screen shows the clock over the night sky: a lit dial in the
// middle, a dark blue sky in the corner, and nowhere the black of the bare window or the red
// clear colour.
bool ShowsTheClockOverTheSky(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int eighth = (frame.bottom - frame.top) / 8;
    const int dialX = (frame.left + frame.right) / 2 - eighth;
    const int dialY = (frame.top + frame.bottom) / 2 + eighth;
    for (int attempt = 0; attempt < 100; ++attempt) {
        PumpMessagesFor(100);
        const COLORREF sky = ScreenPixel(frame.left + 10, frame.top + 10);
        const COLORREF dial = ScreenPixel(dialX, dialY);
        if (Brightness(dial) > 60 && Brightness(sky) > 0 && Brightness(sky) < 60 && GetBValue(sky) >= GetRValue(sky) &&
            !IsOpaqueRed(sky) && !IsOpaqueRed(dial)) {
            return true;
        }
    }
    ADD_FAILURE() << "corner " << std::hex << ScreenPixel(frame.left + 10, frame.top + 10) << ", dial "
                  << ScreenPixel(dialX, dialY);
    return false;
}

TEST(SaverModes, UnrecognisedArgumentExitsMinusOne) {
    SaverProcess saver("/x");
    ASSERT_TRUE(saver.started());
    EXPECT_EQ(saver.WaitForExit(kExitMs), kExitMinusOne);
}

TEST(SaverModes, PreviewWithoutAValidWindowExitsMinusOne) {
    for (const char* arguments : {"/p", "/p 0", "/p abc"}) {
        SaverProcess saver(arguments);
        ASSERT_TRUE(saver.started());
        EXPECT_EQ(saver.WaitForExit(kExitMs), kExitMinusOne) << arguments;
    }
}

TEST(SaverModes, ConfigurationShowsNothingAndExitsMinusOne) {
    SaverProcess saver("/c");
    ASSERT_TRUE(saver.started());
    EXPECT_EQ(saver.WaitForExit(kExitMs), kExitMinusOne);
}

TEST(SaverModes, PasswordChangeOnTheNtFamilyExitsMinusOne) {
    SaverProcess saver("/a");
    ASSERT_TRUE(saver.started());
    EXPECT_EQ(saver.WaitForExit(kExitMs), kExitMinusOne);
}

TEST(SaverModes, PreviewIsAChildOfTheParentsClientSize) {
    PreviewHost host(320, 240);
    ASSERT_TRUE(host.window());
    SaverProcess saver("/p " + Decimal(host.window()));
    ASSERT_TRUE(saver.started());
    HWND preview = saver.WaitForWindow(kSaverClass, kStartMs, host.window());
    ASSERT_TRUE(preview) << "no preview window in the parent";
    EXPECT_EQ(GetParent(preview), host.window());
    RECT client{};
    GetClientRect(preview, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    char title[64] = {};
    GetWindowTextA(preview, title, sizeof title);
    EXPECT_STREQ(title, "Preview");

    // The preview ends with its parent.
    host.Destroy();
    EXPECT_EQ(saver.WaitForExit(kExitMs), 0u);
}

TEST(SaverModes, FullScreenCoversTheVirtualScreenTopmostAndDrawsTheScene) {
    SaverProcess saver("/s");
    ASSERT_TRUE(saver.started());
    HWND window = saver.WaitForWindow(kSaverClass, kStartMs);
    ASSERT_TRUE(window) << "no full-screen window";

    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Screen Saver");
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(frame.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
    EXPECT_EQ(frame.right - frame.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(frame.bottom - frame.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));

    EXPECT_TRUE(ShowsTheClockOverTheSky(window));

    // A second full-screen start gives way to the running one.
    SaverProcess second("/s");
    ASSERT_TRUE(second.started());
    EXPECT_EQ(second.WaitForExit(kExitMs), 0u);
    EXPECT_FALSE(saver.WaitForExit(0)) << "the first saver must keep running";

    // A key press ends it.
    SetForegroundWindow(window);
    PressKey(VK_SPACE);
    EXPECT_EQ(saver.WaitForExit(kExitMs), 0u);
}

// Windows' own OpenGL 1.1, remote desktops and virtual machines offer neither: the saver still
// draws whole frames (no reflection, fixed-function lighting) and exits cleanly.
TEST(SaverModes, ContextWithoutFramebufferOrShaderObjectsDrawsAndExitsCleanly) {
    SaverProcess saver("/s", {{"MESA_GL_VERSION_OVERRIDE", "1.4"},
                              {"MESA_EXTENSION_OVERRIDE", "-GL_EXT_framebuffer_object -GL_ARB_shader_objects"}});
    ASSERT_TRUE(saver.started());
    HWND window = saver.WaitForWindow(kSaverClass, kStartMs);
    ASSERT_TRUE(window);
    EXPECT_TRUE(ShowsTheClockOverTheSky(window));
    PumpMessagesFor(1000);  // many frames
    ASSERT_FALSE(saver.WaitForExit(0)) << "the saver ended by itself";
    PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(saver.WaitForExit(kExitMs), 0u);
}

}  // namespace
