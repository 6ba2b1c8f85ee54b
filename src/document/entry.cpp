#include "document/entry.h"

namespace tov {

LengthRule fixedRuleFor(std::string_view base)
{
    return base.size() <= kFixedLengthLimit ? LengthRule::Fixed : LengthRule::None;
}

bool fitsRule(LengthRule rule, std::string_view base, std::string_view text)
{
    return rule != LengthRule::Fixed || text.size() == base.size();
}

std::string fitToRule(LengthRule rule, std::string_view base, std::string_view text)
{
    if (rule != LengthRule::Fixed) return std::string(text);
    std::string out(text.substr(0, base.size()));
    out.resize(base.size(), ' ');
    return out;
}

Text fitText(LengthRule rule, std::string_view base, const Text& text)
{
    if (fitsRule(rule, base, text)) return text;
    const std::size_t n = base.size();
    if (text.size() > n) return text.owned() ? Text(text.view().substr(0, n)) : Text::borrowed(text.view().substr(0, n));
    // The blanks of an empty fixed-length text (a fixed length is at most
    // kFixedLengthLimit).
    static const std::string blanks(kFixedLengthLimit, ' ');
    if (text.empty() && n <= blanks.size()) return Text::borrowed(std::string_view(blanks).substr(0, n));
    return Text(fitToRule(rule, base, text));
}

std::string_view withoutPadding(LengthRule rule, std::string_view text)
{
    if (rule != LengthRule::Fixed) return text;
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

Problems textProblems(LengthRule rule, std::string_view base, std::string_view text)
{
    Problems p = 0;
    if (text.empty() && !(rule == LengthRule::Fixed && base.empty())) p |= problem::kMissing;
    if (rule == LengthRule::AtMost && text.size() > base.size()) p |= problem::kTooLong;
    if (rule == LengthRule::Fixed && !text.empty() && text.size() != base.size()) p |= problem::kLengthDiffers;
    return p;
}

namespace {

// Whether `dest` equals what the rule makes of `stored`, without building it.
bool sameAsStored(const Entry& e)
{
    if (e.rule != LengthRule::Fixed || e.stored.size() == e.base.size()) return e.dest == e.stored;
    const std::size_t n = e.base.size();
    if (e.dest.size() != n) return false;
    const std::size_t kept = std::min(n, e.stored.size());
    if (std::string_view(e.dest).substr(0, kept) != std::string_view(e.stored).substr(0, kept)) return false;
    return std::string_view(e.dest).substr(kept).find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

Problems entryProblems(const Entry& e)
{
    Problems p = textProblems(e.rule, e.base, e.dest);
    if (!sameAsStored(e)) p |= problem::kChanged;
    if (e.structure) p |= problem::kStructure;
    return p;
}

Problems fileProblems(const Entry& e)
{
    Problems p = textProblems(e.rule, e.base, e.stored);
    if (e.structure) p |= problem::kStructure;
    return p;
}

bool hasDestination(const Entry& e)
{
    return !withoutPadding(e.rule, e.dest).empty();
}

}  // namespace tov
