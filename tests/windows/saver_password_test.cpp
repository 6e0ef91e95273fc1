// The Windows 95/98/Me family for real: Wine reports that platform for Vintrel98.scr, a renamed
// copy of the module, which then asks the test-built PASSWORD.CPL before it closes and changes
// the password through the test-built MPR.DLL.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "saver_driving.h"
#include "win9x_family.h"

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kUsePassword[] = "ScreenSaveUsePassword";
constexpr char kWin9xModule[] = "Vintrel98.scr";
constexpr DWORD kQuietMs = 200;  // after a prompt, close requests are answered without one

std::string CurrentTestName() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
        if (c == '/') c = '-';
    }
    return name;
}

// Wine's settings for one program, by its file name.
std::string AppDefaults(const std::string& program) { return "Software\\Wine\\AppDefaults\\" + program; }

// Wine reports the Windows 95/98/Me family to the copy of the module for as long as the test
// runs, and loads the MPR.DLL beside it rather than its own built-in one.
class Win9xFamily : public testing::Test {
protected:
    void SetUp() override {
        module_ = CopyModuleAs(kWin9xModule);
        ASSERT_FALSE(module_.empty()) << "cannot copy the module into " << FixtureDirectory();
        ASSERT_TRUE(version_.SetString("win98"));
        ASSERT_TRUE(mprOverride_.SetString("native"));
        log_ = FreshTemporaryPath(CurrentTestName() + ".log");
        control_ = FreshTemporaryPath(CurrentTestName() + ".control");
        ASSERT_TRUE(SetCursorPos(kCursorRest.x, kCursorRest.y));
    }

    void TearDown() override {
        saver_.reset();
        DeleteFileA(log_.c_str());
        DeleteFileA(control_.c_str());
    }

    // The prompt's behaviour (see the fixture's words) for the prompts still to come.
    void ControlPrompt(const std::string& words) { ASSERT_TRUE(WriteTextFile(control_, words)); }

    void RequirePassword(DWORD value) { ASSERT_TRUE(usePassword_.SetDword(value)); }
    void RemovePasswordSetting() { ASSERT_TRUE(usePassword_.Remove()); }

    RunningSaver& Start(const std::string& arguments = "/s") {
        saver_ = std::make_unique<RunningSaver>(arguments, nullptr, Environment(), module_);
        return *saver_;
    }

    std::vector<std::pair<std::string, std::string>> Environment() const {
        return {{"VINTREL_FIXTURE_LOG", log_}, {"VINTREL_PASSWORD_CONTROL", control_}};
    }

    std::vector<std::string> Log() const { return ReadLines(log_); }
    size_t Prompts() const { return CountLines(Log(), "prompt"); }

    // Waits until the log holds the line that many times.
    bool WaitForLogLine(const std::string& line, size_t count = 1) const {
        const DWORD start = GetTickCount();
        while (CountLines(Log(), line) < count) {
            if (GetTickCount() - start > kExitMs) return false;
            PumpMessagesFor(20);
        }
        return true;
    }

    // Starts the module in a mode that opens no window and waits for its exit code.
    std::optional<DWORD> RunToExit(const std::string& arguments, const std::string& modulePath) {
        SaverProcess process(arguments, Environment(), modulePath);
        if (!process.started()) return std::nullopt;
        return process.WaitForExit(kExitMs);
    }

    const std::string& module() const { return module_; }

private:
    ScopedRegistryValue version_{AppDefaults(kWin9xModule), "Version"};
    ScopedRegistryValue mprOverride_{AppDefaults(kWin9xModule) + "\\DllOverrides", "mpr"};
    ScopedRegistryValue usePassword_{kDesktopKey, kUsePassword};
    std::string module_;
    std::string log_;
    std::string control_;
    std::unique_ptr<RunningSaver> saver_;
};

TEST_F(Win9xFamily, AcceptedPasswordClosesWithExitCodeZero) {
    RequirePassword(1);
    ControlPrompt("accept");
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);
    ASSERT_TRUE(BringToForeground(saver.window));
    PressKey(VK_SPACE);
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
    EXPECT_EQ(Prompts(), 1u);
    EXPECT_EQ(CountLines(Log(), "answer accept"), 1u);
}

TEST_F(Win9xFamily, RefusedPasswordKeepsItRunningAndRebasesTheCursor) {
    RequirePassword(1);
    // The user goes on moving the mouse while the prompt is up.
    ControlPrompt("refuse hold=300 move=10,0");
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);

    SetCursorPos(kCursorRest.x + 10, kCursorRest.y);
    PostMessageA(saver.window, WM_MOUSEMOVE, 0, 0);
    ASSERT_TRUE(WaitForLogLine("answer refuse"));
    PumpMessagesFor(kQuietMs + 100);  // past the quiet time, which would hide a second prompt
    PostMessageA(saver.window, WM_MOUSEMOVE, 0, 0);
    ASSERT_TRUE(StillRunning(saver)) << "a refused password must keep the saver running";

    // The same small jitter around where the cursor was at the refusal asks nothing.
    SetCursorPos(kCursorRest.x + 20 + 3, kCursorRest.y + 1);
    PostMessageA(saver.window, WM_MOUSEMOVE, 0, 0);
    ASSERT_TRUE(StillRunning(saver));
    EXPECT_EQ(Prompts(), 1u) << "the travel must be measured from the cursor at the refusal";

    // A real move asks again.
    ControlPrompt("accept");
    SetCursorPos(kCursorRest.x + 20 + 3, kCursorRest.y + 2);
    PostMessageA(saver.window, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
    EXPECT_EQ(Prompts(), 2u);
}

