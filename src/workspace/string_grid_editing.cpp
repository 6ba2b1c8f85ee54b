// Editing in the string grid: when the editor opens and closes, what typing
// stores in the cells (and what the code page refuses), and the keys that
// belong to the grid while a cell is edited.
#include "workspace/string_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "workspace/codepage.h"

namespace tov {

void StringGrid::followCellInEditor()
{
    // Code that rewrites the edited cell (a copy, an undo, a text the source
    // refused) shows in the editor at once; the caret and selection stay
    // where the user left them, as far as the new text reaches. A cell that
    // still holds what the editor's own text made of it is left alone.
    if (!liveEditor() || editorCol_ < 0) return;
    if (editorEcho_ && source_->text(editorCol_, editorRow_) == *editorEcho_) return;
    editorEcho_.reset();
    const QString text = editText(editorCol_, editorRow_);
    if (liveEditor()->text() == text) return;
    const int pos = liveEditor()->cursorPosition();
    const int selStart = liveEditor()->selectionStart();
    const int selLength = static_cast<int>(liveEditor()->selectedText().size());
    liveEditor()->setText(text);
    const int n = static_cast<int>(text.size());
    if (selStart >= 0 && selLength > 0 && selStart < n) {
        const int end = std::min(n, selStart + selLength);
        // Keep the caret on the side of the selection it was on.
        if (pos <= selStart)
            liveEditor()->setSelection(end, selStart - end);
        else
            liveEditor()->setSelection(selStart, end - selStart);
    } else {
        liveEditor()->setCursorPosition(std::min(pos, n));
    }
}

void StringGrid::applyEditTriggers()
{
    EditTriggers t = NoEditTriggers;
    if (editing_) {
        t = AnyKeyPressed | EditKeyPressed | SelectedClicked | DoubleClicked;
        if (alwaysShowEditor_) t |= CurrentChanged;
    }
    setEditTriggers(t);
}

void StringGrid::setEditingOption(bool on)
{
    editing_ = on;
    applyEditTriggers();
}

void StringGrid::setAlwaysShowEditor(bool on)
{
    alwaysShowEditor_ = on;
    applyEditTriggers();
}

bool StringGrid::showEditor()
{
    if (!editing_ || liveEditor()) return liveEditor() != nullptr;
    const QModelIndex idx = currentIndex();
    if (!idx.isValid()) return false;
    QTableView::edit(idx);
    if (liveEditor()) liveEditor()->installEventFilter(this);
    return liveEditor() != nullptr;
}

void StringGrid::hideEditor()
{
    if (!liveEditor()) return;
    QLineEdit* ed = liveEditor();
    commitData(ed);
    closeEditor(ed, QAbstractItemDelegate::NoHint);
    editor_ = nullptr;
}

int StringGrid::editorRemainingLength() const
{
    if (!liveEditor()) return 0;
    return static_cast<int>(liveEditor()->text().size() - liveEditor()->selectedText().size());
}

void StringGrid::storeEditText(int c, int r, const QString& text)
{
    QString refused;
    std::string bytes = encodeText(text, refused);
    if (!refused.isEmpty()) {
        // The editor shows what the cell takes, the caret where it was less
        // the characters left out before it.
        QLineEdit* ed = liveEditor();
        if (ed && editorCol_ == c && editorRow_ == r && ed->text() == text) {
            QString before;
            const int caret = static_cast<int>(encodeText(text.left(ed->cursorPosition()), before).size());
            ed->setText(decodeBytes(bytes));
            ed->setCursorPosition(caret);
        }
        QApplication::beep();
        if (onRefusedText) onRefusedText(refused);
    }
    if (source_->editText(c, r) == bytes) return;
    if (!source_->setText(c, r, bytes)) {
        // The cell keeps its text: the editor shows it again.
        editorEcho_.reset();
        cellsChanged();
        return;
    }
    if (liveEditor() && c == editorCol_ && r == editorRow_) editorEcho_ = source_->text(c, r);
    if (onSetEditText) onSetEditText(c, r, bytes);
}

void StringGrid::editorCreated(QLineEdit* editor, int c, int r)
{
    editor_ = editor;
    editorGuard_ = editor;
    editorCol_ = c;
    editorRow_ = r;
    editorOriginal_ = source_->editText(c, r);
    editorEcho_.reset();
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    const bool opened = QTableView::edit(index, trigger, event);
    // Installed after the delegate's own filter, so the window sees every key
    // of the editor first.
    if (liveEditor()) {
        liveEditor()->removeEventFilter(this);
        liveEditor()->installEventFilter(this);
    }
    return opened;
}

bool StringGrid::editorKey(QKeyEvent* key)
{
    // The keys a spreadsheet gives the grid while a cell is edited. Every
    // other key edits the text.
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Rows are the grid's business, even while a cell is edited; the
        // editor opens again on the new row when the column always shows it.
        QTableView::keyPressEvent(key);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain) return false;
        // The text is in the cell already; Enter goes on to the row below.
        if (!setCurrentCell(col(), row() + 1) && !alwaysShowEditor_) hideEditor();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!plain) return false;
        moveAcross(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier) ? 1 : -1);
        return true;
    case Qt::Key_Escape: {
        if (key->modifiers() != Qt::NoModifier) return false;
        // Escape takes back what was typed since the editor opened.
        QLineEdit* ed = liveEditor();
        const QString original = decodeBytes(editorOriginal_);
        if (ed->text() != original) {
            ed->setText(original);
            storeEditText(editorCol_, editorRow_, original);
        }
        if (!alwaysShowEditor_)
            hideEditor();
        else if (liveEditor())
            liveEditor()->selectAll();
        return true;
    }
    default:
        return false;
    }
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == liveEditor()) editor_ = nullptr;
    QTableView::closeEditor(editor, hint);
}

}  // namespace tov
