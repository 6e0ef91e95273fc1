// The module as a user's machine meets it once downloaded: a display scaled to 150 %,
// libraries planted beside it, a system without GLU.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring Beside(const std::wstring& name) {  // in the test program's folder
    wchar_t path[MAX_PATH] = {};
    const std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return program.substr(0, program.find_last_of(L"\\/") + 1) + name;
}

// A program started with an argument text, ended with the test if it still runs.
struct Started {
    Started(const std::wstring& program, const std::wstring& arguments) {
        std::wstring line = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    }
    ~Started() {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 20000);
        CloseHandle(process.hThread), CloseHandle(process.hProcess);
    }
    DWORD Exit(DWORD milliseconds = 20000) {  // the exit code, or STILL_ACTIVE; the test's messages flow
        for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds;) {
            const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 50, QS_ALLINPUT);
            if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
            for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
        }
        DWORD code = STILL_ACTIVE;
        return GetExitCodeProcess(process.hProcess, &code) ? code : STILL_ACTIVE;
    }
    HWND SaverWindow(HWND parent = nullptr) {  // waits for it to appear
        HWND window = nullptr;
        for (int wait = 0; !window && wait < 300 && Exit(100) == STILL_ACTIVE; ++wait) {
            window = FindWindowExW(parent, nullptr, L"WindowsScreenSaverClass", nullptr);
        }
        return window;
    }
    PROCESS_INFORMATION process{};
};

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

// The scene fills the window: the night sky's dark blue in all four corners, not the black of
// the bare window or the red clear colour. A viewport smaller than the window leaves the clear
// colour at the top or right; a larger one shifts the lit dial into the top right corner.
bool DrawsTheWholeWindow(Started& saver, HWND window) {
    RECT f{};
    GetWindowRect(window, &f);
    for (int attempt = 0; attempt < 100 && saver.Exit(100) == STILL_ACTIVE; ++attempt) {
        bool drawn = true;
        for (const COLORREF sky : {ScreenPixel(f.left + 9, f.top + 9), ScreenPixel(f.right - 10, f.top + 9),
                                   ScreenPixel(f.left + 9, f.bottom - 10), ScreenPixel(f.right - 10, f.bottom - 10)}) {
            const int brightness = (GetRValue(sky) + GetGValue(sky) + GetBValue(sky)) / 3;
            drawn = drawn && brightness > 0 && brightness < 60 && GetBValue(sky) >= GetRValue(sky);
        }
        if (drawn) return true;
    }
    return false;
}

// A downloaded saver run where it lies ("Install" does so): the full-screen window covers the
// virtual screen in physical pixels and the scene fills it, so OpenGL and GLU were loaded; the
// libraries planted beside it are never loaded, though Wine is told to prefer them to its own.
TEST(HighDpi, DownloadedSaverFillsTheScreenInPhysicalPixelsAndLoadsNoPlantedLibrary) {
    ASSERT_EQ(GetDpiForSystem(), 144u) << "CTest runs this on a display scaled to 150 %";
    const wchar_t* overrides = _wgetenv(L"WINEDLLOVERRIDES");
    ASSERT_TRUE(overrides && wcsstr(overrides, L"=n,b")) << "CTest tells Wine to prefer them";
    const std::wstring folder = Beside(L"planted\\");
    ASSERT_TRUE(CopyFileW(Beside(L"Vintrel.scr").c_str(), (folder + L"Vintrel.scr").c_str(), FALSE));
    Started saver(folder + L"Vintrel.scr", L"/s");
    HWND window = saver.SaverWindow();
    ASSERT_TRUE(window);
    RECT frame{}, screen{0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    OffsetRect(&screen, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN));
    GetWindowRect(window, &frame);
    EXPECT_TRUE(EqualRect(&frame, &screen)) << frame.right - frame.left << " x " << frame.bottom - frame.top;
    EXPECT_TRUE(DrawsTheWholeWindow(saver, window));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.Exit(), 0u);
    WIN32_FIND_DATAW marker{};
    EXPECT_EQ(FindFirstFileW((folder + L"*.loaded").c_str(), &marker), INVALID_HANDLE_VALUE) << marker.cFileName;
}

// The preview takes exactly its parent's client area, in the terms of a parent that knows
// nothing of DPI.
TEST(HighDpi, PreviewInADpiUnawareParentTakesExactlyItsClientArea) {
    ASSERT_EQ(GetDpiForSystem(), 144u) << "CTest runs this on a display scaled to 150 %";
    SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 360, 300, nullptr,
                                  nullptr, nullptr, nullptr);
    Started saver(Beside(L"Vintrel.scr"), L"/p " + std::to_wstring(reinterpret_cast<uintptr_t>(parent)));
    HWND preview = saver.SaverWindow(parent);
    RECT client{}, area{};
    GetClientRect(parent, &client);
    GetClientRect(preview, &area);
    EXPECT_TRUE(preview && EqualRect(&area, &client)) << area.right << " x " << area.bottom;
    DestroyWindow(parent);
}

// Without GLU (CTest disables it here) no rendering context is made: a frame asked for leaves
// the window black, and the saver still ends cleanly.
TEST(MissingLibraries, WithoutGluTheWindowStaysBlackAndTheSaverEndsCleanly) {
    Started saver(Beside(L"Vintrel.scr"), L"/s");
    HWND window = saver.SaverWindow();
    ASSERT_TRUE(window);
    UpdateWindow(window);  // its background painted first: only a frame could cover it now
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window, WM_TIMER, 1, 0, SMTO_ABORTIFHUNG, 20000, &answer));
    EXPECT_EQ(ScreenPixel(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2), RGB(0, 0, 0));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.Exit(), 0u);
}

}  // namespace
