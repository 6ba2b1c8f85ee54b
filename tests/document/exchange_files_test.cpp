// A document through XLIFF and PO and back: every kind (the demo files and
// the real files of the corpus) comes back to byte-identical destination
// files, and a file written by a translators' tool imports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "document/exchange_files.h"
#include "document/format.h"
#include "support/cp1250.h"
#include "support/strutil.h"
#include "support/text_file.h"
#include "tests/support/temp_folder.h"

namespace tov {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

struct Case {
    std::string source;  // the folder copied (the demo's or the corpus's)
    std::uint8_t kind;
    std::string base, dest;  // inside the copy; dest may be empty
    std::string baseLang, destLang;
    std::string out;  // the save's target inside the copy (empty: the base file)
};

// An opened copy of a case's files in a folder of its own.
struct Opened {
    TempFolder dir, temp;
    TempNamer names{temp.path()};
    std::unique_ptr<Format> format;
    TranslationDocument doc;

    explicit Opened(const Case& c)
    {
        fs::copy(c.source, dir.path(), fs::copy_options::recursive);
        format = makeFormat(c.kind, {&names});
        format->clearDocument(doc);
        EXPECT_TRUE(format->openBase(doc, dir / c.base).ok) << c.base;
        if (!c.baseLang.empty()) {
            const auto index = [&](const std::string& name) {
                for (std::size_t i = 0; i < doc.languages.size(); ++i)
                    if (equalsNoCase(doc.languages[i], name)) return static_cast<int>(i);
                return -1;
            };
            format->chooseLanguages(doc, {index(c.baseLang), c.baseLang}, {index(c.destLang), c.destLang});
        }
        if (!c.dest.empty()) {
            EXPECT_TRUE(format->openDestination(doc, dir / c.dest).ok) << c.dest;
        }
    }

