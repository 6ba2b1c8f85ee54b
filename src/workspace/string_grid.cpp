#include "workspace/string_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QToolTip>

#include "support/strutil.h"
#include "workspace/codepage.h"

namespace tov {

// ---------------------------------------------------------------------------
// A TextGrid as a source

void TextGridSource::setGrid(TextGrid* grid)
{
    if (grid == grid_) return;
    grid_->setObserver({});
    grid_ = grid;
    grid_->setObserver(observer_);
    if (observer_) observer_();
}

bool TextGridSource::setText(int c, int r, const std::string& text)
{
    grid_->setCell(c, r, text);
    return true;
}

void TextGridSource::setObserver(std::function<void()> observer)
{
    observer_ = std::move(observer);
    grid_->setObserver(observer_);
}

// ---------------------------------------------------------------------------
// Grid

StringGrid::StringGrid(QWidget* parent) : QTableView(parent)
{
    model_ = new GridModel(this);
    delegate_ = new GridDelegate(this);
    hHeader_ = new GridHeader(Qt::Horizontal, this);
    vHeader_ = new GridHeader(Qt::Vertical, this);
    setHorizontalHeader(hHeader_);
    setVerticalHeader(vHeader_);
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setTabKeyNavigation(true);
    vHeader_->setSectionResizeMode(QHeaderView::Fixed);
    vHeader_->setDefaultSectionSize(rowHeight_);
    hHeader_->setSectionResizeMode(QHeaderView::Interactive);
    hHeader_->setDefaultSectionSize(defaultColWidth_);
    hHeader_->setFixedHeight(rowHeight_);
    vHeader_->setFixedWidth(fixedColWidth_);
    setMouseTracking(true);

    cornerButton_ = findChild<QAbstractButton*>();
    if (cornerButton_) cornerButton_->installEventFilter(this);
    setCornerButtonEnabled(false);

    source_->setObserver([this] { cellsChanged(); });
    applyHeaders();
    applyEditTriggers();

    focusConnection_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        const bool wasIn = old && (old == this || isAncestorOf(old));
        const bool isIn = now && (now == this || isAncestorOf(now));
        if (wasIn && !isIn && onExit) onExit();
        if (wasIn != isIn) viewport()->update();
    });
}

StringGrid::~StringGrid()
{
    // Focus moves while the widgets are torn down; nothing may reach the
    // windows' handlers any more.
    disconnect(focusConnection_);
    editor_ = nullptr;
    clearHooks();
    source_->setObserver({});
    gridSource_.setObserver({});
}

void StringGrid::viewGrid(TextGrid* grid)
{
    if (source_ != &gridSource_) {
        source_->setObserver({});
        source_ = &gridSource_;
    }
    gridSource_.setObserver({});
    gridSource_.setGrid(grid ? grid : &cells_);
    gridSource_.setObserver([this] { cellsChanged(); });
    cellsChanged();
}

void StringGrid::setSource(CellSource* source)
{
    if (!source) source = &gridSource_;
    if (source == source_) return;
    source_->setObserver({});
    source_ = source;
    source_->setObserver([this] { cellsChanged(); });
    cellsChanged();
}

void StringGrid::clearHooks()
{
    onSelectCell = nullptr;
    onDrawCell = nullptr;
    onSetEditText = nullptr;
    onKeyDown = nullptr;
    onKeyPress = nullptr;
    onExit = nullptr;
    onRefusedText = nullptr;
    onMouseMove = nullptr;
    onDblClick = nullptr;
    onCurrentChanged = nullptr;
}

QString StringGrid::cellText(int c, int r) const
{
    return decodeBytes(source_->text(c, r));
}

QString StringGrid::editText(int c, int r) const
{
    return decodeBytes(source_->editText(c, r));
}

void StringGrid::cellsChanged()
{
    if (syncQueued_) return;
    syncQueued_ = true;
    QMetaObject::invokeMethod(this, [this] { sync(); }, Qt::QueuedConnection);
}

