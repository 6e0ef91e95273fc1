// libFuzzer target over the command line's decisions. Each input is a text of exactly its own
// size plus the terminator, so AddressSanitizer reports any read past its end; the decisions
// are checked by properties that any correct reading of the command line has.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/saver_arguments.h"

static void Require(bool holds, const char* what, const std::string& text) {
    if (!holds) std::fprintf(stderr, "%s for the argument text \"%s\"\n", what, text.c_str()), std::abort();
}

// A double-byte code page where 0x81..0x9f and 0xe0..0xfc start a two-byte character.
static const char* NextDoubleByte(const char* text) {
    const auto lead = static_cast<unsigned char>(*text);
    const bool leadByte = (lead >= 0x81 && lead <= 0x9f) || (lead >= 0xe0 && lead <= 0xfc);
    return text + (leadByte && text[1] != '\0' ? 2 : *text != '\0');
}
static const char* NextSingleByte(const char* text) { return text + (*text != '\0'); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> line(data, std::find(data, data + size, 0));  // a zero byte ends a command line
    line.push_back('\0');
    const char* start = line.data();  // what the product reads, exactly as long as the text
    const std::string text(start);

    uint64_t digits = 0;  // the leading digits read another way: 64 bits, reduced at every step
    for (const char* c = start; *c >= '0' && *c <= '9'; ++c) digits = (digits * 10 + uint64_t(*c - '0')) % (1ull << 32);
    Require(ParseDecimal(start) == digits, "ParseDecimal differs", text);

    // Switch marks before the letter change nothing; it alone selects the mode; a window needs a digit.
    const SaverArguments arguments = ParseSaverArguments(start), marked = ParseSaverArguments(("/- " + text).c_str());
    Require(marked.mode == arguments.mode && marked.window == arguments.window, "leading marks count", text);
    const size_t letter = text.find_first_not_of(" -/");
    Require(ParseSaverArguments(text.substr(0, letter + 1).c_str()).mode == arguments.mode, "more counts", text);
    Require(!arguments.window || text.find_first_of("123456789", letter) != std::string::npos, "no digit", text);

    for (NextCharacterFn next : {NextSingleByte, NextDoubleByte}) {
        const char* rest = SkipProgramName(start, next);  // within the line, at no space
        Require(rest >= start && rest <= start + text.size() && (!*rest || uint8_t(*rest) > ' '), "skipped", text);
    }
    return 0;
}
