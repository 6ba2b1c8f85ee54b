// The model, delegate and headers under the string grid: what the view asks
// of the cells, how a cell is drawn before the window paints over it, how
// the fixed row and column are drawn, and the window's drawing over them.
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
// Model

GridModel::GridModel(StringGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole)
        return grid_->cellText(grid_->toGridCol(index.column()), grid_->toGridRow(index.row()));
    if (role == Qt::EditRole)
        return grid_->editText(grid_->toGridCol(index.column()), grid_->toGridRow(index.row()));
    return {};
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole) return false;
    grid_->storeEditText(grid_->toGridCol(index.column()), grid_->toGridRow(index.row()), value.toString());
    return true;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        if (grid_->fixedRows() == 0) return {};
        return grid_->cellText(grid_->toGridCol(section), 0);
    }
    if (grid_->fixedCols() == 0) return {};
    return grid_->cellText(0, grid_->toGridRow(section));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void GridModel::sync()
{
    const int rows = std::max(0, grid_->rowCount() - grid_->fixedRows());
    const int cols = std::max(0, grid_->colCount() - grid_->fixedCols());
    if (cols > cols_) {
        beginInsertColumns({}, cols_, cols - 1);
        cols_ = cols;
        endInsertColumns();
    } else if (cols < cols_) {
        beginRemoveColumns({}, cols, cols_ - 1);
        cols_ = cols;
        endRemoveColumns();
    }
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
}

void GridModel::resetAll()
{
    beginResetModel();
    rows_ = std::max(0, grid_->rowCount() - grid_->fixedRows());
    cols_ = std::max(0, grid_->colCount() - grid_->fixedCols());
    endResetModel();
}

// ---------------------------------------------------------------------------
// Delegate

namespace {

// The cell editor. A key it has no use for stops here: the grid has seen
// every key of its editor already (through its event filter), and a key
// passed on to the grid would be handled twice.
class GridEditor : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        QLineEdit::keyPressEvent(event);
        event->accept();
    }
};

}  // namespace

GridDelegate::GridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The grid's default drawing: the cell in the window colour (the view's
    // background) or, when selected, in the selection colours, and its text
    // on one line in the grid's font, 2 pixels right of and below the cell's
    // top-left corner, cut at the cell's edge. The current cell of a focused
    // grid is drawn plainly; its highlight is the window's own painting.
    const bool current = index == grid_->currentIndex();
    const bool focused = grid_->gridHasFocus();
    bool selected = (option.state & QStyle::State_Selected) != 0;
    if (current) selected = !focused && grid_->selectionModel()->isSelected(index);
    const QRect& rect = option.rect;
    const int c = grid_->toGridCol(index.column());
    const int r = grid_->toGridRow(index.row());
    DrawState st;
    st.current = current;
    st.selected = selected;
    st.focused = focused;
    const std::string bytes = grid_->cell(c, r);
    if (selected) painter->fillRect(rect, option.palette.brush(QPalette::Active, QPalette::Highlight));
    if (!bytes.empty() && !grid_->coversCell(c, r, st)) {
        painter->save();
        painter->setClipRect(rect, Qt::IntersectClip);
        painter->setFont(option.font);
        painter->setPen(option.palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
        const QFontMetrics fm(option.font);
        painter->drawText(QPoint(rect.left() + 2, rect.top() + 2 + fm.ascent()), decodeBytes(bytes));
        painter->restore();
    }
    grid_->drawHook(painter, c, r, rect, st);
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* edit = new GridEditor(parent);
    edit->setFrame(false);
    edit->setFont(grid_->font());
    const int c = grid_->toGridCol(index.column());
    const int r = grid_->toGridRow(index.row());
    connect(edit, &QLineEdit::textEdited, grid_, [g = grid_, c, r](const QString& text) { g->storeEditText(c, r, text); });
    grid_->editorCreated(edit, c, r);
    return edit;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    // The cell follows the editor at every keystroke; putting the same text
    // back would move the caret and drop the selection.
    if (edit->text() != text) edit->setText(text);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    auto* edit = static_cast<QLineEdit*>(editor);
    if (edit->text() != index.data(Qt::EditRole).toString()) model->setData(index, edit->text(), Qt::EditRole);
}

void GridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect.adjusted(1, 1, -1, -1));
}

// ---------------------------------------------------------------------------
// Headers

GridHeader::GridHeader(Qt::Orientation orientation, StringGrid* grid) : QHeaderView(orientation, grid), grid_(grid)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMinimumSectionSize(0);
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    DrawState st;
    st.fixed = true;
    st.focused = grid_->gridHasFocus();
    const int c = orientation() == Qt::Horizontal ? grid_->toGridCol(logicalIndex) : 0;
    const int r = orientation() == Qt::Horizontal ? 0 : grid_->toGridRow(logicalIndex);
    if (grid_->coversCell(c, r, st)) {
        // Only the section's border would show of the default drawing.
        const QColor line = palette().color(QPalette::Active, QPalette::Mid);
        painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), line);
        painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), line);
    } else {
        drawFixedCell(*painter, *this, rect, grid_->cellText(c, r), grid_->font());
    }
    grid_->drawHook(painter, c, r, rect, st);
}

void drawFixedCell(QPainter& painter, const QWidget& widget, const QRect& rect, const QString& text, const QFont& font)
{
    // The section's face and border as the style draws them, and the text as
    // every cell shows it: the grid's font, 2 pixels in from the top left.
    painter.save();
    QStyleOptionHeader opt;
    opt.initFrom(&widget);
    opt.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_Horizontal;
    opt.rect = rect;
    opt.position = QStyleOptionHeader::Middle;
    widget.style()->drawControl(QStyle::CE_HeaderSection, &opt, &painter, &widget);
    painter.setFont(font);
    painter.setPen(widget.palette().color(QPalette::Active, QPalette::ButtonText));
    painter.setClipRect(rect.adjusted(0, 0, -1, -1));
    painter.drawText(rect.adjusted(2, 2, -1, -1), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

// ---------------------------------------------------------------------------
// The window's drawing over the cells

void StringGrid::drawHook(QPainter* painter, int c, int r, const QRect& rect, const DrawState& state)
{
    if (!onDrawCell) return;
    ++painting_;
    painter->save();
    onDrawCell(*painter, c, r, rect, state);
    painter->restore();
    --painting_;
}

void StringGrid::paintEvent(QPaintEvent* event)
{
    ++painting_;
    QTableView::paintEvent(event);
    --painting_;
}

}  // namespace tov
