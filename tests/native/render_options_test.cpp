// vintrel-render's command line.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "apps/render_options.h"

namespace {

TEST(RenderOptions, EveryOptionAndWhatIsWrongWithABadOne) {
    const char* const good[] = {"vintrel-render", "--size", "640x480", "--time", "10:09:30.250", "--clock", "3", "--snow-clock", "5",
                                "--step", "0.02", "--seed", "4294967295", "--frames", "4", "--out", "f%d.png", "--bench",
                                "--warm-up", "60", "--floor-startup", "--monitors", "320x480+0+0,320x200+320+280"};
    const ParsedRenderOptions parsed = ParseRenderOptions(static_cast<int>(std::size(good)), good);
    ASSERT_TRUE(parsed.options) << parsed.error;
    const RenderOptions& o = *parsed.options;
    EXPECT_EQ(std::vector<double>({double(o.width), double(o.height), double(o.time->hour), double(o.time->minute), double(o.time->second),
                                   double(o.time->millisecond), o.clockSeconds, *o.snowClockSeconds, o.stepSeconds, double(*o.seed),
                                   double(o.frames), double(o.bench), o.warmUpSeconds, double(o.floorStartup)}),
              std::vector<double>({640, 480, 10, 9, 30, 250, 3, 5, 0.02, 4294967295.0, 4, 1, 60, 1}));
    EXPECT_EQ(FramePath(o.out, 12), "f12.png");
    ASSERT_EQ(o.monitors.size(), 2u);
    EXPECT_EQ(std::vector<int>({o.monitors[1].width, o.monitors[1].height, o.monitors[1].x, o.monitors[1].y}),
              std::vector<int>({320, 200, 320, 280}));
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--bogus"}, {"--size", "640"}, {"--size", "0x10"}, {"--frames", "0"}, {"--time", "24:00:00"}, {"--time", "10:60:00"},
             {"--time", "1:00:00"}, {"--clock", "-1"}, {"--seed", "4294967296"}, {"--seed"},
             // a warm-up needs steps that advance, and not so many that it never ends
             {"--warm-up", "-5"}, {"--warm-up", "5", "--step", "0"}, {"--warm-up", "1000", "--step", "0.00001"},
             {"--monitors", "800x600+0"}, {"--monitors", "800x600+0+0,"}, {"--monitors", "800x600+-1+0"},
             {"--resize", "800"}, {"--resize", "800x600", "--monitors", "640x480+0+0"}}) {
        bad.insert(bad.begin(), "vintrel-render");
        const ParsedRenderOptions refused = ParseRenderOptions(static_cast<int>(bad.size()), bad.data());
        EXPECT_FALSE(refused.options) << bad[1];
        EXPECT_NE(refused.error.find(bad[1]), std::string::npos) << refused.error;
    }
}

// Monitors lie inside the frame (1280x720 without --size), whatever the options' order, and
// none over another; the line names the rectangle that is wrong and how.
TEST(RenderOptions, MonitorsOutsideTheFrameOrOverAnotherAreRefused) {
    const std::vector<std::pair<std::vector<const char*>, std::string>> layouts = {
        {{"--monitors", "640x720+0+0,640x720+640+0"}, ""},
        {{"--monitors", "800x600+481+0", "--size", "1280x600"}, "monitor 800x600+481+0 lies outside --size 1280x600"},
        {{"--size", "1600x600", "--monitors", "800x600+0+1"}, "monitor 800x600+0+1 lies outside --size 1600x600"},
        {{"--monitors", "640x720+0+0,640x720+639+0"}, "monitors 640x720+0+0 and 640x720+639+0 overlap"},
        {{"--monitors", "10x10+0+0,100x100+50+50,10x10+60+149"}, "monitors 100x100+50+50 and 10x10+60+149 overlap"}};
    for (auto [arguments, error] : layouts) {
        arguments.insert(arguments.begin(), "vintrel-render");
        const ParsedRenderOptions parsed = ParseRenderOptions(static_cast<int>(arguments.size()), arguments.data());
        EXPECT_EQ(parsed.error, error);
        EXPECT_EQ(parsed.options.has_value(), error.empty()) << error;
    }
}

}  // namespace
