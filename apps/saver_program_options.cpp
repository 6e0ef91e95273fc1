#include "apps/saver_program_options.h"

#include <cctype>
#include <cstring>

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
        if (name == "--fps" || name == "--help") {
            (name == "--fps" ? options.fps : options.help) = true;
            continue;
        }
        if (name != "--window-id" && name != "--delay" && name != "--display") {
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
           "  --window-id ID       draw on the window ID (decimal or 0x-hex)\n"
           "  --delay MICROSECONDS from one frame to the next (default 10000)\n"
           "  --fps                show frames per second and the frame time, and print them each second\n"
           "  --display NAME       the X display (default: $DISPLAY)\n"
           "  --help               this text\n";
}
