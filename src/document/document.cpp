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
    kept_.clear();
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

void TranslationDocument::dropUnviewed()
{
    if (kept_.empty()) return;
    // The buffers by address, so that the one a text views into is found
    // by a binary search (a file set may keep dozens).
    struct Range {
        const char* begin;
        const char* end;
        std::size_t k;
    };
    std::vector<Range> ranges;
    ranges.reserve(kept_.size());
    for (std::size_t k = 0; k < kept_.size(); ++k) ranges.push_back({kept_[k]->data(), kept_[k]->data() + kept_[k]->size(), k});
    const std::less<const char*> before;
    std::sort(ranges.begin(), ranges.end(), [&before](const Range& a, const Range& b) { return before(a.begin, b.begin); });
    std::vector<bool> viewed(kept_.size(), false);
    std::size_t left = kept_.size();
    const auto mark = [&](const Text& t) {
        if (t.owned() || t.empty()) return;
        const char* const begin = t.data();
        const char* const end = begin + t.size();
        // The last buffer that starts at or before the text; buffers do not
        // overlap, but an empty one may start where another does.
        auto it = std::upper_bound(ranges.begin(), ranges.end(), begin,
                                   [&before](const char* p, const Range& r) { return before(p, r.begin); });
        while (it != ranges.begin()) {
            --it;
            if (before(it->end, end)) {
                if (before(it->begin, begin)) return;
                continue;
            }
            if (!viewed[it->k]) {
                viewed[it->k] = true;
                --left;
            }
            return;
        }
    };
    for (const Entry& e : entries_) {
        if (left == 0) return;
        for (const Text* t : {&e.id, &e.base, &e.dest, &e.stored, &e.baseComment, &e.destComment}) mark(*t);
    }
    std::size_t out = 0;
    for (std::size_t k = 0; k < kept_.size(); ++k)
        if (viewed[k]) kept_[out++] = std::move(kept_[k]);
    kept_.resize(out);
}

void TranslationDocument::recount()
{
    dropUnviewed();
    counts_ = Counts{};
    checkMarks_.assign(entries_.size(), 0);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        checkMarks_[i] = checkMarks(entries_[i]);
        count(i, 1);
    }
    changed();
}

void TranslationDocument::setCheckOptions(const checks::CheckOptions& options)
{
    if (options == checkOptions_) return;
    checkOptions_ = options;
    recount();
}

std::uint8_t TranslationDocument::checkMarks(const Entry& e) const
{
    if (!hasDestination(e)) return 0;
    // Most texts hold nothing the checks look for: no findings, no allocation.
    thread_local checks::Findings found;
    found.clear();
    checks::checkEntry(checkOptions_, e.base, e.dest, found);
    Problems p = 0;
    for (const checks::Finding& f : found)
        p |= f.severity == checks::Severity::Error ? problem::kFormat : problem::kCheckWarning;
    static_assert((problem::kFormat | problem::kCheckWarning) <= 0xFF);
    return static_cast<std::uint8_t>(p);
}

checks::Findings TranslationDocument::findings(int index) const
{
    const Entry& e = entry(index);
    if (!hasDestination(e)) return {};
    return checks::checkEntry(checkOptions_, e.base, e.dest);
}

checks::Findings TranslationDocument::storedFindings(int index) const
{
    const Entry& e = entry(index);
    if (withoutPadding(e.rule, e.stored).empty()) return {};
    return checks::checkEntry(checkOptions_, e.base, e.stored);
}

void TranslationDocument::count(std::size_t index, int sign)
{
    const Entry& e = entries_[index];
    const Problems p = entryProblems(e) | checkMarks_[index];
    counts_.rows += sign;
    counts_.translated += hasDestination(e) ? sign : 0;
    counts_.missing += (p & problem::kMissing) ? sign : 0;
    counts_.changed += (p & problem::kChanged) ? sign : 0;
    counts_.tooLong += (p & problem::kTooLong) ? sign : 0;
    counts_.lengthDiffers += (p & problem::kLengthDiffers) ? sign : 0;
    counts_.structure += (p & problem::kStructure) ? sign : 0;
    counts_.formatErrors += (p & problem::kFormat) ? sign : 0;
    counts_.checkWarnings += (p & (problem::kFormat | problem::kCheckWarning)) == problem::kCheckWarning ? sign : 0;
    counts_.baseCharacters += static_cast<std::uint64_t>(static_cast<std::int64_t>(e.base.size()) * sign);
    counts_.destCharacters += static_cast<std::uint64_t>(static_cast<std::int64_t>(e.dest.size()) * sign);
}

bool TranslationDocument::setDestination(int index, std::string_view text)
{
    const auto i = static_cast<std::size_t>(index);
    Entry& e = entries_[i];
    if (fitsRule(e.rule, e.base, text) ? e.dest == text : e.dest == fitToRule(e.rule, e.base, text)) return false;
    count(i, -1);
    e.dest = fitToRule(e.rule, e.base, text);
    checkMarks_[i] = checkMarks(e);
    count(i, 1);
    changed();
    return true;
}

void TranslationDocument::setBase(int index, std::string text)
{
    const auto i = static_cast<std::size_t>(index);
    Entry& e = entries_[i];
    if (e.base == text) return;
    count(i, -1);
    e.base = std::move(text);
    checkMarks_[i] = checkMarks(e);
    count(i, 1);
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
    case RowNaming::Identifier: return entry(index).id.str();
    case RowNaming::Location: {
        const Location at = location(index);
        return at.file + ":" + std::to_string(at.line);
    }
    case RowNaming::Number: break;
    }
    return std::to_string(index + 1);
}

}  // namespace tov
