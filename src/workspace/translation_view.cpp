#include "workspace/translation_view.h"

#include "formats/source_kind.h"
#include "support/convert.h"

namespace tov {

TranslationView::TranslationView(TranslationDocument& doc, std::function<const Format&()> format)
    : doc_(doc), format_(std::move(format))
{
}

void TranslationView::setHeadersShown(bool shown)
{
    if (headersShown_ == shown) return;
    headersShown_ = shown;
    if (observer_) observer_();
}

int TranslationView::rowCount() const
{
    // The header row and one row at least below it, where the current cell
    // can stand in a table without entries.
    return std::max(2, doc_.size() + 1);
}

int TranslationView::colCount() const
{
    return tcol::kCount;
}

const Entry* TranslationView::entryAt(int r) const
{
    return r >= 1 && r <= doc_.size() ? &doc_.entry(r - 1) : nullptr;
}

std::string TranslationView::text(int c, int r) const
{
    const Format& format = format_();
    const FormatTraits& traits = format.traits();
    if (r == 0) {
        if (!headersShown_) return {};
        switch (c) {
        case tcol::kNumber: return traits.lengthHeaders ? "No." : "";
        case tcol::kBaseLen:
        case tcol::kDestLen: return traits.lengthHeaders ? "len" : "";
        case tcol::kBase:
        case tcol::kDest: return format.header(doc_, c);
        case tcol::kComment: return traits.commentColumns ? "comment" : "";
        default: return {};
        }
    }
    const Entry* e = entryAt(r);
    if (!e) return {};
    switch (c) {
    case tcol::kNumber:
        switch (traits.rowLabel) {
        case RowLabel::SpacedNumber: return " " + std::to_string(r);
        case RowLabel::Number: return std::to_string(r);
        case RowLabel::Identifier: return e->id;
        }
        return {};
    case tcol::kBaseLen: return traits.lengthColumns ? lengthText(e->base.size()) : "";
    case tcol::kBase: return e->base;
    case tcol::kDestLen: return traits.lengthColumns ? lengthText(e->dest.size()) : "";
    case tcol::kDest: return e->dest;
    case tcol::kComment: return traits.commentColumns ? e->destComment : "";
    case tcol::kBaseComment: return e->baseComment;
    case tcol::kLineIndex: return traits.commentColumns ? std::to_string(e->line) : "";
    default: return {};
    }
}

std::string TranslationView::editText(int c, int r) const
{
    const Entry* e = entryAt(r);
    // A fixed-length text is edited without the blanks that pad it.
    if (c == tcol::kDest && e) return std::string(withoutPadding(e->rule, e->dest));
    return text(c, r);
}

bool TranslationView::setText(int c, int r, const std::string& text)
{
    if (!entryAt(r) || !onEdit) return false;
    return onEdit(c, r - 1, text);
}

void TranslationView::setObserver(std::function<void()> observer)
{
    observer_ = observer;
    doc_.setObserver(std::move(observer));
}

// ---------------------------------------------------------------------------

DocumentEdit::DocumentEdit(TranslationDocument& doc, std::unique_ptr<Edit> edit, bool typing)
    : doc_(doc), edit_(std::move(edit)), typing_(typing)
{
}

void DocumentEdit::redo()
{
    edit_->redo(doc_);
}

void DocumentEdit::undo()
{
    edit_->undo(doc_);
}

bool DocumentEdit::mergeWith(const QUndoCommand* other)
{
    const auto* next = dynamic_cast<const DocumentEdit*>(other);
    if (!next || !edit_->absorb(*next->edit_)) return false;
    // Typed back to where it started: no step at all.
    setObsolete(edit_->empty());
    return true;
}

}  // namespace tov
