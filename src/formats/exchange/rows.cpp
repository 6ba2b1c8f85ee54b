#include "formats/exchange/rows.h"

#include <cstdio>
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <deque>
#include <functional>

#include "support/cp1250.h"

namespace tov::exchange {

namespace {

// Row indexes by id in one open-addressed array: a hash table of nodes
// costs a cache miss or two a lookup, which for 65,535 rows is most of an
// import's matching.
class IdIndex {
public:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    explicit IdIndex(size_t count) : slots_(std::bit_ceil(std::max<size_t>(count * 2, 16)), kEmpty)
    {
        entries_.reserve(count);
    }

    size_t find(std::string_view id) const
    {
        const size_t h = std::hash<std::string_view>()(id);
        for (size_t i = h & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
            if (slots_[i] == kEmpty) return kNone;
            const Entry& e = entries_[slots_[i]];
            if (e.hash == h && e.id == id) return e.row;
        }
    }

    // False when the id is there already.
    bool insert(std::string_view id, size_t row)
    {
        const size_t h = std::hash<std::string_view>()(id);
        size_t i = h & (slots_.size() - 1);
        for (; slots_[i] != kEmpty; i = (i + 1) & (slots_.size() - 1)) {
            const Entry& e = entries_[slots_[i]];
            if (e.hash == h && e.id == id) return false;
        }
        if (entries_.size() * 2 >= slots_.size()) {
            grow();
            return insert(id, row);
        }
        slots_[i] = static_cast<uint32_t>(entries_.size());
        entries_.push_back({id, h, row});
        return true;
    }

private:
    static constexpr uint32_t kEmpty = static_cast<uint32_t>(-1);
    struct Entry {
        std::string_view id;
        size_t hash;
        size_t row;
    };

    void grow()
    {
        slots_.assign(slots_.size() * 2, kEmpty);
        for (uint32_t k = 0; k < entries_.size(); ++k) {
            size_t i = entries_[k].hash & (slots_.size() - 1);
            while (slots_[i] != kEmpty) i = (i + 1) & (slots_.size() - 1);
            slots_[i] = k;
        }
    }

    std::vector<uint32_t> slots_;
    std::vector<Entry> entries_;
};

// The unit ids of the rows and the row of each unit id: strings made only
// for repeated identifiers.
struct UnitIds {
    std::vector<std::string_view> ids;
    IdIndex rowOf;
    std::deque<std::string> made;  // the "#N" ids (a deque never moves them)

    explicit UnitIds(const std::vector<Row>& rows) : ids(rows.size()), rowOf(rows.size())
    {
        std::vector<size_t> repeated;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rowOf.insert(rows[i].id, i)) ids[i] = rows[i].id;
            else repeated.push_back(i);
        }
        for (const size_t i : repeated) {
            for (int n = 2;; ++n) {
                std::string id = std::string(rows[i].id) + "#" + std::to_string(n);
                if (rowOf.find(id) != IdIndex::kNone) continue;
                ids[i] = made.emplace_back(std::move(id));
                rowOf.insert(ids[i], i);
                break;
            }
        }
    }
};

}  // namespace

std::vector<std::string> unitIds(const std::vector<Row>& rows)
{
    const UnitIds table(rows);
    return {table.ids.begin(), table.ids.end()};
}

namespace {

// The UTF-8 of the high half of the code page (length first), so that a
// text goes over in runs: most of a text is ASCII, copied whole.
using HighUtf8 = std::array<std::array<char, 4>, 128>;

HighUtf8 makeHighUtf8()
{
    HighUtf8 t{};
    for (unsigned b = 0x80; b < 0x100; ++b) {
        const char16_t c = cp1250::toUnicode(static_cast<unsigned char>(b));
        t[b - 0x80] = c < 0x800 ? std::array<char, 4>{2, static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)), 0}
                                : std::array<char, 4>{3, static_cast<char>(0xE0 | (c >> 12)),
                                                      static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
                                                      static_cast<char>(0x80 | (c & 0x3F))};
    }
    return t;
}

std::string toUtf8(std::string_view bytes)
{
    static const HighUtf8 high = makeHighUtf8();
    size_t size = bytes.size();
    for (const char c : bytes) size += static_cast<unsigned char>(c) >= 0x80 ? 2 : 0;
    std::string out;
    out.reserve(size);
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* run = p;
        while (p < end && static_cast<unsigned char>(*p) < 0x80) ++p;
        out.append(run, static_cast<size_t>(p - run));
        if (p == end) break;
        const auto& e = high[static_cast<unsigned char>(*p++) - 0x80];
        out.append(e.data() + 1, static_cast<size_t>(e[0]));
    }
    return out;
}

}  // namespace

