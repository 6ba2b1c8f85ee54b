// Going to the next row for a test, round the table's ends, and replacing in
// the destination texts under the search's case rule.
#include <gtest/gtest.h>

#include "document/find.h"
#include "document/navigation.h"
#include "formats/source_kind.h"

namespace tov {
namespace {

TranslationDocument documentWith(const std::vector<std::pair<std::string, std::string>>& rows,
                                 LengthRule rule = LengthRule::AtMost)
{
    std::vector<Entry> entries;
    for (const auto& [base, dest] : rows) {
        Entry e;
        e.rule = rule;
        e.base = base;
        e.dest = fitToRule(rule, base, dest);
        e.stored = e.dest;
        entries.push_back(std::move(e));
    }
    TranslationDocument doc;
    doc.setCheckOptions(checks::forKind(kKonfix));
    doc.assign(std::move(entries));
    return doc;
}

TEST(Navigation, TheNextRowThatNeedsWorkGoesRoundTheEnds)
{
    // Rows 1 and 3 need work (missing, a lost "%d"), row 4 has only a warning.
    const TranslationDocument doc =
        documentWith({{"Open", ""}, {"Close", "Zamk"}, {"%d files", "pliki"}, {"Save:", "Zapis"}});
    EXPECT_TRUE(needsWork(doc, 0));
    EXPECT_FALSE(needsWork(doc, 3));
    const RowTest test = [&](int i) { return needsWork(doc, i); };
    struct Case {
        int from;
        bool forward;
        RowFound found;
    };
    const Case cases[] = {
        {-1, true, {0, false}}, {0, true, {2, false}},  {2, true, {0, true}},   {3, true, {0, true}},
        {4, false, {2, false}}, {0, false, {2, true}},  {2, false, {0, false}}, {1, false, {0, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + (c.forward ? " forward" : " backward"));
        const RowFound f = findRow(doc, c.from, c.forward, test);
        EXPECT_EQ(f.index, c.found.index);
        EXPECT_EQ(f.wrapped, c.found.wrapped);
    }
    // The only row that passes is found again from itself, going round.
    const RowFound self = findRow(doc, 2, true, [](int i) { return i == 2; });
    EXPECT_EQ(self.index, 2);
    EXPECT_TRUE(self.wrapped);
    EXPECT_EQ(findRow(doc, 0, true, [](int) { return false; }).index, -1);
    EXPECT_EQ(findRow(TranslationDocument(), -1, true, test).index, -1);
    EXPECT_EQ(rowsWhere(doc, test), (std::vector<int>{0, 2}));
}

TEST(Replace, EveryOccurrenceUnderTheCaseRuleAndFixedLengthsKept)
{
    struct Case {
        const char* in;
        const char* text;
        const char* with;
        bool caseSensitive;
        const char* out;
        int count;
    };
    const Case cases[] = {
        {"Plik pliku PLIK", "plik", "dok", true, "Plik doku PLIK", 1},
        {"Plik pliku PLIK", "plik", "dok", false, "dok doku dok", 3},
        {"\xAF\xF3\xB3ty", "\xBF\xD3\xA3", "z", false, "zty", 1},  // Windows-1250 capitals
        {"aaa", "aa", "b", true, "ba", 1},                           // not overlapping
        {"abc", "", "x", true, "abc", 0},
        {"abc", "b", "", true, "ac", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        int n = -1;
        EXPECT_EQ(replaceText(c.in, c.text, c.with, c.caseSensitive, n), c.out);
        EXPECT_EQ(n, c.count);
    }
    // A fixed-length text is replaced without its padding, and left alone
    // where the result would be cut.
    const TranslationDocument doc = documentWith({{"Mode    ", "Tryb"}, {"Mode", "Tryb"}, {"Set", "Ust"}},
                                                 LengthRule::Fixed);
    const Replacement r = replaceInDestinations(doc, "tryb", "Tryby", false);
    ASSERT_EQ(r.texts.size(), 1u);
    EXPECT_EQ(r.texts[0], (std::pair<int, std::string>{0, "Tryby"}));
    EXPECT_EQ(r.refused, 1);
    EXPECT_EQ(r.occurrences, 1);
    EXPECT_EQ(replaceInDestinations(doc, "Ust", "U", true, 2).texts.size(), 1u);
    EXPECT_TRUE(replaceInDestinations(doc, "Ust", "U", true, 0).texts.empty());
}

}  // namespace
}  // namespace tov
