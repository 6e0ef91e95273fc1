// The command line of vintrel, the X11 screen-saver program: the conventions XScreenSaver and
// other screen-saver daemons start their programs with, each option with one or two dashes.
// The options every XScreenSaver program takes are accepted too, so that the daemon never
// shows a refused one as a crash: -install, -noinstall and -mono change nothing here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class DrawTarget {
    OwnWindow,    // a window of the program's own, closed by Escape, q or the window manager
    GivenWindow,  // a window someone else made (windowId); the daemon decides when to stop
    RootWindow,   // the screen's root window
    WaylandOutputs,  // every output of the Wayland compositor WAYLAND_DISPLAY names
};

// The visual of a window of the program's own (-visual): a class of X visuals, by name, or one
// visual by its identifier. A window someone else made keeps the visual it was made with.
struct VisualRequest {
    enum class Kind { Usual, Class, Id };
    Kind kind = Kind::Usual;  // Usual: the program's own choice ("default", "best", or no -visual)
    int visualClass = 0;      // X's numbering, StaticGray 0 to DirectColor 5
    uint32_t id = 0;
    std::string name;  // as written on the command line, for messages
};

// Where a window of the program's own goes (-geometry WxH[+X+Y]).
struct WindowGeometry {
    int width = 1280;
    int height = 720;
    bool placed = false;  // +X+Y given: the window manager is asked to keep the position
    int x = 0;
    int y = 0;
};

struct SaverProgramOptions {
    DrawTarget target = DrawTarget::OwnWindow;
    uint32_t windowId = 0;              // the window of GivenWindow
    int64_t delayMicroseconds = 30000;  // between frames, as XScreenSaver's GL programs have it
    bool fps = false;
    bool help = false;
    std::string display;  // empty: the DISPLAY environment variable
    VisualRequest visual;
    WindowGeometry geometry;
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