File makeFile(const std::vector<Row>& rows, const FileInfo& info)
{
    const UnitIds table(rows);
    const std::vector<std::string_view>& ids = table.ids;
    File f;
    f.original = toUtf8(info.original);
    f.sourceLanguage = info.sourceLanguage;
    f.targetLanguage = info.targetLanguage;
    f.units.reserve(rows.size());
    const FormatFlag flag = info.notation == checks::FormatNotation::Printf ? FormatFlag::C : FormatFlag::ObjectPascal;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        if (r.base.empty()) continue;
        Unit& u = f.units.emplace_back();
        u.id = toUtf8(ids[i]);
        u.resname = toUtf8(r.id);
        u.source = toUtf8(r.base);
        u.target = toUtf8(r.dest);
        u.state = r.dest.empty() ? State::Untranslated : State::Translated;
        u.note = toUtf8(r.comment);
        u.reference = {toUtf8(r.referenceFile), r.referenceLine};
        u.width = r.width;
        if (hasConversion(info.notation, r.base)) u.format = flag;
    }
    return f;
}

namespace {

constexpr size_t kNoUnit = static_cast<size_t>(-1);
constexpr size_t kSeveralUnits = static_cast<size_t>(-2);

}  // namespace

ImportReport matchImport(const std::vector<Row>& rows, const File& file, const ImportOptions& options)
{
    ImportReport report;
    const UnitIds table(rows);
    const std::vector<std::string_view>& ids = table.ids;
    const IdIndex& rowOfId = table.rowOf;

    // The unit of each row: none, one, or several (then none is applied).
    std::vector<size_t> unitOfRow(rows.size(), kNoUnit);
    std::vector<Problem> unknown;
    std::string id;
    std::vector<char32_t> unheld;
    for (size_t k = 0; k < file.units.size(); ++k) {
        unheld.clear();
        const bool valid = cp1250::fromUtf8(file.units[k].id, id, unheld);
        const size_t found = valid && unheld.empty() ? rowOfId.find(id) : IdIndex::kNone;
        if (found == IdIndex::kNone) {
            unknown.push_back({Problem::Code::UnknownId, 0, valid && unheld.empty() ? id : file.units[k].id});
            continue;
        }
        size_t& slot = unitOfRow[found];
        slot = slot == kNoUnit ? k : kSeveralUnits;
    }

    std::string source, target;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const auto problem = [&](Problem::Code code, char32_t ch = 0, bool applied = false) {
            report.problems.push_back({code, row.row, std::string(ids[i]), ch, applied});
        };
        if (unitOfRow[i] == kNoUnit) {
            ++report.notInFile;
            continue;
        }
        if (unitOfRow[i] == kSeveralUnits) {
            problem(Problem::Code::DuplicateId);
            continue;
        }
        const Unit& u = file.units[unitOfRow[i]];
        if (u.state == State::Untranslated) {
            ++report.untranslated;
            continue;
        }
        if (u.state == State::NeedsReview && !options.needsReview) {
            problem(Problem::Code::NeedsReview);
            continue;
        }
        if (u.targetPlaceholders) {
            problem(Problem::Code::Placeholder);
            continue;
        }
        unheld.clear();
        const bool targetValid = cp1250::fromUtf8(u.target, target, unheld);
        const bool targetHeld = targetValid && unheld.empty();
        std::vector<char32_t> sourceUnheld;
        const bool sameSource = cp1250::fromUtf8(u.source, source, sourceUnheld) && sourceUnheld.empty() &&
                                source == row.base;
        if (!sameSource) problem(Problem::Code::SourceChanged, 0, options.force && targetHeld);
        if (!targetValid) problem(Problem::Code::InvalidText);
        for (const char32_t c : targetValid ? unheld : std::vector<char32_t>{}) problem(Problem::Code::UnheldCharacter, c);
        if (!targetHeld || (!sameSource && !options.force)) continue;
        if (target == row.dest) ++report.unchanged;
        else report.edits.push_back({row.row, target});
    }
    report.problems.insert(report.problems.end(), unknown.begin(), unknown.end());
    return report;
}

std::string describe(const Problem& problem)
{
    if (problem.code == Problem::Code::UnknownId) return "id " + problem.id + ": not in the document";
    std::string what;
    switch (problem.code) {
    case Problem::Code::DuplicateId: what = "more than one unit with this id"; break;
    case Problem::Code::SourceChanged: what = "source text differs from the base"; break;
    case Problem::Code::UnheldCharacter: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(problem.character));
        what = std::string("character ") + buf + " not in the code page";
        break;
    }
    case Problem::Code::InvalidText: what = "translation is not valid UTF-8"; break;
    case Problem::Code::NeedsReview: what = "translation marked for review"; break;
    case Problem::Code::Placeholder: what = "translation holds a placeholder without text"; break;
    case Problem::Code::UnknownId: break;
    }
    return "row " + std::to_string(problem.row) + ": " + problem.id + ": " + what +
           (problem.applied ? "; applied" : "; not applied");
}

}  // namespace tov::exchange
