#include <gtest/gtest.h>

#include <climits>

#include "support/convert.h"
#include "support/strutil.h"

namespace tov {
namespace {

TEST(NumberConversion, ParsesLikeTheSettingsFileExpects)
{
    struct Case {
        const char* text;
        std::int32_t nonNegative;
        std::int32_t signedValue;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"abc", 0, 0},
        {"  42", 42, 42},
        {"-7", 0, -7},
        {"+5", 5, 5},
        {"$1F", 31, 31},
        {"x1f", 31, 31},
        {"0X10", 16, 16},
        {"12ab", 12, 12},
        {"-12ab", 12, 12},  // trailing garbage: the digits count, the sign does not
        {"-15 ", 15, 15},
        {"$", 0, 0},
        {"- 5", 0, 0},
        {"\t5", 0, 0},  // only blanks are skipped
        {"2147483647", INT_MAX, INT_MAX},
        {"-2147483648", 0, INT_MIN},
        {"2147483648", 0, 0},
        {"99999999999", 0, 0},
        {"$FFFFFFFF", 0, -1},
        {"$7FFFFFFF", INT_MAX, INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nonNegativeNumber(c.text), c.nonNegative) << '"' << c.text << '"';
        EXPECT_EQ(signedNumber(c.text), c.signedValue) << '"' << c.text << '"';
    }
}

TEST(ColorHex, WritesUpperCaseEvenDigitCount)
{
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "00"}, {0xF, "0F"}, {255, "FF"}, {256, "0100"}, {16711680, "FF0000"},
        {0xFF000008u, "FF000008"}, {0xABCDE, "0ABCDE"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(colorToHex(value), text) << value;
}

TEST(ColorHex, ReadsOneToSevenDigitsAndDropsOtherCharacters)
{
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"FF", 255}, {"#00FF00", 65280}, {"0000FF", 255}, {"ff", 255}, {"$0a-0b", 0x0A0B},
        {"1234567", 0x1234567}, {"12345678", 0}, {"FF000008", 0}, {"", 0}, {"xyz", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(hexToColor(text), value) << '"' << text << '"';
    for (std::uint32_t v : {0u, 1u, 0x123456u, 0xFFFFFFu}) EXPECT_EQ(hexToColor(colorToHex(v)), v);
}

TEST(VersionText, JoinsMinorAndReleaseAndPadsTheBuild)
{
    EXPECT_EQ(versionText(1, 0, 1, 12), "1.01.012");
    EXPECT_EQ(versionText(2, 3, 4, 105), "2.34.105");
    EXPECT_EQ(versionText(1, 0, 0, 7), "1.00.007");
    EXPECT_EQ(versionText(1, 2, 3, 0x105), "1.23.005");  // low 8 bits of each part
    EXPECT_EQ(programVersionText(), "1.01.012");
}

TEST(StringHelpers, PadAndTrim)
{
    EXPECT_EQ(rightPad("abc", 5), "abc  ");
    EXPECT_EQ(rightPad("abc", 2), "abc");
    EXPECT_EQ(rightPad("", 0), "");
    EXPECT_EQ(lengthText(17), " 17");
    EXPECT_EQ(lengthText(0), " 0");

    EXPECT_EQ(trimTrailingSpaces("a b  "), "a b");
    EXPECT_EQ(trimTrailingSpaces("a\t "), "a\t");  // only byte 32
    EXPECT_EQ(trimTrailingSpaces("  "), "");
    EXPECT_EQ(trimControls(" \t\x01" "a b\r\n"), "a b");
    EXPECT_EQ(trimControls("\xA0" "a\xA0"), "\xA0" "a\xA0");
    EXPECT_EQ(trimIni("\t\x0B\x0C\x1A a=b \r\n"), "a=b");
    EXPECT_EQ(trimIni("\x01" "a"), "\x01" "a");
}

TEST(StringHelpers, NamesAndCase)
{
    EXPECT_EQ(fileNameWithoutExtension("/x/EDIT.ENG"), "EDIT");
    EXPECT_EQ(fileNameWithoutExtension("/x.y/EDIT"), "EDIT");
    EXPECT_EQ(fileNameWithoutExtension("a.b.c"), "a.b");
    EXPECT_EQ(extensionPart("/x.y/EDIT"), "");
    EXPECT_EQ(folderPart("/x/y.drc"), "/x/");
    EXPECT_EQ(changeExtension("/x/a.drc", ".bak"), "/x/a.bak");
    EXPECT_EQ(changeExtension("/x.d/a", ".ini"), "/x.d/a.ini");
    EXPECT_TRUE(equalsNoCase("Files", "fILES"));
    EXPECT_FALSE(equalsNoCase("\xB9", "\xA5"));  // ASCII letters only
    EXPECT_EQ(asciiUpper("a\xB9z"), "A\xB9Z");
}

}  // namespace
}  // namespace tov
