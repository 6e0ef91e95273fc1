// libFuzzer target over the screen saver's command line: the mode dispatch, ParseDecimal and
// the skip over the program name. Each input becomes a text of exactly its own size plus the
// terminator, so AddressSanitizer reports any read past the text's end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/saver_arguments.h"

namespace {

[[noreturn]] void Fail(const char* what, const char* text) {
    std::fprintf(stderr, "%s for the argument text \"%s\"\n", what, text);
    std::abort();
}

// The value of the leading decimal digits modulo 2^32, computed another way.
uint32_t LeadingDigitsModulo32Bits(const char* text) {
    uint64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = (value * 10 + static_cast<uint64_t>(*text - '0')) % (1ull << 32);
    }
    return static_cast<uint32_t>(value);
}

// The mode that the first character after the run of spaces, dashes and slashes selects.
SaverMode ModeOfLetter(char letter) {
    switch (letter) {
        case '\0':
            return SaverMode::ConfigureWithoutOwner;
        case 'S':
        case 's':
            return SaverMode::FullScreen;
        case 'P':
        case 'p':
        case 'L':
        case 'l':
            return SaverMode::Preview;
        case 'C':
        case 'c':
            return SaverMode::Configure;
        case 'A':
        case 'a':
            return SaverMode::ChangePassword;
        default:
            return SaverMode::Unrecognised;  // the module exits with -1
    }
}

bool NamesAWindow(SaverMode mode) {
    return mode == SaverMode::Preview || mode == SaverMode::Configure || mode == SaverMode::ChangePassword;
}

// A double-byte code page: 0x81..0x9f and 0xe0..0xfc start a two-byte character.
const char* NextDoubleByte(const char* text) {
    if (*text == '\0') return text;
    const auto lead = static_cast<unsigned char>(*text);
    const bool leadByte = (lead >= 0x81 && lead <= 0x9f) || (lead >= 0xe0 && lead <= 0xfc);
    return leadByte && text[1] != '\0' ? text + 2 : text + 1;
}

const char* NextSingleByte(const char* text) { return *text ? text + 1 : text; }

void CheckSkipProgramName(const char* line, NextCharacterFn next) {
    const char* arguments = SkipProgramName(line, next);
    if (arguments < line || arguments > line + std::strlen(line)) Fail("arguments outside the command line", line);
    if (*arguments != '\0' && static_cast<unsigned char>(*arguments) <= ' ') Fail("a space before the arguments", line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> buffer(data, data + size);
    buffer.push_back('\0');
    const char* text = buffer.data();  // a zero byte inside ends the text, as in a command line

    if (ParseDecimal(text) != LeadingDigitsModulo32Bits(text)) Fail("ParseDecimal differs", text);

    const SaverArguments arguments = ParseSaverArguments(text);
    const char* letter = text;
    while (*letter == ' ' || *letter == '-' || *letter == '/') ++letter;
    if (arguments.mode != ModeOfLetter(*letter)) Fail("wrong mode", text);
    if (!NamesAWindow(arguments.mode) && arguments.window != 0) Fail("a window without a mode that takes one", text);

    CheckSkipProgramName(text, NextSingleByte);
    CheckSkipProgramName(text, NextDoubleByte);
    return 0;
}
