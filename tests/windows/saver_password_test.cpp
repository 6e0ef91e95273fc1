// The Windows 95/98/Me family for real: Wine reports that platform to Vintrel98.scr, a copy of
// the module beside the test-built PASSWORD.CPL and MPR.DLL. There every close request asks for
// the password, so that a refusing prompt counts the close requests of one running saver.
#include <fstream>
#include <functional>

#include "saver_harness.h"

// Started with this argument, the program only answers the system's saver-running flag as its exit code.
static BOOL running = std::strstr(GetCommandLineA(), "--saver-running-flag") &&
                      (SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0), ExitProcess(running), 0);

class Win9xFamily : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileA((TestDirectory() + "Vintrel.scr").c_str(), module_.c_str(), FALSE));
        ASSERT_TRUE(version_.set && nativeMpr_.set);
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("VINTREL_FIXTURE_LOG", log_.c_str());
        SetEnvironmentVariableA("VINTREL_PASSWORD_CONTROL", control_.c_str());
    }
    void Prompt(const char* words) { std::ofstream(control_) << words << '\n'; }
    size_t Logged(const std::string& line) const {
        std::ifstream log(log_);
        size_t count = 0;
        for (std::string text; std::getline(log, text);) count += text == line;
        return count;
    }
    static bool SaverRunningFlag() {  // read anew: a process reads the system's parameters once and keeps them
        return Saver("--saver-running-flag", TestDirectory() + "vintrel_windows_tests.exe").ExitCode() == 1u;
    }
    static HCURSOR Cursor() {  // the one shown over the saver, in front
        CURSORINFO cursor{sizeof cursor, 0, nullptr, {}};
        return GetCursorInfo(&cursor) ? cursor.hCursor : LoadCursorA(nullptr, IDC_CROSS);
    }
    static RegistryValue UsePassword(DWORD value) {
        return {"Control Panel\\Desktop", "ScreenSaveUsePassword", REG_DWORD, &value, sizeof value};
    }
    const std::string folder_ = TestDirectory() + "win9x\\", module_ = folder_ + "Vintrel98.scr",
                      log_ = folder_ + "log.txt", control_ = folder_ + "prompt.txt";
    const RegistryValue version_{"Software\\Wine\\AppDefaults\\Vintrel98.scr", "Version", "win98"};
    const RegistryValue nativeMpr_{"Software\\Wine\\AppDefaults\\Vintrel98.scr\\DllOverrides", "mpr", "native"};
};

TEST_F(Win9xFamily, EveryKindOfCloseRequestAsksForThePassword) {
    const RegistryValue usePassword = UsePassword(1);
    Prompt("refuse");
    ASSERT_TRUE(PlaceCursor(kCursorRest));
    Saver saver("/s", module_);
    ASSERT_TRUE(saver.WaitForWindow() && BringToForeground(saver.window));
    const HWND window = saver.window;
    // Moves the cursor in the saver's process (see the libraries); the message's far-off position must not count.
    const auto moveCursorBy = [&](int dx, int dy) {
        const LPARAM where = MAKELPARAM(kCursorRest.x + dx, kCursorRest.y + dy);
        PostMessageA(window, RegisterWindowMessageA("VintrelMoveCursor"), 0, where);
        PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(600, 400));
    };
    // Waits for that many more refused prompts (or none), and for all before to be handled. The next
    // request comes a second later, well past the 200 ms in which a prompt's answer would stand.
    size_t prompts = 0;
    const auto expectPrompts = [&](size_t more, const char* what) {
        prompts += more;
        EXPECT_TRUE(PumpUntil([&] { return Logged("refuse") >= prompts; })) << what << " asked nothing";
        EXPECT_TRUE(saver.StillRunning()) << what;
        EXPECT_EQ(Logged("prompt"), prompts) << what;
        prompts = Logged("prompt");
        PumpMessagesFor(more ? 1000 : 0);
    };
    moveCursorBy(0, 0);
    moveCursorBy(3, 1);
    for (WPARAM command : {SC_SCREENSAVE, SC_NEXTWINDOW, SC_PREVWINDOW}) {
        EXPECT_EQ(Send(window, WM_SYSCOMMAND, command, 0), 0) << command;
    }
    Send(window, WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0);  // the AC line as it was at the start
    Send(window, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 1);      // a resume after a failure
    Send(window, WM_POWER, PWR_SUSPENDREQUEST, 0);
    Send(window, WM_ACTIVATEAPP, TRUE, 0);
    expectPrompts(0, "a still mouse, 4 pixels of travel, system commands, power or activation");
    Prompt("refuse move");  // the user moves the mouse 20 pixels right during the prompt
    moveCursorBy(3, 2);
    expectPrompts(1, "5 pixels of travel");
    EXPECT_EQ(Logged("no close queued"), 1u) << "the move during the prompt";
    Prompt("refuse");
    moveCursorBy(3 + 20 + 3, 2 + 1);  // travel counts from where the cursor was at the refusal
    expectPrompts(0, "jitter around the cursor at the refusal");
    HWND other = nullptr;
    const std::pair<const char*, std::function<void()>> requests[] = {{"a key", [] { Press('Q'); }},
        {"a system key", [] { Press(VK_MENU); }},
        {"the left button", [] { Press(0, MOUSEEVENTF_LEFTDOWN); }},
        {"the right button", [] { Press(0, MOUSEEVENTF_RIGHTDOWN); }},
        {"the middle button", [] { Press(0, MOUSEEVENTF_MIDDLEDOWN); }},
        {"the monitor's power command", [&] { Send(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2); }},
        {"the system's close command", [&] { Send(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"a suspend", [&] { Send(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0); }},
        {"the old power message's resume", [&] { Send(window, WM_POWER, PWR_CRITICALRESUME, 0); }},
        {"AutoPlay", [&] { EXPECT_EQ(Send(window, RegisterWindowMessageA("QueryCancelAutoPlay"), 0, 0), 1); }},
        {"another window in front", [&] { BringToForeground(other = CreateTestWindow("other", 0, 0, 9, 9)); }}};
    for (const auto& [what, request] : requests) {
        request();
        expectPrompts(1, what);
        EXPECT_EQ(Cursor(), nullptr) << "the prompt for " << what << " showed the arrow";
    }
    DestroyWindow(other);
    Prompt("accept");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.ExitCode(), 0u);
    EXPECT_FALSE(SaverRunningFlag());
}

