// The module as a user's system meets it once downloaded: what the system reads from it, the
// size it takes on a scaled display, and the libraries lying beside it.
#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr DWORD kStartMs = 30000;  // the first start of a Wine process can be slow
constexpr DWORD kExitMs = 20000;

std::wstring Beside(const std::wstring& name) {  // a file in the test program's folder
    wchar_t path[MAX_PATH] = {};
    const std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return program.substr(0, program.find_last_of(L"\\/") + 1) + name;
}

// Waits for the process, dispatching the test's own messages meanwhile; its exit code, or
// STILL_ACTIVE when it runs past the time.
DWORD WaitForExit(HANDLE process, DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds;) {
        if (MsgWaitForMultipleObjects(1, &process, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) break;
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

// A program started with an argument text, ended at the end of the test if it still runs.
struct Started {
    Started(const std::wstring& program, const std::wstring& arguments) {
        std::wstring line = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            process = {};
        }
    }
    ~Started() {
        if (!process.hProcess) return;
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, kExitMs);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    HWND SaverWindow(HWND parent = nullptr) {  // waits for it
        for (const DWORD start = GetTickCount(); process.hProcess && GetTickCount() - start < kStartMs;) {
            DWORD owner = 0;
            HWND window = FindWindowExW(parent, nullptr, L"WindowsScreenSaverClass", nullptr);
            if (window && GetWindowThreadProcessId(window, &owner) && owner == process.dwProcessId) return window;
            WaitForExit(process.hProcess, 50);
        }
        return nullptr;
    }
    PROCESS_INFORMATION process{};
};

// Wine's library load order for one program, named by its file, while the test runs.
struct LoadOrder {
    LoadOrder(const std::wstring& program, std::initializer_list<const wchar_t*> libraries, const wchar_t* order)
        : key(L"Software\\Wine\\AppDefaults\\" + program) {
        for (const wchar_t* library : libraries) {
            written = written && RegSetKeyValueW(HKEY_CURRENT_USER, (key + L"\\DllOverrides").c_str(), library, REG_SZ,
                                                 order, (lstrlenW(order) + 1) * sizeof(wchar_t)) == ERROR_SUCCESS;
        }
    }
    ~LoadOrder() { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }
    const std::wstring key;
    bool written = true;
};

int Brightness(COLORREF colour) { return (GetRValue(colour) + GetGValue(colour) + GetBValue(colour)) / 3; }

// The scene fills the window: the night sky's dark blue in all four corners (never the red of
// the bare clear) and the lit dial near the middle. A viewport smaller than the window leaves
// the clear colour at its top or right; a larger one puts the dial into the top right corner.
bool DrawsTheWholeWindow(Started& saver, HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int inset = 10, eighth = (frame.bottom - frame.top) / 8;
    const POINT corners[] = {{frame.left + inset, frame.top + inset}, {frame.right - inset, frame.top + inset},
                             {frame.left + inset, frame.bottom - inset}, {frame.right - inset, frame.bottom - inset}};
    for (int attempt = 0; attempt < 100; ++attempt, WaitForExit(saver.process.hProcess, 100)) {
        HDC screen = GetDC(nullptr);
        bool drawn = Brightness(GetPixel(screen, (frame.left + frame.right) / 2 - eighth,
                                         (frame.top + frame.bottom) / 2 + eighth)) > 60;
        for (const POINT& corner : corners) {
            const COLORREF sky = GetPixel(screen, corner.x, corner.y);
            drawn = drawn && Brightness(sky) > 0 && Brightness(sky) < 60 && GetBValue(sky) >= GetRValue(sky);
        }
        ReleaseDC(nullptr, screen);
        if (drawn) return true;
    }
    return false;
}

TEST(ReleasedModule, VersionInformationIsTheProjectVersionUnderTheSaversName) {
    const std::wstring module = Beside(L"Vintrel.scr");
    std::vector<BYTE> information(GetFileVersionInfoSizeW(module.c_str(), nullptr));
    ASSERT_FALSE(information.empty()) << "no version information";
    ASSERT_TRUE(GetFileVersionInfoW(module.c_str(), 0, static_cast<DWORD>(information.size()), information.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    wchar_t* description = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(information.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const WORD version[] = {VINTREL_PROJECT_VERSION};  // major, minor, patch, as CMake has them
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(version[1], version[0]));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, version[2]));
    ASSERT_TRUE(VerQueryValueW(information.data(), L"\\StringFileInfo\\040904B0\\FileDescription",
                               reinterpret_cast<void**>(&description), &length));
    EXPECT_STREQ(description, L"Nordle Dial");
}

// The awareness the system reads from the module's manifest, by its own reading: per-monitor v2
// first, with the older systems' fallbacks.
TEST(ReleasedModule, ManifestAsksForPerMonitorAwarenessWithFallbacks) {
    const std::wstring module = Beside(L"Vintrel.scr");
    ACTCTXW request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = module.c_str();
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&request);
    ASSERT_NE(context, INVALID_HANDLE_VALUE);
    wchar_t awareness[128] = {}, aware[32] = {};
    EXPECT_TRUE(QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                     L"dpiAwareness", awareness, 128, nullptr));
    EXPECT_TRUE(QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                                     L"dpiAware", aware, 32, nullptr));
    ReleaseActCtx(context);
    EXPECT_EQ(_wcsicmp(awareness, L"PerMonitorV2, PerMonitor"), 0) << awareness;
    EXPECT_EQ(_wcsicmp(aware, L"true/pm"), 0) << aware;
}

