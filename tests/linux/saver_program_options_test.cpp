#include <gtest/gtest.h>

#include <vector>

#include "apps/saver_program_options.h"

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
        {{}, nullptr, DrawTarget::OwnWindow, 0, 10000, false},
        {{"-root"}, nullptr, DrawTarget::RootWindow, 0, 10000, false},
        {{"--root"}, "", DrawTarget::RootWindow, 0, 10000, false},
        {{"--root"}, "0x1a00007", DrawTarget::GivenWindow, 27262983, 10000, false},
        {{"-root"}, "4096", DrawTarget::GivenWindow, 4096, 10000, false},
        {{"--window"}, "0x1a00007", DrawTarget::OwnWindow, 0, 10000, false},
        {{"-window-id", "0x2A", "-delay", "0"}, nullptr, DrawTarget::GivenWindow, 42, 0, false},
        {{"--window-id", "4294967295", "--fps"}, "0x99", DrawTarget::GivenWindow, 4294967295u, 10000, true},
        {{"--root", "--window"}, nullptr, DrawTarget::OwnWindow, 0, 10000, false},
        {{"--delay", "2147483647", "-fps", "--display", ":7"}, nullptr, DrawTarget::OwnWindow, 0, 2147483647, true},
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

TEST(SaverProgramOptions, RejectedLinesSayWhatInOneLine) {
    const std::vector<std::vector<const char*>> lines = {
        {"--roots"}, {"---root"}, {"root"}, {"-"}, {"--window-id"}, {"--window-id", "0"}, {"--window-id", "0x"},
        {"--window-id", "-5"}, {"--window-id", "+5"}, {"--window-id", " 5"}, {"--window-id", "0x1g"},
        {"--window-id", "4294967296"}, {"--window-id", "0x100000000"}, {"--delay", "-1"}, {"--delay", "1.5"},
        {"--delay", "2147483648"}, {"--delay", ""}, {"--delay"}, {"--display", ""},
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

}  // namespace
