// The module as a user's machine meets it once downloaded: a display scaled to 150 %,
// libraries planted beside it, a system without GLU.
#include <cstdlib>

#include "saver_harness.h"

// The scene fills the window: the night sky in all four corners, not the black of the bare
// window or the red clear colour. A viewport smaller than the window leaves the clear colour at
// the top or right; a larger one shifts the lit dial into the top right corner.
static bool DrawsTheWholeWindow(HWND window) {
    RECT f{};
    GetWindowRect(window, &f);
    return PumpUntil([&] {
        return NightSky(ScreenPixel(f.left + 9, f.top + 9)) && NightSky(ScreenPixel(f.right - 10, f.top + 9)) &&
               NightSky(ScreenPixel(f.left + 9, f.bottom - 10)) && NightSky(ScreenPixel(f.right - 10, f.bottom - 10));
    });
}

static bool WineOverrides(const char* libraries) {  // as CTest sets them for the test
    const char* overrides = std::getenv("WINEDLLOVERRIDES");
    return overrides && std::strstr(overrides, libraries);
}

// A downloaded saver run where it lies ("Install" does so): the full-screen window covers the
// virtual screen in physical pixels and the scene fills it, so OpenGL and GLU were loaded; the
// libraries planted beside it are never loaded, though Wine is told to prefer them to its own.
TEST(HighDpi, DownloadedSaverFillsTheScreenInPhysicalPixelsAndLoadsNoPlantedLibrary) {
    ASSERT_EQ(GetDpiForSystem(), 144u) << "CTest runs this on a display scaled to 150 %";
    ASSERT_TRUE(WineOverrides("=n,b")) << "CTest tells Wine to prefer the planted libraries";
    const std::string folder = TestDirectory() + "planted\\";
    ASSERT_TRUE(CopyFileA((TestDirectory() + "Vintrel.scr").c_str(), (folder + "Vintrel.scr").c_str(), FALSE));
    Saver saver("/s", folder + "Vintrel.scr");
    ASSERT_TRUE(saver.WaitForWindow());
    EXPECT_TRUE(CoversTheVirtualScreen(saver.window));
    EXPECT_TRUE(DrawsTheWholeWindow(saver.window));
    PostMessageA(saver.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.ExitCode(), 0u);
    WIN32_FIND_DATAA marker{};
    EXPECT_EQ(FindFirstFileA((folder + "*.loaded").c_str(), &marker), INVALID_HANDLE_VALUE) << marker.cFileName;
}

// The preview takes exactly its parent's client area, in the terms of a parent that knows
// nothing of DPI.
TEST(HighDpi, PreviewInADpiUnawareParentTakesExactlyItsClientArea) {
    ASSERT_EQ(GetDpiForSystem(), 144u) << "CTest runs this on a display scaled to 150 %";
    SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_UNAWARE);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 360, 300, nullptr,
                                  nullptr, nullptr, nullptr);
    Saver saver("/p " + Decimal(parent));
    ASSERT_TRUE(saver.WaitForWindow(parent));
    RECT client{}, area{};
    GetClientRect(parent, &client);
    GetClientRect(saver.window, &area);
    EXPECT_TRUE(EqualRect(&area, &client)) << area.right << " x " << area.bottom;
    DestroyWindow(parent);
}

// Without GLU (CTest disables it here) no rendering context is made: a frame asked for leaves
// the window black, and the saver still ends cleanly.
TEST(MissingLibraries, WithoutGluTheWindowStaysBlackAndTheSaverEndsCleanly) {
    ASSERT_TRUE(WineOverrides("glu32=d")) << "CTest disables GLU";
    Saver saver("/s");
    ASSERT_TRUE(saver.WaitForWindow());
    UpdateWindow(saver.window);  // its background painted first: only a frame could cover it now
    ASSERT_TRUE(Send(saver.window, WM_TIMER, 1, 0));
    EXPECT_EQ(ScreenPixel(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2), RGB(0, 0, 0));
    PostMessageA(saver.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(saver.ExitCode(), 0u);
}
