// vintrel run as a daemon runs it, in windows the test makes on the virtual display that
// with-xvfb.sh gives it. The waits are for what the window shows or the process does, with
// generous limits; nothing is timed.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros would break it
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <GL/glx.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>
#include <vector>

#include "tests/support/temporary_directory.h"

namespace {

// A delay far beyond WaitFor's limit: only events can make the program draw again or end in time.
const char* const kEventsOnly = "2000000000";
constexpr unsigned long kBackground = 0x00c800;  // a green the scene never shows

bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 1500; ++i, usleep(20000)) {  // 30 s: far beyond a start and a frame under the sanitizers
        if (condition()) return true;
    }
    return false;
}

// A started vintrel, its stderr kept in a file.
struct Vintrel {
    explicit Vintrel(std::vector<std::string> arguments) : pid(fork()) {
        if (pid != 0) return;
        std::vector<char*> argv{const_cast<char*>(VINTREL_PROGRAM)};
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (freopen(stderrPath.c_str(), "w", stderr)) execv(argv[0], argv.data());
        _exit(127);
    }
    ~Vintrel() {
        if (!ended && kill(pid, SIGKILL) == 0) waitpid(pid, &status, 0);
        std::remove(stderrPath.c_str());
    }
    // The exit code of a process that ended by itself; -1 for one that a signal killed.
    int ExitCode() {
        ended = ended || WaitFor([this] { return waitpid(pid, &status, WNOHANG) == pid; });
        return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Stderr() const { return (std::ostringstream() << std::ifstream(stderrPath).rdbuf()).str(); }

    const std::string stderrPath = TemporaryDirectory() + "/vintrel-" + std::to_string(getpid());
    const pid_t pid;
    int status = 0;
    bool ended = false;
};

class VintrelWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(display_ = XOpenDisplay(nullptr), nullptr) << "no DISPLAY"; }
    void TearDown() override { if (display_) XCloseDisplay(display_); }
    Window MakeWindow(int width, int height) {
        const Window window =
            XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, width, height, 0, 0, kBackground);
        XMapWindow(display_, window);
        XSync(display_, False);
        return window;
    }
    // Waits until the scene covers the window, none of its green left, with a round yellow
    // dial in the middle of each part (the whole window where none is given), and returns the
    // last dial's height (0 if that never comes).
    int WaitForClock(Window window, const std::vector<XRectangle>& parts = {}) {
        int height = 0;
        return WaitFor([&] {
            XWindowAttributes size{};
            XGetWindowAttributes(display_, window, &size);
            XImage* image = XGetImage(display_, window, 0, 0, size.width, size.height, AllPlanes, ZPixmap);
            const auto whole = XRectangle{0, 0, static_cast<unsigned short>(size.width), static_cast<unsigned short>(size.height)};
            bool round = true;
            long background = 0;
            for (const XRectangle& part : parts.empty() ? std::vector<XRectangle>{whole} : parts) {
                int left = part.x + part.width, right = -1, top = part.y + part.height, bottom = -1;
                long dial = 0;
                for (int y = part.y; y < part.y + part.height; ++y) {
                    for (int x = part.x; x < part.x + part.width; ++x) {
                        const unsigned long pixel = XGetPixel(image, x, y);
                        const long red = (pixel >> 16) & 255, green = (pixel >> 8) & 255, blue = pixel & 255;
                        background += pixel == kBackground;
                        if (red - blue > 25 && green - blue > 20) {
                            ++dial;
                            left = std::min(left, x), right = std::max(right, x);
                            top = std::min(top, y), bottom = std::max(bottom, y);
                        }
                    }
                }
                height = bottom - top + 1;
                round = round && dial > part.width * part.height / 20 &&
                        std::abs(left + right + 1 - 2 * part.x - part.width) < 0.08 * part.width &&
                        std::abs(top + bottom + 1 - 2 * part.y - part.height) < 0.08 * part.height &&
                        std::abs((right - left + 1.0) / (bottom - top + 1) - 1.0) < 0.1;
            }
            XDestroyImage(image);
            return background == 0 && round;
        }) ? height : 0;
    }

    Display* display_ = nullptr;
};

