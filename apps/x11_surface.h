// The X11 side of vintrel: the display connection, the window it draws on (its own, or one a
// screen-saver daemon or another program made) and a GLX context current on that window.
#pragma once

#include <cstdint>
#include <string>

#include "apps/saver_program_options.h"
#include "scene/scene_window.h"

// What the events since the last look asked for.
struct WindowEvents {
    bool closeRequested = false;  // Escape, q or the window manager's close; own window only
    bool exposed = false;         // part of the window needs drawing again
    bool resized = false;         // width() and height() changed
    bool windowLost = false;      // the window was destroyed under the program
    bool shown = false;           // it can be seen again (mapped, or no longer covered)
    bool monitorsChanged = false;  // on the root window: a monitor came, went, moved or resized
};

class X11Surface {
public:
    X11Surface() = default;
    ~X11Surface() { Close(); }
    X11Surface(const X11Surface&) = delete;
    X11Surface& operator=(const X11Surface&) = delete;

    // Opens the display, takes or makes the window, makes a GLX context current on it and loads
    // OpenGL. Returns 0, or the exit code for the failure (2 for a window that does not exist,
    // 1 otherwise) with error() saying why in one line.
    int Open(const SaverProgramOptions& options);
    const std::string& error() const { return error_; }

    // False where not even OpenGL 1.1 could be loaded: the window then shows nothing.
    bool openGlLoaded() const { return openGlLoaded_; }
    // Whether anything drawn can be seen: the window is mapped and not wholly covered by others.
    bool seen() const { return mapped_ && !covered_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // On the root window, one view per monitor (RandR's monitors, else Xinerama's screens), in
    // the window's coordinates; 0 (one view over the window) on any other window, such as the
    // one monitor's window XScreenSaver hands each program. In x11_monitors.cpp.
    int MonitorViews(ViewRect* views) const;
    // On the root window, asks RandR to tell of every change of the monitors; and whether an
    // event is such a change (RandR's idea of the screen is brought up to date with it).
    void WatchMonitors();
    bool IsMonitorChange(void* event) const;

    // Handles every event that has arrived; X errors the drawing caused are looked into here.
    WindowEvents TakeEvents();
    // Sends what is buffered and returns the connection's descriptor to wait on.
    int FlushForWaiting();
    // Shows the frame drawn into the back buffer.
    void Present();

    // Display lists for the printable ASCII characters of a fixed font, each at listBase plus
    // its code; false where the server has no such font.
    bool MakeFontLists(uint32_t& listBase, int& lineHeight);

    // Releases the context, destroys the program's own window and closes the display.
    void Close();

private:
    int OpenWindow(const SaverProgramOptions& options, void*& visualInfo);
    bool CreateContext(void* visualInfo);
    // A window of the program's own in `parent`, with its own colormap, showing the visual of
    // `visualInfo` (an XVisualInfo).
    unsigned long CreateWindowIn(unsigned long parent, const void* visualInfo, int x, int y, int width, int height,
                                 long eventMask, bool overrideRedirect = false);

    void* display_ = nullptr;
    unsigned long window_ = 0;         // the window drawn on
    unsigned long handedWindow_ = 0;  // a handed window without a depth buffer that window_ covers
    unsigned long colormap_ = 0;
    unsigned long protocolsAtom_ = 0;
    unsigned long deleteWindowAtom_ = 0;
    void* context_ = nullptr;
    bool ownWindow_ = false;
    bool onRoot_ = false;  // drawing on the screen's root window (or a window of ours over it)
    bool doubleBuffered_ = true;
    bool openGlLoaded_ = false;
    int randrEventBase_ = -1;  // RandR's first event where the root's monitors are watched
    bool mapped_ = true;    // the window drawn on (or the handed one it covers) is mapped
    bool covered_ = false;  // the window drawn on is wholly covered by others
    int width_ = 0;
    int height_ = 0;
    std::string error_;
};
