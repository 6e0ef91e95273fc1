#include "apps/x11_surface.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "apps/x11_window_loss.h"
#include "gfx/gl_capabilities.h"

namespace {

// X errors arrive through one handler for the whole process, often inside a call of the OpenGL
// driver. An error that names the window the program draws on means the window is gone:
// destroyed under the program, perhaps while it draws. Mesa's software rasteriser asks the
// server for the window's size at a frame's first draws and, when that request fails, goes on
// with whatever the failed reply left unset as the size of its buffers, and crashes. So the
// program ends right there, quietly and with 0, as it does when the window's destruction
// arrives between frames: nothing of the driver may run after it, and the process leaves
// nothing behind that the server does not free with the connection.
Window drawnWindow = 0;

// Any other error is a real fault: the first is reported once, and the program goes on.
int pendingErrors = 0;
char firstErrorText[160] = "";
bool errorReported = false;

int HandleError(Display* display, XErrorEvent* event) {
    if (ErrorMeansWindowGone(event->resourceid, event->error_code, drawnWindow)) _exit(0);
    if (pendingErrors++ == 0 && !errorReported) {
        char description[96] = "";
        XGetErrorText(display, event->error_code, description, sizeof description);
        std::snprintf(firstErrorText, sizeof firstErrorText, "X error: %s (request %d.%d, resource 0x%lx)",
                      description, event->request_code, event->minor_code, event->resourceid);
    }
    return 0;
}

// Called when the connection to the display is gone; Xlib ends the process if this returns.
int LoseDisplay(Display*) {
    std::fputs("vintrel: lost the connection to the X display\n", stderr);
    _exit(1);
}

void (*LookUpOpenGl(const char* name))(void) {
    return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
}

// The best visual of those the user named (-visual): RGBA with OpenGL and a depth buffer, then
// double-buffered, then with depth and stencil bits up to what the scene uses. None where none
// offers that.
XVisualInfo* NamedVisual(Display* display, int screen, const VisualRequest& request) {
    static_assert(StaticGray == 0 && GrayScale == 1 && StaticColor == 2 && PseudoColor == 3 && TrueColor == 4 &&
                  DirectColor == 5, "VisualRequest::visualClass counts as X does");
    XVisualInfo pattern{};
    pattern.screen = screen;
    pattern.c_class = request.visualClass;
    pattern.visualid = request.id;
    const long mask = VisualScreenMask | (request.kind == VisualRequest::Kind::Id ? VisualIDMask : VisualClassMask);
    int count = 0;
    XVisualInfo* candidates = XGetVisualInfo(display, mask, &pattern, &count);
    int best = -1;
    int bestScore = -1;
    for (int i = 0; i < count; ++i) {
        int usesGl = 0, rgba = 0, doubleBuffered = 0, depthBits = 0, stencilBits = 0;
        if (glXGetConfig(display, &candidates[i], GLX_USE_GL, &usesGl) != 0 || !usesGl) continue;
        glXGetConfig(display, &candidates[i], GLX_RGBA, &rgba);
        glXGetConfig(display, &candidates[i], GLX_DOUBLEBUFFER, &doubleBuffered);
        glXGetConfig(display, &candidates[i], GLX_DEPTH_SIZE, &depthBits);
        glXGetConfig(display, &candidates[i], GLX_STENCIL_SIZE, &stencilBits);
        if (depthBits == 0) continue;  // the sky would be drawn over the dial
        const int score = (doubleBuffered ? 1000 : 0) + std::min(depthBits, 24) * 10 + std::min(stencilBits, 8);
        if (rgba && score > bestScore) best = i, bestScore = score;
    }
    XVisualInfo* chosen = nullptr;
    if (best >= 0) {
        int one = 0;
        pattern.visualid = candidates[best].visualid;
        chosen = XGetVisualInfo(display, VisualScreenMask | VisualIDMask, &pattern, &one);
    }
    if (candidates) XFree(candidates);
    return chosen;
}

// The visual of a window of the program's own: the one the user named where it offers OpenGL,
// else what the scene asks of a context (RGBA, double-buffered, 24 depth and 8 stencil bits),
// else the nearest a server offers.
XVisualInfo* ChooseOwnVisual(Display* display, int screen, const VisualRequest& request) {
    if (request.kind != VisualRequest::Kind::Usual) {
        if (XVisualInfo* named = NamedVisual(display, screen, request)) return named;
        std::fprintf(stderr, "vintrel: the visual '%s' offers no OpenGL on this screen; using the usual one\n",
                     request.name.c_str());
    }
    int full[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                  GLX_DEPTH_SIZE, 24, GLX_STENCIL_SIZE, 8, None};
    int doubleBuffered[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    int singleBuffered[] = {GLX_RGBA, GLX_DEPTH_SIZE, 16, None};
    for (int* request : {full, doubleBuffered, singleBuffered}) {
        if (XVisualInfo* found = glXChooseVisual(display, screen, request)) return found;
    }
    return nullptr;
}

// A DirectColor visual (which -visual may name) shows each channel through the colormap: a
// linear ramp in every channel shows the frame's colours as TrueColor would.
Colormap LinearRampColormap(Display* display, Window root, const XVisualInfo& visual) {
    const Colormap colormap = XCreateColormap(display, root, visual.visual, AllocAll);
    const auto place = [](unsigned long mask, int index) {  // index into the channel's field
        const int shift = __builtin_ctzl(mask);
        return (static_cast<unsigned long>(index) << shift) & mask;
    };
    const int entries = visual.colormap_size;
    for (int i = 0; i < entries; ++i) {
        XColor colour{};
        colour.pixel = place(visual.red_mask, i) | place(visual.green_mask, i) | place(visual.blue_mask, i);
        colour.red = colour.green = colour.blue = static_cast<unsigned short>(i * 65535 / std::max(entries - 1, 1));
        colour.flags = DoRed | DoGreen | DoBlue;
        XStoreColor(display, colormap, &colour);
    }
    return colormap;
}

// A window made by someone else is drawn with the visual it was made with; the daemon picks
// a GL-capable one for its GL programs.
XVisualInfo* VisualOf(Display* display, const XWindowAttributes& attributes) {
    XVisualInfo request{};
    request.visualid = XVisualIDFromVisual(attributes.visual);
    request.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    return XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &request, &count);
}

}  // namespace

