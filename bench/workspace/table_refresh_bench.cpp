// Table refresh of a full resource-string table: 65,535 rows copied from the
// working table into the translation table, numbered and measured.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "formats/source_kind.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace {

void BM_TableRefresh65535(benchmark::State& state)
{
    QTemporaryDir dir;
    tov::test::ScriptedPrompts prompts;
    const std::string folder = tov::pathFromQString(dir.path()) + "/";
    tov::TForm1 form1(folder, folder + "tovrana.ini", prompts);
    tov::TForm2 form2(form1);
    form1.show();
    QApplication::processEvents();

    tov::TextGrid& w = form2.SG1->cells();
    w.setRowCount(65536);
    for (int r = 1; r < 65536; ++r) {
        w.setCell(0, r, "SResourceIdentifier" + std::to_string(r));
        w.setCell(1, r, "Base text of the resource string number " + std::to_string(r));
        w.setCell(2, r, "Tekst docelowy numer " + std::to_string(r));
    }
    form1.sourceKind = tov::kKonfix;
    for (auto _ : state) {
        form1.TableRefresh();
        form1.SG1->sync();  // the view learns the new row count
        state.PauseTiming();
        // Start every round from an empty table, as after opening a new base.
        form1.SG1->cells().setRowCount(1);
        for (int c : {0, 1, 2, 3, 4}) form1.SG1->cells().clearColumn(c);
        form1.SG1->sync();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = 65535;
}
BENCHMARK(BM_TableRefresh65535)->Unit(benchmark::kMillisecond);

}  // namespace
