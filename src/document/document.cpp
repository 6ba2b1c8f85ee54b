#include "document/document.h"

#include <algorithm>

namespace tov {

std::string characterCountText(std::uint64_t base, std::uint64_t dest)
{
    return "Base: " + std::to_string(base) + "   Dest.: " + std::to_string(dest);
}

void TranslationDocument::reset(RowNaming naming)
{
    naming_ = naming;
    entries_.clear();
    files = FileSet{};
    languages.clear();
    baseLanguage = destLanguage = -1;
    baseLanguageName.clear();
    destLanguageName.clear();
    structureFailureRow = 0;
    recount();
}

void TranslationDocument::adopt(TranslationDocument&& other)
{
    std::function<void()> observer = std::move(observer_);
    const std::uint64_t generation = generation_;
    *this = std::move(other);
    observer_ = std::move(observer);
    generation_ = generation;
    changed();
}

void TranslationDocument::assign(std::vector<Entry> entries)
{
    entries_ = std::move(entries);
    recount();
}

void TranslationDocument::recount()
{
    counts_ = Counts{};
    for (const Entry& e : entries_) count(e, 1);
    changed();
}

void TranslationDocument::count(const Entry& e, int sign)
{
    const Problems p = entryProblems(e);
    counts_.rows += sign;
    counts_.translated += hasDestination(e) ? sign : 0;
    counts_.missing += (p & problem::kMissing) ? sign : 0;
    counts_.changed += (p & problem::kChanged) ? sign : 0;
    counts_.tooLong += (p & problem::kTooLong) ? sign : 0;
    counts_.lengthDiffers += (p & problem::kLengthDiffers) ? sign : 0;
    counts_.structure += (p & problem::kStructure) ? sign : 0;
    counts_.baseCharacters += static_cast<std::uint64_t>(static_cast<std::int64_t>(e.base.size()) * sign);
    counts_.destCharacters += static_cast<std::uint64_t>(static_cast<std::int64_t>(e.dest.size()) * sign);
}

bool TranslationDocument::setDestination(int index, std::string_view text)
{
    Entry& e = entries_[static_cast<std::size_t>(index)];
    if (fitsRule(e.rule, e.base, text) ? e.dest == text : e.dest == fitToRule(e.rule, e.base, text)) return false;
    count(e, -1);
    e.dest = fitToRule(e.rule, e.base, text);
    count(e, 1);
    changed();
    return true;
}

void TranslationDocument::setBase(int index, std::string text)
{
    Entry& e = entries_[static_cast<std::size_t>(index)];
    if (e.base == text) return;
    count(e, -1);
    e.base = std::move(text);
    count(e, 1);
    changed();
}

void TranslationDocument::markSaved()
{
    for (Entry& e : entries_) e.stored = e.dest;
    recount();
}

void TranslationDocument::clearDestination()
{
    for (Entry& e : entries_) {
        e.dest = fitToRule(e.rule, e.base, {});
        e.stored.clear();
        e.destComment.clear();
        e.structure = false;
    }
    structureFailureRow = 0;
    recount();
}

Location TranslationDocument::location(int index) const
{
    const std::size_t line = entry(index).line;
    const auto& starts = files.lineStarts;
    const auto next = std::upper_bound(starts.begin(), starts.end(), line);
    if (next == starts.begin()) return {};
    const auto f = static_cast<std::size_t>(next - starts.begin() - 1);
    if (f >= files.baseFiles.size()) return {};
    return {files.baseFiles[f], static_cast<int>(line - starts[f]) + 1};
}

std::string TranslationDocument::rowName(int index) const
{
    switch (naming_) {
    case RowNaming::Identifier: return entry(index).id;
    case RowNaming::Location: {
        const Location at = location(index);
        return at.file + ":" + std::to_string(at.line);
    }
    case RowNaming::Number: break;
    }
    return std::to_string(index + 1);
}

}  // namespace tov