TEST_F(VintrelWindow, DrawsAtTheWindowsSizeRedrawsOnExposeFollowsAResizeAndEndsOnSigterm) {
    const Window window = MakeWindow(320, 240);
    Vintrel vintrel({"--window-id", std::to_string(window), "--delay", kEventsOnly});
    const int first = WaitForClock(window);
    ASSERT_GT(first, 0);
    XClearArea(display_, window, 0, 0, 0, 0, True);  // paints the green back and sends an expose
    ASSERT_GT(WaitForClock(window), 0);
    XResizeWindow(display_, window, 480, 200);
    const int resized = WaitForClock(window);
    ASSERT_GT(resized, 0);
    EXPECT_NEAR(resized / 200.0, first / 240.0, 0.05 * first / 240.0);  // the view's angle is vertical

    // No input of the window is taken: the daemon decides when the program stops.
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    EXPECT_EQ(attributes.all_event_masks & (KeyPressMask | ButtonPressMask | PointerMotionMask), 0);

    kill(vintrel.pid, SIGTERM);
    EXPECT_EQ(vintrel.ExitCode(), 0);
    EXPECT_EQ(vintrel.Stderr(), "");
}

TEST_F(VintrelWindow, EndsQuietlyWhenItsWindowIsDestroyedWhileItDraws) {
    const Window window = MakeWindow(200, 150);
    Vintrel vintrel({"-window-id", std::to_string(window), "-delay", "0"});
    ASSERT_GT(WaitForClock(window), 0);
    XDestroyWindow(display_, window);
    XSync(display_, False);
    EXPECT_EQ(vintrel.ExitCode(), 0);
    EXPECT_EQ(vintrel.Stderr(), "");
}

TEST_F(VintrelWindow, OwnWindowFillsTheTestScreenAndClosesOnEscapeQOrTheWindowManager) {
    for (const char* close : {"Escape", "q", "WM_DELETE_WINDOW"}) {
        Vintrel vintrel({"--delay", kEventsOnly});
        ASSERT_GT(WaitForClock(DefaultRootWindow(display_)), 0);  // 1280x720, as with-xvfb.sh's screen
        // Sent to the window under the pointer, which stays where the display put it: the middle.
        XEvent event{};
        event.xclient = {ClientMessage, 0, True, display_, 0, XInternAtom(display_, "WM_PROTOCOLS", False), 32, {}};
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, close, False));
        if (std::string(close) != "WM_DELETE_WINDOW") {
            event.xkey = {KeyPress, 0, True, display_, 0, 0, 0, CurrentTime, 0, 0, 0, 0, 0,
                          XKeysymToKeycode(display_, XStringToKeysym(close)), True};
        }
        XSendEvent(display_, PointerWindow, False, event.type == KeyPress ? KeyPressMask : NoEventMask, &event);
        XFlush(display_);
        EXPECT_EQ(vintrel.ExitCode(), 0) << close;
    }
}

// Xvfb's screen has TrueColor and DirectColor visuals with OpenGL, and no StaticGray at all.
TEST_F(VintrelWindow, OwnWindowTakesGeometryAndANamedVisualWithOpenGlElseSaysSoOnce) {
    const auto ownWindow = [this] {  // found by its name, once it shows
        Window root = 0, parent = 0, *children = nullptr, found = 0;
        unsigned count = 0;
        XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count; ++i) {
            char* name = nullptr;
            XWindowAttributes shown{};
            if (XFetchName(display_, children[i], &name) && std::string(name) == "Vintrel" &&
                XGetWindowAttributes(display_, children[i], &shown) && shown.map_state == IsViewable) {
                found = children[i];
            }
            if (name) XFree(name);
        }
        if (children) XFree(children);
        return found;
    };
    const auto previousHandler = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // a window may go
    for (const std::string named : {"StaticGray", "directcolor"}) {
        Vintrel vintrel({"-geometry", "320x200+40+30", "-visual", named, "--delay", kEventsOnly});
        Window window = 0;
        ASSERT_TRUE(WaitFor([&] { return (window = ownWindow()) != 0; })) << named;
        ASSERT_GT(WaitForClock(window), 0) << named;
        XWindowAttributes attributes{};
        XGetWindowAttributes(display_, window, &attributes);
        EXPECT_EQ(std::make_tuple(attributes.x, attributes.y, attributes.width, attributes.height),
                  std::make_tuple(40, 30, 320, 200));
        EXPECT_EQ(attributes.visual->c_class, named == "StaticGray" ? TrueColor : DirectColor);
        XColor white{};  // a DirectColor window shows its pixels through its colormap
        white.pixel = 0xffffff;
        XQueryColor(display_, attributes.colormap, &white);
        EXPECT_EQ(white.red + white.green + white.blue, 3 * 65535) << named;
        kill(vintrel.pid, SIGTERM);
        EXPECT_EQ(vintrel.ExitCode(), 0);
        const std::string text = vintrel.Stderr();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), named == "StaticGray") << text;
        ASSERT_TRUE(WaitFor([&] { return ownWindow() == 0; }));
    }
    XSetErrorHandler(previousHandler);
}

