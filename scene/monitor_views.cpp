#include "scene/monitor_views.h"

#include <algorithm>

bool ViewsOverlap(const ViewRect& a, const ViewRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

int MonitorViews(const ViewRect* monitors, int monitorCount, int clientLeft, int clientTop, int clientWidth,
                 int clientHeight, ViewRect* views) {
    int count = 0;
    for (int i = 0; i < monitorCount && count < maxSceneViews; ++i) {
        const int left = std::max(monitors[i].x - clientLeft, 0);
        const int top = std::max(monitors[i].y - clientTop, 0);
        const int right = std::min(monitors[i].x + monitors[i].width - clientLeft, clientWidth);
        const int bottom = std::min(monitors[i].y + monitors[i].height - clientTop, clientHeight);
        if (right <= left || bottom <= top) continue;
        const ViewRect view{left, top, right - left, bottom - top};
        if (std::none_of(views, views + count, [&](const ViewRect& kept) { return ViewsOverlap(kept, view); })) {
            views[count++] = view;
        }
    }
    return count;
}
