// Opening a resource-string base of 65,535 strings through the "Konfix"
// command, the file chosen in the (scripted) dialog, up to the refreshed
// translation table.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <memory>

#include "formats/source_kind.h"
#include "support/atomic_file.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace {

std::string generatedBase()
{
    std::string b = "/* bench */\r\nSTRINGTABLE\r\nBEGIN\r\n";
    for (int i = 1; i <= 65535; ++i)
        b += "\tKfxUnit" + std::to_string(i % 97) + "_RsString" + std::to_string(i) + ",\t\"Base text number " +
             std::to_string(i) + " with a \\\"quoted\\\" word\"\r\n";
    return b + "END\r\n";
}

void BM_OpenDrcBase65535(benchmark::State& state)
{
    tov::testing::TempFolder dir;
    const std::string folder = dir.path();
    QDir().mkpath(tov::pathToQString(dir.path() + "base"));
    const std::string base = folder + "base/Konfix_en.drc";
    if (!tov::writeFileAtomic(base, generatedBase())) {
        state.SkipWithError("cannot write the base file");
        return;
    }
    tov::test::ScriptedPrompts prompts;
    // Every round opens into freshly built windows, as at the first open.
    std::unique_ptr<tov::TForm1> form1;
    std::unique_ptr<tov::TForm2> form2;
    auto build = [&] {
        form2.reset();
        form1.reset();
        form1 = std::make_unique<tov::TForm1>(folder, folder + "tovrana.ini", prompts);
        form2 = std::make_unique<tov::TForm2>(*form1);
        form1->show();
        QApplication::processEvents();
    };
    build();
    for (auto _ : state) {
        prompts.choose(tov::pathToQString(base));
        form1->Konfix1Click();
        form1->SG1->sync();  // the view learns the new row count
        state.PauseTiming();
        if (form1->SG1->rowCount() != 65536 || form1->sourceKind != tov::kKonfix)
            state.SkipWithError("the base was not opened");
        prompts.requests.clear();
        build();
        state.ResumeTiming();
    }
    form2.reset();
    form1.reset();
    state.counters["rows"] = 65535;
}
BENCHMARK(BM_OpenDrcBase65535)->Unit(benchmark::kMillisecond);

}  // namespace
