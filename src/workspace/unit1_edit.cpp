// Editing the translation table: which cells can be reached and edited, the
// live length cells, the length limit of firmware destinations, the special
// keys, the identifier hint over base texts and the preview memo that shows
// a text's escaped line breaks (or a firmware line's comment) above its cell.
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextCursor>

#include "formats/source_kind.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"

namespace tov {

namespace {

// The tag the find routine puts on the grid while it moves the current row:
// the destination editor then stays closed.
constexpr int kSearchLockTag = 85;

// At most this many characters are left to read after each step of the
// preview split.
constexpr std::size_t kPreviewCut = 255;

// The lines of a text split at its escape pairs: a backslash followed by "n"
// or "r" ends a line; any other backslash stays in the line. A text without
// such a pair gives no lines. Only the beginning of a long text is looked at:
// after every step the rest is cut to 255 characters.
std::vector<std::string> escapedLines(std::string_view t)
{
    std::vector<std::string> lines;
    if (t.find("\\n") == std::string_view::npos && t.find("\\r") == std::string_view::npos) return lines;
    std::string line;
    std::string_view rest = t;
    while (!rest.empty()) {
        if (rest[0] == '\\' && rest.size() > 1) {
            if (rest[1] == 'n' || rest[1] == 'r') {
                lines.push_back(std::move(line));
                line.clear();
                rest.remove_prefix(2);
            } else {
                line.push_back('\\');
                rest.remove_prefix(1);
            }
        } else {
            line.push_back(rest[0]);
            rest.remove_prefix(1);
        }
        if (rest.size() > kPreviewCut) rest = rest.substr(0, kPreviewCut);
    }
    lines.push_back(std::move(line));
    return lines;
}

}  // namespace

bool TForm1::SG1SelectCell(int col, int)
{
    // Only the base length, the base text and the destination text can be
    // current.
    if (col != tcol::kBaseLen && col != tcol::kBase && col != tcol::kDest) return false;
    Memo1->hide();
    const TextFont* font = &numberFont;
    if (col == tcol::kDest) {
        // The destination editor opens at once, except while a search moves
        // the current row.
        const bool edit = SG1->tag() != kSearchLockTag;
        SG1->setEditingOption(edit);
        SG1->setAlwaysShowEditor(edit);
        font = &destFont;
    } else if (col == tcol::kBase) {
        SG1->setAlwaysShowEditor(false);
        SG1->setEditingOption(true);
        font = &baseFont;
    } else {
        SG1->setEditingOption(false);
        SG1->setAlwaysShowEditor(false);
    }
    const QFont f = font->font();
    if (SG1->font() != f) SG1->setFont(f);
    return true;
}

bool TForm1::editCell(int col, int index, const std::string& text)
{
    // A destination text typed is an edit; a base text stays what the file
    // holds, except where the format lets a typed one stand.
    if (col == tcol::kDest) {
        pushEdit(SetDestinations::one(document_, index, text, SetDestinations::Kind::Typing), true);
        return true;
    }
    if (col == tcol::kBase && format().traits().baseEditable) {
        document_.setBase(index, text);
        return true;
    }
    return false;
}

void TForm1::SG1SetEditText(int, int, const std::string&)
{
    // The text is in the document already, and the lengths beside it follow
    // from there; the preview follows at the next idle moment.
    scheduleIdle();
}

void TForm1::SG1KeyDown(int& key, Qt::KeyboardModifiers shift, bool)
{
    const int c = SG1->col();
    const int r = SG1->row();
    const bool ctrl = shift & Qt::ControlModifier;
    if (key == Qt::Key_Right && c == tcol::kBase) {
        // Column 3 cannot be selected; the move lands in the destination.
        SG1->setCol(tcol::kDest);
    } else if (key == Qt::Key_End && ctrl) {
        // To the last row, in the same column.
        SG1->setRow(SG1->rowCount() - 1);
    } else if (key == Qt::Key_Shift && ctrl && c == tcol::kBase && r >= 1) {
        // Ctrl held, Shift pressed: the base text becomes the destination
        // and the next row comes up, once per key-down (repeats included).
        if (const int index = translationView().indexAt(r); index >= 0)
            pushEdit(SetDestinations::one(document_, index, document_.entry(index).base.str()));
        if (r < SG1->rowCount() - 1) SG1->setRow(r + 1);
    }
}

void TForm1::SG1KeyPress(QChar& key)
{
    // A fixed-length destination cannot be typed longer than its base text;
    // typing over a selection is allowed as long as the result fits. The
    // editor holds the text without its padding, so the limit counts what
    // was typed. Editing characters (backspace, delete and the other control
    // codes) always pass.
    if (SG1->col() != tcol::kDest) return;
    if (key.unicode() < 32 || key.unicode() == 127) return;
    const Entry* e = translationView().entryAt(SG1->row());
    if (!e || e->rule != LengthRule::Fixed) return;
    if (SG1->editorRemainingLength() >= static_cast<int>(e->base.size())) key = QChar();
}

void TForm1::SG1RefusedText(const QString& refused)
{
    // Each character once, as typed.
    QString shown;
    for (QChar ch : refused)
        if (!shown.contains(ch)) shown += ch;
    Label2->setText(QStringLiteral("Not typed: %1 (not in the code page Windows-1250)").arg(shown));
    statusTimer_.start();
}

void TForm1::SG1Exit()
{
    // The current cell is drawn again now that the grid has lost the focus.
    SG1->viewport()->update(SG1->visualRect(SG1->currentIndex()));
}

void TForm1::SG1MouseMove(const QPoint& pos)
{
    // Over a base text of a resource-string file the hint is the string's
    // identifier; over the length of a destination text that the text checks
    // flag, what they found.
    const bool identifiers = format().traits().identifierHint;
    int c = -1, r = -1;
    SG1->cellAt(pos, c, r);
    const int index = translationView().indexAt(r);
    const bool flagged = c == tcol::kDestLen && index >= 0 &&
                         (document_.problems(index) & (problem::kFormat | problem::kCheckWarning));
    if (!identifiers && !flagged && !checkHint_) return;
    if (c != mouseCol || r != mouseRow) SG1->cancelHint();
    mouseCol = c;
    mouseRow = r;
    QString hint;
    if (identifiers && index >= 0 && c == tcol::kBase) hint = decodeBytes(document_.entry(index).id);
    if (flagged) {
        QStringList lines;
        for (const checks::Finding& f : document_.findings(index))
            lines << QStringLiteral("%1: %2").arg(QString::fromUtf8(checks::severityName(f.severity)),
                                                  decodeBytes(checks::describe(f)));
        hint = lines.join(QLatin1Char('\n'));
    }
    checkHint_ = flagged;
    SG1->setHint(hint);
    SG1->setShowHint(!hint.isEmpty());
}

void TForm1::AppIdle()
{
    const int c = SG1->col();
    const int r = SG1->row();
    if (c != tcol::kBase && c != tcol::kDest) return;

    previewLines = escapedLines(SG1->cell(c, r));
    if (format().traits().previewComments) {
        // A firmware text previews the comment of its line (a destination
        // text, its own preview column, which nothing fills).
        previewLines.clear();
        const std::string comment = SG1->cell(c == tcol::kBase ? tcol::kBaseComment : tcol::kPreview7, r);
        if (!comment.empty()) previewLines.push_back(comment);
    }
    // The memo sits on the cell's top edge; a cell scrolled out of sight has
    // nothing to sit on.
    const QRect cell = SG1->cellRect(c, r);
    if (previewLines.empty() || cell.isEmpty()) {
        Memo1->hide();
        return;
    }

    QStringList shown;
    for (const std::string& line : previewLines) shown << decodeBytes(line);
    const QString text = shown.join(QLatin1Char('\n'));
    if (Memo1->toPlainText() != text) Memo1->setPlainText(text);
    if (Memo1->textCursor().position() != 0) Memo1->moveCursor(QTextCursor::Start);
    if (Memo1->font() != SG1->font()) Memo1->setFont(SG1->font());
    if (Memo1->document()->documentMargin() != 0) Memo1->document()->setDocumentMargin(0);

    const QFontMetrics fm(SG1->font());
    const int height = static_cast<int>(shown.size()) * (fm.height() + 3);
    // Above the cell; where that would reach out of the window (a text of
    // several lines in the first rows), below it, so that no line is cut off.
    int top = SG1->y() + cell.top() - height;
    if (top < 0) top = SG1->y() + cell.bottom() + 1;
    const int left = SG1->x() + cell.left() + 1;
    int widest = 10;
    for (const QString& line : shown) widest = std::max(widest, fm.horizontalAdvance(line));
    // Never past the grid's right edge.
    const int width = std::max(0, std::min(widest + 50, SG1->x() + SG1->width() - left));
    const QRect geometry(left, top, width, height);
    if (Memo1->geometry() != geometry) Memo1->setGeometry(geometry);
    if (Memo1->isHidden()) {
        Memo1->show();
        Memo1->raise();
    }
}

}  // namespace tov
