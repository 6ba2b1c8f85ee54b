// Every file of the real-file corpus through tovrana-cli: check and export
// open it, and every text read comes back after an import (a save) and a
// reopen; files outside the formats are refused with a reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/strutil.h"
#include "support/text_file.h"
#include "tests/cli/cli_run.h"

namespace tov::clitest {
namespace {

struct Case {
    std::string file;               // in the corpus
    std::vector<std::string> kind;  // --kind and the languages
    bool againstItself = false;     // firmware: the set is its own destination
    std::string refusal = {};       // the error of a file outside the formats
};

TEST(CliCorpus, EveryTextReadComesBackAfterASaveAndAReopen)
{
    const std::vector<std::string> drc = {"--kind", "drc"};
    std::vector<Case> cases;
    for (const char* sub : {"drc", "rc"})
        for (const auto& e : std::filesystem::directory_iterator(std::string(TOVRANA_CORPUS_DIR) + "/" + sub))
            cases.push_back({std::string(sub) + "/" + e.path().filename().string(), drc});
    const std::vector<Case> others = {
        {"firmware/msdos_v2/DOSMES.ASM", {"--kind", "orvanta"}, true},
        {"firmware/msdos_v4/EMS_US.MSG", {"--kind", "ql5"}, true},
        {"firmware/msdos_v4/KBMSG.INC", {"--kind", "ql10"}, false},
        {"firmware/msdos_v4/TREE.SKL", {"--kind", "telmo"}, true},
        {"ini/devcpp_Polish.lng", {"--kind", "menu-ini", "--base-lang", "lang", "--dest-lang", "Polski"}},
        {"ini/lesferch_DragOptions_Language.ini", {"--kind", "menu-ini", "--base-lang", "de", "--dest-lang", "pl"}},
        {"ini/pyscripter_PyScripter.iss", {"--kind", "menu-ini", "--base-lang", "Setup", "--dest-lang", "Tasks"}},
        {"ini/regshot_language.ini", {"--kind", "menu-ini", "--base-lang", "English", "--dest-lang", "Polski"}},
    };
    cases.insert(cases.end(), others.begin(), others.end());
    // Not string-array files in this program's sense.
    const std::string noDeclaration = "no declaration line (a line holding \"const char *\")";
    for (const auto& [file, why] : std::vector<std::pair<std::string, std::string>>{
             {"infoorbs_Translations.cpp", "line 83: the number of texts per language after \"][\" is missing or 0"},
             {"ironos_Translation.c", noDeclaration},
             {"ironos_Translation_2018.cpp", noDeclaration},
             {"openrtx_SpanishStrings.h", noDeclaration}})
        cases.push_back({"c_arrays/" + file, {"--kind", "c", "--base-lang", "EN", "--dest-lang", "DE"}, false, why});
    ASSERT_EQ(cases.size(), 23u);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        tov::testing::TempFolder dir;
        // The whole folder: a firmware file opens its set.
        const std::filesystem::path source = std::filesystem::path(TOVRANA_CORPUS_DIR) / c.file;
        for (const auto& e : std::filesystem::directory_iterator(source.parent_path()))
            std::filesystem::copy_file(e.path(), dir / e.path().filename().string());
        std::filesystem::create_directories(dir / "out");
        const std::string base = source.filename().string();
        const bool firmware = startsWith(c.file, "firmware/");
        const bool menu = startsWith(c.file, "ini/");
        auto args = [&](std::vector<std::string> head, std::vector<std::string> files) {
            head.insert(head.end(), c.kind.begin(), c.kind.end());
            head.insert(head.end(), files.begin(), files.end());
            return head;
        };
        std::vector<std::string> opened = {base};
        if (c.againstItself) opened.push_back(base);

        const Result checked = runCli(dir.path(), args({"check"}, opened));
        if (!c.refusal.empty()) {
            EXPECT_EQ(checked.status, 2);
            EXPECT_EQ(checked.err, "tovrana-cli: " + base + ": " + c.refusal + "\n");
            continue;
        }
        EXPECT_LE(checked.status, 1) << checked.err;
        const Result exported = runCli(dir.path(), args({"export"}, opened));
        ASSERT_EQ(exported.status, 0) << exported.err;

        // Every row's base text typed as its translation.
        std::vector<std::string> lines = splitTableLines(exported.out);
        for (std::string& line : lines) {
            const std::string text = line.substr(0, line.find('\t'));
            line = text + "\t" + text;
        }
        const std::string tsv = joinCrLf(lines);
        dir.put("t.tsv", tsv);
        std::vector<std::string> importFiles = {base, "t.tsv"};
        if (c.againstItself) importFiles.push_back(base);
        const std::string out = firmware ? "out/X.OUT" : menu ? base : "out/" + base;
        importFiles.insert(importFiles.end(), {"-o", out});
        const Result imported = runCli(dir.path(), args({"import"}, importFiles));
        ASSERT_EQ(imported.status, 0) << imported.err;

        const std::string written = firmware ? "out/" + base.substr(0, base.rfind('.')) + ".OUT" : out;
        const Result reopened = runCli(dir.path(), args({"export"}, menu ? std::vector<std::string>{base}
                                                                          : std::vector<std::string>{base, written}));
        ASSERT_EQ(reopened.status, 0) << reopened.err;
        // The resource-string destination reader takes a byte 0xA0 (a
        // no-break space) for a blank (lilypad_Ja.rc holds one).
        if (!firmware && !menu)
            for (std::string& line : lines) std::replace(line.begin() + line.find('\t'), line.end(), '\xA0', ' ');
        EXPECT_EQ(reopened.out, joinCrLf(lines));
    }
}

}  // namespace
}  // namespace tov::clitest
