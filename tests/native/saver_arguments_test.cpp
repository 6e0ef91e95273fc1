#include <gtest/gtest.h>

#include <string>

#include "host/saver_arguments.h"

namespace {

TEST(ParseDecimal, ReadsLeadingDigitsOnly) {
    EXPECT_EQ(ParseDecimal("1234"), 1234u);
    EXPECT_EQ(ParseDecimal("0042x9"), 42u);
    EXPECT_EQ(ParseDecimal("12 34"), 12u);
    EXPECT_EQ(ParseDecimal(""), 0u);
    EXPECT_EQ(ParseDecimal("abc"), 0u);
    EXPECT_EQ(ParseDecimal("-5"), 0u);
}

TEST(ParseDecimal, StopsAtBytesOf128AndAbove) {
    EXPECT_EQ(ParseDecimal("12\xb3" "4"), 12u);  // superscript three in Latin-1 is no digit
    EXPECT_EQ(ParseDecimal("7\xff"), 7u);
    EXPECT_EQ(ParseDecimal("\x80" "5"), 0u);
}

TEST(ParseDecimal, WrapsAt32Bits) {
    EXPECT_EQ(ParseDecimal("4294967295"), 4294967295u);
    EXPECT_EQ(ParseDecimal("4294967296"), 0u);
    EXPECT_EQ(ParseDecimal("4294967297"), 1u);
    EXPECT_EQ(ParseDecimal("99999999999"), static_cast<uint32_t>(99999999999ull));
}

struct DispatchCase {
    const char* text;
    SaverMode mode;
    uint32_t window;
};

class Dispatch : public testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch, SelectsModeAndWindow) {
    const DispatchCase& expected = GetParam();
    const SaverArguments arguments = ParseSaverArguments(expected.text);
    EXPECT_EQ(arguments.mode, expected.mode) << '"' << expected.text << '"';
    EXPECT_EQ(arguments.window, expected.window) << '"' << expected.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, Dispatch,
    testing::Values(
        // Full screen, with any run of spaces, dashes and slashes before the letter.
        DispatchCase{"/s", SaverMode::FullScreen, 0}, DispatchCase{"-s", SaverMode::FullScreen, 0},
        DispatchCase{"s", SaverMode::FullScreen, 0}, DispatchCase{" /S", SaverMode::FullScreen, 0},
        DispatchCase{"//s", SaverMode::FullScreen, 0}, DispatchCase{"- /-S extra", SaverMode::FullScreen, 0},
        // Preview into a window, with or without spaces before the handle.
        DispatchCase{"/p 1234", SaverMode::Preview, 1234}, DispatchCase{"/l1234", SaverMode::Preview, 1234},
        DispatchCase{"/P   77", SaverMode::Preview, 77}, DispatchCase{"/p", SaverMode::Preview, 0},
        DispatchCase{"/p 0", SaverMode::Preview, 0}, DispatchCase{"/p abc", SaverMode::Preview, 0},
        // Configuration: only a handle after ":" names the owner.
        DispatchCase{"/c:1234", SaverMode::Configure, 1234}, DispatchCase{"/c 1234", SaverMode::Configure, 0},
        DispatchCase{"/c", SaverMode::Configure, 0}, DispatchCase{"C:9", SaverMode::Configure, 9},
        DispatchCase{"/c: 5", SaverMode::Configure, 0},
        DispatchCase{"", SaverMode::ConfigureWithoutOwner, 0},
        DispatchCase{"  / - ", SaverMode::ConfigureWithoutOwner, 0},
        // Password change with its owner.
        DispatchCase{"/a", SaverMode::ChangePassword, 0}, DispatchCase{"/a 99", SaverMode::ChangePassword, 99},
        DispatchCase{"A5", SaverMode::ChangePassword, 5},
        // Anything else.
        DispatchCase{"/x", SaverMode::Unrecognised, 0}, DispatchCase{"?", SaverMode::Unrecognised, 0},
        DispatchCase{"\t/s", SaverMode::Unrecognised, 0}, DispatchCase{"\xe9", SaverMode::Unrecognised, 0}));

// A stand-in for a double-byte code page: 0x81..0x9f start a two-byte character.
const char* NextDoubleByte(const char* text) {
    if (*text == '\0') return text;
    const auto lead = static_cast<unsigned char>(*text);
    if (lead >= 0x81 && lead <= 0x9f && text[1] != '\0') return text + 2;
    return text + 1;
}

const char* NextSingleByte(const char* text) { return *text ? text + 1 : text; }

TEST(SkipProgramName, SkipsAnUnquotedName) {
    EXPECT_STREQ(SkipProgramName("C:\\WINDOWS\\Vintrel.scr /s", NextSingleByte), "/s");
    EXPECT_STREQ(SkipProgramName("vintrel.scr", NextSingleByte), "");
    EXPECT_STREQ(SkipProgramName("v.scr \t\x01 /p 5", NextSingleByte), "/p 5");
}

TEST(SkipProgramName, SkipsAQuotedNameWithSpaces) {
    EXPECT_STREQ(SkipProgramName("\"C:\\Program Files\\Vintrel.scr\" /s", NextSingleByte), "/s");
    EXPECT_STREQ(SkipProgramName("\"C:\\a b.scr\"/c:12", NextSingleByte), "/c:12");
    EXPECT_STREQ(SkipProgramName("\"unterminated /s", NextSingleByte), "");
}

TEST(SkipProgramName, StepsOverDoubleByteCharactersInQuotedNames) {
    // The trail byte 0x22 is a quote only when read byte by byte.
    const std::string line = std::string("\"C:\\\x83\x22") + "name.scr\" /s";
    EXPECT_STREQ(SkipProgramName(line.c_str(), NextDoubleByte), "/s");
    EXPECT_STREQ(SkipProgramName(line.c_str(), NextSingleByte), "name.scr\" /s");
}

TEST(SkipProgramName, KeepsHighBytesOfAnUnquotedName) {
    EXPECT_STREQ(SkipProgramName("C:\\Uhr\xe9.scr /s", NextSingleByte), "/s");
}

}  // namespace