int X11Surface::Open(const SaverProgramOptions& options) {
    XSetErrorHandler(HandleError);
    XSetIOErrorHandler(LoseDisplay);
    display_ = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
    if (!display_) {
        const std::string name = XDisplayName(options.display.c_str());
        error_ = name.empty() ? "no X display: DISPLAY is not set" : "cannot open the X display '" + name + "'";
        return 1;
    }
    int errorBase = 0;
    int eventBase = 0;
    if (!glXQueryExtension(static_cast<Display*>(display_), &errorBase, &eventBase)) {
        error_ = "the X display offers no OpenGL (GLX)";
        return 1;
    }
    void* visualInfo = nullptr;
    if (const int failure = OpenWindow(options, visualInfo)) return failure;
    drawnWindow = window_;
    const bool created = CreateContext(visualInfo);
    XFree(visualInfo);
    if (!created) return 1;
    openGlLoaded_ = LoadOpenGl(LookUpOpenGl);
    WatchMonitors();
    return 0;
}

int X11Surface::OpenWindow(const SaverProgramOptions& options, void*& visualInfo) {
    Display* display = static_cast<Display*>(display_);
    if (options.target != DrawTarget::OwnWindow) {
        window_ = options.target == DrawTarget::GivenWindow ? options.windowId : DefaultRootWindow(display);
        onRoot_ = options.target == DrawTarget::RootWindow;
        XWindowAttributes attributes{};
        // Until drawnWindow is set, an error about the window is only counted.
        const int before = pendingErrors;
        if (!XGetWindowAttributes(display, window_, &attributes) || pendingErrors != before) {
            pendingErrors = before;
            char text[64];
            std::snprintf(text, sizeof text, "no window 0x%lx on the display", window_);
            error_ = text;
            window_ = 0;
            return 2;
        }
        width_ = attributes.width;
        height_ = attributes.height;
        mapped_ = attributes.map_state != IsUnmapped;
        XVisualInfo* visual = VisualOf(display, attributes);
        int usesGl = 0;
        if (!visual || glXGetConfig(display, visual, GLX_USE_GL, &usesGl) != 0 || !usesGl) {
            if (visual) XFree(visual);
            char text[80];
            std::snprintf(text, sizeof text, "the visual of window 0x%lx offers no OpenGL", window_);
            error_ = text;
            return 1;
        }
        // Nothing of the input: the daemon decides when to stop.
        int depthBits = 0;
        glXGetConfig(display, visual, GLX_DEPTH_SIZE, &depthBits);
        if (depthBits > 0) {
            visualInfo = visual;
            XSelectInput(display, window_, ExposureMask | StructureNotifyMask | VisibilityChangeMask);
            return 0;
        }
        // Without a depth buffer the sky would be drawn over the dial: the scene goes into a
        // window of the program's own that covers the handed one, made with a visual that has one.
        XFree(visual);
        visual = ChooseOwnVisual(display, XScreenNumberOfScreen(attributes.screen), VisualRequest{});
        if (!visual) {
            char text[112];
            std::snprintf(text, sizeof text, "window 0x%lx has no depth buffer, and the display offers no visual with one",
                          window_);
            error_ = text;
            return 1;
        }
        visualInfo = visual;
        handedWindow_ = window_;
        XSelectInput(display, handedWindow_, StructureNotifyMask);
        // Over a root window it is a top-level window, which no window manager may frame or move.
        window_ = CreateWindowIn(handedWindow_, visual, 0, 0, width_, height_,
                                 ExposureMask | StructureNotifyMask | VisibilityChangeMask, true);
        XMapWindow(display, window_);
        return 0;
    }

    XVisualInfo* visual = ChooseOwnVisual(display, DefaultScreen(display), options.visual);
    if (!visual) {
        error_ = "the X display offers no RGBA OpenGL visual";
        return 1;
    }
    visualInfo = visual;
    const WindowGeometry& geometry = options.geometry;
    window_ = CreateWindowIn(RootWindow(display, visual->screen), visual, geometry.x, geometry.y, geometry.width,
                             geometry.height, ExposureMask | StructureNotifyMask | KeyPressMask | VisibilityChangeMask);
    ownWindow_ = true;
    width_ = geometry.width;
    height_ = geometry.height;
    XSizeHints hints{};  // a size (and place) the user asked for, which window managers keep
    hints.flags = USSize | (geometry.placed ? USPosition : 0);
    hints.x = geometry.x, hints.y = geometry.y, hints.width = geometry.width, hints.height = geometry.height;
    XSetWMNormalHints(display, window_, &hints);

    XStoreName(display, window_, "Vintrel");
    const char title[] = "Vintrel";
    XChangeProperty(display, window_, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title), sizeof title - 1);
    XClassHint classHint{const_cast<char*>("vintrel"), const_cast<char*>("Vintrel")};
    XSetClassHint(display, window_, &classHint);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    deleteWindowAtom_ = deleteWindow;
    protocolsAtom_ = XInternAtom(display, "WM_PROTOCOLS", False);
    XSetWMProtocols(display, window_, &deleteWindow, 1);
    XMapWindow(display, window_);
    return 0;
}

