// The module's modes as the system starts them: exit codes; the full-screen window, its picture and
// what ends it; the preview in a window of the test standing in for the display settings, which
// nothing closes, which hands help and the context menu up to its parent, and which ends with it.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "saver_harness.h"
#include <GL/gl.h>  // after windows.h

TEST(SaverModes, ModesWithoutAWindowExitMinusOne) {
    HWND gone = CreateTestWindow("gone", 0, 0, 10, 10);
    DestroyWindow(gone);
    // An unknown letter, a password change off Windows 95/98/Me, no preview window.
    for (const char* arguments : {"/x", "/a"}) EXPECT_EQ(Saver(arguments).ExitCode(), kExitMinusOne) << arguments;
    EXPECT_EQ(Saver("/p " + Decimal(gone)).ExitCode(), kExitMinusOne);
}

// Settings: a message box owned by the window the display settings name, which Enter closes.
TEST(SaverModes, SettingsSayThereAreNoOptionsInABoxOfTheOwnerAndEndWithZero) {
    HWND owner = CreateTestWindow("settings owner", 0, 0, 200, 100);
    Saver saver("/c:" + Decimal(owner));
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) && GetWindow(box, GW_OWNER) != owner) {}
        return box && Visible(box);
    }));
    EXPECT_EQ(WindowTitle(box), "Nordle Dial");
    char text[96] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // a message box's text control
    EXPECT_STREQ(text, "This screen saver has no options that you can set.");
    ASSERT_TRUE(BringToForeground(box));
    Press(VK_RETURN);
    EXPECT_EQ(saver.ExitCode(), 0u);
    DestroyWindow(owner);
}

// The clock over the night sky: a lit dial at three or more of four points around the window's
// centre (a hand may cover one) and the sky in its corner.
static void ExpectTheClockOverTheSky(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int x = (frame.left + frame.right) / 2, y = (frame.top + frame.bottom) / 2, d = (y - frame.top) * 2 / 7;
    COLORREF sky = 0;
    int lit = 0;
    EXPECT_TRUE(PumpUntil([&] {
        sky = ScreenPixel(frame.left + 10, frame.top + 10);
        lit = 0;
        for (POINT point : {POINT{x - d, y - d}, POINT{x + d, y - d}, POINT{x - d, y + d}, POINT{x + d, y + d}}) {
            lit += Brightness(ScreenPixel(point.x, point.y)) > 60;
        }
        return lit >= 3 && NightSky(sky);
    })) << "sky " << std::hex << sky << ", lit points of the dial " << lit;
}