// A display scaled to 150 %: the prefix's LogPixels at 144 while the test runs, put back after
// it whatever its outcome (the prefix serves every Windows test of the run).
class HighDpi : public ::testing::Test {
protected:
    void SetUp() override {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &desktop_,
                        nullptr);
        DWORD size = sizeof previous_;
        hadValue_ = RegQueryValueExW(desktop_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_),
                                     &size) == ERROR_SUCCESS;
        const DWORD scaled = 144;
        RegSetValueExW(desktop_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&scaled), sizeof scaled);
        Started probe(Beside(L"vintrel_release_tests.exe"), L"--system-dpi");
        ASSERT_EQ(WaitForExit(probe.process.hProcess, kStartMs), scaled) << "a program started now is not at 144 DPI";
    }
    void TearDown() override {
        if (hadValue_) {
            RegSetValueExW(desktop_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_), sizeof previous_);
        } else {
            RegDeleteValueW(desktop_, L"LogPixels");
        }
        RegCloseKey(desktop_);
    }
    HKEY desktop_ = nullptr;
    DWORD previous_ = 0;
    bool hadValue_ = false;
};

// A downloaded saver, run where it lies ("Install" does so) on a display scaled to 150 %:
// the full-screen window covers the virtual screen in physical pixels and the scene fills it;
// libraries planted beside it under the names of the system's are never loaded, even with Wine
// told to prefer them to its own, and the scene drawn shows that the real ones were loaded.
TEST_F(HighDpi, DownloadedSaverFillsTheScreenInPhysicalPixelsAndNeverLoadsPlantedLibraries) {
    const std::wstring folder = Beside(L"planted\\");
    ASSERT_TRUE(CopyFileW(Beside(L"Vintrel.scr").c_str(), (folder + L"Downloaded.scr").c_str(), FALSE));
    const LoadOrder preferPlanted(L"Downloaded.scr", {VINTREL_PLANTED_LIBRARIES}, L"native,builtin");
    ASSERT_TRUE(preferPlanted.written);
    SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);  // physical pixels here too
    Started saver(folder + L"Downloaded.scr", L"/s");
    HWND window = saver.SaverWindow();
    ASSERT_TRUE(window);
    RECT frame{}, client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    const RECT screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    EXPECT_TRUE(EqualRect(&frame, &screen)) << frame.right - frame.left << " x " << frame.bottom - frame.top;
    EXPECT_EQ(client.right - client.left, screen.right - screen.left);
    EXPECT_TRUE(DrawsTheWholeWindow(saver, window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(saver.process.hProcess, kExitMs), 0u);
    WIN32_FIND_DATAW marker{};
    EXPECT_EQ(FindFirstFileW((folder + L"*.loaded").c_str(), &marker), INVALID_HANDLE_VALUE) << marker.cFileName;
}

// The preview takes exactly its parent's client area in the parent's own terms, here those of
// a program that knows nothing of DPI.
TEST_F(HighDpi, PreviewInADpiUnawareParentTakesExactlyItsClientArea) {
    const DPI_AWARENESS_CONTEXT previous = SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 360, 300, nullptr,
                                  nullptr, nullptr, nullptr);
    Started saver(Beside(L"Vintrel.scr"), L"/p " + std::to_wstring(reinterpret_cast<uintptr_t>(parent)));
    HWND preview = saver.SaverWindow(parent);
    RECT client{}, area{};
    GetClientRect(parent, &client);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(preview, &area);
    EXPECT_TRUE(preview && EqualRect(&area, &client)) << area.right - area.left << " x " << area.bottom - area.top;
    DestroyWindow(parent);
    SetThreadDpiAwarenessContext(previous);
}

// Without GLU no rendering context is made: frames asked for leave the window black, and the
// saver still ends cleanly.
TEST(MissingLibraries, WithoutGluTheWindowStaysBlackAndTheSaverEndsCleanly) {
    ASSERT_TRUE(CopyFileW(Beside(L"Vintrel.scr").c_str(), Beside(L"WithoutGlu.scr").c_str(), FALSE));
    const LoadOrder withoutGlu(L"WithoutGlu.scr", {L"glu32"}, L"");
    ASSERT_TRUE(withoutGlu.written);
    Started saver(Beside(L"WithoutGlu.scr"), L"/s");
    HWND window = saver.SaverWindow();
    ASSERT_TRUE(window);
    UpdateWindow(window);  // its background painted first: only frames could cover it now
    DWORD_PTR ignored = 0;
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_TRUE(SendMessageTimeoutW(window, WM_TIMER, 1, 0, SMTO_ABORTIFHUNG, kExitMs, &ignored));
    }
    RECT frame{};
    GetWindowRect(window, &frame);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, (frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2), RGB(0, 0, 0));
    ReleaseDC(nullptr, screen);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(saver.process.hProcess, kExitMs), 0u);
}

}  // namespace

int main(int argc, char** argv) {
    // The DPI a program started now runs at, for the high-DPI tests to check their setting.
    if (argc == 2 && std::string(argv[1]) == "--system-dpi") return static_cast<int>(GetDpiForSystem());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