unsigned long X11Surface::CreateWindowIn(unsigned long parent, const void* visualInfo, int x, int y, int width,
                                         int height, long eventMask, bool overrideRedirect) {
    Display* display = static_cast<Display*>(display_);
    const XVisualInfo& visual = *static_cast<const XVisualInfo*>(visualInfo);
    const Window root = RootWindow(display, visual.screen);
    colormap_ = visual.c_class == DirectColor ? LinearRampColormap(display, root, visual)
                                              : XCreateColormap(display, root, visual.visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap_;
    attributes.background_pixel = BlackPixel(display, visual.screen);
    attributes.border_pixel = 0;
    attributes.event_mask = eventMask;
    attributes.override_redirect = overrideRedirect ? True : False;
    return XCreateWindow(display, parent, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                         visual.depth, InputOutput, visual.visual,
                         CWColormap | CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect, &attributes);
}

bool X11Surface::CreateContext(void* visualInfo) {
    Display* display = static_cast<Display*>(display_);
    XVisualInfo* visual = static_cast<XVisualInfo*>(visualInfo);
    int doubleBuffered = 0;
    glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffered);
    doubleBuffered_ = doubleBuffered != 0;
    // The legacy call gives a compatibility context of the highest version the driver has.
    GLXContext context = glXCreateContext(display, visual, nullptr, True);
    if (!context) context = glXCreateContext(display, visual, nullptr, False);
    if (!context) {
        error_ = "cannot create an OpenGL context for the window";
        return false;
    }
    context_ = context;
    if (!glXMakeCurrent(display, window_, context)) {
        error_ = "cannot make the OpenGL context current on the window";
        return false;
    }
    return true;
}