// The AutoPlay query closes a preview, answered 0; a fault on any thread ends the saver with -1 and its flag.
TEST_F(Win9xFamily, AutoPlayClosesAPreviewAndAFaultExitsMinusOne) {
    HWND parent = CreateTestWindow("preview parent", 20, 20, 160, 120);
    Saver preview("/p " + Decimal(parent), module_);
    ASSERT_TRUE(preview.WaitForWindow(parent));
    EXPECT_EQ(Send(preview.window, RegisterWindowMessageA("QueryCancelAutoPlay"), 0, 0), 0);
    EXPECT_EQ(preview.ExitCode(), 0u);
    DestroyWindow(parent);
    const RegistryValue usePassword = UsePassword(1);
    Saver saver("/s", module_);
    ASSERT_TRUE(saver.WaitForWindow());
    ASSERT_TRUE(SaverRunningFlag());
    const auto nowhere = reinterpret_cast<LPTHREAD_START_ROUTINE>(uintptr_t(16));
    CloseHandle(CreateRemoteThread(saver.Process(), nullptr, 0, nowhere, nullptr, 0, nullptr));
    EXPECT_EQ(saver.ExitCode(), kExitMinusOne);
    EXPECT_FALSE(SaverRunningFlag());
}

TEST_F(Win9xFamily, WithoutThePasswordSettingNothingIsAsked) {
    const RegistryValue usePassword = UsePassword(0);
    Saver saver("/s", module_);
    ASSERT_TRUE(saver.WaitForWindow());
    // AutoPlay is cancelled only while a password protects the desktop; the query still closes.
    EXPECT_EQ(Send(saver.window, RegisterWindowMessageA("QueryCancelAutoPlay"), 0, 0), 0);
    EXPECT_EQ(saver.ExitCode(), 0u);
    EXPECT_EQ(Logged("loaded PASSWORD.CPL"), 0u);
}

TEST_F(Win9xFamily, PasswordChangeGoesToMprWithTheOwnerOrTheForegroundWindow) {
    HWND owner = CreateTestWindow("owner", 0, 0, 9, 9), foreground = CreateTestWindow("foreground", 20, 0, 9, 9),
         gone = CreateTestWindow("gone", 40, 0, 9, 9);
    DestroyWindow(gone);
    ASSERT_TRUE(BringToForeground(foreground));
    EXPECT_EQ(Saver("/a " + Decimal(owner), module_).ExitCode(), 0u);
    EXPECT_EQ(Saver("/a " + Decimal(gone), module_).ExitCode(), 0u);
    EXPECT_EQ(Logged("PwdChangePasswordA SCRSAVE " + Decimal(owner) + " 0 0"), 1u);
    EXPECT_EQ(Logged("PwdChangePasswordA SCRSAVE " + Decimal(foreground) + " 0 0"), 1u);
    DestroyWindow(owner);
    DestroyWindow(foreground);
}