TEST(SaverModes, FullScreenCoversTheVirtualScreenShowsTheClockAndEndsOnAKey) {
    ASSERT_TRUE(PlaceCursor(kCursorRest));
    Saver saver("/s");
    ASSERT_TRUE(saver.WaitForWindow());
    EXPECT_TRUE(CoversTheVirtualScreen(saver.window));
    EXPECT_TRUE(GetWindowLongA(saver.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ExpectTheClockOverTheSky(saver.window);
    EXPECT_EQ(Saver("/s").ExitCode(), 0u) << "a second full-screen start must give way";
    EXPECT_EQ(Send(saver.window, WM_SETTEXT, 0, LPARAM("Changed")), 0);
    EXPECT_EQ(WindowTitle(saver.window), "Screen Saver");
    // Off the Windows 95/98/Me family the AutoPlay query is the system's: answered 0, it ends nothing.
    EXPECT_EQ(Send(saver.window, RegisterWindowMessageA("QueryCancelAutoPlay"), 0, 0), 0);
    Storm(saver, 0x5EED2024u, false);
    ASSERT_TRUE(BringToForeground(saver.window));
    Press('Q');
    EXPECT_EQ(saver.ExitCode(), 0u);
}

// The screen's pixels over the window, as the X server shows them.
static std::vector<DWORD> ScreenImage(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(size_t(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS);
    DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
    return pixels;
}

// The snow falls and the pendulum swings: a new frame shows other pixels.
static bool FramesCome(HWND window) {
    const std::vector<DWORD> before = ScreenImage(window);
    return PumpUntil([&] { return ScreenImage(window) != before; });
}

// No frame for a second and a half, while timer messages come too.
static bool NoFramesCome(HWND window) {
    PumpMessagesFor(200);  // a frame drawn before the change may still be on its way to the screen
    const std::vector<DWORD> before = ScreenImage(window);
    for (int look = 0; look < 6; ++look) {
        PostMessageA(window, WM_TIMER, 1, 0);
        PumpMessagesFor(250);
        if (ScreenImage(window) != before) return false;
    }
    return true;
}

// Delivers a power setting's change as Windows does: sent, with the setting in the saver's own
// memory. A length of -1 sends a null setting.
static void SendPowerSetting(Saver& saver, const GUID& setting, DWORD value, int length = sizeof(DWORD)) {
    struct { GUID guid; DWORD length; DWORD value; } data{setting, DWORD(length), value};
    void* copy = VirtualAllocEx(saver.Process(), nullptr, sizeof data, MEM_COMMIT, PAGE_READWRITE);
    ASSERT_TRUE(copy && WriteProcessMemory(saver.Process(), copy, &data, sizeof data, nullptr));
    EXPECT_EQ(Send(saver.window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, length < 0 ? 0 : LPARAM(copy)), TRUE);
    VirtualFreeEx(saver.Process(), copy, 0, MEM_RELEASE);
}

// Windows says the display went off: no frames, whatever else comes, until it is on (or dimmed)
// again; no setting's change closes the saver, and every other power event still does.
TEST(SaverModes, DrawsNothingWhileTheDisplayIsOff) {
    constexpr GUID displayState = {0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}};
    constexpr GUID batterySaver = {0xE00958C0, 0xC213, 0x4ACE, {0xAC, 0x77, 0xFE, 0xCC, 0xED, 0x2E, 0xEE, 0xA5}};
    constexpr GUID acDcSource = {0x5D3E9A59, 0xE9D5, 0x4B00, {0xA6, 0xBD, 0xFF, 0x34, 0xFF, 0x51, 0x65, 0x48}};
    ASSERT_TRUE(PlaceCursor(kCursorRest));
    Saver saver("/s");
    ASSERT_TRUE(saver.WaitForWindow());
    ASSERT_TRUE(FramesCome(saver.window)) << "no frames to begin with";
    SendPowerSetting(saver, displayState, 0);
    EXPECT_TRUE(NoFramesCome(saver.window)) << "frames with the display off";
    // None of these turns the display on: another setting, a short one, none, one merely posted.
    SendPowerSetting(saver, acDcSource, 1);
    SendPowerSetting(saver, displayState, 1, 2);
    SendPowerSetting(saver, displayState, 1, -1);
    PostMessageA(saver.window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, 0);
    SendPowerSetting(saver, batterySaver, 1);
    EXPECT_TRUE(NoFramesCome(saver.window)) << "frames after settings that are not the display's";
    const std::vector<DWORD> dark = ScreenImage(saver.window);
    const DWORD sent = GetTickCount();
    SendPowerSetting(saver, displayState, 2);  // dimmed: somebody may be looking
    EXPECT_TRUE(PumpUntil([&] { return ScreenImage(saver.window) != dark; })) << "no frames once the display is dimmed";
    std::printf("the first frame %lu ms after the display came on\n", static_cast<unsigned long>(GetTickCount() - sent));
    EXPECT_TRUE(FramesCome(saver.window)) << "no frames with the battery saver on";  // on since the display was off
    SendPowerSetting(saver, batterySaver, 0);
    EXPECT_TRUE(saver.StillRunning());
    PostMessageA(saver.window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(saver.ExitCode(), 0u);
}

// OpenGL's version and extensions, each after a space, as Mesa gives them to this process and the saver.
static std::string OpenGlOffers() {
    HWND window = CreateTestWindow("context probe", 0, 0, 8, 8);
    HDC device = GetDC(window);
    PIXELFORMATDESCRIPTOR request{};
    request.nSize = sizeof request, request.nVersion = 1, request.dwFlags = PFD_SUPPORT_OPENGL | PFD_DRAW_TO_WINDOW;
    SetPixelFormat(device, ChoosePixelFormat(device, &request), &request);
    HGLRC context = wglCreateContext(device);
    std::string offers = " ";
    for (GLenum name : {GL_VERSION, GL_EXTENSIONS}) {
        if (wglMakeCurrent(device, context)) offers += reinterpret_cast<const char*>(glGetString(name)) + std::string(" ");
    }
    wglMakeCurrent(nullptr, nullptr), wglDeleteContext(context), ReleaseDC(window, device), DestroyWindow(window);
    return offers;
}

// On less OpenGL than the scene can use (CTest names it), the clock over the sky, no box, and a key ends it.
TEST(DegradedContext, ShowsTheClockWithoutABoxAndEndsOnAKey) {
    const auto environment = [](const char* name) { return std::string(std::getenv(name) ? std::getenv(name) : ""); };
    const std::string offers = OpenGlOffers();
    ASSERT_EQ(offers.find(" " + environment("MESA_GL_VERSION_OVERRIDE") + " "), 0u) << offers;
    std::string name;
    for (std::istringstream absent(environment("VINTREL_ABSENT")); absent >> name;) EXPECT_EQ(offers.find(" " + name + " "), std::string::npos) << name;
    ASSERT_TRUE(SetCursorPos(kCursorRest.x, kCursorRest.y));
    Saver saver("/s");
    ASSERT_TRUE(saver.WaitForWindow()) << (FindWindowA(nullptr, "load issue") ? "behind a box" : "");
    ExpectTheClockOverTheSky(saver.window);
    ASSERT_TRUE(BringToForeground(saver.window));
    Press('Q');
    EXPECT_EQ(saver.ExitCode(), 0u);
}

static std::vector<MSG> handedUp;  // WM_HELP and WM_CONTEXTMENU, which the system delivers only if sent

static LRESULT CALLBACK PreviewParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HELP && message != WM_CONTEXTMENU) return DefWindowProcA(window, message, wParam, lParam);
    handedUp.push_back(MSG{window, message, wParam, lParam, 0, {}});
    return TRUE;
}

// Closing the display settings destroys the preview's parent, and with it the preview, while it
// draws: frames asked for and drawn, two more asked for as the parent goes. It ends as on any close.
TEST(PreviewSaver, EndsWithZeroWhenItsParentGoesWhileItDraws) {
    HWND parent = CreateTestWindow("closing preview parent", 20, 20, 152, 112);
    Saver saver("/p " + Decimal(parent));
    ASSERT_TRUE(saver.WaitForWindow(parent));
    for (int frame = 0; frame < 3; ++frame) ASSERT_TRUE(Send(saver.window, WM_TIMER, 1, 0)) << frame;
    PostMessageA(saver.window, WM_TIMER, 1, 0);
    PostMessageA(saver.window, WM_TIMER, 1, 0);
    DestroyWindow(parent);
    EXPECT_EQ(saver.ExitCode(), 0u);
}

TEST(PreviewSaver, LivesInItsParentClosesOnNothingAndHandsUpHelp) {
    HWND parent = CreateTestWindow("preview parent", 20, 20, 320, 240, PreviewParent);
    Saver saver("/p " + Decimal(parent));
    ASSERT_TRUE(saver.WaitForWindow(parent));
    RECT client{}, frame{};
    GetClientRect(saver.window, &client);
    GetWindowRect(saver.window, &frame);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    EXPECT_EQ(WindowTitle(saver.window), "Preview");
    // Real clicks; the right one comes back to the parent as a context menu request at the
    // cursor, which shows that all three have been handled.
    ASSERT_TRUE(PlaceCursor({frame.left + 100, frame.top + 50}));
    for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_RIGHTDOWN}) Press(0, button);
    ASSERT_TRUE(PumpUntil([] { return !handedUp.empty(); })) << "no context menu request";
    EXPECT_EQ(handedUp[0].message, UINT(WM_CONTEXTMENU));
    EXPECT_EQ(handedUp[0].wParam, WPARAM(parent));
    EXPECT_EQ(handedUp[0].lParam, MAKELPARAM(frame.left + 100, frame.top + 50));
    // The parent keeps the keyboard focus: keys come posted, with power and activation events.
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_ACTIVATEAPP}) PostMessageA(saver.window, message, 0, 0);
    PostMessageA(saver.window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    PostMessageA(saver.window, WM_POWER, PWR_CRITICALRESUME, 0);
    EXPECT_TRUE(saver.StillRunning());
    HELPINFO help{sizeof help, HELPINFO_WINDOW, 77, saver.window, 0, POINT{33, 44}};
    EXPECT_EQ(Send(saver.window, WM_HELP, 0, LPARAM(&help)), 1);
    ASSERT_TRUE(PumpUntil([] { return handedUp.size() == 2; })) << "no help request";
    EXPECT_EQ(handedUp[1].message, UINT(WM_HELP));
    EXPECT_EQ(handedUp[1].wParam, WPARAM(parent));
    Storm(saver, 0x5EED2025u, true);
    DestroyWindow(parent);
    EXPECT_EQ(saver.ExitCode(), 0u);
}
