// The command line of vintrel-render. Other tests and tools rely on it; keep it stable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "scene/scene_window.h"

struct RenderOptions {
    int width = 1280;
    int height = 720;
    // A new size from the second frame on, as a window resized after its first frame; the
    // surface is made large enough for both. None: the frame keeps --size.
    std::optional<int> resizedWidth;
    std::optional<int> resizedHeight;
    // Monitors inside the frame, each with a view of its own; none: one view over the frame.
    std::vector<ViewRect> monitors;
    std::optional<LocalTimeOfDay> time;  // local time every frame sees; none: the real time
    double clockSeconds = 0.0;           // gear and swing stopwatches at the first frame
    std::optional<double> snowClockSeconds;  // the snow's stopwatch then; none: clockSeconds
    double stepSeconds = 0.01;               // how far all stopwatches advance per frame
    double warmUpSeconds = 0.0;  // updates without drawing, in steps of stepSeconds, before the first frame
    std::optional<uint32_t> seed;            // random seed instead of the tick count
    int frames = 1;
    std::string out;  // last frame, or every frame where it holds %d; empty: none written
    bool bench = false;
    bool floorStartup = false;  // only the floor's start-up: context, one image, one floor frame
    bool help = false;
};

struct ParsedRenderOptions {
    std::optional<RenderOptions> options;  // none when the command line is bad
    std::string error;                     // one line saying what is wrong
};

ParsedRenderOptions ParseRenderOptions(int argc, const char* const* argv);

// The file name for a frame: every "%d" in the pattern replaced by the frame number.
std::string FramePath(const std::string& pattern, int frame);

const char* RenderUsage();
