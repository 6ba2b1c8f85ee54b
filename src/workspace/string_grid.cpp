// The string grid itself: its cell source, its rows and columns and their
// fixed headers, the current cell, and where each cell stands on the screen.
// Editing is in string_grid_editing.cpp, keys and the mouse in
// string_grid_input.cpp, the model, delegate and headers in grid_parts.cpp.
#include "workspace/string_grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScrollBar>

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

void StringGrid::showEvent(QShowEvent* event)
{
    QTableView::showEvent(event);
    // A current cell set while the grid was still hidden (the start-up
    // restore) scrolled a viewport of no size; show it from the left edge.
    if (syncQueued_) sync();
    horizontalScrollBar()->setValue(0);
    if (currentIndex().isValid()) scrollTo(currentIndex());
}

}  // namespace tov
