// Painting of the translation table: fonts and colours per column, the marks
// of missing, changed and too long destination texts, the current cell, the
// gap lines between firmware blocks, and the two column pickers over the
// header row. Painting only reads: what a row holds and what is wrong with
// it come from the document.
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QTimer>

#include "formats/source_kind.h"
#include "workspace/codepage.h"
#include "workspace/spelling.h"
#include "workspace/unit1.h"

namespace tov {

namespace {

// The colour of a destination that differs from the stored one, or of a
// length that does not fit the base text.
const QColor kChangedColour(255, 157, 157);
// The colour of an empty destination.
const QColor kMissingColour(0, 255, 0);
// The marks of what the text checks found.
const QColor kFormatErrorColour(208, 0, 0);
const QColor kCheckWarningColour(230, 150, 0);

// A colour as the settings store it: a system colour (high byte $80 or $FF,
// number in the low byte) or $00BBGGRR.
QColor storedColour(std::uint32_t value, const QPalette& pal)
{
    const std::uint32_t high = value >> 24;
    if (high == 0x80 || high == 0xFF) {
        switch (value & 0xFF) {
        case 5: return pal.color(QPalette::Active, QPalette::Base);
        case 13: return pal.color(QPalette::Active, QPalette::Highlight);
        case 14: return pal.color(QPalette::Active, QPalette::HighlightedText);
        case 15: return pal.color(QPalette::Active, QPalette::Button);
        case 16: return pal.color(QPalette::Active, QPalette::Dark);
        case 18: return pal.color(QPalette::Active, QPalette::ButtonText);
        case 23: return pal.color(QPalette::Active, QPalette::ToolTipText);
        case 24: return pal.color(QPalette::Active, QPalette::ToolTipBase);
        default: return pal.color(QPalette::Active, QPalette::Text);
        }
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// The screen font of a stored font record. Building a QFont from its record
// at every cell would cost more than the paint itself; the last few records
// are remembered.
const QFont& screenFont(const TextFont& font)
{
    struct Entry {
        FontRecord record;
        QFont font;
    };
    static std::vector<Entry> cache;
    for (const Entry& e : cache)
        if (e.record == font.record) return e.font;
    if (cache.size() >= 8) cache.erase(cache.begin());
    cache.push_back({font.record, font.font()});
    return cache.back().font;
}

// Where the two pickers belong: over the headers of the base and the
// destination column, 2 pixels in from their left edges, and 2 pixels below
// the grid's top.
struct PickerPlace {
    bool visible;
    QPoint base;
    QPoint dest;
};

PickerPlace pickerPlace(TForm1& f)
{
    const StringGrid& g = *f.SG1;
    PickerPlace p{f.format().traits().languagePickers, {}, {}};
    const int left = g.x() + g.viewport()->x();
    const int top = g.y() + 2;
    p.base = QPoint(left + g.columnViewportPosition(g.toModelCol(tcol::kBase)) + 2, top);
    p.dest = QPoint(left + g.columnViewportPosition(g.toModelCol(tcol::kDest)) + 2, top);
    return p;
}

void applyPickerPlace(TForm1& f)
{
    const PickerPlace p = pickerPlace(f);
    if (p.visible) {
        f.ComboBox1->move(p.base);
        f.ComboBox2->move(p.dest);
        f.ComboBox1->raise();
        f.ComboBox2->raise();
    }
    f.ComboBox1->setVisible(p.visible);
    f.ComboBox2->setVisible(p.visible);
    f.ComboBox1->setProperty("tovPlacing", false);
}

// Shows, hides and moves the pickers. Widgets are not moved from inside a
// paint: the change is made on the next turn of the event loop, from the
// grid's geometry at that moment.
void placePickers(TForm1& f, int row)
{
    const bool visible = f.format().traits().languagePickers;
    bool needed = f.ComboBox1->isHidden() == visible || f.ComboBox2->isHidden() == visible;
    if (!needed && visible && row == 0) {
        const PickerPlace p = pickerPlace(f);
        needed = f.ComboBox1->pos() != p.base || f.ComboBox2->pos() != p.dest;
    }
    if (!needed || f.ComboBox1->property("tovPlacing").toBool()) return;
    f.ComboBox1->setProperty("tovPlacing", true);
    QTimer::singleShot(0, &f, [&f] { applyPickerPlace(f); });
}

}  // namespace

bool TForm1::SG1CoversCell(int c, int r, const DrawState& state) const
{
    // The cells SG1DrawCell fills: every cell of the data rows up to the
    // comment column, unless it is selected in an unfocused grid.
    return !state.selected && r > 0 && c <= tcol::kComment;
}

void TForm1::SG1DrawCell(QPainter& canvas, int c, int r, const QRect& rect, const DrawState& state)
{
    placePickers(*this, r);
    // A selected cell of an unfocused grid keeps the default look, and so do
    // the header row and the columns right of the comment.
    if (!SG1CoversCell(c, r, state)) return;

    const QPalette& pal = SG1->palette();
    const FormatTraits& traits = format().traits();
    const TranslationView& view = translationView();
    const int index = view.indexAt(r);
    const Entry* entry = index >= 0 ? &document_.entry(index) : nullptr;
    const Problems problems = entry ? document_.problems(index) : 0;

    const TextFont* font = &numberFont;
    if (c == tcol::kBase)
        font = &baseFont;
    else if (c == tcol::kDest)
        font = &destFont;

    QColor brush = pal.color(QPalette::Active, QPalette::Button);
    if (c == tcol::kDest) {
        brush = pal.color(QPalette::Active, QPalette::Base);
        if (problems & problem::kChanged) brush = kChangedColour;
        if (problems & problem::kMissing) brush = kMissingColour;
    }
    // A length that does not fit the base text (menu files have no lengths).
    if (c == tcol::kDestLen && traits.lengthColumns && (problems & (problem::kTooLong | problem::kLengthDiffers)))
        brush = kChangedColour;

    QColor ink = storedColour(font->record.color, pal);
    if ((c == tcol::kBase || c == tcol::kDest) && c == SG1->col() && r == SG1->row()) {
        ink = pal.color(QPalette::Active, QPalette::HighlightedText);
        brush = pal.color(QPalette::Active, QPalette::Highlight);
    }
    if (c == tcol::kComment) {
        font = &baseFont;
        ink = pal.color(QPalette::Active, QPalette::Text);
        brush = pal.color(QPalette::Active, QPalette::Button);
    }

    // A header cell keeps its border.
    const QRect cell = state.fixed ? rect.adjusted(0, 0, -1, -1) : rect;
    canvas.fillRect(cell, brush);
    canvas.setClipRect(cell);
    canvas.setFont(screenFont(*font));
    canvas.setPen(ink);
    const std::string bytes = view.text(c, r);
    const QString text = decodeBytes(bytes);
    if (!text.isEmpty()) {
        const QPoint origin(cell.left() + 2, cell.top() + 2 + canvas.fontMetrics().ascent());
        canvas.drawText(origin, text);
        // Misspelled words of a destination text get a red wavy line.
        if (c == tcol::kDest && entry) spelling_->drawUnderlines(canvas, origin.x(), origin.y(), bytes, text);
    }
    // What the text checks found: a corner of the destination length cell,
    // red for an error the product may trip on, amber for a warning; the
    // hint over the cell says what it is.
    if (c == tcol::kDestLen && (problems & (problem::kFormat | problem::kCheckWarning))) {
        const int size = std::min(9, std::min(cell.width(), cell.height()) / 2);
        const QPoint corner = cell.topRight();
        const QPolygon mark({corner, corner - QPoint(size, 0), corner + QPoint(0, size)});
        canvas.setPen(Qt::NoPen);
        canvas.setBrush((problems & problem::kFormat) ? kFormatErrorColour : kCheckWarningColour);
        canvas.drawPolygon(mark);
        canvas.setBrush(Qt::NoBrush);
    }

    // Dark lines where the file lines of neighbouring rows do not follow
    // each other; a row below the last one counts as line 0.
    if (traits.lineGaps && entry && c >= 1 && r >= 2) {
        const Entry* above = view.entryAt(r - 1);
        const Entry* below = view.entryAt(r + 1);
        const std::int64_t here = entry->line;
        const std::int64_t prev = above ? above->line : 0;
        const std::int64_t next = below ? below->line : 0;
        const QColor shadow = pal.color(QPalette::Active, QPalette::Dark);
        if (here - prev != 1) canvas.fillRect(QRect(cell.left(), cell.top(), cell.width(), 1), shadow);
        if (next - here != 1) canvas.fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), shadow);
    }
}

}  // namespace tov
