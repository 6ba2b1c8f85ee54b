// Changes of the destination texts as objects that can be done and undone:
// the window keeps them on its undo stack, the command-line tool applies
// them once. Each keeps the texts before and after, so that undoing gives
// back exactly what was there.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/document.h"

namespace tov {

class Edit {
public:
    virtual ~Edit() = default;
    virtual void redo(TranslationDocument& doc) const = 0;
    virtual void undo(TranslationDocument& doc) const = 0;
    // Whether doing it changes nothing (it can then be left off the stack).
    virtual bool empty() const = 0;
    // Typing in one row is one step: a typing edit of the same row that
    // follows this one is taken into it. False when it cannot be.
    virtual bool absorb(const Edit& next)
    {
        (void)next;
        return false;
    }
    // The first row it changes (index), for a view to show.
    virtual int firstRow() const = 0;
};

// The destination text of rows: one row (typing, a copy of the base text) or
// many at once (an import), one step either way.
class SetDestinations : public Edit {
public:
    struct Change {
        int index = 0;
        std::string before;
        std::string after;
    };
    enum class Kind { Other, Typing };

    // The texts each row will hold, the rules applied, against `doc` as it is now.
    SetDestinations(const TranslationDocument& doc, const std::vector<std::pair<int, std::string>>& texts,
                    Kind kind = Kind::Other);
    static std::unique_ptr<SetDestinations> one(const TranslationDocument& doc, int index, std::string text,
                                                Kind kind = Kind::Other);

    void redo(TranslationDocument& doc) const override;
    void undo(TranslationDocument& doc) const override;
    bool empty() const override;
    bool absorb(const Edit& next) override;
    int firstRow() const override { return changes_.empty() ? 0 : changes_.front().index; }
    const std::vector<Change>& changes() const { return changes_; }

private:
    std::vector<Change> changes_;
    Kind kind_;
};

}  // namespace tov