void StringGrid::sync()
{
    syncQueued_ = false;
    model_->sync();
    // Put the current cell back where the grid had it when the rows it
    // stood on disappeared and came back.
    if (!currentIndex().isValid() && model_->rowCount() > 0 && model_->columnCount() > 0) {
        const int r = std::clamp(curRow_, fixedRows_, rowCount() - 1);
        const int c = std::clamp(curCol_, fixedCols_, colCount() - 1);
        const QModelIndex idx = modelIndex(c, r);
        if (idx.isValid()) {
            selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
        }
    }
    followCellInEditor();
    viewport()->update();
    hHeader_->viewport()->update();
    vHeader_->viewport()->update();
    if (cornerButton_) cornerButton_->update();
}

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

void StringGrid::setRowCount(int n)
{
    cells().setRowCount(n);
}

void StringGrid::setColCount(int n)
{
    cells().setColCount(n);
}

void StringGrid::setFixedRows(int n)
{
    n = std::clamp(n, 0, 1);
    if (n == fixedRows_) return;
    fixedRows_ = n;
    applyHeaders();
    model_->resetAll();
}

void StringGrid::setFixedCols(int n)
{
    n = std::clamp(n, 0, 1);
    if (n == fixedCols_) return;
    fixedCols_ = n;
    applyHeaders();
    model_->resetAll();
}

void StringGrid::applyHeaders()
{
    hHeader_->setVisible(fixedRows_ > 0);
    vHeader_->setVisible(fixedCols_ > 0);
}

QModelIndex StringGrid::modelIndex(int c, int r) const
{
    return model_->index(toModelRow(r), toModelCol(c));
}

int StringGrid::col() const
{
    const QModelIndex idx = currentIndex();
    return idx.isValid() ? toGridCol(idx.column()) : std::max(curCol_, fixedCols_);
}

int StringGrid::row() const
{
    const QModelIndex idx = currentIndex();
    return idx.isValid() ? toGridRow(idx.row()) : std::max(curRow_, fixedRows_);
}

bool StringGrid::setCurrentCell(int c, int r)
{
    if (syncQueued_) sync();
    if (c < fixedCols_ || r < fixedRows_ || c >= colCount() || r >= rowCount()) return false;
    if (c == col() && r == row() && currentIndex().isValid()) return true;
    if (onSelectCell && !inSelectHook_) {
        inSelectHook_ = true;
        const bool ok = onSelectCell(c, r);
        inSelectHook_ = false;
        if (!ok) return false;
    }
    const QModelIndex idx = modelIndex(c, r);
    if (!idx.isValid()) return false;
    selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
    scrollTo(idx);
    return true;
}

int StringGrid::topRow() const
{
    const int mr = rowAt(0);
    return mr < 0 ? fixedRows_ : toGridRow(mr);
}

void StringGrid::setTopRow(int r)
{
    if (syncQueued_) sync();
    const int mr = toModelRow(r);
    if (mr < 0 || mr >= model_->rowCount()) return;
    verticalScrollBar()->setValue(mr);
}

int StringGrid::visibleRowCount() const
{
    return std::max(1, viewport()->height() / std::max(1, rowHeight_));
}

int StringGrid::colWidth(int c) const
{
    if (c < fixedCols_) return fixedColWidth_;
    return columnWidth(toModelCol(c));
}

void StringGrid::setColWidth(int c, int width)
{
    width = std::max(0, width);
    if (c < 0) return;
    if (c < fixedCols_) {
        fixedColWidth_ = width;
        vHeader_->setFixedWidth(width);
        return;
    }
    if (syncQueued_) sync();
    setColumnWidth(toModelCol(c), width);
}

void StringGrid::setDefaultColWidth(int width)
{
    defaultColWidth_ = width;
    hHeader_->setDefaultSectionSize(width);
    fixedColWidth_ = width;
    vHeader_->setFixedWidth(width);
    for (int i = 0; i < model_->columnCount(); ++i) setColumnWidth(i, width);
}

void StringGrid::setDefaultRowHeight(int height)
{
    rowHeight_ = std::max(1, height);
    vHeader_->setDefaultSectionSize(rowHeight_);
    hHeader_->setFixedHeight(rowHeight_);
}