WindowEvents X11Surface::TakeEvents() {
    WindowEvents events;
    Display* display = static_cast<Display*>(display_);
    const bool seenBefore = seen();
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
            case Expose:
                if (event.xexpose.count == 0) events.exposed = true;
                break;
            case ConfigureNotify:
                // A window of our own inside a handed one follows the handed one's size.
                if (handedWindow_ != 0 && event.xconfigure.window == handedWindow_) {
                    XResizeWindow(display, window_, static_cast<unsigned>(event.xconfigure.width),
                                  static_cast<unsigned>(event.xconfigure.height));
                }
                if ((event.xconfigure.window == window_ || event.xconfigure.window == handedWindow_) &&
                    (event.xconfigure.width != width_ || event.xconfigure.height != height_)) {
                    width_ = event.xconfigure.width;
                    height_ = event.xconfigure.height;
                    events.resized = true;
                }
                break;
            case MapNotify:
            case UnmapNotify:
                // The window drawn on, or the handed one it covers, which takes ours with it.
                if (event.xany.window == window_ || event.xany.window == handedWindow_) {
                    mapped_ = event.type == MapNotify;
                }
                break;
            case VisibilityNotify:
                if (event.xvisibility.window == window_) covered_ = event.xvisibility.state == VisibilityFullyObscured;
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == window_ || event.xdestroywindow.window == handedWindow_) {
                    events.windowLost = true;
                }
                break;
            case KeyPress: {
                const KeySym key = XLookupKeysym(&event.xkey, 0);
                if (key == XK_Escape || key == XK_q) events.closeRequested = true;
                break;
            }
            case ClientMessage:
                // The window manager's close, in our own window only: a handed window's owner
                // ends the program by destroying the window or with a signal.
                if (ownWindow_ && event.xclient.message_type == protocolsAtom_ && event.xclient.format == 32 &&
                    static_cast<unsigned long>(event.xclient.data.l[0]) == deleteWindowAtom_) {
                    events.closeRequested = true;
                }
                break;
            default:
                if (IsMonitorChange(&event)) events.monitorsChanged = true;
                break;
        }
    }
    // Errors since the last look that did not concern the window: reported once.
    if (pendingErrors > 0 && !errorReported) {
        errorReported = true;
        std::fprintf(stderr, "vintrel: %s\n", firstErrorText);
    }
    pendingErrors = 0;
    if (events.windowLost) window_ = 0;
    events.shown = seen() && !seenBefore;
    return events;
}

int X11Surface::FlushForWaiting() {
    XFlush(static_cast<Display*>(display_));
    return ConnectionNumber(static_cast<Display*>(display_));
}

void X11Surface::Present() {
    if (doubleBuffered_) {
        glXSwapBuffers(static_cast<Display*>(display_), window_);
    } else {
        glFlush();
    }
}

bool X11Surface::MakeFontLists(uint32_t& listBase, int& lineHeight) {
    Display* display = static_cast<Display*>(display_);
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    if (!font) return false;
    constexpr int kFirst = 32;
    constexpr int kCount = 95;
    listBase = glGenLists(kFirst + kCount);
    if (listBase == 0) {
        XFreeFont(display, font);
        return false;
    }
    glXUseXFont(font->fid, kFirst, kCount, static_cast<int>(listBase) + kFirst);
    // Mesa compiles a glyph without bits (the space) without its advance: one clear bit
    // carries the fixed font's advance instead.
    const GLubyte clearBit = 0;
    glNewList(listBase + ' ', GL_COMPILE);
    glBitmap(1, 1, 0.0f, 0.0f, static_cast<float>(font->max_bounds.width), 0.0f, &clearBit);
    glEndList();
    lineHeight = font->ascent + font->descent;
    XFreeFont(display, font);
    return true;
}

void X11Surface::Close() {
    Display* display = static_cast<Display*>(display_);
    if (!display) return;
    if (context_) {
        glXMakeCurrent(display, None, nullptr);
        glXDestroyContext(display, static_cast<GLXContext>(context_));
        context_ = nullptr;
    }
    drawnWindow = 0;  // nothing of the driver runs on it any more
    if ((ownWindow_ || handedWindow_) && window_) XDestroyWindow(display, window_);
    if (colormap_) XFreeColormap(display, colormap_);
    XCloseDisplay(display);
    display_ = nullptr;
}