TEST_F(Win9xFamily, CloseRequestRightAfterAPromptDoesNotPromptAgain) {
    RequirePassword(1);
    // The prompt's end is followed at once by another close request.
    ControlPrompt("refuse close-on-return");
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);
    PostMessageA(saver.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForLogLine("answer refuse"));
    ASSERT_TRUE(StillRunning(saver));
    EXPECT_EQ(Prompts(), 1u);

    // Later close requests are asked about again.
    ControlPrompt("accept");
    PumpMessagesFor(kQuietMs + 100);
    PostMessageA(saver.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
    EXPECT_EQ(Prompts(), 2u);
}

TEST_F(Win9xFamily, CloseRequestDuringThePromptIsRefused) {
    RequirePassword(1);
    ControlPrompt("accept hold=400 post-close");
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);
    PostMessageA(saver.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
    const std::vector<std::string> log = Log();
    EXPECT_EQ(CountLines(log, "close-seen"), 1u) << "the prompt's loop must have handed the close to the saver";
    EXPECT_EQ(CountLines(log, "nested-prompt"), 0u);
    EXPECT_EQ(CountLines(log, "alive"), 1u) << "the close during the prompt destroyed the window";
    EXPECT_EQ(CountLines(log, "prompt"), 1u);
}

TEST_F(Win9xFamily, InputDuringThePromptPostsNoClose) {
    RequirePassword(1);
    ControlPrompt("refuse hold=400 post-input");
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);
    PostMessageA(saver.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForLogLine("answer refuse"));
    EXPECT_EQ(CountLines(Log(), "close-seen"), 0u);
    PumpMessagesFor(kQuietMs + 100);
    EXPECT_TRUE(StillRunning(saver));
    EXPECT_EQ(Prompts(), 1u);
}

TEST_F(Win9xFamily, AutoPlayIsCancelledWhileAPasswordProtectsTheDesktop) {
    RequirePassword(1);
    ControlPrompt("accept");
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);
    LRESULT answer = -1;
    ASSERT_TRUE(SendAndWait(saver.window, RegisterWindowMessageA("QueryCancelAutoPlay"), 0, 0, &answer));
    EXPECT_EQ(answer, 1);
    // The query is also a close request, asked about like any other.
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
    EXPECT_EQ(Prompts(), 1u);
}

TEST_F(Win9xFamily, AutoPlayIsNotCancelledWithoutAPassword) {
    RequirePassword(0);
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);
    LRESULT answer = -1;
    ASSERT_TRUE(SendAndWait(saver.window, RegisterWindowMessageA("QueryCancelAutoPlay"), 0, 0, &answer));
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
}

TEST_F(Win9xFamily, NoPasswordIsAskedWhenTheSettingIsZero) {
    RequirePassword(0);
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);
    ASSERT_TRUE(BringToForeground(saver.window));
    PressKey(VK_SPACE);
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
    EXPECT_TRUE(Log().empty()) << "PASSWORD.CPL was loaded";
}

TEST_F(Win9xFamily, NoPasswordIsAskedWhenTheSettingIsMissing) {
    RemovePasswordSetting();
    RunningSaver& saver = Start();
    ASSERT_TRUE(saver.window);
    ASSERT_TRUE(BringToForeground(saver.window));
    PressKey(VK_SPACE);
    EXPECT_EQ(saver.process.WaitForExit(kExitMs), 0u);
    EXPECT_TRUE(Log().empty()) << "PASSWORD.CPL was loaded";
}

// A window of the test to own the password-change dialog.
class OwnerWindow {
public:
    OwnerWindow()
        : window_(CreateWindowA("STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~OwnerWindow() { DestroyWindow(window_); }
    HWND window() const { return window_; }
    std::string Decimal() const { return std::to_string(reinterpret_cast<uintptr_t>(window_)); }

private:
    HWND window_;
};

TEST_F(Win9xFamily, PasswordChangeCallsMprForTheScreenSaverProvider) {
    OwnerWindow owner;
    ASSERT_TRUE(owner.window());
    EXPECT_EQ(RunToExit("/a " + owner.Decimal(), module()), 0u);
    const std::vector<std::string> log = Log();
    EXPECT_EQ(CountLines(log, "mpr-attach"), 1u) << "MPR.DLL was not loaded";
    EXPECT_EQ(CountLines(log, "PwdChangePasswordA SCRSAVE " + owner.Decimal() + " 0 0"), 1u);
}

TEST_F(Win9xFamily, PasswordChangeWithoutAnOwnerUsesTheForegroundWindow) {
    OwnerWindow foreground;
    ASSERT_TRUE(foreground.window());
    ASSERT_TRUE(BringToForeground(foreground.window()));
    std::string gone;
    {
        OwnerWindow destroyed;
        gone = destroyed.Decimal();
    }
    for (const std::string& arguments : {std::string("/a"), std::string("/a 0"), "/a " + gone}) {
        EXPECT_EQ(RunToExit(arguments, module()), 0u) << arguments;  // no handle, 0, no such window
    }
    EXPECT_EQ(CountLines(Log(), "PwdChangePasswordA SCRSAVE " + foreground.Decimal() + " 0 0"), 3u);
}

TEST_F(Win9xFamily, PasswordChangeOnTheNtFamilyExitsMinusOneLoadingNothing) {
    // The same module under a name for which Wine reports the platform of the whole prefix.
    const std::string ntModule = CopyModuleAs("VintrelNt.scr");
    ASSERT_FALSE(ntModule.empty());
    ScopedRegistryValue mprOverride(AppDefaults("VintrelNt.scr") + "\\DllOverrides", "mpr");
    ASSERT_TRUE(mprOverride.SetString("native"));
    EXPECT_EQ(RunToExit("/a", ntModule), kExitMinusOne);
    EXPECT_TRUE(Log().empty()) << "MPR.DLL was loaded";
}

}  // namespace
