// The translation document: the rules of a row, the counts kept as rows
// change, the edits done and undone, and the text exchange.
#include <gtest/gtest.h>

#include <memory>

#include "document/document.h"
#include "document/edits.h"
#include "document/text_exchange.h"
#include "formats/source_kind.h"

namespace tov {
namespace {

Entry entry(LengthRule rule, std::string base, std::string dest, std::string stored = {})
{
    Entry e;
    e.rule = rule;
    e.base = std::move(base);
    e.dest = std::move(dest);
    e.stored = std::move(stored);
    return e;
}

TEST(LengthRules, FixTheTextAndShowItWithoutItsPadding)
{
    struct Case {
        LengthRule rule;
        const char* base;
        const char* typed;
        const char* fitted;
        const char* edited;  // as the cell editor shows the fitted text
    };
    const Case cases[] = {
        {LengthRule::Fixed, "Save file", "Zapis", "Zapis    ", "Zapis"},
        {LengthRule::Fixed, "Save", "Zapisz plik", "Zapi", "Zapi"},
        {LengthRule::Fixed, "Save", "", "    ", ""},
        {LengthRule::Fixed, "Save  ", "a b ", "a b   ", "a b"},
        {LengthRule::AtMost, "Save", "Zapisz ", "Zapisz ", "Zapisz "},
        {LengthRule::None, "", "  x  ", "  x  ", "  x  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.base) + " / " + c.typed);
        EXPECT_EQ(fitToRule(c.rule, c.base, c.typed), c.fitted);
        EXPECT_TRUE(fitsRule(c.rule, c.base, c.fitted));
        EXPECT_EQ(withoutPadding(c.rule, c.fitted), c.edited);
    }
    EXPECT_EQ(fixedRuleFor(std::string(255, 'b')), LengthRule::Fixed);
    EXPECT_EQ(fixedRuleFor(std::string(256, 'b')), LengthRule::None);
}

TEST(RowProblems, AsTheTableShowsThemAndAsTheFileHoldsThem)
{
    using namespace problem;
    struct Case {
        const char* name;
        Entry e;
        Problems shown;   // entryProblems
        Problems inFile;  // fileProblems
    };
    const Case cases[] = {
        {"stored and unchanged", entry(LengthRule::AtMost, "Open", "Otw", "Otw"), 0, 0},
        {"empty", entry(LengthRule::AtMost, "Open", "", ""), kMissing, kMissing},
        {"empty base, empty text", entry(LengthRule::AtMost, "", "", ""), kMissing, kMissing},
        {"edited, too long", entry(LengthRule::AtMost, "Open", "Otworz", "Otw"), kChanged | kTooLong, 0},
        {"typed, nothing stored", entry(LengthRule::AtMost, "Open", "Otw"), kChanged, kMissing},
        {"menu texts have no length", entry(LengthRule::None, "&File", "&Plik menu", "&Plik menu"), 0, 0},
        {"firmware padded from a short file text", entry(LengthRule::Fixed, "Ready ", "Got   ", "Got"), 0,
         kLengthDiffers},
        {"firmware cut from a long file text", entry(LengthRule::Fixed, "Ready", "Gotow", "Gotowy"), 0,
         kLengthDiffers},
        {"firmware typed over the file text", entry(LengthRule::Fixed, "Ready", "Jest ", "Gotow"), kChanged, 0},
        {"firmware without a destination file", entry(LengthRule::Fixed, "Ready", "     ", ""), 0, kMissing},
        {"firmware empty base", entry(LengthRule::Fixed, "", "", ""), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(entryProblems(c.e), c.shown);
        EXPECT_EQ(fileProblems(c.e), c.inFile);
    }
    Entry moved = entry(LengthRule::Fixed, "Ready", "Gotow", "Gotow");
    moved.structure = true;
    EXPECT_EQ(entryProblems(moved), kStructure);
    EXPECT_EQ(fileProblems(moved), kStructure);
}

TranslationDocument documentOf(std::vector<Entry> entries, const checks::CheckOptions& options = {})
{
    TranslationDocument doc;
    doc.setCheckOptions(options);
    doc.assign(std::move(entries));
    return doc;
}

// The counts kept as rows change must be those counted afresh.
void expectCountsAsCountedAfresh(const TranslationDocument& doc)
{
    TranslationDocument fresh = documentOf(doc.entries(), doc.checkOptions());
    const Counts& a = doc.counts();
    const Counts& b = fresh.counts();
    EXPECT_EQ(std::tie(a.rows, a.translated, a.missing, a.changed, a.tooLong, a.lengthDiffers, a.structure,
                       a.formatErrors, a.checkWarnings, a.baseCharacters, a.destCharacters),
              std::tie(b.rows, b.translated, b.missing, b.changed, b.tooLong, b.lengthDiffers, b.structure,
                       b.formatErrors, b.checkWarnings, b.baseCharacters, b.destCharacters));
    for (int i = 0; i < doc.size(); ++i) EXPECT_EQ(doc.problems(i), fresh.problems(i)) << "row index " << i;
}

TEST(TranslationDocument, CountsFollowEveryChangeAndUndoGivesTheTextsBack)
{
    TranslationDocument doc = documentOf({entry(LengthRule::AtMost, "Open", "Otw", "Otw"),
                                          entry(LengthRule::AtMost, "Close", "", ""),
                                          entry(LengthRule::Fixed, "Menu  ", "Tryb  ", "Tryb")});
    EXPECT_EQ(doc.counts().rows, 3);
    EXPECT_EQ(doc.counts().missing, 1);
    EXPECT_EQ(doc.counts().baseCharacters, 15u);
    EXPECT_EQ(doc.counts().destCharacters, 9u);

    // Typing "Zamknij" into row 2 letter by letter is one step.
    auto typing = SetDestinations::one(doc, 1, "Z", SetDestinations::Kind::Typing);
    typing->redo(doc);
    for (const char* more : {"Za", "Zam", "Zamknij"}) {
        auto next = SetDestinations::one(doc, 1, more, SetDestinations::Kind::Typing);
        next->redo(doc);
        EXPECT_TRUE(typing->absorb(*next));
    }
    EXPECT_EQ(doc.counts().tooLong, 1);
    EXPECT_EQ(doc.counts().changed, 1);
    expectCountsAsCountedAfresh(doc);
    // Another row, or an edit that is not typing, is a step of its own.
    EXPECT_FALSE(typing->absorb(*SetDestinations::one(doc, 0, "x", SetDestinations::Kind::Typing)));
    EXPECT_FALSE(typing->absorb(*SetDestinations::one(doc, 1, "x")));

    // An import of every row at once, the fixed length applied.
    SetDestinations import(doc, {{0, "Otworz"}, {1, "Zamknij"}, {2, "Ustawienia"}});
    EXPECT_EQ(import.changes().size(), 2u);  // row 2 already holds it
    import.redo(doc);
    EXPECT_EQ(doc.entry(2).dest, "Ustawi");
    expectCountsAsCountedAfresh(doc);

    import.undo(doc);
    typing->undo(doc);
    EXPECT_EQ(doc.entry(0).dest, "Otw");
    EXPECT_EQ(doc.entry(1).dest, "");
    EXPECT_EQ(doc.entry(2).dest, "Tryb  ");
    EXPECT_EQ(doc.counts().changed, 0);
    expectCountsAsCountedAfresh(doc);
    EXPECT_TRUE(SetDestinations::one(doc, 2, "Tryb")->empty());

    doc.setDestination(1, "Zamknij");
    doc.markSaved();
    EXPECT_EQ(doc.counts().changed, 0);
    EXPECT_EQ(doc.entry(1).stored, "Zamknij");
    doc.clearDestination();
    EXPECT_EQ(doc.entry(2).dest, "      ");
    EXPECT_EQ(doc.entry(1).stored, "");
    expectCountsAsCountedAfresh(doc);
}

TEST(TranslationDocument, TextCheckFindingsAreProblemsOfTheRowAndCounted)
{
    using namespace problem;
    // C string arrays: printf conversions and C escapes are errors, blanks
    // and end punctuation warnings.
    TranslationDocument doc = documentOf({entry(LengthRule::AtMost, "%d files\\n", "%d plik\\xF3w\\n", "x"),
                                          entry(LengthRule::AtMost, "Saved: ", "Zapisano", "x"),
                                          entry(LengthRule::AtMost, "%s of %d", "", "x")},
                                         checks::forKind(kCArrays));
    EXPECT_EQ(doc.problems(0) & (kFormat | kCheckWarning), kFormat);  // "\xF3" is one more escape
    EXPECT_EQ(doc.problems(1) & (kFormat | kCheckWarning), kCheckWarning);
    EXPECT_EQ(doc.problems(2) & (kFormat | kCheckWarning), 0u);  // missing, not checked
    EXPECT_EQ(doc.counts().formatErrors, 1);
    EXPECT_EQ(doc.counts().checkWarnings, 1);
    ASSERT_EQ(doc.findings(0).size(), 1u);
    EXPECT_EQ(doc.findings(0)[0].code, checks::Code::Format);
    // The texts as the file holds them: "x" lacks the blank and the colon
    // (two warnings), and both conversions (one error).
    EXPECT_EQ(doc.storedFindings(1).size(), 2u);
    EXPECT_EQ(doc.storedFindings(2).size(), 1u);

    // Only the row typed into is checked again, and the counts follow.
    struct Step {
        int index;
        const char* text;
        Problems marks;
    };
    const Step steps[] = {
        {2, "%d z %s", kFormat},  // the types swapped, without numbered arguments
        {2, "%s z %d", 0},
        {1, "Zapisano: ", 0},
        {0, "%d plik\\363w\\n", kFormat},  // the same character as an octal escape
        {0, "%d plikow\\n", 0},
        {2, "%s z %d%", kFormat},  // a lone "%" at the end
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.text);
        doc.setDestination(s.index, s.text);
        EXPECT_EQ(doc.problems(s.index) & (kFormat | kCheckWarning), s.marks);
        expectCountsAsCountedAfresh(doc);
    }
    // Other checks for another kind: resource strings count "&".
    doc.setCheckOptions(checks::forKind(kKonfix));
    doc.setDestination(1, "&Zapisano: ");
    EXPECT_EQ(doc.problems(1) & (kFormat | kCheckWarning), kCheckWarning);
    expectCountsAsCountedAfresh(doc);
    // A firmware text padded with blanks and nothing typed is not checked.
    TranslationDocument firmware =
        documentOf({entry(LengthRule::Fixed, " Mode %d", "        "), entry(LengthRule::Fixed, " Mode %d", " Tryb   ")},
                   checks::forKind(kOrvanta));
    EXPECT_EQ(firmware.problems(0) & (kFormat | kCheckWarning), 0u);
    EXPECT_EQ(firmware.problems(1) & (kFormat | kCheckWarning), kFormat);
    EXPECT_EQ(firmware.counts().formatErrors, 1);
}

TEST(TextExchange, ExportWritesEveryRowAndImportReadsItBack)
{
    // A menu INI value may hold a byte 26: it is a text byte, except as the
    // file's very last byte (an end-of-file mark).
    TranslationDocument doc = documentOf(
        {entry(LengthRule::AtMost, "Open", "Otw\xF3rz"), entry(LengthRule::AtMost, "", "x\ty"),
         entry(LengthRule::AtMost, "a\tb", ""), entry(LengthRule::None, "ab\x1A" "cd", "\x1A" "x\x1A"),
         entry(LengthRule::AtMost, "Zamknij", "\xAF")});
    std::string tsv;
    ASSERT_TRUE(exportText(doc, tsv));
    EXPECT_EQ(tsv, "Open\tOtw\xF3rz\r\n\tx\ty\r\na\tb\t\r\nab\x1A" "cd\t\x1A" "x\x1A\r\nZamknij\t\xAF\r\n");
    for (const std::string& file :
         {tsv, tsv + "\x1A", std::string("Open\tOtw\xF3rz\n\tx\ty\na\tb\t\nab\x1A" "cd\t\x1A" "x\x1A\nZamknij\t\xAF")}) {
        const ImportedTexts in = importText(doc, file);
        ASSERT_TRUE(in.ok) << in.error;
        EXPECT_EQ(in.dest, (std::vector<std::string>{"Otw\xF3rz", "x\ty", "", "\x1A" "x\x1A", "\xAF"}));
    }
    EXPECT_TRUE(exportText(TranslationDocument(), tsv));
    EXPECT_EQ(tsv, "");
    TranslationDocument huge = documentOf(std::vector<Entry>(65536));
    EXPECT_FALSE(exportText(huge, tsv));
}

TEST(TextExchange, ImportRefusesFilesThatDoNotLineUp)
{
    const TranslationDocument doc = documentOf({entry(LengthRule::AtMost, "One", ""), entry(LengthRule::AtMost, "Two", ""),
                                                entry(LengthRule::AtMost, "Three", "")});
    struct Case {
        const char* tsv;
        int row;
        const char* error;
    };
    const Case cases[] = {
        {"One\t1\r\nThree\t3\r\nTwo\t2\r\n", 2, "row 2: line 2 does not begin with the base text of row 2 and a TAB"},
        {"One\t1\r\nTwo 2\r\nThree\t3\r\n", 2, "row 2: line 2 does not begin with the base text of row 2 and a TAB"},
        {"one\t1\r\nTwo\t2\r\nThree\t3\r\n", 1, "row 1: line 1 does not begin with the base text of row 1 and a TAB"},
        {"One\t1\r\nTwo\t2\r\n", 3, "row 3: no line (the file has 2 lines, the base 3 rows)"},
        {"", 1, "row 1: no line (the file has 0 lines, the base 3 rows)"},
        {"One\t1\r\nTwo\t2\r\nThree\t3\r\n\t\r\n", 4, "line 4 has no row: the base has 3 rows"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tsv);
        const ImportedTexts in = importText(doc, c.tsv);
        EXPECT_FALSE(in.ok);
        EXPECT_EQ(in.row, c.row);
        EXPECT_EQ(in.error, c.error);
        EXPECT_TRUE(in.dest.empty());
    }
}

TEST(TranslationDocument, RowsAreNamedByIdentifierLocationOrNumber)
{
    TranslationDocument doc(RowNaming::Location);
    doc.files.baseFiles = {"A.ENG", "B.ENG"};
    doc.files.lineCounts = {3, 5};
    doc.files.lineStarts = {0, 3};
    Entry first;
    first.line = 2;
    Entry second;
    second.line = 3;
    doc.assign({first, second});
    EXPECT_EQ(doc.rowName(0), "A.ENG:3");
    EXPECT_EQ(doc.rowName(1), "B.ENG:1");
    doc.reset(RowNaming::Number);
    doc.assign({Entry{}, Entry{}});
    EXPECT_EQ(doc.rowName(1), "2");
}

// Rows may view the bytes of the files read; the document keeps those bytes
// while a row views them, and an edit never writes into them.
TEST(TranslationDocument, KeepsTheBytesItsRowsViewAndEditsOwnTheirTexts)
{
    auto first = std::make_shared<std::string>("one\ttwo");
    auto second = std::make_shared<std::string>("three");
    TranslationDocument doc;
    {
        auto rebuild = doc.rebuild();
        rebuild.entries().resize(2);
        Entry& a = rebuild.entries()[0];
        a.base = Text::borrowed(std::string_view(*first).substr(0, 3));
        a.stored = Text::borrowed(std::string_view(*first).substr(4));
        a.dest = a.stored;
        rebuild.entries()[1].base = Text::borrowed(*second);
        doc.keep(first);
        doc.keep(second);
    }
    EXPECT_EQ(doc.keptBuffers(), 2u);
    EXPECT_FALSE(doc.entry(0).dest.owned());
    EXPECT_TRUE(doc.setDestination(0, "dwa"));
    EXPECT_TRUE(doc.entry(0).dest.owned());
    EXPECT_EQ(*first, "one\ttwo");
    EXPECT_EQ(doc.counts().changed, 1);

    // Nothing views the second file any more: it is let go, the first stays.
    doc.setBase(1, "trzy");
    {
        auto rebuild = doc.rebuild();
    }
    EXPECT_EQ(doc.keptBuffers(), 1u);
    EXPECT_EQ(second.use_count(), 1);
    const Entry copy = doc.entry(0);
    EXPECT_EQ(copy.base.data(), first->data());
    EXPECT_EQ(copy.dest, "dwa");
    EXPECT_NE(copy.dest.data(), doc.entry(0).dest.data());
    doc.reset(RowNaming::Identifier);
    EXPECT_EQ(doc.keptBuffers(), 0u);
}

// Of many kept buffers exactly those stay that some row views, whether it
// views a buffer's first bytes, its last, or all of it.
TEST(TranslationDocument, KeepsExactlyTheViewedOfManyBuffers)
{
    std::vector<std::shared_ptr<std::string>> buffers;
    for (int i = 0; i < 12; ++i) buffers.push_back(std::make_shared<std::string>(std::string(5 + i, 'a' + i)));
    buffers.push_back(std::make_shared<std::string>());
    TranslationDocument doc;
    {
        auto rebuild = doc.rebuild();
        std::vector<Entry>& entries = rebuild.entries();
        entries.resize(3);
        const std::string_view third = *buffers[3], seventh = *buffers[7], last = *buffers[11];
        entries[0].base = Text::borrowed(third.substr(0, 1));
        entries[1].stored = Text::borrowed(seventh.substr(seventh.size() - 2));
        entries[2].dest = Text::borrowed(last);
        for (const auto& b : buffers) doc.keep(b);
    }
    EXPECT_EQ(doc.keptBuffers(), 3u);
    for (std::size_t i = 0; i < buffers.size(); ++i)
        EXPECT_EQ(buffers[i].use_count(), i == 3 || i == 7 || i == 11 ? 2 : 1) << "buffer " << i;
}

}  // namespace
}  // namespace tov
