// The command line of vintrel, the X11 screen-saver program: the conventions XScreenSaver and
// other screen-saver daemons start their programs with, each option with one or two dashes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class DrawTarget {
    OwnWindow,    // a window of the program's own, closed by Escape, q or the window manager
    GivenWindow,  // a window someone else made (windowId); the daemon decides when to stop
    RootWindow,   // the screen's root window
};

struct SaverProgramOptions {
    DrawTarget target = DrawTarget::OwnWindow;
    uint32_t windowId = 0;             // the window of GivenWindow
    int64_t delayMicroseconds = 10000;  // from one tick to the next, as the Windows frame timer
    bool fps = false;
    bool help = false;
    std::string display;  // empty: the DISPLAY environment variable
};

struct ParsedSaverProgramOptions {
    std::optional<SaverProgramOptions> options;  // none when the command line is bad
    std::string error;                           // one line saying what is wrong
};

// saverWindowVariable is the value of XSCREENSAVER_WINDOW (null where it is not set): --root
// draws on the window it names, the daemon's own window, and on the root window without it.
ParsedSaverProgramOptions ParseSaverProgramOptions(int argc, const char* const* argv,
                                                   const char* saverWindowVariable);

const char* SaverProgramUsage();
