// The firmware commands through the main window on the largest set the
// program holds (4 files, 65,535 lines in all, every second line a text):
// opening base and destination up to the filled, refreshed table, and
// "Save destination" with its read-back.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>

#include "formats/source_kind.h"
#include "support/atomic_file.h"
#include "support/text_file.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/codepage.h"
#include "workspace/spelling.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace {

constexpr int kFiles = 4;
constexpr int kLines = 65535;

void writeSet(const std::string& folder, const char* lang)
{
    const std::string dir = folder + "ORVANTA/" + lang + "/";
    QDir().mkpath(tov::pathToQString(dir));
    int line = 0;
    for (int f = 0; f < kFiles; ++f) {
        const int count = kLines / kFiles + (f < kLines % kFiles ? 1 : 0);
        std::string data;
        for (int i = 0; i < count; ++i, ++line) {
            if (line % 2 == 0)
                tov::appendCrLfLine(data, "TXT_" + std::to_string(line) + "   DB  '" + lang + " text " +
                                              std::to_string(line) + ", it''s long    ',0  ; row");
            else
                tov::appendCrLfLine(data, "            DB  13,10,0");
        }
        if (!tov::writeFileAtomic(dir + "PART" + std::to_string(f) + "." + lang, data)) std::abort();
    }
}

struct Window {
    tov::testing::TempFolder dir;
    std::string folder = dir.path();
    tov::test::ScriptedPrompts prompts;
    tov::TForm1 form1{folder, folder + "tovrana.ini", prompts};
    tov::TForm2 form2{form1};

    Window()
    {
        writeSet(folder, "ENG");
        writeSet(folder, "POL");
        QDir().mkpath(tov::pathToQString(folder + "ORVANTA/OUT"));
        form1.show();
        QApplication::processEvents();
        form1.sourceKind = form1.prevSourceKind = tov::kOrvanta;
    }
    void open()
    {
        form1.OpenSRC_Orvanta(folder + "ORVANTA/ENG/PART0.ENG");
        form1.OpenDEST_Orvanta("", folder + "ORVANTA/POL/PART0.POL");
        form1.TableRefresh();
        form1.SG1->sync();
    }
};

void BM_FirmwareCommandsOpen(benchmark::State& state)
{
    Window w;
    for (auto _ : state) {
        w.open();
        state.PauseTiming();
        QApplication::processEvents();
        // The dictionary of the set's language loads on a worker thread.
        w.form1.spelling().waitForDictionary();
        state.ResumeTiming();
    }
    if (w.form1.SG1->cell(tov::tcol::kDest, 1).empty()) state.SkipWithError("nothing opened");
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_FirmwareCommandsOpen)->Unit(benchmark::kMillisecond);

void BM_FirmwareCommandsSaveAndReadBack(benchmark::State& state)
{
    Window w;
    w.open();
    for (auto _ : state) {
        state.PauseTiming();
        w.prompts.choose(tov::pathToQString(w.folder + "ORVANTA/OUT/PART0.CZE"));
        state.ResumeTiming();
        w.form1.Savedest1Click();
        w.form1.SG1->sync();
    }
    if (!w.prompts.messages().empty() || w.prompts.terminated) state.SkipWithError("the save failed");
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_FirmwareCommandsSaveAndReadBack)->Unit(benchmark::kMillisecond);

}  // namespace
