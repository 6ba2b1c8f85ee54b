// Painting and moving in a translation table of 65,535 rows: one full
// viewport (about 40 rows), Ctrl+End with the repaint that follows, and
// scrolling to any place of tables of different sizes (the cost must not grow
// with the row count); the next row that needs work, the filter, and typing
// with the status bar counting.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QScrollBar>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>

#include "formats/source_kind.h"
#include "tests/support/temp_folder.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"
#include "tests/workspace/headless.h"

namespace {

using namespace tov;

// Nothing is asked while the benchmarks run; every request is declined.
class SilentPrompts : public Prompts {
public:
    std::optional<QString> openFile(QWidget*, const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> saveFile(QWidget*, const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    MsgButton message(QWidget*, MsgIcon, const QString&, unsigned) override { return Cancel; }
    void terminate(int) override {}
};

// The three windows over a filled table, kept for the whole run.
struct Workspace {
    tov::testing::TempFolder dir;
    SilentPrompts prompts;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;

    Workspace(std::uint8_t kind, int rows)
    {
        const std::string folder = dir.path();
        form1 = std::make_unique<TForm1>(folder, folder + "bench.ini", prompts);
        form2 = std::make_unique<TForm2>(*form1);
        form1->resize(1000, 1120);
        form1->show();
        settle();
        const bool firmware = familyOf(kind) == FormatFamily::Firmware;
        std::vector<Entry> entries(static_cast<std::size_t>(rows - 1));
        for (int r = 1; r < rows; ++r) {
            // Every fifth destination differs from the stored one, every
            // seventh is empty, every eleventh is too long.
            // Numbers of five digits: tables of every size hold texts of the
            // same lengths.
            char number[12];
            std::snprintf(number, sizeof number, "%05d", r);
            Entry& e = entries[static_cast<std::size_t>(r - 1)];
            e.id = "IDS_" + std::to_string(r);
            e.base = std::string("Base text of row ") + number;
            std::string dest = r % 7 == 0 ? "" : std::string("Tekst docelowy ") + number;
            if (r % 11 == 0) dest += " and a longer tail";
            e.stored = r % 5 == 0 ? "other" : dest;
            e.rule = firmware ? fixedRuleFor(e.base) : LengthRule::AtMost;
            e.dest = fitToRule(e.rule, e.base, dest);
            if (firmware) e.line = static_cast<std::uint32_t>(r + r / 9);
        }
        form1->showRows(kind, std::move(entries));
        form1->SG1->sync();
        form1->SG1->setCurrentCell(tcol::kBaseLen, 1);
        settle();
        // One paint of every row first, so that what is measured is the
        // steady state (a profiler may skip it).
        if (!std::getenv("TOVRANA_BENCH_NO_WARMUP")) paintAll();
    }

    static void settle()
    {
        for (int i = 0; i < 3; ++i) QApplication::processEvents();
    }
    // The whole grid: cells, both headers and the scroll bars.
    void paint()
    {
        StringGrid* g = form1->SG1;
        if (pixmap.size() != g->size()) pixmap = QPixmap(g->size());
        g->render(&pixmap);
    }
    void paintAll()
    {
        StringGrid& g = *form1->SG1;
        for (int top = 1; top < g.rowCount(); top += g.visibleRowCount()) {
            g.setTopRow(top);
            paint();
        }
        settle();
        g.setTopRow(1);
    }

    QPixmap pixmap;
};

// Built on first use, ended before the application object.
std::map<std::pair<int, int>, std::unique_ptr<Workspace>> workspaces;

Workspace& workspace(std::uint8_t kind, int rows)
{
    auto& w = workspaces[{kind, rows}];
    if (!w) w = std::make_unique<Workspace>(kind, rows);
    // The keys go to the active window.
    w->form1->activateWindow();
    w->form1->SG1->setFocus();
    Workspace::settle();
    return *w;
}

// The cells of one screen (range 1 = 0), or the whole grid with its headers
// and scroll bars (range 1 = 1).
void BM_PaintViewport(benchmark::State& state)
{
    Workspace& w = workspace(static_cast<std::uint8_t>(state.range(0)), 65536);
    StringGrid& g = *w.form1->SG1;
    g.setTopRow(30000);
    QWidget* target = state.range(1) ? static_cast<QWidget*>(&g) : g.viewport();
    QPixmap pixmap(target->size());
    for (auto _ : state) target->render(&pixmap);
    state.counters["rows"] = g.visibleRowCount();
    state.counters["columns"] = g.horizontalHeader()->visualIndexAt(g.viewport()->width() - 1) + 2;
}
BENCHMARK(BM_PaintViewport)
    ->Args({kKonfix, 0})
    ->Args({kOrvanta, 0})
    ->Args({kKonfix, 1})
    ->Args({kOrvanta, 1})
    ->Unit(benchmark::kMillisecond);

void BM_CtrlEndAndRepaint(benchmark::State& state)
{
    Workspace& w = workspace(static_cast<std::uint8_t>(state.range(0)), 65536);
    StringGrid& g = *w.form1->SG1;
    const int col = static_cast<int>(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        g.setCurrentCell(col, 1);
        g.setFocus();
        Workspace::settle();
        QWidget* target = g.isEditorOpen() ? static_cast<QWidget*>(g.editor()) : &g;
        state.ResumeTiming();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
        QApplication::sendEvent(target, &press);
        w.paint();
    }
    if (g.row() != g.rowCount() - 1 || g.col() != col) state.SkipWithError("Ctrl+End did not reach the last row");
}
BENCHMARK(BM_CtrlEndAndRepaint)
    ->Args({kKonfix, tcol::kBase})
    ->Args({kKonfix, tcol::kDest})
    ->Args({kOrvanta, tcol::kDest})
    ->Unit(benchmark::kMillisecond);

void BM_ScrollAndRepaint(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    Workspace& w = workspace(kOrvanta, rows);
    StringGrid& g = *w.form1->SG1;
    int top = 1;
    for (auto _ : state) {
        top = (top * 7919 + 13) % (rows - g.visibleRowCount());
        g.setTopRow(std::max(1, top));
        w.paint();
    }
}
BENCHMARK(BM_ScrollAndRepaint)->Arg(1000)->Arg(65536)->Unit(benchmark::kMillisecond);

// F8 and Shift+F8 with the repaint that follows: every seventh row is
// missing, every fifth changed, so most steps are short; range 0 = 1 starts
// each step from the last row (the search goes round the end).
void BM_NextRowThatNeedsWork(benchmark::State& state)
{
    Workspace& w = workspace(kKonfix, 65536);
    StringGrid& g = *w.form1->SG1;
    for (auto _ : state) {
        if (state.range(0)) {
            state.PauseTiming();
            g.setCurrentCell(tcol::kBase, g.rowCount() - 1);
            state.ResumeTiming();
        }
        w.form1->Nexttodo1->trigger();
        w.paint();
    }
}
BENCHMARK(BM_NextRowThatNeedsWork)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// "Show only rows that need work" on and off again, each with its repaint.
void BM_FilterRowsThatNeedWork(benchmark::State& state)
{
    Workspace& w = workspace(kKonfix, 65536);
    QAction* filter = w.form1->Showtodo1;
    for (auto _ : state) {
        filter->trigger();
        w.paint();
        state.PauseTiming();
        const int shown = w.form1->SG1->rowCount();
        filter->trigger();
        Workspace::settle();
        state.ResumeTiming();
        state.counters["shown"] = shown - 1;
    }
}
BENCHMARK(BM_FilterRowsThatNeedWork)->Unit(benchmark::kMillisecond);

// One character typed into a destination cell, with everything it sets off
// (the edit on the undo stack, the status bar's figures, the length
// columns) and the repaint of the grid and the status bar.
void BM_TypeOneCharacter(benchmark::State& state)
{
    Workspace& w = workspace(kKonfix, 65536);
    StringGrid& g = *w.form1->SG1;
    g.setCurrentCell(tcol::kDest, 30000);
    Workspace::settle();
    if (!g.isEditorOpen()) g.showEditor();
    if (!g.isEditorOpen()) state.SkipWithError("no editor");
    QLineEdit* editor = g.editor();
    int i = 0;
    const bool paintOnly = state.range(0) == 1;
    QPixmap status(w.form1->StatusBar1->size());
    for (auto _ : state) {
        const QString ch(QChar('a' + (i++ % 26)));
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, ch);
        if (paintOnly) state.PauseTiming();
        QApplication::sendEvent(editor, &press);
        Workspace::settle();
        if (paintOnly) state.ResumeTiming();
        // What a keystroke changes on the screen: the grid and the status bar.
        w.paint();
        w.form1->StatusBar1->render(&status);
        if (editor->text().size() > 20) {
            state.PauseTiming();
            w.form1->Undo1->trigger();
            Workspace::settle();
            if (!g.isEditorOpen()) g.showEditor();
            editor = g.editor();
            state.ResumeTiming();
        }
    }
    state.counters["statusbar"] = w.form1->StatusBar1->isVisible();
}
// Range 0 = 0: the key, what it sets off and the paint; 1: the paint alone.
BENCHMARK(BM_TypeOneCharacter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // The main of every window benchmark is here.
    std::unique_ptr<QTemporaryDir> config(tov::test::prepareHeadless());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    workspaces.clear();
    return 0;
}
