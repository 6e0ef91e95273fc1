#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "apps/saver_program_options.h"
#include "apps/x11_window_loss.h"

namespace {

ParsedSaverProgramOptions Parse(std::vector<const char*> arguments, const char* saverWindow = nullptr) {
    arguments.insert(arguments.begin(), "vintrel");
    return ParseSaverProgramOptions(static_cast<int>(arguments.size()), arguments.data(), saverWindow);
}

TEST(SaverProgramOptions, AcceptedLines) {
    struct Case {  // the arguments and XSCREENSAVER_WINDOW, then what they come to
        std::vector<const char*> arguments;
        const char* saverWindow; DrawTarget target; uint32_t window; int64_t delay; bool fps;
    };
    const Case cases[] = {
        {{}, nullptr, DrawTarget::OwnWindow, 0, 30000, false},
        {{"-root"}, nullptr, DrawTarget::RootWindow, 0, 30000, false},
        {{"--root"}, "", DrawTarget::RootWindow, 0, 30000, false},
        {{"--root"}, "0x1a00007", DrawTarget::GivenWindow, 27262983, 30000, false},
        {{"-root"}, "4096", DrawTarget::GivenWindow, 4096, 30000, false},
        {{"--window"}, "0x1a00007", DrawTarget::OwnWindow, 0, 30000, false},
        {{"-window-id", "0x2A", "-delay", "0"}, nullptr, DrawTarget::GivenWindow, 42, 0, false},
        {{"--window-id", "4294967295", "--fps"}, "0x99", DrawTarget::GivenWindow, 4294967295u, 30000, true},
        {{"--root", "--window"}, nullptr, DrawTarget::OwnWindow, 0, 30000, false},
        // XSCREENSAVER_WINDOW names no window on Wayland.
        {{"--root", "-wayland", "--delay", "5"}, "0x99", DrawTarget::WaylandOutputs, 0, 5, false},
        {{"--delay", "2147483647", "-fps", "--display", ":7"}, nullptr, DrawTarget::OwnWindow, 0, 2147483647, true},
        // What every XScreenSaver program takes: accepted, and the last of -fps and -no-fps counts.
        {{"-install", "--fps", "--noinstall", "-delay", "7", "-mono", "-no-fps"}, nullptr, DrawTarget::OwnWindow, 0, 7, false},
        {{"--no-fps", "-fps", "-visual", "TrueColor", "-geometry", "1x1"}, nullptr, DrawTarget::OwnWindow, 0, 30000, true},
    };
    for (const Case& c : cases) {
        const ParsedSaverProgramOptions parsed = Parse(c.arguments, c.saverWindow);
        const std::string line = testing::PrintToString(c.arguments);
        ASSERT_TRUE(parsed.options) << line << ": " << parsed.error;
        EXPECT_EQ(parsed.options->target, c.target) << line;
        EXPECT_EQ(parsed.options->windowId, c.window) << line;
        EXPECT_EQ(parsed.options->delayMicroseconds, c.delay) << line;
        EXPECT_EQ(parsed.options->fps, c.fps) << line;
    }
    EXPECT_EQ(Parse({"-display", ":7"}).options->display, ":7");
    EXPECT_TRUE(Parse({"--help"}).options->help);
}

TEST(SaverProgramOptions, OwnWindowsGeometryAndVisual) {
    const WindowGeometry usual = Parse({}).options->geometry;
    EXPECT_EQ(std::make_tuple(usual.width, usual.height, usual.placed), std::make_tuple(1280, 720, false));
    const WindowGeometry sized = Parse({"-geometry", "640x480"}).options->geometry;
    EXPECT_EQ(std::make_tuple(sized.width, sized.height, sized.placed), std::make_tuple(640, 480, false));
    const WindowGeometry placed = Parse({"--geometry", "32767x2+0+32767"}).options->geometry;
    EXPECT_EQ(std::make_tuple(placed.width, placed.height, placed.placed, placed.x, placed.y),
              std::make_tuple(32767, 2, true, 0, 32767));

    struct Case { const char* text; VisualRequest::Kind kind; int visualClass; uint32_t id; };
    const Case visuals[] = {
        {"default", VisualRequest::Kind::Usual, 0, 0},       {"Best", VisualRequest::Kind::Usual, 0, 0},
        {"StaticGray", VisualRequest::Kind::Class, 0, 0},    {"greyscale", VisualRequest::Kind::Class, 1, 0},
        {"GrayScale", VisualRequest::Kind::Class, 1, 0},     {"staticcolor", VisualRequest::Kind::Class, 2, 0},
        {"PSEUDOCOLOR", VisualRequest::Kind::Class, 3, 0},   {"TrueColor", VisualRequest::Kind::Class, 4, 0},
        {"DirectColor", VisualRequest::Kind::Class, 5, 0},   {"0x21", VisualRequest::Kind::Id, 0, 0x21},
        {"33", VisualRequest::Kind::Id, 0, 33},
    };
    for (const Case& c : visuals) {
        const VisualRequest visual = Parse({"--visual", c.text}).options->visual;
        EXPECT_EQ(std::make_tuple(visual.kind, visual.visualClass, visual.id, visual.name),
                  std::make_tuple(c.kind, c.visualClass, c.id, std::string(c.text)));
    }
}

TEST(SaverProgramOptions, RejectedLinesSayWhatInOneLine) {
    const std::vector<std::vector<const char*>> lines = {
        {"--roots"}, {"---root"}, {"root"}, {"-"}, {"--window-id"}, {"--window-id", "0"}, {"--window-id", "0x"},
        {"--window-id", "-5"}, {"--window-id", "+5"}, {"--window-id", " 5"}, {"--window-id", "0x1g"},
        {"--window-id", "4294967296"}, {"--window-id", "0x100000000"}, {"--delay", "-1"}, {"--delay", "1.5"},
        {"--delay", "2147483648"}, {"--delay", ""}, {"--delay"}, {"--display", ""}, {"--installs"}, {"--fps", "1"},
        {"--geometry"}, {"--geometry", ""}, {"--geometry", "0x480"}, {"--geometry", "640x0"}, {"--geometry", "640x"},
        {"--geometry", "x480"}, {"--geometry", "640*480"}, {"--geometry", "640x480+5"}, {"--geometry", "640x480+5+"},
        {"--geometry", "640x480-5-5"}, {"--geometry", "640x480+5+5+5"}, {"--geometry", "32768x480"},
        {"--geometry", "640x480+32768+0"}, {"--geometry", "+5+5"}, {"--visual"}, {"--visual", ""},
        {"--visual", "colour"}, {"--visual", "true color"}, {"--visual", "0"}, {"--visual", "0x"}, {"--visual", "-1"},
    };
    for (const auto& line : lines) {
        const ParsedSaverProgramOptions parsed = Parse(line);
        EXPECT_FALSE(parsed.options) << testing::PrintToString(line);
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
    EXPECT_FALSE(Parse({"--root"}, "junk").options);
    EXPECT_FALSE(Parse({"--root"}, "0").options);
}

// Only an error that names the window drawn on, as no window or drawable, means it is gone;
// a late error from another request, or one about another resource, is a fault to report.
TEST(X11Errors, OnlyAnErrorThatFindsNoWindowDrawnOnMeansItIsGone) {
    const unsigned long drawn = 0x400001, other = 0x400002;
    const int badRequest = 1, badWindow = 3, badMatch = 8, badDrawable = 9;
    EXPECT_TRUE(ErrorMeansWindowGone(drawn, badWindow, drawn));
    EXPECT_TRUE(ErrorMeansWindowGone(drawn, badDrawable, drawn));
    EXPECT_FALSE(ErrorMeansWindowGone(other, badWindow, drawn));
    EXPECT_FALSE(ErrorMeansWindowGone(drawn, badMatch, drawn));
    EXPECT_FALSE(ErrorMeansWindowGone(drawn, badRequest, drawn));
    EXPECT_FALSE(ErrorMeansWindowGone(0, badWindow, 0)) << "no window yet";
}

}  // namespace
