// The tools translators use read what the exchange writes, and what they
// write comes back: gettext's msgfmt, Qt's lconvert and Translate Toolkit.
// Each test is skipped with a message where its tool is not installed
// (scripts/setup installs them).
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "formats/exchange/exchange_print.h"
#include "formats/c_arrays/c_arrays.h"
#include "formats/exchange/po_read.h"
#include "formats/exchange/rows.h"
#include "formats/exchange/xliff_read.h"
#include "formats/resource_strings/drc_file.h"
#include "support/cp1250.h"
#include "support/text_file.h"
#include "support/temp_folder.h"

namespace tov::exchange {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;  // (source, translation), UTF-8

// The path of a tool, or "" when it is not installed.
std::string tool(const std::string& name)
{
    for (const char* dir : {"/usr/bin/", "/usr/local/bin/", "/usr/lib/qt6/bin/"})
        if (std::filesystem::exists(dir + name)) return dir + name;
    return {};
}

#define REQUIRE_TOOL(var, name, package)                                                          \
    const std::string var = tool(name);                                                           \
    if (var.empty()) GTEST_SKIP() << name " is not installed (Debian package " package ")"

// Runs a command; its output goes to `log`, shown when it fails.
int run(const std::string& command, const std::string& log)
{
    const int status = std::system((command + " >" + log + " 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A translated resource-string file of the demo, the real resource-string
// files of the corpus with their base texts as destination, and the C file of
// the demo, as rows of documents.
class Documents : public ::testing::Test {
protected:
    void SetUp() override
    {
        add(TOVRANA_DEMO_SOURCE_DIR "/base/Konfix_en.drc", TOVRANA_DEMO_SOURCE_DIR "/dest/Konfix_pl.drc");
        for (const auto& e : std::filesystem::directory_iterator(TOVRANA_CORPUS_DIR "/drc"))
            add(e.path().string(), e.path().string());
        // The C file of the demo, its second language translating its first,
        // rows numbered.
        Doc& d = docs_.emplace_back();
        d.name = "texts.c";
        d.notation = checks::FormatNotation::Printf;
        const CArraysRead read = readCArrays(TOVRANA_DEMO_SOURCE_DIR "/texts.c", d.grid);
        ASSERT_TRUE(read) << read.error;
        for (int r = 1; r <= read.rows; ++r) d.numbers.push_back(std::to_string(r));
        for (int r = 1; r <= read.rows; ++r)
            d.rows.push_back({r, d.numbers[static_cast<size_t>(r - 1)], d.grid.cell(1, r), d.grid.cell(2, r), "",
                              d.name, r, {}});
    }

    void add(const std::string& base, const std::string& dest)
    {
        Doc& d = docs_.emplace_back();
        d.name = std::filesystem::path(base).filename().string();
        ASSERT_TRUE(ReadDrcBase(base, d.grid)) << base;
        ASSERT_TRUE(ReadDrcColumn(kDrcDestColumn, dest, d.grid)) << dest;
        for (int r = 1; r < d.grid.rowCount(); ++r)
            d.rows.push_back({r, d.grid.cell(kDrcIdColumn, r), d.grid.cell(kDrcBaseColumn, r),
                              d.grid.cell(kDrcDestColumn, r), "", d.name, r, {r % 7 == 0 ? 40 : 0, false}});
    }

    File file(size_t i) const { return makeFile(docs_[i].rows, {docs_[i].name, "en", "pl", docs_[i].notation}); }

    // Writes document i in `format` into the folder of that format ("po/",
    // "xliff/") and returns the path.
    std::string put(size_t i, Format format) const
    {
        const File f = file(i);
        const Written w = format == Format::Xliff ? writeXliff(f) : writePo(f);
        EXPECT_TRUE(w) << w.error;
        const std::string folder = std::string(formatName(format)) + "/";
        std::filesystem::create_directories(temp_ / folder);
        const std::string name = folder + docs_[i].name + (format == Format::Xliff ? ".xlf" : ".po");
        temp_.put(name, w.bytes);
        return temp_ / name;
    }

    static ReadResult readBack(const std::string& path)
    {
        const std::string bytes = testing::readBytes(path);
        return read(detectFormat(path, bytes), bytes);
    }

    // A PO file that a tool wrote is read by the strict reader, as gettext's
    // parser reads it.
    static void expectReadStrictly(const std::string& path)
    {
        const std::string bytes = testing::readBytes(path);
        ReadResult strict;
        ASSERT_TRUE(po::readStrict(bytes, strict)) << path;
        const ReadResult gettext = po::readThroughGettext(bytes);
        ASSERT_TRUE(strict && gettext) << path << ": " << strict.error << gettext.error;
        EXPECT_EQ(strict.file, gettext.file) << path;
    }

    // An XLIFF file that a tool wrote is read unit by unit, as the parse of
    // the whole document reads it.
    static void expectReadUnitByUnit(const std::string& path)
    {
        const std::string bytes = testing::readBytes(path);
        ReadResult fast;
        ASSERT_TRUE(xliff::readUnitByUnit(bytes, fast)) << path;
        EXPECT_EQ(fast.file, xliff::readWhole(bytes).file) << path;
    }

    static Pairs pairsOf(const File& f)
    {
        Pairs p;
        for (const Unit& u : f.units) p.emplace_back(u.source, u.state == State::Translated ? u.target : "");
        std::sort(p.begin(), p.end());
        return p;
    }

    struct Doc {
        std::string name;
        checks::FormatNotation notation = checks::FormatNotation::ResourceString;
        TextGrid grid;
        std::vector<std::string> numbers;  // the ids of C rows
        std::vector<Row> rows;
    };
    std::deque<Doc> docs_;  // rows view the cells of their grid: elements never move
    testing::TempFolder temp_;
    const std::string log_ = temp_ / "tool.log";
};

TEST_F(Documents, MsgfmtChecksThePo)
{
    REQUIRE_TOOL(msgfmt, "msgfmt", "gettext");
    for (size_t i = 0; i < docs_.size(); ++i) {
        const std::string po = put(i, Format::Po);
        EXPECT_EQ(run(msgfmt + " --check -o /dev/null " + po, log_), 0) << docs_[i].name << "\n" << temp_.get("tool.log");
    }
}

TEST_F(Documents, PoRewrittenByGettextIsReadStrictly)
{
    REQUIRE_TOOL(msgcat, "msgcat", "gettext");
    REQUIRE_TOOL(msgmerge, "msgmerge", "gettext");
    for (size_t i = 0; i < docs_.size(); ++i) {
        const std::string po = put(i, Format::Po);
        // msgcat folds long strings over several lines; msgmerge against the
        // file itself as template adds nothing but its own layout.
        ASSERT_EQ(run(msgcat + " -o " + po + ".cat " + po, log_), 0) << temp_.get("tool.log");
        ASSERT_EQ(run(msgmerge + " -q -o " + po + ".merged " + po + " " + po, log_), 0) << temp_.get("tool.log");
        for (const std::string& path : {po, po + ".cat", po + ".merged"}) expectReadStrictly(path);
    }
}

TEST_F(Documents, LconvertReadsXliffAndPoWithTheSameTexts)
{
    REQUIRE_TOOL(lconvert, "lconvert", "qt6-l10n-tools");
    for (size_t i = 0; i < docs_.size(); ++i) {
        for (const Format format : {Format::Xliff, Format::Po}) {
            const std::string in = put(i, format);
            ASSERT_EQ(run(lconvert + " -i " + in + " -o " + in + ".ts", log_), 0) << temp_.get("tool.log");
            pugi::xml_document ts;
            ASSERT_TRUE(ts.load_file((in + ".ts").c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) << in;
            Pairs got;
            for (const auto& m : ts.select_nodes("//message"))
                got.emplace_back(m.node().child("source").text().get(), m.node().child("translation").text().get());
            std::sort(got.begin(), got.end());
            EXPECT_EQ(got, pairsOf(file(i))) << in;
        }
    }
}

TEST_F(Documents, TranslateToolkitReadsThem)
{
    REQUIRE_TOOL(pofilter, "pofilter", "translate-toolkit");
    REQUIRE_TOOL(xliff2po, "xliff2po", "translate-toolkit");
    // One run over a folder each: the toolkit starts slowly.
    for (size_t i = 0; i < docs_.size(); ++i) {
        put(i, Format::Po);
        put(i, Format::Xliff);
    }
    EXPECT_EQ(run(pofilter + " -i " + temp_ / "po" + " -o " + temp_ / "filtered", log_), 0) << temp_.get("tool.log");
    ASSERT_EQ(run(xliff2po + " -i " + temp_ / "xliff" + " -o " + temp_ / "converted", log_), 0) << temp_.get("tool.log");
    for (size_t i = 0; i < docs_.size(); ++i) {
        // Approved translations stay translations (not fuzzy) in its PO.
        const ReadResult converted = readBack(temp_ / "converted/" + docs_[i].name + ".po");
        ASSERT_TRUE(converted) << docs_[i].name << ": " << converted.error;
        expectReadStrictly(temp_ / "converted/" + docs_[i].name + ".po");
        EXPECT_EQ(pairsOf(converted.file), pairsOf(file(i))) << docs_[i].name;
    }
}

TEST_F(Documents, FilesWrittenByTheToolsImportBack)
{
    REQUIRE_TOOL(podebug, "podebug", "translate-toolkit");
    const Doc& d = docs_[0];  // the translated demo file
    // Every row rewritten (podebug takes the source where there is no
    // translation); its XLIFF leaves those rows "to translate", as drafts.
    for (const Format format : {Format::Po, Format::Xliff}) {
        const std::string in = put(0, format);
        if (format == Format::Xliff) expectReadUnitByUnit(in);
        ASSERT_EQ(run(podebug + " --rewrite=xxx -i " + in + " -o " + in + ".xxx", log_), 0) << temp_.get("tool.log");
        const ReadResult r = readBack(in + ".xxx");
        ASSERT_TRUE(r) << r.error;
        const ImportReport report = matchImport(d.rows, r.file, {false, true});
        std::vector<Edit> expected;
        for (const Row& row : d.rows)
            expected.push_back({row.row, "xxx" + std::string(row.dest.empty() ? row.base : row.dest) + "xxx"});
        EXPECT_EQ(report.edits, expected) << formatName(format);
        EXPECT_TRUE(report.problems.empty()) << formatName(format);
    }
    // Letters turned into look-alikes the code page does not have: reported
    // per row and character, nothing applied.
    const std::string po = put(0, Format::Po);
    ASSERT_EQ(run(podebug + " --rewrite=unicode -i " + po + " -o " + po + ".u", log_), 0) << temp_.get("tool.log");
    const ImportReport unicode = matchImport(d.rows, readBack(po + ".u").file, {});
    EXPECT_TRUE(unicode.edits.empty());
    ASSERT_FALSE(unicode.problems.empty());
    for (const Problem& p : unicode.problems) {
        EXPECT_EQ(p.code, Problem::Code::UnheldCharacter) << describe(p);
        EXPECT_EQ(cp1250::fromUnicode(static_cast<char16_t>(p.character)), -1) << describe(p);
    }
}

TEST_F(Documents, QtsOwnXliffAndPoImportUnchanged)
{
    REQUIRE_TOOL(lconvert, "lconvert", "qt6-l10n-tools");
    const Doc& d = docs_[0];
    for (const Format format : {Format::Xliff, Format::Po}) {
        const std::string in = put(0, format);
        const std::string out = in + (format == Format::Xliff ? ".qt.xlf" : ".qt.po");
        ASSERT_EQ(run(lconvert + " -i " + in + " -o " + out, log_), 0) << temp_.get("tool.log");
        if (format == Format::Xliff) expectReadUnitByUnit(out);
        else expectReadStrictly(out);
        const ReadResult r = readBack(out);
        ASSERT_TRUE(r) << r.error;
        const ImportReport report = matchImport(d.rows, r.file, {});
        EXPECT_TRUE(report.edits.empty()) << formatName(format);
        EXPECT_TRUE(report.problems.empty()) << formatName(format);
        const auto translated = std::count_if(d.rows.begin(), d.rows.end(), [](const Row& x) { return !x.dest.empty(); });
        EXPECT_EQ(report.unchanged, translated) << formatName(format);
        EXPECT_EQ(report.untranslated, static_cast<int>(d.rows.size()) - translated) << formatName(format);
    }
}

// po2xliff drops msgctxt and numbers its units from 2: with row numbers as
// ids (C string arrays) those numbers name other rows, whose base text then
// differs, so nothing lands in a wrong row.
TEST_F(Documents, Po2xliffNumbersApplyToNoWrongRow)
{
    REQUIRE_TOOL(po2xliff, "po2xliff", "translate-toolkit");
    Doc& d = docs_[0];
    std::vector<std::string> numbers;
    for (const Row& row : d.rows) numbers.push_back(std::to_string(row.row));
    for (size_t k = 0; k < d.rows.size(); ++k) d.rows[k].id = numbers[k];
    const std::string po = put(0, Format::Po);
    ASSERT_EQ(run(po2xliff + " -i " + po + " -o " + po + ".xlf", log_), 0) << temp_.get("tool.log");
    expectReadUnitByUnit(po + ".xlf");
    const ReadResult r = readBack(po + ".xlf");
    ASSERT_TRUE(r) << r.error;
    const ImportReport report = matchImport(d.rows, r.file, {});
    EXPECT_TRUE(report.edits.empty());
    EXPECT_FALSE(report.problems.empty());
}

}  // namespace
}  // namespace tov::exchange
