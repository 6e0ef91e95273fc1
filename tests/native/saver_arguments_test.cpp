// The command line as the system writes it: the program name skipped, the mode and the window.
#include <gtest/gtest.h>

#include <string>

#include "host/saver_arguments.h"

TEST(ParseDecimal, LeadingDigitsWrappingAt32Bits) {
    const struct { const char* text; uint32_t value; } numbers[] = {{"1234", 1234}, {"0042x9", 42}, {"12 34", 12},
        {"", 0}, {"abc", 0}, {"-5", 0}, {"12\xb3" "4", 12}, {"\x80" "5", 0}, {"4294967295", 4294967295u},
        {"4294967296", 0}, {"4294967297", 1}};  // \xb3, a superscript three in Latin-1, is no digit
    for (auto number : numbers) EXPECT_EQ(ParseDecimal(number.text), number.value) << number.text;
}

TEST(SaverArguments, ModeAndWindowOfEveryForm) {
    using Mode = SaverMode;
    const struct { const char* text; Mode mode; uint32_t window; } forms[] = {{"/s", Mode::FullScreen, 0},
        {"-s", Mode::FullScreen, 0}, {"s", Mode::FullScreen, 0}, {" /S", Mode::FullScreen, 0},
        {"//s", Mode::FullScreen, 0}, {"- /-S 12", Mode::FullScreen, 0}, {"/p 1234", Mode::Preview, 1234},
        {"/l1234", Mode::Preview, 1234}, {"/P   77", Mode::Preview, 77}, {"/p", Mode::Preview, 0},
        {"/p abc", Mode::Preview, 0}, {"/c:1234", Mode::Configure, 1234}, {"/c 1234", Mode::Configure, 0},
        {"C:9", Mode::Configure, 9}, {"/c: 5", Mode::Configure, 0}, {"", Mode::ConfigureWithoutOwner, 0},
        {"  / - ", Mode::ConfigureWithoutOwner, 0}, {"/a", Mode::ChangePassword, 0},
        {"/a 99", Mode::ChangePassword, 99}, {"A5", Mode::ChangePassword, 5}, {"/x", Mode::Unrecognised, 0},
        {"\t/s", Mode::Unrecognised, 0}, {"\xe9", Mode::Unrecognised, 0}};
    for (auto form : forms) {
        EXPECT_EQ(ParseSaverArguments(form.text).mode, form.mode) << '"' << form.text << '"';
        EXPECT_EQ(ParseSaverArguments(form.text).window, form.window) << '"' << form.text << '"';
    }
}

// A double-byte code page where 0x81..0x9f start a two-byte character, and a single-byte one.
static const char* NextDoubleByte(const char* text) {
    const auto lead = static_cast<unsigned char>(*text);
    return text + (lead >= 0x81 && lead <= 0x9f && text[1] != '\0' ? 2 : *text != '\0');
}
static const char* NextSingleByte(const char* text) { return text + (*text != '\0'); }

TEST(SkipProgramName, QuotedUnquotedAndDoubleByteNames) {
    const std::string doubleByte = std::string("\"C:\\\x83\x22") + "name.scr\" /s";  // its trail byte 0x22 is no quote
    const struct { const char* line; NextCharacterFn next; const char* arguments; } lines[] = {
        {"C:\\WINDOWS\\Vintrel.scr /s", NextSingleByte, "/s"}, {"vintrel.scr", NextSingleByte, ""},
        {"v.scr \t\x01 /p 5", NextSingleByte, "/p 5"}, {"C:\\Uhr\xe9.scr /s", NextSingleByte, "/s"},
        {"\"C:\\Program Files\\Vintrel.scr\" /s", NextSingleByte, "/s"},
        {"\"C:\\a b.scr\"/c:12", NextSingleByte, "/c:12"},
        {"\"unterminated /s", NextSingleByte, ""}, {doubleByte.c_str(), NextDoubleByte, "/s"},
        {doubleByte.c_str(), NextSingleByte, "name.scr\" /s"}};
    for (auto line : lines) EXPECT_STREQ(SkipProgramName(line.line, line.next), line.arguments) << line.line;
}
