// The demo sample and the real files of the corpus: reading, round trips
// through the template, and the workflow of opening, switching and saving.
#include <gtest/gtest.h>

#include <map>

#include "formats/c_arrays/c_arrays.h"
#include "formats/c_arrays/c_arrays_fixture.h"
#include "formats/c_arrays/c_arrays_workflow.h"
#include "support/strutil.h"

namespace tov {
namespace {

const std::string kDemo = std::string(TOVRANA_DEMO_SOURCE_DIR) + "/texts.c";
const std::string kCorpus = std::string(TOVRANA_CORPUS_DIR) + "/c_arrays/";

// Read -> template -> write -> read gives the same table; and a file written
// this way comes back byte for byte when it is opened and saved again.
void expectRoundTrip(CArraysTest& t, const std::string& base)
{
    TextGrid first, second;
    const CArraysRead r1 = readCArrays(base, first);
    ASSERT_TRUE(r1.ok) << r1.error;
    const std::string tmpl = t.path("tmp0.txt"), out = t.path("out.c"), again = t.path("again.c");
    ASSERT_TRUE(makeCTemplate(base, tmpl).ok);
    ASSERT_TRUE(writeCArrays(tmpl, out, first, r1.names).written);
    const CArraysRead r2 = readCArrays(out, second);
    ASSERT_TRUE(r2.ok) << r2.error;
    EXPECT_EQ(r2.names, r1.names);
    EXPECT_EQ(dumpRows(second, kCArraysColumns), dumpRows(first, kCArraysColumns));

    ASSERT_TRUE(makeCTemplate(out, tmpl).ok);
    ASSERT_TRUE(writeCArrays(tmpl, again, second, r2.names).written);
    EXPECT_EQ(t.readFile(again), t.readFile(out));
}

TEST(CArraysFiles, DemoReadsAsWritten)
{
    TextGrid work;
    const CArraysRead r = readCArrays(kDemo, work);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.names, (std::vector<std::string>{"English", "Polski", "Deutsch"}));
    EXPECT_EQ(dumpRows(work, 4), (std::vector<std::string>{
                                     "|English|Polski|Deutsch",
                                     "1|Welcome|Witamy|Willkommen",
                                     "2|Start measurement|Rozpocznij pomiar|Messung starten",
                                     "3|Settings|Ustawienia|Einstellungen",
                                     "4|Results|Wyniki|Ergebnisse",
                                     "5|Exit|Wyj\x9C" "cie|Beenden",
                                     "6|Ready|Gotowy|Bereit",
                                     "7|Measuring...|Trwa pomiar...|Messung l\xE4uft...",
                                     "8|Battery low|S\xB3" "aba bateria|Batterie schwach",
                                     "9|Press OK to confirm the value.||",
                                     "10|Hold an arrow key to change the value quickly.||",
                                 }));
}

TEST_F(CArraysTest, DemoRoundTrips) { expectRoundTrip(*this, kDemo); }

// Every corpus file, by name: the reason it is refused, or "" when it is in
// the format. None of them has a language-name array: they are all outside it.
TEST_F(CArraysTest, CorpusFilesAreRefusedWithAReasonAndLeftUntouched)
{
    const std::map<std::string, std::string> expected = {
        // Its first array (t_welcome) stands in for the names; the 2-D array
        // t_orbRot[4][LANG_NUM] has no number after "][".
        {"infoorbs_Translations.cpp", "line 83: the number of texts per language after \"][\" is missing or 0"},
        // "const char*" without the blank, one #ifdef block per language.
        {"ironos_Translation.c", "no declaration line (a line holding \"const char *\")"},
        {"ironos_Translation_2018.cpp", "no declaration line (a line holding \"const char *\")"},
        // A struct of designated initialisers.
        {"openrtx_SpanishStrings.h", "no declaration line (a line holding \"const char *\")"},
    };
    const auto files = listFolder(kCorpus, "*");
    ASSERT_EQ(files.size(), expected.size());
    for (const auto& name : files) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(expected.count(name)) << "a new corpus file: add what it should give";
        const std::string before = readFile(kCorpus + name);
        TextGrid work, translation;
        TempNamer namer(dir_);
        const CArraysOpen o = openCArrays(kCorpus + name, work, translation, namer);
        EXPECT_FALSE(o.ok);
        EXPECT_EQ(o.error, expected.at(name));
        EXPECT_TRUE(o.names.empty());
        EXPECT_FALSE(fileExists(o.templatePath));
        EXPECT_EQ(work.rowCount(), kCArraysPreparedRows);
        EXPECT_EQ(readFile(kCorpus + name), before);
    }
}

