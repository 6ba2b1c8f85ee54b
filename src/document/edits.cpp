#include "document/edits.h"

namespace tov {

SetDestinations::SetDestinations(const TranslationDocument& doc, const std::vector<std::pair<int, std::string>>& texts,
                                 Kind kind)
    : kind_(kind)
{
    changes_.reserve(texts.size());
    for (const auto& [index, text] : texts) {
        const Entry& e = doc.entry(index);
        std::string after = fitToRule(e.rule, e.base, text);
        if (after != e.dest) changes_.push_back({index, e.dest.str(), std::move(after)});
    }
}

std::unique_ptr<SetDestinations> SetDestinations::one(const TranslationDocument& doc, int index, std::string text,
                                                      Kind kind)
{
    return std::make_unique<SetDestinations>(doc, std::vector<std::pair<int, std::string>>{{index, std::move(text)}},
                                             kind);
}

void SetDestinations::redo(TranslationDocument& doc) const
{
    for (const Change& c : changes_) doc.setDestination(c.index, c.after);
}

void SetDestinations::undo(TranslationDocument& doc) const
{
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) doc.setDestination(it->index, it->before);
}

bool SetDestinations::empty() const
{
    for (const Change& c : changes_)
        if (c.before != c.after) return false;
    return true;
}

bool SetDestinations::absorb(const Edit& next)
{
    const auto* other = dynamic_cast<const SetDestinations*>(&next);
    if (!other || kind_ != Kind::Typing || other->kind_ != Kind::Typing) return false;
    if (changes_.size() != 1 || other->changes_.size() > 1) return false;
    if (other->changes_.empty()) return true;
    const Change& o = other->changes_.front();
    if (o.index != changes_.front().index) return false;
    changes_.front().after = o.after;
    return true;
}

}  // namespace tov
