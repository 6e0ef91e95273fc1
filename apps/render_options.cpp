#include "apps/render_options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scene/monitor_views.h"

namespace {

constexpr int kMaxSide = 16384;
constexpr int kMaxFrames = 1000000;
// The warm-up runs one update per step; more than this would keep the program busy for hours.
constexpr double kMaxWarmUpSteps = 1.0e7;

bool ParseInteger(const char* text, long long low, long long high, long long& value) {
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool ParseSeconds(const char* text, double& value) {
    if (*text == '\0' || std::isspace(static_cast<unsigned char>(*text))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text, &end);
    return errno == 0 && *end == '\0' && std::isfinite(value) && value >= 0.0 && value <= 1.0e9;
}

bool ParseSize(const char* text, int& width, int& height) {
    const char* cross = std::strchr(text, 'x');
    if (!cross) return false;
    const std::string widthText(text, cross);
    long long w = 0;
    long long h = 0;
    if (!ParseInteger(widthText.c_str(), 1, kMaxSide, w) || !ParseInteger(cross + 1, 1, kMaxSide, h)) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

// WxH+X+Y, all four whole numbers.
bool ParseMonitor(const std::string& text, ViewRect& rect) {
    const std::size_t plus = text.find('+');
    if (plus == std::string::npos || !ParseSize(text.substr(0, plus).c_str(), rect.width, rect.height)) return false;
    const std::size_t secondPlus = text.find('+', plus + 1);
    if (secondPlus == std::string::npos) return false;
    long long x = 0;
    long long y = 0;
    if (!ParseInteger(text.substr(plus + 1, secondPlus - plus - 1).c_str(), 0, kMaxSide, x) ||
        !ParseInteger(text.substr(secondPlus + 1).c_str(), 0, kMaxSide, y)) {
        return false;
    }
    rect.x = static_cast<int>(x);
    rect.y = static_cast<int>(y);
    return true;
}

bool ParseMonitors(const char* text, std::vector<ViewRect>& monitors) {
    monitors.clear();
    const std::string list = text;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        ViewRect rect;
        if (!ParseMonitor(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start), rect)) {
            return false;
        }
        monitors.push_back(rect);
        if (comma == std::string::npos) return static_cast<int>(monitors.size()) <= maxSceneViews;
        start = comma + 1;
    }
}

std::string MonitorText(const ViewRect& r) {
    return std::to_string(r.width) + "x" + std::to_string(r.height) + "+" + std::to_string(r.x) + "+" + std::to_string(r.y);
}

// Every monitor inside the frame and none over another; the empty text when that holds.
std::string MonitorLayoutError(const RenderOptions& options) {
    for (std::size_t i = 0; i < options.monitors.size(); ++i) {
        const ViewRect& m = options.monitors[i];
        if (m.x + m.width > options.width || m.y + m.height > options.height) {
            return "monitor " + MonitorText(m) + " lies outside --size " + std::to_string(options.width) + "x" +
                   std::to_string(options.height);
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (ViewsOverlap(options.monitors[j], m)) {
                return "monitors " + MonitorText(options.monitors[j]) + " and " + MonitorText(m) + " overlap";
            }
        }
    }
    return "";
}

bool TwoDigits(const char* text, int high, int& value) {
    if (!std::isdigit(static_cast<unsigned char>(text[0])) || !std::isdigit(static_cast<unsigned char>(text[1]))) {
        return false;
    }
    value = (text[0] - '0') * 10 + (text[1] - '0');
    return value <= high;
}

// HH:MM:SS or HH:MM:SS.mmm
bool ParseTimeOfDay(const char* text, LocalTimeOfDay& time) {
    const std::size_t length = std::strlen(text);
    if (length != 8 && length != 12) return false;
    if (text[2] != ':' || text[5] != ':') return false;
    time = {};
    if (!TwoDigits(text, 23, time.hour) || !TwoDigits(text + 3, 59, time.minute) ||
        !TwoDigits(text + 6, 59, time.second)) {
        return false;
    }
    if (length == 12) {
        if (text[8] != '.') return false;
        for (int i = 9; i < 12; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
            time.millisecond = time.millisecond * 10 + (text[i] - '0');
        }
    }
    return true;
}

}  // namespace

