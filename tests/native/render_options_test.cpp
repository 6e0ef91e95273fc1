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
                                "--warm-up", "60", "--floor-startup"};
    const ParsedRenderOptions parsed = ParseRenderOptions(static_cast<int>(std::size(good)), good);
    ASSERT_TRUE(parsed.options) << parsed.error;
    const RenderOptions& o = *parsed.options;
    EXPECT_EQ(std::vector<double>({double(o.width), double(o.height), double(o.time->hour), double(o.time->minute), double(o.time->second),
                                   double(o.time->millisecond), o.clockSeconds, *o.snowClockSeconds, o.stepSeconds, double(*o.seed),
                                   double(o.frames), double(o.bench), o.warmUpSeconds, double(o.floorStartup)}),
              std::vector<double>({640, 480, 10, 9, 30, 250, 3, 5, 0.02, 4294967295.0, 4, 1, 60, 1}));
    EXPECT_EQ(FramePath(o.out, 12), "f12.png");
    for (std::vector<const char*> bad : std::vector<std::vector<const char*>>{
             {"--bogus"}, {"--size", "640"}, {"--size", "0x10"}, {"--frames", "0"}, {"--time", "24:00:00"}, {"--time", "10:60:00"},
             {"--time", "1:00:00"}, {"--clock", "-1"}, {"--seed", "4294967296"}, {"--seed"},
             // a warm-up needs steps that advance, and not so many that it never ends
             {"--warm-up", "-5"}, {"--warm-up", "5", "--step", "0"}, {"--warm-up", "1000", "--step", "0.00001"}}) {
        bad.insert(bad.begin(), "vintrel-render");
        const ParsedRenderOptions refused = ParseRenderOptions(static_cast<int>(bad.size()), bad.data());
        EXPECT_FALSE(refused.options) << bad[1];
        EXPECT_NE(refused.error.find(bad[1]), std::string::npos) << refused.error;
    }
}

}  // namespace