// A close request in someone else's window is not ours to honour (the daemon ends the program
// by destroying the window or with a signal): a client message of any kind leaves it drawing.
TEST_F(VintrelWindow, InAHandedWindowNoClientMessageEndsIt) {
    const Window window = MakeWindow(200, 150);
    Vintrel vintrel({"--window-id", std::to_string(window), "--delay", kEventsOnly});
    ASSERT_GT(WaitForClock(window), 0);
    for (const char* atom : {"WM_DELETE_WINDOW", "WM_PROTOCOLS"}) {
        XEvent event{};
        event.xclient = {ClientMessage, 0, True, display_, window, XInternAtom(display_, "WM_PROTOCOLS", False), 32, {}};
        event.xclient.data.l[0] = std::string(atom) == "WM_PROTOCOLS" ? 0 : static_cast<long>(XInternAtom(display_, atom, False));
        XSendEvent(display_, window, False, StructureNotifyMask, &event);
    }
    XClearArea(display_, window, 0, 0, 0, 0, True);  // an expose after them: redrawn, so they were handled
    ASSERT_GT(WaitForClock(window), 0);
    EXPECT_EQ(waitpid(vintrel.pid, &vintrel.status, WNOHANG), 0) << "it ended";
}

// Unmapped, or wholly covered by another window, it draws nothing and takes next to no
// processor time (drawing back to back it takes all it can); seen again, it draws at once.
TEST_F(VintrelWindow, DrawsNothingWhileUnmappedOrCoveredAndAtOnceWhenSeenAgain) {
    const Window window = MakeWindow(320, 240);
    Vintrel vintrel({"--window-id", std::to_string(window), "--delay", "0"});
    ASSERT_GT(WaitForClock(window), 0);
    auto processorSecondsWhileHidden = [&vintrel] {
        usleep(500000);  // the program hears of it
        auto taken = [&vintrel] {
            std::ifstream stat("/proc/" + std::to_string(vintrel.pid) + "/stat");
            std::string field;
            long ticks = 0;
            for (int i = 1; i <= 15 && stat >> field; ++i) ticks += (i == 14 || i == 15) ? std::stol(field) : 0;
            return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
        };
        const double before = taken();
        usleep(2000000);
        return taken() - before;
    };
    XUnmapWindow(display_, window);
    XSync(display_, False);
    EXPECT_LT(processorSecondsWhileHidden(), 0.2) << "unmapped";
    XMapWindow(display_, window);  // green again until the program draws
    XSync(display_, False);
    ASSERT_GT(WaitForClock(window), 0) << "mapped again";
    const Window cover = MakeWindow(400, 300);
    EXPECT_LT(processorSecondsWhileHidden(), 0.2) << "covered";
    XDestroyWindow(display_, cover);
    XSync(display_, False);
    EXPECT_GT(WaitForClock(window), 0) << "uncovered";
    kill(vintrel.pid, SIGTERM);
    EXPECT_EQ(vintrel.ExitCode(), 0);
}