ParsedRenderOptions ParseRenderOptions(int argc, const char* const* argv) {
    RenderOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help") {
            options.help = true;
            continue;
        }
        if (name == "--bench") {
            options.bench = true;
            continue;
        }
        if (name == "--floor-startup") {
            options.floorStartup = true;
            continue;
        }
        const bool takesValue = name == "--size" || name == "--resize" || name == "--monitors" || name == "--time" || name == "--clock" || name == "--snow-clock" ||
                                name == "--step" || name == "--warm-up" || name == "--seed" || name == "--frames" ||
                                name == "--out";
        if (!takesValue) return {std::nullopt, "unknown option '" + name + "'"};
        if (i + 1 >= argc) return {std::nullopt, "option " + name + " needs a value"};
        const char* value = argv[++i];
        const std::string bad = "bad value '" + std::string(value) + "' for " + name;

        if (name == "--size") {
            if (!ParseSize(value, options.width, options.height)) return {std::nullopt, bad + " (WxH)"};
        } else if (name == "--resize") {
            int width = 0;
            int height = 0;
            if (!ParseSize(value, width, height)) return {std::nullopt, bad + " (WxH)"};
            options.resizedWidth = width;
            options.resizedHeight = height;
        } else if (name == "--monitors") {
            if (!ParseMonitors(value, options.monitors)) {
                return {std::nullopt, bad + " (WxH+X+Y, comma-separated, at most " + std::to_string(maxSceneViews) + ")"};
            }
        } else if (name == "--time") {
            LocalTimeOfDay time{};
            if (!ParseTimeOfDay(value, time)) return {std::nullopt, bad + " (HH:MM:SS[.mmm])"};
            options.time = time;
        } else if (name == "--clock" || name == "--snow-clock" || name == "--step" ||
                   name == "--warm-up") {
            double seconds = 0.0;
            if (!ParseSeconds(value, seconds)) return {std::nullopt, bad + " (seconds, 0 or more)"};
            if (name == "--clock") options.clockSeconds = seconds;
            if (name == "--snow-clock") options.snowClockSeconds = seconds;
            if (name == "--step") options.stepSeconds = seconds;
            if (name == "--warm-up") options.warmUpSeconds = seconds;
        } else if (name == "--seed") {
            long long seed = 0;
            if (!ParseInteger(value, 0, UINT32_MAX, seed)) return {std::nullopt, bad + " (0 to 4294967295)"};
            options.seed = static_cast<uint32_t>(seed);
        } else if (name == "--frames") {
            long long frames = 0;
            if (!ParseInteger(value, 1, kMaxFrames, frames)) return {std::nullopt, bad + " (1 or more)"};
            options.frames = static_cast<int>(frames);
        } else if (name == "--out") {
            if (*value == '\0') return {std::nullopt, bad};
            options.out = value;
        }
    }
    // Checked once every option is known, whatever their order; a step of 0 would never end.
    if (options.warmUpSeconds > kMaxWarmUpSteps * options.stepSeconds) {
        return {std::nullopt, "--warm-up needs a --step above 0 that takes it in at most 10000000 updates"};
    }
    if (std::string error = MonitorLayoutError(options); !error.empty()) return {std::nullopt, error};
    if (options.resizedWidth && !options.monitors.empty()) return {std::nullopt, "--resize takes no --monitors"};
    return {options, ""};
}

std::string FramePath(const std::string& pattern, int frame) {
    std::string path;
    const std::string number = std::to_string(frame);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.compare(i, 2, "%d") == 0) {
            path += number;
            ++i;
        } else {
            path += pattern[i];
        }
    }
    return path;
}

const char* RenderUsage() {
    return "usage: vintrel-render [options]\n"
           "  --size WxH             frame size in pixels (default 1280x720)\n"
           "  --resize WxH           the frame's size from the second frame on (a resized window)\n"
           "  --monitors WxH+X+Y,... monitors inside the frame (the virtual screen), each showing the\n"
           "                         whole clock; what none covers stays black (default: one)\n"
           "  --time HH:MM:SS[.mmm]  local time of day every frame sees (default: now)\n"
           "  --clock SECONDS        gear and swing stopwatches at the first frame (default 0)\n"
           "  --snow-clock SECONDS   the snow's stopwatch at the first frame (default: --clock)\n"
           "  --step SECONDS         how far the stopwatches advance per frame (default 0.01)\n"
           "  --warm-up SECONDS      before the first frame, advance all stopwatches this far in\n"
           "                         steps of --step, updating the scene at each without drawing\n"
           "  --seed N               random seed instead of the tick count\n"
           "  --frames N             number of frames (default 1)\n"
           "  --out PATH             PNG of the last frame, or of every frame where PATH holds %d\n"
           "  --bench                print start-up and frame times in milliseconds, beside the\n"
           "                         floor's (the same passes, each one textured quad)\n"
           "  --floor-startup        only the floor's start-up: open the context, load one image,\n"
           "                         draw one floor frame; print its milliseconds\n"
           "  --help                 this text\n";
}
