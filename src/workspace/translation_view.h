// The translation table as a view over the document: the cells of the main
// window's grid are read from the entries (row numbers, lengths, texts,
// comments) as they are painted, and what is typed goes back as an edit.
// Nothing is kept here but the way to the document.
#pragma once

#include <QUndoCommand>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "document/document.h"
#include "document/edits.h"
#include "document/format.h"
#include "workspace/string_grid.h"

namespace tov {

class TranslationView : public CellSource {
public:
    // `format` gives the format of the document shown at any moment.
    TranslationView(TranslationDocument& doc, std::function<const Format&()> format);

    // Row 0 holds the headers once a file has been shown.
    void setHeadersShown(bool shown);
    bool headersShown() const { return headersShown_; }

    int rowCount() const override;
    int colCount() const override;
    std::string text(int c, int r) const override;
    std::string editText(int c, int r) const override;
    bool setText(int c, int r, const std::string& text) override;
    void setObserver(std::function<void()> observer) override;

    // What a typed text does: (column, entry index, text) -> taken or not.
    std::function<bool(int c, int index, const std::string& text)> onEdit;

    // The entry of a table row (from 1), or nullptr for the header row and
    // the empty row of a table without entries.
    const Entry* entryAt(int r) const;
    // The entry index of a table row; -1 for the header and an empty row.
    int indexAt(int r) const;
    // The table row of an entry index; -1 when the filter hides it.
    int rowOf(int index) const;

    // Shows only the rows of `indices` (entry indices, in ascending order),
    // without changing the document; the row numbers stay those of the
    // document. nullopt shows every row again.
    void setFilter(std::optional<std::vector<int>> indices);
    bool filtered() const { return shown_.has_value(); }
    int shownCount() const { return shown_ ? static_cast<int>(shown_->size()) : doc_.size(); }
    // A row the filter hides is shown too (the translator went to it).
    void reveal(int index);

    // Told after every change of the document, after the grid.
    std::function<void()> onDocumentChanged;

private:
    TranslationDocument& doc_;
    std::function<const Format&()> format_;
    std::function<void()> observer_;
    bool headersShown_ = false;
    std::optional<std::vector<int>> shown_;
};

// An edit of the document on the window's undo stack.
class DocumentEdit : public QUndoCommand {
public:
    DocumentEdit(TranslationDocument& doc, std::unique_ptr<Edit> edit, bool typing);
    void redo() override;
    void undo() override;
    int id() const override { return typing_ ? 1 : -1; }
    bool mergeWith(const QUndoCommand* other) override;
    // The first row (entry index) it changes.
    int firstRow() const { return edit_->firstRow(); }

private:
    TranslationDocument& doc_;
    std::unique_ptr<Edit> edit_;
    bool typing_;
};

}  // namespace tov
