// Painting of the translation table: fonts and colours per column, the marks
// of missing, changed and too long destination texts, the current cell, the
// gap lines between firmware blocks, and the two column pickers over the
// header row.
//
// The paint also keeps some cells in step with the working table: base texts
// are put back from it, and firmware destination texts are held at the
// length of their base text. Those writes only change the cells; the grid
// brings itself up to date on the next turn of the event loop, where the
// texts agree and nothing more is written, so one extra paint settles them.
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include "formats/source_kind.h"
#include "formats/translation_table.h"
#include "support/convert.h"
#include "support/strutil.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace tov {

namespace {

// The colour of a destination that differs from the stored one, or of a
// length that does not fit the base text.
const QColor kChangedColour(255, 157, 157);
// The colour of an empty destination.
const QColor kMissingColour(0, 255, 0);
// A firmware base text longer than this cannot be held by a firmware file.
constexpr std::size_t kMaxFirmwareText = 255;

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

// Value of a length cell or a line index: its leading decimal number, 0 for
// anything else.
std::int32_t numberIn(const std::string& text)
{
    return nonNegativeNumber(text);
}

// Where the two pickers belong: over the headers of the base and the
// destination column, 2 pixels in from their left edges, and 2 pixels below
// the grid's top.
struct PickerPlace {
    bool visible;
    QPoint base;
    QPoint dest;
};

PickerPlace pickerPlace(const TForm1& f)
{
    const StringGrid& g = *f.SG1;
    PickerPlace p{f.sourceKind == kMenuIni || f.sourceKind == kCArrays, {}, {}};
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
    const bool visible = f.sourceKind == kMenuIni || f.sourceKind == kCArrays;
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
    TextGrid& t = SG1->cells();
    const TextGrid& w = working().cells();
    const std::uint8_t kind = sourceKind;
    const bool firmware = isFirmwareKind(kind);

    const TextFont* font = &numberFont;
    if (c == tcol::kBase)
        font = &baseFont;
    else if (c == tcol::kDest)
        font = &destFont;

    // Base texts follow the working table (the C mode keeps what it shows).
    if (c == tcol::kBase) {
        int source = -1;
        if (firmware)
            source = 6;
        else if (isResourceStringKind(kind) || kind == kMenuIni)
            source = 1;
        if (source >= 0 && t.cell(c, r) != w.cell(source, r)) {
            t.setCell(c, r, w.cell(source, r));
            // The length typed with it goes too (the menu INI mode has none).
            if (kind != kMenuIni) t.setCell(tcol::kBaseLen, r, lengthText(t.cell(c, r).size()));
        }
    }

    QColor brush = pal.color(QPalette::Active, QPalette::Button);

    if (c == tcol::kDest) {
        const std::string& dest = t.cell(c, r);
        if (kind == kCArrays) {
            const int stored = ComboBox2->currentIndex() + 1;
            brush = dest != w.cell(stored, r) ? kChangedColour : pal.color(QPalette::Active, QPalette::Base);
        } else if (isResourceStringKind(kind) || kind == kMenuIni) {
            brush = dest != w.cell(2, r) ? kChangedColour : pal.color(QPalette::Active, QPalette::Base);
        } else if (firmware) {
            // Firmware texts have the fixed length of their base text. A base
            // text too long for a firmware file leaves the destination as typed.
            const std::size_t n = t.cell(tcol::kBase, r).size();
            if (n <= kMaxFirmwareText) {
                if (dest.size() != n) {
                    std::string fixed = rightPad(dest, n);
                    fixed.resize(n);
                    t.setCell(c, r, std::move(fixed));
                }
                std::string len = lengthText(n);
                if (t.cell(tcol::kDestLen, r) != len) t.setCell(tcol::kDestLen, r, std::move(len));
            }
            brush = pal.color(QPalette::Active, QPalette::Base);
            if (firmwareTextEdited(t.cell(c, r), w.cell(7, r))) brush = kChangedColour;
        }
        if (!firmware && t.cell(c, r).empty()) brush = kMissingColour;
    }

    if (c == tcol::kDestLen) {
        const std::int32_t destLen = numberIn(t.cell(tcol::kDestLen, r));
        const std::int32_t baseLen = numberIn(t.cell(tcol::kBaseLen, r));
        if (firmware) {
            if (destLen != baseLen) brush = kChangedColour;
        } else if (isResourceStringKind(kind) || kind == kCArrays) {
            if (destLen > baseLen) brush = kChangedColour;
        }
    }

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
    const QString text = decodeBytes(t.cell(c, r));
    if (!text.isEmpty())
        canvas.drawText(QPoint(cell.left() + 2, cell.top() + 2 + canvas.fontMetrics().ascent()), text);

    // Dark lines where the firmware lines of neighbouring rows do not follow
    // each other; a row below the last one counts as line 0.
    if (firmware && c >= 1 && r >= 2) {
        const std::int32_t prev = numberIn(t.cell(tcol::kLineIndex, r - 1));
        const std::int32_t here = numberIn(t.cell(tcol::kLineIndex, r));
        const std::int32_t next = r + 1 < t.rowCount() ? numberIn(t.cell(tcol::kLineIndex, r + 1)) : 0;
        const QColor shadow = pal.color(QPalette::Active, QPalette::Dark);
        if (here - prev != 1) canvas.fillRect(QRect(cell.left(), cell.top(), cell.width(), 1), shadow);
        if (next - here != 1) canvas.fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), shadow);
    }
}

}  // namespace tov
