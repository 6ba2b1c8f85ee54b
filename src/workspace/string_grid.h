// The string grid of both windows: a QTableView over a source of cells
// (CellSource): the grid's own TextGrid, another TextGrid it is pointed at,
// or a view over a document.
//
// Row 0 of a grid with one fixed row is shown as the horizontal header,
// column 0 of a grid with one fixed column as the vertical header, and cell
// (0,0) in the corner. All positions in this interface are grid positions
// (column, row) counted from 0 with the fixed row and column included; the
// model underneath only ever sees the scrolling part.
//
// Cells hold bytes (Windows-1250); the model decodes them for the screen and
// encodes what the user types. Only visible cells are ever asked for, so a
// grid of 65,535 rows costs nothing until it is scrolled.
//
// The source tells the grid of every change, and the grid brings the view up
// to date on the next turn of the event loop, or at once through sync().
// Nothing is emitted while the grid is being painted, and painting only
// reads. An open editor shows what code puts into its cell, with the caret
// left where it was; what the user types goes to the source, which may take
// it, change it or refuse it.
//
// The cell editor behaves as in a spreadsheet: Up, Down, Page Up and Page
// Down move to another row, Enter to the row below, Tab and Shift+Tab to the
// next cell of the row that the select hook accepts, and Escape takes back
// what was typed since the editor opened; where the current cell always
// shows its editor, the editor opens again on the new cell (or stays open
// where there is nowhere to go). The key-down hook sees every key once,
// before the editor or the grid acts on it, and no key is lost to a click
// inside the grid while a cell is edited.
#pragma once

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QLineEdit>
#include <QTableView>
#include <functional>
#include <optional>
#include <string>

#include "support/text_grid.h"


namespace tov {

class StringGrid;

// What a string grid shows: cells addressed by (column, row) from 0, the
// fixed row and column included.
class CellSource {
public:
    virtual ~CellSource() = default;
    virtual int rowCount() const = 0;
    virtual int colCount() const = 0;
    virtual std::string text(int c, int r) const = 0;
    // The text the cell editor starts with.
    virtual std::string editText(int c, int r) const { return text(c, r); }
    // A text typed into a cell. False when the cell keeps the text it had.
    virtual bool setText(int c, int r, const std::string& text) = 0;
    // Called after every change; the grid schedules its update there.
    virtual void setObserver(std::function<void()> observer) = 0;
};

// A TextGrid as a source of cells.
class TextGridSource : public CellSource {
public:
    explicit TextGridSource(TextGrid* grid) : grid_(grid) {}
    TextGrid* grid() const { return grid_; }
    // Points at another grid; the observer moves with it.
    void setGrid(TextGrid* grid);

    int rowCount() const override { return grid_->rowCount(); }
    int colCount() const override { return grid_->colCount(); }
    std::string text(int c, int r) const override { return grid_->cell(c, r); }
    bool setText(int c, int r, const std::string& text) override;
    void setObserver(std::function<void()> observer) override;

private:
    TextGrid* grid_;
    std::function<void()> observer_;
};

// How a cell stands when it is painted.
struct DrawState {
    bool fixed = false;     // a header cell (fixed row or column)
    bool current = false;   // the grid's current cell
    bool selected = false;  // drawn in the selection colours by the default drawing
    bool focused = false;   // the grid (or its editor) has the keyboard focus
};

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(StringGrid* grid);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Brings the counts the view knows up to the grid's and repaints.
    void sync();
    void resetAll();

private:
    StringGrid* grid_;
    int rows_ = 0;  // counts the view was last told about (scrolling part only)
    int cols_ = 0;
};

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(StringGrid* grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    StringGrid* grid_;
};

class GridHeader : public QHeaderView {
    Q_OBJECT
public:
    GridHeader(Qt::Orientation orientation, StringGrid* grid);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    StringGrid* grid_;
};

// The default look of a fixed cell (header sections and the corner).
void drawFixedCell(QPainter& painter, const QWidget& widget, const QRect& rect, const QString& text,
                   const QFont& font);

class StringGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);
    ~StringGrid() override;

    // --- cells and counts ---
    // What the grid shows: the grid's own TextGrid unless it was pointed at
    // another one (viewGrid) or at another source (setSource).
    void viewGrid(TextGrid* grid);  // nullptr: the grid's own again
    void setSource(CellSource* source);
    CellSource& source() const { return *source_; }
    // The TextGrid shown (or last shown, while another source is set).
    TextGrid& cells() { return *gridSource_.grid(); }
    const TextGrid& cells() const { return *gridSource_.grid(); }
    std::string cell(int c, int r) const { return source_->text(c, r); }
    void setCell(int c, int r, std::string text) { cells().setCell(c, r, std::move(text)); }
    QString cellText(int c, int r) const;  // decoded for the screen
    QString editText(int c, int r) const;  // what the cell editor starts with

    int rowCount() const { return source_->rowCount(); }
    int colCount() const { return source_->colCount(); }
    void setRowCount(int n);
    void setColCount(int n);
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    void setFixedRows(int n);  // 0 or 1
    void setFixedCols(int n);  // 0 or 1

    // Brings the view up to date with the cells now (normally it happens on
    // the next turn of the event loop).
    void sync();

    // --- current cell and scrolling ---
    int col() const;
    int row() const;
    // Moves the current cell the way a user move would: the select hook may
    // refuse. False when refused or out of range.
    bool setCurrentCell(int c, int r);
    bool setCol(int c) { return setCurrentCell(c, row()); }
    bool setRow(int r) { return setCurrentCell(col(), r); }
    int topRow() const;
    void setTopRow(int r);
    int visibleRowCount() const;

    // --- geometry ---
    int colWidth(int c) const;
    void setColWidth(int c, int width);
    void setDefaultColWidth(int width);
    int defaultRowHeight() const { return rowHeight_; }
    void setDefaultRowHeight(int height);
    // Rectangle of a cell in this widget's coordinates (fixed cells included);
    // empty when the cell is scrolled out of sight.
    QRect cellRect(int c, int r) const;
    // The cell under a point in this widget's coordinates; false (and -1, -1)
    // when the point is outside all cells.
    bool cellAt(const QPoint& p, int& c, int& r) const;

    // --- options, tag and hint ---
    bool editingOption() const { return editing_; }
    void setEditingOption(bool on);
    bool alwaysShowEditor() const { return alwaysShowEditor_; }
    void setAlwaysShowEditor(bool on);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    QString hint() const { return hint_; }
    void setHint(const QString& hint);
    bool showHint() const { return showHint_; }
    void setShowHint(bool on);
    void cancelHint();

    // --- the cell editor ---
    bool isEditorOpen() const { return liveEditor() != nullptr; }
    QLineEdit* editor() const { return liveEditor(); }
    bool showEditor();  // opens the editor on the current cell when editing is allowed
    void hideEditor();  // closes it, keeping the text typed
    // The editor's text length minus its selected text; 0 without an editor.
    int editorRemainingLength() const;
    // Whether the grid or its editor holds the keyboard focus.
    bool gridHasFocus() const;

    // --- column auto-fit: widest trimmed text of rows 1.. + 10 pixels ---
    void autoFitColumn(int c);

    // --- events, as the windows handle them ---
    // A cell is about to become current; return false to refuse.
    std::function<bool(int c, int r)> onSelectCell;
    // Painting after the default drawing of the cell.
    std::function<void(QPainter& p, int c, int r, const QRect& rect, const DrawState& state)> onDrawCell;
    // Whether onDrawCell paints over the whole cell, so that the default
    // drawing would not show and is left out (a header cell keeps its border).
    std::function<bool(int c, int r, const DrawState& state)> onCoversCell;
    // The editor's text changed (every keystroke); the cell already holds it.
    std::function<void(int c, int r, const std::string& text)> onSetEditText;
    // A key went down (in the grid or its editor) before the grid acts;
    // setting `key` to 0 swallows it.
    std::function<void(int& key, Qt::KeyboardModifiers mods, bool autoRepeat)> onKeyDown;
    // A character is about to be typed; setting it to 0 discards it.
    std::function<void(QChar& ch)> onKeyPress;
    // Characters typed or pasted that the code page cannot hold were left
    // out of the cell (and the editor); the grid has beeped.
    std::function<void(const QString& refused)> onRefusedText;
    // The grid (with its editor) lost the keyboard focus.
    std::function<void()> onExit;
    std::function<void(const QPoint& pos)> onMouseMove;
    std::function<void()> onDblClick;
    // The current cell moved (after the move).
    std::function<void(int c, int r)> onCurrentChanged;
    // Drops every handler (a window being destroyed calls it first).
    void clearHooks();

    // Used by the model, delegate and headers.
    int toModelRow(int r) const { return r - fixedRows_; }
    int toModelCol(int c) const { return c - fixedCols_; }
    int toGridRow(int modelRow) const { return modelRow + fixedRows_; }
    int toGridCol(int modelCol) const { return modelCol + fixedCols_; }
    void drawHook(QPainter* painter, int c, int r, const QRect& rect, const DrawState& state);
    bool painting() const { return painting_ > 0; }
    bool coversCell(int c, int r, const DrawState& state) const
    {
        return onDrawCell && onCoversCell && onCoversCell(c, r, state);
    }
    void storeEditText(int c, int r, const QString& text);
    void editorCreated(QLineEdit* editor, int c, int r);

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool viewportEvent(QEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class GridModel;
    void cellsChanged();
    void applyEditTriggers();
    void applyHeaders();
    QModelIndex modelIndex(int c, int r) const;
    bool handleKeyDown(QKeyEvent* event);
    bool handleKeyPress(QKeyEvent* event);
    // A key that would type a character the code page cannot hold: refused
    // (beep, onRefusedText) before the editor acts, so that it replaces no
    // selection and opens no editor.
    bool refusedKey(QKeyEvent* event);
    bool editorKey(QKeyEvent* event);
    bool moveAcross(int step);
    void followCellInEditor();

    TextGrid cells_;
    TextGridSource gridSource_{&cells_};
    CellSource* source_ = &gridSource_;
    GridModel* model_;
    GridDelegate* delegate_;
    GridHeader* hHeader_;
    GridHeader* vHeader_;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    int curCol_ = 0;
    int curRow_ = 0;
    int rowHeight_ = 24;
    int defaultColWidth_ = 64;
    int fixedColWidth_ = 64;
    bool editing_ = false;
    bool alwaysShowEditor_ = false;
    int tag_ = 0;
    QString hint_;
    bool showHint_ = false;
    bool syncQueued_ = false;
    int painting_ = 0;
    bool inSelectHook_ = false;
    // The open editor; the guard notices when the view deletes it without
    // closing it first (a model reset, removed rows).
    QLineEdit* liveEditor() const { return editorGuard_.isNull() ? nullptr : editor_; }
    QLineEdit* editor_ = nullptr;
    QPointer<QObject> editorGuard_;
    int editorCol_ = -1;
    int editorRow_ = -1;
    std::string editorOriginal_;  // the cell's text when the editor opened
    // What the cell held after the editor's last text went in; a cell that
    // still holds it is not put back into the editor (a source may store a
    // typed text otherwise, padded for instance). Empty: put back.
    std::optional<std::string> editorEcho_;
    QWidget* cornerButton_ = nullptr;
    QMetaObject::Connection focusConnection_;
};

}  // namespace tov
