// One view per monitor of a full-screen window, from the window system's rectangles.
#include <gtest/gtest.h>

#include <vector>

#include "scene/monitor_views.h"

namespace {

std::vector<int> Flat(const ViewRect* views, int count) {
    std::vector<int> flat;
    for (int i = 0; i < count; ++i) flat.insert(flat.end(), {views[i].x, views[i].y, views[i].width, views[i].height});
    return flat;
}

// A window over the virtual screen from (-800, -100), 2800 x 1180.
TEST(MonitorViews, InClientCoordinatesClippedWithoutMirrorsOrMonitorsOutside) {
    const ViewRect monitors[] = {{0, 0, 1920, 1080},      // primary
                                 {-800, -100, 800, 600},  // left, higher
                                 {0, 0, 1920, 1080},      // mirrors the primary
                                 {2000, 0, 100, 100},     // beyond the window
                                 {1800, 900, 400, 400},   // over the primary
                                 {1920, 900, 400, 400}};  // partly beyond the window
    ViewRect views[maxSceneViews];
    EXPECT_EQ(Flat(views, MonitorViews(monitors, 6, -800, -100, 2800, 1180, views)),
              std::vector<int>({800, 100, 1920, 1080, 0, 0, 800, 600, 2720, 1000, 80, 180}));
    std::vector<ViewRect> many(maxSceneViews + 3);
    for (int i = 0; i < static_cast<int>(many.size()); ++i) many[i] = {i * 10, 0, 10, 10};
    EXPECT_EQ(MonitorViews(many.data(), static_cast<int>(many.size()), 0, 0, 1000, 10, views), maxSceneViews);
}

}  // namespace
