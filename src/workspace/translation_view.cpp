#include "workspace/translation_view.h"

#include <algorithm>

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
    const int rows = shown_ ? static_cast<int>(shown_->size()) : doc_.size();
    return std::max(2, rows + 1);
}

int TranslationView::indexAt(int r) const
{
    if (r < 1) return -1;
    if (!shown_) return r <= doc_.size() ? r - 1 : -1;
    if (r > static_cast<int>(shown_->size())) return -1;
    const int index = (*shown_)[static_cast<std::size_t>(r - 1)];
    return index < doc_.size() ? index : -1;
}

int TranslationView::rowOf(int index) const
{
    if (index < 0 || index >= doc_.size()) return -1;
    if (!shown_) return index + 1;
    const auto it = std::lower_bound(shown_->begin(), shown_->end(), index);
    return it != shown_->end() && *it == index ? static_cast<int>(it - shown_->begin()) + 1 : -1;
}

void TranslationView::setFilter(std::optional<std::vector<int>> indices)
{
    shown_ = std::move(indices);
    if (observer_) observer_();
}

void TranslationView::reveal(int index)
{
    if (!shown_ || index < 0 || index >= doc_.size() || rowOf(index) > 0) return;
    shown_->insert(std::lower_bound(shown_->begin(), shown_->end(), index), index);
    if (observer_) observer_();
}

int TranslationView::colCount() const
{
    return tcol::kCount;
}

const Entry* TranslationView::entryAt(int r) const
{
    const int index = indexAt(r);
    return index >= 0 ? &doc_.entry(index) : nullptr;
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
    const int index = indexAt(r);
    if (index < 0) return {};
    const Entry* e = &doc_.entry(index);
    switch (c) {
    case tcol::kNumber:
        switch (traits.rowLabel) {
        case RowLabel::SpacedNumber: return " " + std::to_string(index + 1);
        case RowLabel::Number: return std::to_string(index + 1);
        case RowLabel::Identifier: return e->id.str();
        }
        return {};
    case tcol::kBaseLen: return traits.lengthColumns ? lengthText(e->base.size()) : "";
    case tcol::kBase: return e->base.str();
    case tcol::kDestLen: return traits.lengthColumns ? lengthText(e->dest.size()) : "";
    case tcol::kDest: return e->dest.str();
    case tcol::kComment: return traits.commentColumns ? e->destComment.str() : "";
    case tcol::kBaseComment: return e->baseComment.str();
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
    const int index = indexAt(r);
    if (index < 0 || !onEdit) return false;
    return onEdit(c, index, text);
}

void TranslationView::setObserver(std::function<void()> observer)
{
    observer_ = observer;
    if (!observer) {
        doc_.setObserver(nullptr);
        return;
    }
    doc_.setObserver([this, observer = std::move(observer)] {
        observer();
        if (onDocumentChanged) onDocumentChanged();
    });
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
