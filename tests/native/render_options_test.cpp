#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "apps/render_options.h"

namespace {

ParsedRenderOptions Parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"vintrel-render"};
    argv.insert(argv.end(), arguments);
    return ParseRenderOptions(static_cast<int>(argv.size()), argv.data());
}

TEST(RenderOptions, Defaults) {
    const ParsedRenderOptions parsed = Parse({});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->width, 1280);
    EXPECT_EQ(parsed.options->height, 720);
    EXPECT_FALSE(parsed.options->time);
    EXPECT_EQ(parsed.options->clockSeconds, 0.0);
    EXPECT_FALSE(parsed.options->snowClockSeconds);
    EXPECT_EQ(parsed.options->stepSeconds, 0.01);
    EXPECT_EQ(parsed.options->warmUpSeconds, 0.0);
    EXPECT_FALSE(parsed.options->seed);
    EXPECT_EQ(parsed.options->frames, 1);
    EXPECT_TRUE(parsed.options->out.empty());
    EXPECT_FALSE(parsed.options->bench);
    EXPECT_FALSE(parsed.options->floorStartup);
}

TEST(RenderOptions, EveryOption) {
    const ParsedRenderOptions parsed =
        Parse({"--size", "640x480", "--time", "09:30:15.250", "--clock", "12.5", "--snow-clock", "3", "--step",
               "0.02", "--seed", "4294967295", "--frames", "7", "--out", "f%d.png", "--bench", "--warm-up", "60",
               "--floor-startup"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    const RenderOptions& options = *parsed.options;
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 480);
    ASSERT_TRUE(options.time);
    EXPECT_EQ(options.time->hour, 9);
    EXPECT_EQ(options.time->minute, 30);
    EXPECT_EQ(options.time->second, 15);
    EXPECT_EQ(options.time->millisecond, 250);
    EXPECT_EQ(options.clockSeconds, 12.5);
    EXPECT_EQ(options.snowClockSeconds, 3.0);
    EXPECT_EQ(options.stepSeconds, 0.02);
    EXPECT_EQ(options.seed, 4294967295u);
    EXPECT_EQ(options.frames, 7);
    EXPECT_EQ(options.out, "f%d.png");
    EXPECT_TRUE(options.bench);
    EXPECT_EQ(options.warmUpSeconds, 60.0);
    EXPECT_TRUE(options.floorStartup);
}

TEST(RenderOptions, TimeWithoutMilliseconds) {
    const ParsedRenderOptions parsed = Parse({"--time", "23:59:59"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->time->millisecond, 0);
}

TEST(RenderOptions, BadOptionsAndValuesSayWhat) {
    for (auto arguments : std::vector<std::vector<const char*>>{
             {"--sise", "1x1"}, {"--size"}, {"--size", "640"}, {"--size", "0x480"}, {"--size", "640x-1"},
             {"--size", "640x480x3"}, {"--size", "99999x10"}, {"--time", "24:00:00"}, {"--time", "9:30:00"},
             {"--time", "09:60:00"}, {"--time", "09:30:00.5"}, {"--time", "09:30:00,500"}, {"--clock", "-1"},
             {"--clock", "nan"}, {"--clock", "1s"}, {"--step", ""}, {"--seed", "-3"}, {"--seed", "4294967296"},
             {"--frames", "0"}, {"--frames", "2.5"}, {"--out", ""}, {"extra"}, {"--warm-up", "-5"},
             // a warm-up needs steps that advance, and not so many that it never ends
             {"--warm-up", "5", "--step", "0"}, {"--step", "0", "--warm-up", "5"},
             {"--warm-up", "1000", "--step", "0.00001"}}) {
        std::vector<const char*> argv{"vintrel-render"};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const ParsedRenderOptions parsed = ParseRenderOptions(static_cast<int>(argv.size()), argv.data());
        EXPECT_FALSE(parsed.options) << arguments[0] << ' ' << (arguments.size() > 1 ? arguments[1] : "");
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
    }
}

TEST(RenderOptions, FramePathNumbersEveryPlaceholder) {
    EXPECT_EQ(FramePath("frame%d.png", 12), "frame12.png");
    EXPECT_EQ(FramePath("%d/%d.png", 3), "3/3.png");
    EXPECT_EQ(FramePath("last.png", 5), "last.png");
    EXPECT_EQ(FramePath("odd%s%%d.png", 1), "odd%s%1.png");  // no other directive is interpreted
}

}  // namespace
