// Keys and the mouse in the string grid: every move of the current cell
// passes the window's select hook, keys reach the window's hooks before the
// grid acts, also while the editor is open, and the hint shows as a tooltip.
#include "workspace/string_grid.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "workspace/codepage.h"

namespace tov {

void StringGrid::setHint(const QString& hint)
{
    hint_ = hint;
}

void StringGrid::setShowHint(bool on)
{
    showHint_ = on;
    if (!on) QToolTip::hideText();
}

void StringGrid::cancelHint()
{
    QToolTip::hideText();
}

void StringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    if (liveEditor() && previous.isValid() && current != previous) {
        // The editor belongs to the cell being left.
        QLineEdit* ed = liveEditor();
        commitData(ed);
        closeEditor(ed, QAbstractItemDelegate::NoHint);
        editor_ = nullptr;
    }
    QTableView::currentChanged(current, previous);
    if (current.isValid()) {
        curCol_ = toGridCol(current.column());
        curRow_ = toGridRow(current.row());
        if (liveEditor()) {
            liveEditor()->removeEventFilter(this);
            liveEditor()->installEventFilter(this);
        }
        if (onCurrentChanged) onCurrentChanged(curCol_, curRow_);
    }
}

QModelIndex StringGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (syncQueued_) sync();
    const int c = col(), r = row();
    int nc = c, nr = r;
    const bool ctrl = modifiers & Qt::ControlModifier;
    switch (action) {
    case MoveUp: nr = r - 1; break;
    case MoveDown: nr = r + 1; break;
    case MoveLeft:
    case MovePrevious: nc = c - 1; break;
    case MoveRight:
    case MoveNext: nc = c + 1; break;
    case MovePageUp: nr = r - visibleRowCount(); break;
    case MovePageDown: nr = r + visibleRowCount(); break;
    case MoveHome:
        if (ctrl) nr = fixedRows_;
        nc = fixedCols_;
        break;
    case MoveEnd:
        if (ctrl) nr = rowCount() - 1;
        nc = colCount() - 1;
        break;
    }
    nr = std::clamp(nr, fixedRows_, std::max(fixedRows_, rowCount() - 1));
    nc = std::clamp(nc, fixedCols_, std::max(fixedCols_, colCount() - 1));
    if (nc == c && nr == r) return currentIndex();
    if (onSelectCell && !inSelectHook_) {
        inSelectHook_ = true;
        const bool ok = onSelectCell(nc, nr);
        inSelectHook_ = false;
        if (!ok) return currentIndex();
    }
    return modelIndex(nc, nr);
}

void StringGrid::mousePressEvent(QMouseEvent* event)
{
    if (syncQueued_) sync();
    const QModelIndex idx = indexAt(event->position().toPoint());
    if (idx.isValid() && idx != currentIndex() && onSelectCell && !inSelectHook_) {
        inSelectHook_ = true;
        const bool ok = onSelectCell(toGridCol(idx.column()), toGridRow(idx.row()));
        inSelectHook_ = false;
        if (!ok) {
            event->accept();
            // Typing goes on in the open editor after a click on a cell that
            // cannot be selected.
            if (liveEditor())
                liveEditor()->setFocus(Qt::MouseFocusReason);
            else
                setFocus(Qt::MouseFocusReason);
            return;
        }
    }
    QTableView::mousePressEvent(event);
}

void StringGrid::mouseMoveEvent(QMouseEvent* event)
{
    if (onMouseMove) onMouseMove(event->position().toPoint() + viewport()->pos());
    // Moving with a button held would extend a selection; a single current
    // cell is all this grid shows.
    if (selectionMode() == SingleSelection) return;
    QTableView::mouseMoveEvent(event);
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (onDblClick) onDblClick();
    QTableView::mouseDoubleClickEvent(event);
}

bool StringGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (showHint_ && !hint_.isEmpty())
            QToolTip::showText(help->globalPos(), hint_, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(event);
}

bool StringGrid::handleKeyDown(QKeyEvent* event)
{
    if (!onKeyDown) return false;
    int key = event->key();
    onKeyDown(key, event->modifiers(), event->isAutoRepeat());
    return key == 0;
}

bool StringGrid::handleKeyPress(QKeyEvent* event)
{
    if (!onKeyPress) return false;
    const QString text = event->text();
    if (text.size() != 1) return false;
    QChar ch = text.at(0);
    onKeyPress(ch);
    return ch.isNull();
}

bool StringGrid::refusedKey(QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || text.at(0).unicode() < 32 || text.at(0).unicode() == 127) return false;
    QString refused;
    encodeText(text, refused);
    if (refused.isEmpty()) return false;
    QApplication::beep();
    if (onRefusedText) onRefusedText(refused);
    return true;
}

void StringGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    // While a cell is edited, typing belongs to its editor.
    if (liveEditor() && liveEditor()->isVisible()) liveEditor()->setFocus(event->reason());
}

void StringGrid::keyPressEvent(QKeyEvent* event)
{
    if (liveEditor() && liveEditor()->isVisible()) {
        // A key that reached the grid while its editor is open belongs to
        // the editor (which keeps every key it is given).
        liveEditor()->setFocus();
        QApplication::sendEvent(liveEditor(), event);
        event->accept();
        return;
    }
    if (syncQueued_) sync();
    if (handleKeyDown(event) || refusedKey(event)) {
        event->accept();
        return;
    }
    if (handleKeyPress(event)) {
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && editing_ && !liveEditor()) {
        showEditor();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            moveAcross(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier) ? 1 : -1);
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

bool StringGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cornerButton_ && event->type() == QEvent::Paint) {
        // The corner shows cell (0,0) like any other fixed cell.
        auto* button = static_cast<QWidget*>(watched);
        QPainter painter(button);
        drawFixedCell(painter, *button, button->rect(),
                      (fixedRows_ > 0 && fixedCols_ > 0) ? cellText(0, 0) : QString(), font());
        DrawState st;
        st.fixed = true;
        drawHook(&painter, 0, 0, button->rect(), st);
        return true;
    }
    if (watched == liveEditor() && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason &&
        QApplication::focusWidget() == this) {
        // A click inside the grid gives the grid the focus before the click
        // itself arrives; the editor stays open until the click has moved the
        // current cell (or not), and takes the focus back (focusInEvent).
        return true;
    }
    if (watched == liveEditor() && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKeyDown(key)) return true;
        if (refusedKey(key)) return true;
        if (editorKey(key)) return true;
        if (handleKeyPress(key)) return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool StringGrid::moveAcross(int step)
{
    // The next cell of the row that the select hook accepts; columns it
    // refuses are passed over.
    for (int c = col() + step; c >= fixedCols_ && c < colCount(); c += step)
        if (setCurrentCell(c, row())) return true;
    return false;
}

void StringGrid::keyboardSearch(const QString&)
{
    // Typing starts the editor (or nothing); it never jumps to a matching cell.
}

}  // namespace tov
