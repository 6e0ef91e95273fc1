#include "host/saver_arguments.h"

namespace {

unsigned char Byte(const char* text) { return static_cast<unsigned char>(*text); }

const char* SkipSpaces(const char* text) {
    while (*text == ' ') ++text;
    return text;
}

}  // namespace

uint32_t ParseDecimal(const char* text) {
    uint32_t value = 0;
    for (; Byte(text) >= '0' && Byte(text) <= '9'; ++text) {
        value = value * 10u + static_cast<uint32_t>(Byte(text) - '0');
    }
    return value;
}

SaverArguments ParseSaverArguments(const char* text) {
    while (*text == ' ' || *text == '-' || *text == '/') ++text;

    switch (*text) {
        case '\0':
            return {SaverMode::ConfigureWithoutOwner, 0};
        case 'S':
        case 's':
            return {SaverMode::FullScreen, 0};
        case 'P':
        case 'p':
        case 'L':
        case 'l':
            return {SaverMode::Preview, ParseDecimal(SkipSpaces(text + 1))};
        case 'C':
        case 'c':
            // Only "/c:<handle>" names an owner; a handle after a space is not read.
            return {SaverMode::Configure, text[1] == ':' ? ParseDecimal(text + 2) : 0u};
        case 'A':
        case 'a':
            return {SaverMode::ChangePassword, ParseDecimal(SkipSpaces(text + 1))};
        default:
            return {SaverMode::Unrecognised, 0};
    }
}

const char* SkipProgramName(const char* commandLine, NextCharacterFn next) {
    const char* text = commandLine;
    if (*text == '"') {
        text = next(text);
        while (*text != '\0' && *text != '"') text = next(text);
        if (*text == '"') text = next(text);
    } else {
        while (Byte(text) > ' ') text = next(text);
    }
    while (*text != '\0' && Byte(text) <= ' ') ++text;
    return text;
}