QRect StringGrid::cellRect(int c, int r) const
{
    int x, w, y, h;
    if (c < fixedCols_) {
        x = vHeader_->geometry().left();
        w = vHeader_->width();
    } else {
        const int mc = toModelCol(c);
        if (mc >= model_->columnCount()) return {};
        x = viewport()->geometry().left() + columnViewportPosition(mc);
        w = columnWidth(mc);
    }
    if (r < fixedRows_) {
        y = hHeader_->geometry().top();
        h = hHeader_->height();
    } else {
        const int mr = toModelRow(r);
        if (mr >= model_->rowCount()) return {};
        y = viewport()->geometry().top() + rowViewportPosition(mr);
        h = rowHeight(mr);
    }
    QRect rect(x, y, w, h);
    if (!rect.intersects(contentsRect())) return {};
    return rect;
}

bool StringGrid::cellAt(const QPoint& p, int& c, int& r) const
{
    c = r = -1;
    const QRect vp = viewport()->geometry();
    int mc = -1, mr = -1;
    bool fixedC = false, fixedR = false;
    if (fixedCols_ > 0 && vHeader_->isVisible() && p.x() >= vHeader_->geometry().left() &&
        p.x() < vHeader_->geometry().right() + 1) {
        fixedC = true;
    } else if (p.x() >= vp.left() && p.x() <= vp.right()) {
        mc = columnAt(p.x() - vp.left());
    }
    if (fixedRows_ > 0 && hHeader_->isVisible() && p.y() >= hHeader_->geometry().top() &&
        p.y() < hHeader_->geometry().bottom() + 1) {
        fixedR = true;
    } else if (p.y() >= vp.top() && p.y() <= vp.bottom()) {
        mr = rowAt(p.y() - vp.top());
    }
    if ((!fixedC && mc < 0) || (!fixedR && mr < 0)) return false;
    c = fixedC ? 0 : toGridCol(mc);
    r = fixedR ? 0 : toGridRow(mr);
    return true;
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

bool StringGrid::gridHasFocus() const
{
    const QWidget* f = QApplication::focusWidget();
    return f && (f == this || isAncestorOf(f));
}

void StringGrid::autoFitColumn(int c)
{
    if (c < 0 || c >= colCount() || rowCount() <= 0) return;
    const QFontMetrics fm(font());
    QString widest = cellText(c, 1);
    int widestWidth = fm.horizontalAdvance(widest);
    for (int r = 1; r < rowCount(); ++r) {
        const QString t = decodeBytes(trimTrailingSpaces(cell(c, r)));
        const int w = fm.horizontalAdvance(t);
        if (w > widestWidth) {
            widest = t;
            widestWidth = w;
        }
    }
    if (!widest.isEmpty()) setColWidth(c, widestWidth + 10);
}

void StringGrid::drawHook(QPainter* painter, int c, int r, const QRect& rect, const DrawState& state)
{
    if (!onDrawCell) return;
    ++painting_;
    painter->save();
    onDrawCell(*painter, c, r, rect, state);
    painter->restore();
    --painting_;
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

bool StringGrid::moveAcross(int step)
{
    // The next cell of the row that the select hook accepts; columns it
    // refuses are passed over.
    for (int c = col() + step; c >= fixedCols_ && c < colCount(); c += step)
        if (setCurrentCell(c, row())) return true;
    return false;
}

void StringGrid::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    // A current cell set while the grid was still hidden (the start-up
    // restore) scrolled a viewport of no size; show it from the left edge.
    if (syncQueued_) sync();
    horizontalScrollBar()->setValue(0);
    if (currentIndex().isValid()) scrollTo(currentIndex());
}

void StringGrid::paintEvent(QPaintEvent* event)
{
    ++painting_;
    QTableView::paintEvent(event);
    --painting_;
}

void StringGrid::keyboardSearch(const QString&)
{
    // Typing starts the editor (or nothing); it never jumps to a matching cell.
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (editor == liveEditor()) editor_ = nullptr;
    QTableView::closeEditor(editor, hint);
}

}  // namespace tov
