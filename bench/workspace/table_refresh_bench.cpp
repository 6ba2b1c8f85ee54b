// The document of a full resource-string table shown in the window: 65,535
// rows built from the working table as the reader leaves it (identifiers,
// base texts, stored destination texts), counted and shown by the view.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "formats/source_kind.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace {

void BM_TableRefresh65535(benchmark::State& state)
{
    tov::testing::TempFolder dir;
    tov::test::ScriptedPrompts prompts;
    const std::string folder = dir.path();
    tov::TForm1 form1(folder, folder + "tovrana.ini", prompts);
    tov::TForm2 form2(form1);
    form1.show();
    QApplication::processEvents();

    tov::TextGrid w(11, 65536);
    for (int r = 1; r < 65536; ++r) {
        w.setCell(0, r, "SResourceIdentifier" + std::to_string(r));
        w.setCell(1, r, "Base text of the resource string number " + std::to_string(r));
        w.setCell(2, r, "Tekst docelowy numer " + std::to_string(r));
    }
    for (auto _ : state) {
        std::vector<tov::Entry> rows(65535);
        for (int r = 1; r < 65536; ++r) {
            tov::Entry& e = rows[static_cast<std::size_t>(r - 1)];
            e.id = w.cell(0, r);
            e.base = w.cell(1, r);
            e.stored = w.cell(2, r);
            e.dest = e.stored;
            e.rule = tov::LengthRule::AtMost;
        }
        form1.showRows(tov::kKonfix, std::move(rows));
        form1.SG1->sync();  // the view learns the new row count
        state.PauseTiming();
        // Start every round from an empty table, as after opening a new base.
        form1.showRows(tov::kKonfix, {});
        form1.SG1->sync();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["rows"] = 65535;
}
BENCHMARK(BM_TableRefresh65535)->Unit(benchmark::kMillisecond);

}  // namespace
