// Spell checking in the window with the installed Polish dictionary
// (hunspell-pl), on a table of 65,535 Polish destination texts: one paint of
// the visible rows with spelling off and on (their texts checked before),
// the first paint of rows never checked, and the pass over the whole table
// that counts the misspelled rows, with the longest turn it keeps the event
// loop from the window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <memory>

#include "bench/polish_texts.h"
#include "formats/source_kind.h"
#include "tests/support/temp_folder.h"
#include "tests/workspace/scripted_prompts.h"
#include "workspace/spelling.h"
#include "workspace/unit1.h"

namespace {

using namespace tov;

constexpr int kRows = 65535;

// The main window over the Polish texts, spelling with pl_PL, built for one
// benchmark (they run a fixed number of times, so it is built once).
struct SpellingWindow {
    tov::testing::TempFolder dir;
    tov::test::ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;

    explicit SpellingWindow(benchmark::State& state)
    {
        form = std::make_unique<TForm1>(dir.path(), dir.path() + "bench.ini", prompts);
        form->resize(1000, 1120);
        form->show();
        std::vector<Entry> entries;
        int r = 0;
        for (std::string& text : tov::bench::polishRows(kRows, 0)) {
            Entry e;
            e.id = "IDS_" + std::to_string(++r);
            e.base = "Base text of row " + std::to_string(r) + " with room for its translation";
            e.rule = LengthRule::AtMost;
            e.stored = text;
            e.dest = std::move(text);
            entries.push_back(std::move(e));
        }
        form->showRows(kKonfix, std::move(entries));
        form->spelling().chooseDictionary("pl_PL");
        form->spelling().waitForDictionary();
        if (!form->spelling().checker()) state.SkipWithError("no Polish dictionary installed (hunspell-pl)");
        form->spelling().finishPass();
        form->SG1->sync();
        form->SG1->setTopRow(30000);
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    spell::SpellChecker& checker() { return *form->spelling().checker(); }
};

// One paint of the visible rows, spelling off (0) and on (1).
void BM_PaintWithSpelling(benchmark::State& state)
{
    SpellingWindow w(state);
    if (!w.form->spelling().checker()) return;
    w.form->spelling().setEnabled(state.range(0) != 0);
    QWidget* viewport = w.form->SG1->viewport();
    QPixmap pixmap(viewport->size());
    viewport->render(&pixmap);
    for (auto _ : state) viewport->render(&pixmap);
    state.counters["rows"] = w.form->SG1->visibleRowCount();
}
BENCHMARK(BM_PaintWithSpelling)->Arg(0)->Arg(1)->Iterations(300)->Unit(benchmark::kMillisecond);

// The first paint of rows whose texts and words are not known yet.
void BM_PaintWithSpellingFirstSight(benchmark::State& state)
{
    SpellingWindow w(state);
    if (!w.form->spelling().checker()) return;
    QWidget* viewport = w.form->SG1->viewport();
    QPixmap pixmap(viewport->size());
    for (auto _ : state) {
        state.PauseTiming();
        w.checker().clearCache();
        state.ResumeTiming();
        viewport->render(&pixmap);
    }
}
BENCHMARK(BM_PaintWithSpellingFirstSight)->Iterations(100)->Unit(benchmark::kMillisecond);

// The pass over 65,535 rows from nothing known, on the event loop as the
// window runs it; "longest_turn_ms" is the longest time the window waited.
void BM_SpellingPass65535(benchmark::State& state)
{
    SpellingWindow w(state);
    if (!w.form->spelling().checker()) return;
    Spelling& s = w.form->spelling();
    double longest = 0;
    int turns = 0;
    for (auto _ : state) {
        state.PauseTiming();
        w.checker().clearCache();
        s.chooseDictionary("pl_PL");  // starts the pass again
        state.ResumeTiming();
        QElapsedTimer clock;
        while (!s.passDone()) {
            clock.start();
            QApplication::processEvents();
            longest = std::max(longest, clock.nsecsElapsed() / 1e6);
            ++turns;
        }
    }
    state.counters["rows"] = kRows;
    state.counters["misspelled"] = s.misspelledRows();
    state.counters["longest_turn_ms"] = longest;
    state.counters["turns"] = benchmark::Counter(turns, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SpellingPass65535)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