// A handed window whose visual has no depth buffer, where the display offers one: the scene is
// drawn in a window of the program's own over it, whole, never the sky over the dial, and at the
// handed window's size.
TEST_F(VintrelWindow, AHandedWindowWithoutADepthBufferStillShowsTheWholeClock) {
    XVisualInfo pattern{};
    pattern.screen = DefaultScreen(display_), pattern.depth = 24, pattern.c_class = TrueColor;
    int count = 0;
    XVisualInfo* visuals = XGetVisualInfo(display_, VisualScreenMask | VisualDepthMask | VisualClassMask, &pattern, &count);
    const XVisualInfo* depthless = nullptr;
    for (int i = 0; i < count && !depthless; ++i) {
        int usesGl = 0, depthBits = 1, doubleBuffered = 0;
        glXGetConfig(display_, &visuals[i], GLX_USE_GL, &usesGl);
        glXGetConfig(display_, &visuals[i], GLX_DEPTH_SIZE, &depthBits);
        glXGetConfig(display_, &visuals[i], GLX_DOUBLEBUFFER, &doubleBuffered);
        if (usesGl && depthBits == 0 && doubleBuffered) depthless = &visuals[i];
    }
    ASSERT_NE(depthless, nullptr) << "the test display offers no OpenGL visual without a depth buffer";
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display_, DefaultRootWindow(display_), depthless->visual, AllocNone);
    attributes.background_pixel = kBackground;
    const Window window = XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, 320, 240, 0, 24, InputOutput,
                                        depthless->visual, CWColormap | CWBackPixel | CWBorderPixel, &attributes);
    XFree(visuals);
    XMapWindow(display_, window);
    XSync(display_, False);
    Vintrel vintrel({"--window-id", std::to_string(window), "--delay", kEventsOnly});
    const int first = WaitForClock(window);
    ASSERT_GT(first, 0);
    // Over a root window the program's own is a top-level one, which no window manager may frame.
    Window rootOfTree = 0, parent = 0, *children = nullptr;
    unsigned int childCount = 0;
    XQueryTree(display_, window, &rootOfTree, &parent, &children, &childCount);
    ASSERT_EQ(childCount, 1u);
    XWindowAttributes own{};
    XGetWindowAttributes(display_, children[0], &own);
    XFree(children);
    EXPECT_TRUE(own.override_redirect);
    XResizeWindow(display_, window, 480, 200);
    EXPECT_NEAR(WaitForClock(window) / 200.0, first / 240.0, 0.05 * first / 240.0);
    kill(vintrel.pid, SIGTERM);
    EXPECT_EQ(vintrel.ExitCode(), 0);
    EXPECT_EQ(vintrel.Stderr(), "");
}

// The root window over two monitors (RandR's, as a window system with two screens side by side
// reports them): a whole clock in the middle of each, none split over the seam.
TEST_F(VintrelWindow, OnTheRootWindowEachMonitorShowsAWholeClock) {
    const Window root = DefaultRootWindow(display_);
    XRRMonitorInfo monitors[2] = {};
    for (int i = 0; i < 2; ++i) {
        monitors[i].name = XInternAtom(display_, i == 0 ? "VINTREL-LEFT" : "VINTREL-RIGHT", False);
        monitors[i].x = 640 * i, monitors[i].width = 640, monitors[i].height = 720;
        monitors[i].mwidth = 320, monitors[i].mheight = 360;
        monitors[i].noutput = 0;
        XRRSetMonitor(display_, root, &monitors[i]);
    }
    XSync(display_, False);
    int count = 0;
    XRRFreeMonitors(XRRGetMonitors(display_, root, True, &count));
    // The display's own monitor over the whole screen is listed after those set by a program
    // and, overlapping them, gets no view.
    ASSERT_EQ(count, 3) << "the display took no monitors";
    Vintrel vintrel({"--root", "--delay", kEventsOnly});
    EXPECT_GT(WaitForClock(root, {{0, 0, 640, 720}, {640, 0, 640, 720}}), 0);
    for (const XRRMonitorInfo& monitor : monitors) XRRDeleteMonitor(display_, root, monitor.name);
    XSync(display_, False);
    kill(vintrel.pid, SIGTERM);
    EXPECT_EQ(vintrel.ExitCode(), 0);
}

TEST_F(VintrelWindow, BadOptionsAndMissingWindowsExitWithTwoAndOneLine) {
    for (const char* bad : {"--colour", "--delay=5", "--window-id"}) {
        Vintrel vintrel({bad, "0x1fffffff"});  // the last identifier of the 256th client: no window here
        EXPECT_EQ(vintrel.ExitCode(), 2) << bad;
        const std::string text = vintrel.Stderr();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    }
}

}  // namespace
