// The translator's way through the rows: Edit > Undo and Redo, the next and
// previous row that needs work, the filter that shows only those rows, the
// status bar that counts them, the length columns that grow with their
// numbers and the file-name panels above the table.
#include <QFontMetrics>

#include "formats/source_kind.h"
#include "support/convert.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit3.h"

namespace tov {

namespace {

// The first row an edit on the stack changes, by the stack's position.
int editedRow(const QUndoStack& stack, int position)
{
    const auto* edit = dynamic_cast<const DocumentEdit*>(stack.command(position));
    return edit ? edit->firstRow() : -1;
}

}  // namespace

void TForm1::Undo1Click()
{
    if (!undoStack_.canUndo()) return;
    const int index = editedRow(undoStack_, undoStack_.index() - 1);
    undoStack_.undo();
    GoToEntry(index);
}

void TForm1::Redo1Click()
{
    if (!undoStack_.canRedo()) return;
    const int index = editedRow(undoStack_, undoStack_.index());
    undoStack_.redo();
    GoToEntry(index);
}

int TForm1::currentEntry() const
{
    return view_.indexAt(SG1->row());
}

void TForm1::GoToEntry(int index)
{
    if (index < 0 || index >= document_.size()) return;
    view_.reveal(index);
    SG1->sync();
    const int row = view_.rowOf(index);
    if (row < 1) return;
    // The destination text is what is worked on; its editor opens.
    SG1->setCurrentCell(tcol::kDest, row);
    SG1->scrollTo(SG1->model()->index(SG1->toModelRow(row), SG1->toModelCol(tcol::kDest)));
}

bool TForm1::GoToRow(const RowTest& test, bool forward, const QString& what)
{
    const RowFound found = findRow(document_, currentEntry(), forward, test);
    if (found.index < 0) {
        StatusBar1->showNote(QStringLiteral("No %1").arg(what));
        return false;
    }
    GoToEntry(found.index);
    if (found.wrapped)
        StatusBar1->showNote(forward ? QStringLiteral("Went on from the first row: next %1").arg(what)
                                     : QStringLiteral("Went on from the last row: previous %1").arg(what));
    return true;
}

void TForm1::Nexttodo1Click()
{
    GoToRow([this](int i) { return needsWork(document_, i); }, true, QStringLiteral("row that needs work"));
}

void TForm1::Prevtodo1Click()
{
    GoToRow([this](int i) { return needsWork(document_, i); }, false, QStringLiteral("row that needs work"));
}

void TForm1::Showtodo1Click()
{
    applyFilter();
}

void TForm1::applyFilter()
{
    filterStale_ = false;
    const int current = currentEntry();
    const int col = SG1->col();
    if (Showtodo1->isChecked())
        view_.setFilter(rowsWhere(document_, [this](int i) { return needsWork(document_, i); }));
    else if (view_.filtered())
        view_.setFilter(std::nullopt);
    else
        return;
    SG1->sync();
    // The current row stays current where it is shown; otherwise the next
    // row shown below it.
    int row = view_.rowOf(current);
    if (row < 1) {
        row = 1;
        for (int r = 1; r < SG1->rowCount(); ++r)
            if (view_.indexAt(r) > current) {
                row = r;
                break;
            }
    }
    SG1->setCurrentCell(col == tcol::kBaseLen || col == tcol::kBase ? col : tcol::kDest, row);
    StatusBar1->setExtraCount(QStringLiteral("Shown"), view_.filtered() ? view_.shownCount() : -1);
}

void TForm1::documentChanged()
{
    if (!afterChange_.isActive()) afterChange_.start();
}

void TForm1::fitLengthColumns()
{
    if (!format().traits().lengthColumns) return;
    std::size_t base = 0, dest = 0;
    for (const Entry& e : document_.entries()) {
        base = std::max(base, e.base.size());
        dest = std::max(dest, e.dest.size());
    }
    // The number as painted (two pixels in from the left) and a little room.
    const QFontMetrics metrics(numberFont.font());
    auto fit = [&](int col, std::size_t length) {
        const int width = std::max(30, metrics.horizontalAdvance(QString::fromStdString(lengthText(length))) + 6);
        if (SG1->colWidth(col) == width) return false;
        SG1->setColWidth(col, width);
        return true;
    };
    const bool base_changed = fit(tcol::kBaseLen, base);
    if (fit(tcol::kDestLen, dest) || base_changed) FormResize();
}

void TForm1::showFilePanels()
{
    const FormatTraits& traits = format().traits();
    if (!traits.languagePickers) {
        Panel4->setText(nameOnly(baseFile));
        Panel3->setText(nameOnly(destFile));
        return;
    }
    // One file holds both languages: it is named over both columns, with the
    // language each shows.
    const QString file = nameOnly(baseFile);
    auto named = [&](const std::string& language) {
        if (file.isEmpty()) return QString();
        return language.empty() ? file : file + QStringLiteral(" (") + decodeBytes(language) + QStringLiteral(")");
    };
    Panel4->setText(named(document_.baseLanguageName));
    Panel3->setText(named(document_.destLanguageName));
}

void TForm1::Replace1Click()
{
    if (form3_) form3_->showReplace();
}

}  // namespace tov
