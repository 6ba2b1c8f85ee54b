// The menu INI commands of the main window on a file of four languages with
// 1,503 text keys each: opening (both pickers filled, both columns loaded)
// and the save (backup, one read, one write, the file read again).
#include <benchmark/benchmark.h>

#include <QApplication>

#include "formats/menu_ini/menu_ini.h"
#include "formats/source_kind.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace {

std::string menuFile()
{
    std::string out = "[LANGUAGES]\r\ncount=4\r\n";
    for (const char* lang : {"English", "Polski", "Deutsch", "Czech"}) {
        out += std::string("[") + lang + "]\r\n";
        for (const auto& k : tov::menu_ini::textKeys()) out += k + "=Menu text " + k + " in " + lang + "\r\n";
    }
    return out;
}

struct Window {
    tov::testing::TempFolder dir;
    tov::test::ScriptedPrompts prompts;
    std::string folder = dir.path();
    tov::TForm1 form1{folder, folder + "tovrana.ini", prompts};
    tov::TForm2 form2{form1};
    Window()
    {
        tov::writeFileAtomic(folder + "menu.ini", menuFile());
        tov::Settings(folder + "tovrana.ini").setFile("l1", "0");
        tov::Settings(folder + "tovrana.ini").setFile("l2", "1");
        form1.show();
        QApplication::processEvents();
        form1.sourceKind = tov::kMenuIni;
        form1.baseFile = folder + "menu.ini";
    }
};

void BM_LoadMenuIniWindow(benchmark::State& state)
{
    Window w;
    for (auto _ : state) {
        w.form1.ReadBaseFile(w.form1.baseFile);
        w.form1.SG1->sync();
    }
    if (w.form1.SG1->rowCount() != 1504) state.SkipWithError("not every row was loaded");
}
BENCHMARK(BM_LoadMenuIniWindow)->Unit(benchmark::kMillisecond);

void BM_SaveMenuIniWindow(benchmark::State& state)
{
    Window w;
    w.form1.ReadBaseFile(w.form1.baseFile);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.form1.pushEdit(tov::SetDestinations::one(w.form1.document(), 0, "edit " + std::to_string(++round)));
        state.ResumeTiming();
        w.form1.Savedest1Click();  // makes a dated backup, saves and reloads
        w.form1.SG1->sync();
    }
    if (!w.prompts.messages().empty()) state.SkipWithError("the save reported a failure");
}
BENCHMARK(BM_SaveMenuIniWindow)->Unit(benchmark::kMillisecond);

}  // namespace
