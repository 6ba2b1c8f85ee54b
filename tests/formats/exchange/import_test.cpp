#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/exchange/exchange_print.h"
#include "formats/exchange/rows.h"

namespace tov::exchange {
namespace {

using Code = Problem::Code;

// Rows 1..4 of a document; row 3 has no destination yet.
const std::vector<Row> kRows = {
    {1, "SAbout", "About", "O programie", "Help menu", "Konfix_en.drc", 12, {}},
    {2, "SOpen", "Open", "Otw\xF3rz", "", "Konfix_en.drc", 13, {20, false}},
    {3, "SSave", "Save", "", "", "Konfix_en.drc", 14, {}},
    {4, "SQuit", "Quit", "Zako\xF1\x63z", "", "Konfix_en.drc", 15, {}},
};

Unit unit(std::string id, std::string source, std::string target, State state = State::Translated)
{
    Unit u;
    u.id = u.resname = std::move(id);
    u.source = std::move(source);
    u.target = std::move(target);
    u.state = state;
    return u;
}

TEST(ExchangeImport, ExportedUnitsCarryTheRows)
{
    const File f = makeFile(kRows, {"Konfix_en.drc", "en", "pl"});
    ASSERT_EQ(f.units.size(), 4u);
    EXPECT_EQ(f.units[1], (Unit{"SOpen", "SOpen", "Open", "Otwórz", State::Translated, "", {"Konfix_en.drc", 13},
                                {20, false}, FormatFlag::None, false}));
    EXPECT_EQ(f.units[2].state, State::Untranslated);
    EXPECT_EQ(f.units[0].note, "Help menu");
}

TEST(ExchangeImport, RepeatedIdsBecomeUniqueUnitIds)
{
    // An identifier repeated (as resource-string files may), one that looks
    // like a numbered repeat, and a row without a base text.
    const std::vector<Row> rows = {{1, "S", "One", "", "", "", 0, {}}, {2, "S", "Two", "", "", "", 0, {}},
                                   {3, "S#2", "Three", "", "", "", 0, {}}, {4, "S", "Four", "", "", "", 0, {}},
                                   {5, "E", "", "e", "", "", 0, {}}};
    EXPECT_EQ(unitIds(rows), (std::vector<std::string>{"S", "S#3", "S#2", "S#4", "E"}));
    const File f = makeFile(rows, {});
    ASSERT_EQ(f.units.size(), 4u);
    EXPECT_EQ(f.units[1].id, "S#3");
    EXPECT_EQ(f.units[1].resname, "S");
    File back;
    back.units = {unit("S#4", "Four", "Cztery"), unit("S", "One", "Jeden"), unit("S#3", "Two", "Dwa")};
    EXPECT_EQ(matchImport(rows, back, {}).edits, (std::vector<Edit>{{1, "Jeden"}, {2, "Dwa"}, {4, "Cztery"}}));
}

TEST(ExchangeImport, MatchesRowsById)
{
    struct Case {
        const char* what;
        std::vector<Unit> units;
        ImportOptions options;
        std::vector<Edit> edits;
        std::vector<Problem> problems;
        int unchanged, untranslated, notInFile;
    };
    const Case cases[] = {
        {"order does not matter; rows not in the file stay",
         {unit("SSave", "Save", "Zapisz"), unit("SAbout", "About", "O programie")},
         {}, {{3, "Zapisz"}}, {}, 1, 0, 2},
        {"unknown ids, untranslated units",
         {unit("SGone", "Gone", "Nie ma"), unit("SOpen", "Open", "", State::Untranslated), unit("\xE2\x98\x83", "x", "y")},
         {}, {}, {{Code::UnknownId, 0, "SGone"}, {Code::UnknownId, 0, "\xE2\x98\x83"}}, 0, 1, 3},
        {"a changed source is applied only when forced",
         {unit("SOpen", "Open...", "Otw\xC3\xB3rz..."), unit("SQuit", "Quit", "Koniec")},
         {}, {{4, "Koniec"}}, {{Code::SourceChanged, 2, "SOpen"}}, 0, 0, 2},
        {"forced", {unit("SOpen", "Open...", "Otw\xC3\xB3rz...")}, {true, false}, {{2, "Otw\xF3rz..."}},
         {{Code::SourceChanged, 2, "SOpen", 0, true}}, 0, 0, 3},
        {"characters the code page cannot hold, each once",
         {unit("SSave", "Save", "Zapisz \xE2\x98\x83\xE2\x98\x83 \xC3\xA0"), unit("SQuit", "Quit", "Koniec")},
         {true, false}, {{4, "Koniec"}},
         {{Code::UnheldCharacter, 3, "SSave", 0x2603}, {Code::UnheldCharacter, 3, "SSave", 0xE0}}, 0, 0, 2},
        {"malformed UTF-8, placeholders", {unit("SSave", "Save", "Zapisz\xFF"), [] {
             Unit u = unit("SQuit", "Quit", "Koniec");
             u.targetPlaceholders = true;
             return u;
         }()},
         {}, {}, {{Code::InvalidText, 3, "SSave"}, {Code::Placeholder, 4, "SQuit"}}, 0, 0, 2},
        {"duplicates apply neither",
         {unit("SSave", "Save", "Zapisz"), unit("SSave", "Save", "Zachowaj")},
         {}, {}, {{Code::DuplicateId, 3, "SSave"}}, 0, 0, 3},
        {"drafts only when asked for",
         {unit("SSave", "Save", "Zapisz", State::NeedsReview)}, {}, {}, {{Code::NeedsReview, 3, "SSave"}}, 0, 0, 3},
        {"drafts taken", {unit("SSave", "Save", "Zapisz", State::NeedsReview)}, {false, true}, {{3, "Zapisz"}}, {}, 0, 0, 3},
    };
    for (const Case& c : cases) {
        File f;
        f.units = c.units;
        const ImportReport r = matchImport(kRows, f, c.options);
        EXPECT_EQ(r.edits, c.edits) << c.what;
        EXPECT_EQ(r.problems, c.problems) << c.what;
        EXPECT_EQ(r.unchanged, c.unchanged) << c.what;
        EXPECT_EQ(r.untranslated, c.untranslated) << c.what;
        EXPECT_EQ(r.notInFile, c.notInFile) << c.what;
    }
}

TEST(ExchangeImport, ProblemLines)
{
    const std::pair<Problem, const char*> cases[] = {
        {{Code::UnknownId, 0, "SGone"}, "id SGone: not in the document"},
        {{Code::DuplicateId, 3, "SSave"}, "row 3: SSave: more than one unit with this id; not applied"},
        {{Code::SourceChanged, 2, "SOpen"}, "row 2: SOpen: source text differs from the base; not applied"},
        {{Code::SourceChanged, 2, "SOpen", 0, true}, "row 2: SOpen: source text differs from the base; applied"},
        {{Code::UnheldCharacter, 3, "SSave", 0x1F600}, "row 3: SSave: character U+1F600 not in the code page; not applied"},
        {{Code::UnheldCharacter, 3, "SSave", 0xE0}, "row 3: SSave: character U+00E0 not in the code page; not applied"},
        {{Code::InvalidText, 3, "SSave"}, "row 3: SSave: translation is not valid UTF-8; not applied"},
        {{Code::NeedsReview, 3, "SSave"}, "row 3: SSave: translation marked for review; not applied"},
        {{Code::Placeholder, 4, "SQuit"}, "row 4: SQuit: translation holds a placeholder without text; not applied"},
    };
    for (const auto& [problem, line] : cases) EXPECT_EQ(describe(problem), line);
}

}  // namespace
}  // namespace tov::exchange