TEST_F(CArraysTest, CorpusFileWithoutItsTwoDimensionalArrayRoundTrips)
{
    std::vector<std::string> lines;
    ASSERT_TRUE(readLines(kCorpus + "infoorbs_Translations.cpp", lines));
    std::string kept;
    bool skipping = false;
    for (const auto& l : lines) {
        if (contains(l, "t_orbRot[4]")) skipping = true;
        if (!skipping) kept += l + "\n";
        if (skipping && l == "    }};") skipping = false;
    }
    ASSERT_FALSE(skipping);
    const std::string base = writeFile("infoorbs.cpp", kept);
    TextGrid work;
    const CArraysRead r = readCArrays(base, work);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.names, (std::vector<std::string>{"Welcome", "Willkommen", "Bienvenue"}));
    EXPECT_EQ(work.cell(3, 9), "Faites d\xC3\xA9" "filer les widgets automatiquement toutes les X secondes, "
                               "d\xC3\xA9" "finissez sur 0 pour d\xC3\xA9" "sactiver");
    expectRoundTrip(*this, base);
}

TEST_F(CArraysTest, OpenSwitchLanguagesAndSave)
{
    const std::string base = writeFile("texts.c", readFile(kDemo));
    TextGrid work(11, 40), translation(9, 40);
    translation.setCell(4, 3, "old destination");
    TempNamer namer(dir_);
    const CArraysOpen o = openCArrays(base, work, translation, namer);
    ASSERT_TRUE(o.ok) << o.error;
    EXPECT_EQ(o.templatePath, dir_ + "tmp0.txt");
    EXPECT_TRUE(fileExists(o.templatePath));
    EXPECT_EQ(cArraysPickerItem("2", 3), 2);
    EXPECT_EQ(cArraysPickerItem("3", 3), -1);

    showCArraysRows(translation, work);
    EXPECT_EQ(translation.rowCount(), 11);
    EXPECT_EQ(translation.cell(0, 10), "10");
    showCBaseLanguage(translation, work, 0);
    EXPECT_EQ(translation.cell(2, 0), "English");
    EXPECT_EQ(translation.cell(1, 1), " 7");
    int dest = 0;
    showCDestLanguage(translation, work, 1, 3, dest);
    EXPECT_EQ(dest, 2);
    EXPECT_EQ(translation.cell(4, 3), "Ustawienia");
    EXPECT_EQ(translation.cell(3, 3), " 10");

    // Typed texts survive a switch to another language and back.
    translation.setCell(4, 9, "Naci\x9Cnij OK");
    showCDestLanguage(translation, work, 2, 3, dest);
    EXPECT_EQ(translation.cell(4, 9), "");
    EXPECT_EQ(work.cell(2, 9), "Naci\x9Cnij OK");
    showCDestLanguage(translation, work, -1, 3, dest);
    EXPECT_EQ(translation.cell(4, 9), "9");  // no language: the row numbers
    showCDestLanguage(translation, work, 1, 3, dest);
    EXPECT_EQ(translation.cell(4, 9), "Naci\x9Cnij OK");

    translation.setCell(4, 10, "Przytrzymaj strza\xB3k\xEA");
    const std::string before = readFile(base);
    const CArraysSave s = saveCArrays(work, translation, 1, o.names, o.templatePath, base, BackupChoice::dated());
    ASSERT_TRUE(s.ok && s.written) << s.error;
    EXPECT_TRUE(s.backupPath.starts_with(base + ".") && s.backupPath.ends_with(".bak")) << s.backupPath;
    EXPECT_EQ(readFile(s.backupPath), before);
    TextGrid saved;
    ASSERT_TRUE(readCArrays(base, saved).ok);
    EXPECT_EQ(saved.cell(2, 9), "Naci\x9Cnij OK");
    EXPECT_EQ(saved.cell(2, 10), "Przytrzymaj strza\xB3k\xEA");
    EXPECT_EQ(saved.cell(3, 10), "");

    const CArraysSave f =
        saveCArrays(work, translation, 1, o.names, path("gone.txt"), path("new.c"), BackupChoice::dated());
    EXPECT_FALSE(f.ok);
    EXPECT_TRUE(f.backupPath.empty());
}

}  // namespace
}  // namespace tov