    void save(const Case& c)
    {
        SaveOptions options;
        options.backup = BackupChoice::none();
        options.readBack = false;
        if (!c.out.empty()) fs::create_directories(fs::path(dir / c.out).parent_path());
        const SaveResult saved = format->save(doc, c.out.empty() ? std::string() : dir / c.out, options);
        EXPECT_TRUE(saved.ok) << c.base << (saved.diagnostics.empty() ? "" : ": " + saved.diagnostics[0].detail);
    }
};

std::vector<Case> cases()
{
    const std::string demo = TOVRANA_DEMO_SOURCE_DIR, corpus = TOVRANA_CORPUS_DIR;
    std::vector<Case> out = {
        {demo, kKonfix, "base/Konfix_en.drc", "dest/Konfix_pl.drc", "", "", "out.drc"},
        {demo, kOrvanta, "ORVANTA/ENG/EDIT.ENG", "ORVANTA/POL/EDIT.POL", "", "", "ORVANTA/OUT/X.POL"},
        {demo, kQL5, "QL5/ENG/LCD_IDLE.ENG", "QL5/POL/LCD_IDLE.POL", "", "", "QL5/OUT/X.POL"},
        {demo, kQL10, "QL10/ENG/LCD_1.ENG", "QL10/POL/LCD_1.POL", "", "", "QL10/OUT/X.POL"},
        {demo, kTelmo, "TELMO/ENG/Telmo.ENG", "TELMO/POL/Telmo.POL", "", "", "TELMO/OUT/X.POL"},
        {demo, kVigrex, "base/Vigrex_en.drc", "", "", "", "out.drc"},
        {demo, kMenuIni, "menu.ini", "", "English", "Polski", ""},
        {demo, kCArrays, "texts.c", "", "English", "Polski", "out.c"},
        {corpus + "/firmware/msdos_v2", kOrvanta, "DOSMES.ASM", "DOSMES.ASM", "", "", "OUT/X.OUT"},
        {corpus + "/firmware/msdos_v4", kTelmo, "TREE.SKL", "TREE.SKL", "", "", "OUT/X.OUT"},
        {corpus + "/ini", kMenuIni, "regshot_language.ini", "", "English", "Polski", ""},
        {corpus + "/ini", kMenuIni, "devcpp_Polish.lng", "", "lang", "Polski", ""},
    };
    for (const char* sub : {"/drc", "/rc"})
        for (const auto& e : fs::directory_iterator(corpus + sub)) {
            const std::string name = e.path().filename().string();
            out.push_back({corpus + sub, kGenericDrc, name, name, "", "", "out.drc"});
        }
    return out;
}

TEST(ExchangeFiles, EveryKindComesBackThroughXliffAndPoToTheSameFiles)
{
    for (const Case& c : cases()) {
        for (const exchange::Format format : {exchange::Format::Xliff, exchange::Format::Po}) {
            SCOPED_TRACE(c.base + " " + exchange::formatName(format));
            Opened expected(c);
            expected.save(c);

            Opened trip(c);
            const exchange::Written written =
                exportExchange(trip.doc, c.kind, {format, trip.dir / c.base, {"en", "pl"}});
            ASSERT_TRUE(written) << written.error;
            const int translated = trip.doc.counts().translated;
            trip.doc.clearDestination();
            ExchangeImport imported = importExchange(trip.doc, "x", written.bytes, {});
            ASSERT_TRUE(imported) << imported.error;
            EXPECT_EQ(imported.report.problems.size(), 0u) << exchange::describe(imported.report.problems[0]);
            if (imported.edit) imported.edit->redo(trip.doc);
            EXPECT_EQ(trip.doc.counts().translated, translated);
            trip.save(c);
            EXPECT_EQ(trip.dir.snapshot(), expected.dir.snapshot());
        }
    }
}

// Where a text can be told apart from its row: the base file names and the
// language names of a file of every language.
TEST(ExchangeFiles, LanguagesFromLanguageNamesElseFileNames)
{
    TranslationDocument doc;
    const struct {
        const char *baseName, *destName, *baseFile, *destFile, *source, *target;
    } cases[] = {
        {"", "", "base/Konfix_en.drc", "dest/Konfix_pl.drc", "en", "pl"},
        {"", "", "ORVANTA/ENG/EDIT.ENG", "ORVANTA/POL/EDIT.POL", "en", "pl"},
        {"English", "Polski", "menu.ini", "", "en", "pl"},
        {"English", "\x8A" "esky", "texts.c", "", "en", ""},  // no tag for a name the table lacks
        {"", "", "base/Vigrex.drc", "", "", ""},
    };
    for (const auto& c : cases) {
        doc.baseLanguageName = c.baseName;
        doc.destLanguageName = c.destName;
        const ExchangeLanguages l = guessExchangeLanguages(doc, c.baseFile, c.destFile);
        EXPECT_EQ(l.source, c.source) << c.baseFile;
        EXPECT_EQ(l.target, c.target) << c.baseFile;
    }
}

// Qt's lconvert rewrites our XLIFF in its own way; a translation edited there
// comes back into its row, and only that one changes. (Translate Toolkit's
// po2xliff is no such route: it drops the context that names the row.)
TEST(ExchangeFiles, AFileOfATranslatorsToolImports)
{
    const std::string lconvert = "/usr/lib/qt6/bin/lconvert";
    if (!fs::exists(lconvert)) GTEST_SKIP() << "lconvert is not installed (Debian package qt6-l10n-tools)";
    const Case c = cases()[0];
    Opened opened(c);
    const exchange::Written ours = exportExchange(opened.doc, c.kind, {exchange::Format::Xliff, c.base, {"en", "pl"}});
    ASSERT_TRUE(ours) << ours.error;
    opened.temp.put("k.xlf", ours.bytes);
    ASSERT_EQ(std::system((lconvert + " -i '" + (opened.temp / "k.xlf") + "' -o '" + (opened.temp / "t.xlf") +
                           "' >/dev/null 2>&1")
                              .c_str()),
              0);
    const std::string xliff = opened.temp.get("t.xlf");
    ASSERT_NE(xliff, ours.bytes);
    // Row 3's translation, as the tool wrote it, replaced by another one.
    const std::string old = ">" + cp1250::toUtf8(opened.doc.entry(2).dest) + "</target>";
    const std::size_t at = xliff.find(old);
    ASSERT_NE(at, std::string::npos) << xliff.substr(0, 3000);
    std::string edited = xliff;
    edited.replace(at, old.size(), ">Zaraz %s...</target>");

    ExchangeImport imported = importExchange(opened.doc, "t.xlf", edited, {});
    ASSERT_TRUE(imported) << imported.error;
    for (const exchange::Problem& p : imported.report.problems) ADD_FAILURE() << exchange::describe(p);
    ASSERT_TRUE(imported.edit);
    ASSERT_EQ(imported.edit->changes().size(), 1u);
    EXPECT_EQ(imported.edit->changes()[0].index, 2);
    EXPECT_EQ(imported.edit->changes()[0].after, "Zaraz %s...");
    EXPECT_EQ(imported.report.unchanged, opened.doc.counts().translated - 1);
}

}  // namespace
}  // namespace tov
