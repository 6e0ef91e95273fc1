#include "apps/saver_program_options.h"

#include <cctype>
#include <vector>

namespace {

// Digits only (no sign, no spaces) in the given base, at most `high`.
bool ParseUnsigned(const char* text, int base, uint64_t high, uint64_t& value) {
    if (*text == '\0') return false;
    value = 0;
    for (; *text; ++text) {
        const unsigned char c = static_cast<unsigned char>(*text);
        int digit = -1;
        if (std::isdigit(c)) digit = c - '0';
        if (base == 16 && std::isxdigit(c) && !std::isdigit(c)) digit = std::tolower(c) - 'a' + 10;
        if (digit < 0 || digit >= base) return false;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > high) return false;
    }
    return true;
}

// A window identifier as the daemons write it: decimal, or hexadecimal after 0x. Never 0.
bool ParseWindowId(const char* text, uint32_t& window) {
    uint64_t value = 0;
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (!ParseUnsigned(hex ? text + 2 : text, hex ? 16 : 10, UINT32_MAX, value) || value == 0) return false;
    window = static_cast<uint32_t>(value);
    return true;
}

// -geometry: WxH, or WxH+X+Y, each a decimal within X's 16-bit coordinates.
bool ParseGeometry(const std::string& text, WindowGeometry& geometry) {
    std::string separators;
    std::vector<std::string> numbers(1);
    for (const char c : text) {
        if (c == 'x' || c == '+') {
            separators += c;
            numbers.emplace_back();
        } else {
            numbers.back() += c;
        }
    }
    if (separators != "x" && separators != "x++") return false;
    uint64_t values[4] = {};  // width, height, x, y
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (!ParseUnsigned(numbers[i].c_str(), 10, INT16_MAX, values[i])) return false;
    }
    if (values[0] == 0 || values[1] == 0) return false;
    geometry = {static_cast<int>(values[0]), static_cast<int>(values[1]), numbers.size() == 4,
                static_cast<int>(values[2]), static_cast<int>(values[3])};
    return true;
}

// -visual: a class name in either case, "default" or "best" for the usual choice, or an identifier.
bool ParseVisual(const char* text, VisualRequest& visual) {
    static const char* const kClasses[] = {"staticgray", "grayscale", "staticcolor", "pseudocolor", "truecolor",
                                           "directcolor"};
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "greyscale") lower = "grayscale";
    visual = {VisualRequest::Kind::Usual, 0, 0, text};
    if (lower == "default" || lower == "best") return true;
    for (int i = 0; i < 6; ++i) {
        if (lower == kClasses[i]) {
            visual.kind = VisualRequest::Kind::Class;
            visual.visualClass = i;
            return true;
        }
    }
    visual.kind = VisualRequest::Kind::Id;
    return ParseWindowId(text, visual.id);
}

// "--name" and "-name" are the same option; anything else is returned as it stands.
std::string OptionName(const char* argument) {
    if (argument[0] != '-') return argument;
    return std::string("--") + (argument[1] == '-' ? argument + 2 : argument + 1);
}

}  // namespace

ParsedSaverProgramOptions ParseSaverProgramOptions(int argc, const char* const* argv,
                                                   const char* saverWindowVariable) {
    SaverProgramOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = OptionName(argv[i]);
        if (name == "--window") {
            options.target = DrawTarget::OwnWindow;
            continue;
        }
        if (name == "--root") {
            options.target = DrawTarget::RootWindow;
            continue;
        }
        if (name == "--wayland") {
            options.target = DrawTarget::WaylandOutputs;
            continue;
        }
        if (name == "--fps" || name == "--no-fps" || name == "--help") {
            (name == "--help" ? options.help : options.fps) = name != "--no-fps";
            continue;
        }
        if (name == "--install" || name == "--noinstall" || name == "--mono") continue;
        if (name != "--window-id" && name != "--delay" && name != "--display" && name != "--visual" &&
            name != "--geometry") {
            return {std::nullopt, "unknown option '" + std::string(argv[i]) + "'"};
        }
        if (i + 1 >= argc) return {std::nullopt, "option " + std::string(argv[i]) + " needs a value"};
        const char* value = argv[++i];
        const std::string bad = "bad value '" + std::string(value) + "' for " + argv[i - 1];
        if (name == "--window-id") {
            if (!ParseWindowId(value, options.windowId)) return {std::nullopt, bad + " (a window: decimal or 0x-hex)"};
            options.target = DrawTarget::GivenWindow;
        } else if (name == "--delay") {
            uint64_t microseconds = 0;
            if (!ParseUnsigned(value, 10, INT32_MAX, microseconds)) {
                return {std::nullopt, bad + " (microseconds, 0 to 2147483647)"};
            }
            options.delayMicroseconds = static_cast<int64_t>(microseconds);
        } else if (name == "--visual") {
            if (!ParseVisual(value, options.visual)) return {std::nullopt, bad + " (a visual class, or an id)"};
        } else if (name == "--geometry") {
            if (!ParseGeometry(value, options.geometry)) return {std::nullopt, bad + " (WxH or WxH+X+Y)"};
        } else {
            if (*value == '\0') return {std::nullopt, bad};
            options.display = value;
        }
    }
    if (options.target == DrawTarget::RootWindow && saverWindowVariable && *saverWindowVariable) {
        if (!ParseWindowId(saverWindowVariable, options.windowId)) {
            return {std::nullopt, "bad XSCREENSAVER_WINDOW '" + std::string(saverWindowVariable) + "'"};
        }
        options.target = DrawTarget::GivenWindow;
    }
    return {options, ""};
}

const char* SaverProgramUsage() {
    return "usage: vintrel [options]   (each option with one or two dashes)\n"
           "  --window             draw in a window of its own, 1280x720 (the default);\n"
           "                       Escape, q or closing the window ends it\n"
           "  --root               draw on the window XSCREENSAVER_WINDOW names, else on the root window\n"
"  --wayland            full screen on every output of the Wayland desktop ($WAYLAND_DISPLAY),\n"
           "                       above panels and windows; any key, button, touch or pointer motion ends it\n"
           "  --window-id ID       draw on the window ID (decimal or 0x-hex)\n"
           "  --delay MICROSECONDS the rest after each frame (default 30000)\n"
           "  --fps                show frames per second and the frame time, and print them each second\n"
           "  --no-fps             do not (the default)\n"
           "  --display NAME       the X display (default: $DISPLAY)\n"
           "  --geometry WxH[+X+Y] the size and place of its own window\n"
           "  --visual VISUAL      its own window's visual: a class (TrueColor, DirectColor, ...) or an id;\n"
           "                       where that offers no OpenGL, the usual one\n"
           "  --install, --noinstall, --mono\n"
           "                       accepted, as from every XScreenSaver program; they change nothing\n"
           "  --help               this text\n";
}
