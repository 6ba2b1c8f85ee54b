// On 65,535 rows: a search that finds nothing (every row tried), the export
// to a text file, and the whole start of the program on a resource-string
// base and destination of that size, from building the windows to the shown
// main window with the table at its stored row.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <memory>

#include "formats/source_kind.h"
#include "support/atomic_file.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/codepage.h"
#include "workspace/spelling.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"
#include "workspace/unit3.h"

namespace {

using namespace tov;

constexpr int kRows = 65535;

// The three windows as the program builds them.
struct Windows {
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    TForm3* form3 = nullptr;

    Windows(const std::string& folder, test::ScriptedPrompts& prompts)
    {
        form1 = std::make_unique<TForm1>(folder, folder + "tovrana.ini", prompts);
        form2 = std::make_unique<TForm2>(*form1);
        form3 = new TForm3(*form1);
        form1->show();
        QApplication::processEvents();
    }
    ~Windows()
    {
        form2.reset();
        form1.reset();
    }
};

// A translation table of 65,535 rows of texts with Polish letters.
void fillTable(TForm1& form1)
{
    std::vector<Entry> rows(kRows);
    for (int r = 1; r <= kRows; ++r) {
        const std::string n = std::to_string(r);
        Entry& e = rows[static_cast<std::size_t>(r - 1)];
        e.rule = LengthRule::AtMost;
        e.base = "Base text number " + n + " of the configuration";
        e.dest = "Tekst \xBF\xF3\xB3ty numer " + n + " konfiguracji";
    }
    form1.showRows(kKonfix, std::move(rows));
    form1.SG1->sync();
    form1.SG1->setCurrentCell(tcol::kBase, kRows / 2);
}

// range(0): 1 searches the destination column; range(1): 1 case sensitive.
void BM_FindNothing65535(benchmark::State& state)
{
    tov::testing::TempFolder dir;
    test::ScriptedPrompts prompts;
    Windows w(dir.path(), prompts);
    fillTable(*w.form1);
    (state.range(0) ? w.form3->RadioButton2 : w.form3->RadioButton1)->setChecked(true);
    w.form3->CheckBox1->setChecked(state.range(1) != 0);
    w.form3->ComboBox1->setEditText(QStringLiteral("ż not in any row"));
    const int row = w.form1->SG1->row();
    for (auto _ : state) w.form3->BitBtn1Click();
    if (w.form1->SG1->row() != row) state.SkipWithError("the search moved");
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_FindNothing65535)->Args({0, 0})->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

void BM_Export65535(benchmark::State& state)
{
    tov::testing::TempFolder dir;
    const std::string folder = dir.path();
    test::ScriptedPrompts prompts;
    Windows w(folder, prompts);
    fillTable(*w.form1);
    for (auto _ : state) {
        prompts.choose(pathToQString(folder + "export.txt"));
        w.form1->Exporttotextfile1Click();
    }
    if (!prompts.messages().empty()) state.SkipWithError("the export failed");
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_Export65535)->Unit(benchmark::kMillisecond);

// range(0) ("spelling"): 1 with spelling on, as at a first start; the
// dictionary then loads on a worker thread from the first turn of the event
// loop on, and what it takes while the window is still being shown counts
// (the process's CPU time); 0 with spelling off: the restore alone.
void BM_StartupRestore65535(benchmark::State& state)
{
    tov::testing::TempFolder dir;
    const std::string folder = dir.path();
    QDir().mkpath(tov::pathToQString(dir.path() + "base"));
    QDir().mkpath(tov::pathToQString(dir.path() + "dest"));
    std::string base = "STRINGTABLE\r\nBEGIN\r\n";
    std::string dest = base;
    for (int i = 1; i <= kRows; ++i) {
        const std::string id = "\tKfxUnit" + std::to_string(i % 97) + "_RsString" + std::to_string(i) + ",\t\"";
        base += id + "Base text number " + std::to_string(i) + " with a \\\"quoted\\\" word\"\r\n";
        dest += id + "Tekst numer " + std::to_string(i) + " ze s\xB3owem \\\"w cudzys\xB3owie\\\"\"\r\n";
    }
    base += "END\r\n";
    dest += "END\r\n";
    const std::string ini =
        "[files]\r\nfm=1\r\nbfile=./base/Konfix_en.drc\r\ndfile=./dest/Konfix_pl.drc\r\ncc=40000\r\ntr=39990\r\n"
        "[spelling]\r\ncheck=" +
        std::to_string(state.range(0)) + "\r\n";
    if (!writeFileAtomic(folder + "base/Konfix_en.drc", base) || !writeFileAtomic(folder + "dest/Konfix_pl.drc", dest) ||
        !writeFileAtomic(folder + "tovrana.ini", ini)) {
        state.SkipWithError("cannot write the files");
        return;
    }
    test::ScriptedPrompts prompts;
    for (auto _ : state) {
        auto w = std::make_unique<Windows>(folder, prompts);
        state.PauseTiming();
        const StringGrid& g = *w->form1->SG1;
        if (g.rowCount() != kRows + 1 || g.row() != 40000 || g.cell(tcol::kDest, kRows).empty() ||
            !prompts.requests.empty())
            state.SkipWithError("the files were not restored");
        // The rest of the dictionary's load is left out (measured on its own
        // by the spelling benchmarks).
        w->form1->spelling().waitForDictionary();
        w.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = kRows;
}
BENCHMARK(BM_StartupRestore65535)->ArgName("spelling")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
