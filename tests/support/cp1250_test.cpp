#include <gtest/gtest.h>

#include <set>

#include "support/cp1250.h"

namespace tov {
namespace {

TEST(CodePage1250, EveryByteRoundTripsThroughADistinctCharacter)
{
    std::set<char16_t> seen;
    for (int b = 0; b < 256; ++b) {
        const char16_t ch = cp1250::toUnicode(static_cast<unsigned char>(b));
        EXPECT_TRUE(seen.insert(ch).second) << "byte " << b;
        EXPECT_EQ(cp1250::fromUnicode(ch), b) << "byte " << b;
    }
}

TEST(CodePage1250, KnownCharacters)
{
    const std::pair<unsigned char, char16_t> cases[] = {
        {'A', u'A'},      {0x80, u'\u20AC'}, {0x81, u'\u0081'}, {0x83, u'\u0083'}, {0x88, u'\u0088'},
        {0x90, u'\u0090'}, {0x98, u'\u0098'}, {0x8C, u'\u015A'}, {0xA5, u'\u0104'}, {0xB9, u'\u0105'},
        {0xA3, u'\u0141'}, {0xB3, u'\u0142'}, {0xAF, u'\u017B'}, {0xBF, u'\u017C'}, {0xD3, u'\u00D3'},
        {0xF3, u'\u00F3'}, {0xEA, u'\u0119'}, {0xFF, u'\u02D9'}, {0xA0, u'\u00A0'},
    };
    for (const auto& [byte, ch] : cases) EXPECT_EQ(cp1250::toUnicode(byte), ch) << int(byte);
    EXPECT_EQ(cp1250::fromUnicode(u'\u4E2D'), -1);
    EXPECT_EQ(cp1250::fromUnicode(u'\u0080'), -1);  // byte 0x80 is the euro sign
    EXPECT_EQ(cp1250::fromUnicode(u'\u00E0'), -1);  // à is not in the code page
}

TEST(CodePage1250, UpperCaseOfLetters)
{
    const std::pair<unsigned char, unsigned char> cases[] = {
        {'a', 'A'},   {'z', 'Z'},   {'A', 'A'},   {'1', '1'},   {0xB9, 0xA5}, {0xE6, 0xC6},
        {0xEA, 0xCA}, {0xB3, 0xA3}, {0xF1, 0xD1}, {0xF3, 0xD3}, {0x9C, 0x8C}, {0x9F, 0x8F},
        {0xBF, 0xAF}, {0x9A, 0x8A}, {0x9E, 0x8E}, {0xBE, 0xBC}, {0xBA, 0xAA}, {0xFE, 0xDE},
        {0xE0, 0xC0}, {0xDF, 0xDF}, {0xF7, 0xF7}, {0xB5, 0xB5}, {0xFF, 0xFF}, {0xA5, 0xA5},
    };
    for (const auto& [lower, upper] : cases) EXPECT_EQ(cp1250::upper(lower), upper) << int(lower);
    EXPECT_EQ(cp1250::upper("za\xBF\xF3\xB3\xE6 g\xEA\x9C\x6C\xB9 ja\x9F\xF1"),
              "ZA\xAF\xD3\xA3\xC6 G\xCA\x8C\x4C\xA5 JA\x8F\xD1");
}

}  // namespace
}  // namespace tov
