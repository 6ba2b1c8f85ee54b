#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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

TEST(CodePage1250, EveryByteRoundTripsThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string utf8 = cp1250::toUtf8(all);
    std::string back;
    std::vector<char32_t> unheld;
    ASSERT_TRUE(cp1250::fromUtf8(utf8, back, unheld));
    EXPECT_EQ(back, all);
    EXPECT_TRUE(unheld.empty());
    // Two- and three-byte forms, the unassigned bytes as their C1 controls.
    EXPECT_EQ(cp1250::toUtf8("\x80\x81\xB9\xFF"), "\u20AC\u0081\u0105\u02D9");
}

TEST(CodePage1250, FromUtf8RefusesWhatItCannotHold)
{
    struct Case {
        std::string utf8;
        bool wellFormed;
        std::string bytes;
        std::vector<char32_t> unheld;
    };
    const Case cases[] = {
        {"Za\u017C\u00F3\u0142\u0107", true, "Za\xBF\xF3\xB3\xE6", {}},
        {"\u00E0 la \u2603\u00E0\U0001F600!", true, " la !", {0xE0, 0x2603, 0x1F600}},
        {"\u0080", true, "", {0x80}},            // byte 0x80 is the euro sign, not U+0080
        {"a\xC0\x80", false, "", {}},           // overlong form of NUL
        {"\xED\xA0\x80", false, "", {}},       // a surrogate
        {"\xE2\x82", false, "", {}},            // cut short
        {"\x80" "a", false, "", {}},             // a stray continuation byte
        {"\xF4\x90\x80\x80", false, "", {}},  // beyond U+10FFFF
        {"\xFF" "a", false, "", {}},
    };
    for (const Case& c : cases) {
        std::string out;
        std::vector<char32_t> unheld;
        EXPECT_EQ(cp1250::fromUtf8(c.utf8, out, unheld), c.wellFormed) << c.utf8;
        if (!c.wellFormed) continue;
        EXPECT_EQ(out, c.bytes) << c.utf8;
        EXPECT_EQ(unheld, c.unheld) << c.utf8;
    }
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
