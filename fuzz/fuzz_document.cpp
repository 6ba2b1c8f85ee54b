// Fuzzes the translation document: rows of every length rule made of the
// input's lines, then edits read from the input (one row, or all rows at
// once, typing merged as one step) done and undone. The counts kept as rows
// change must be those counted afresh, every text must obey its row's rule,
// undoing every step must give the texts back, and the text export must read
// back through the import.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/edits.h"
#include "document/text_exchange.h"
#include "fuzz/fuzz_check.h"
#include "support/text_file.h"

namespace {

using namespace tov;

bool sameCounts(const Counts& a, const Counts& b)
{
    return a.rows == b.rows && a.translated == b.translated && a.missing == b.missing && a.changed == b.changed &&
           a.tooLong == b.tooLong && a.lengthDiffers == b.lengthDiffers && a.structure == b.structure &&
           a.baseCharacters == b.baseCharacters && a.destCharacters == b.destCharacters;
}

void checkDocument(const TranslationDocument& doc)
{
    TranslationDocument fresh;
    fresh.assign(doc.entries());
    check(sameCounts(doc.counts(), fresh.counts()));
    for (const Entry& e : doc.entries()) check(fitsRule(e.rule, e.base, e.dest));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    if (lines.empty()) return 0;
    // The first half of the lines are rows (base TAB stored), the rest edits
    // (a row number and the text typed).
    const std::size_t rows = (lines.size() + 1) / 2;
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < rows; ++i) {
        const std::string& line = lines[i];
        const std::size_t tab = line.find('\t');
        Entry e;
        e.base = line.substr(0, tab);
        e.stored = tab == std::string::npos ? std::string() : line.substr(tab + 1);
        e.rule = static_cast<LengthRule>(i % 3);
        if (e.rule == LengthRule::Fixed) e.rule = fixedRuleFor(e.base);
        e.dest = fitToRule(e.rule, e.base, e.stored);
        entries.push_back(std::move(e));
    }
    TranslationDocument doc;
    doc.assign(entries);
    checkDocument(doc);

    std::vector<std::unique_ptr<Edit>> done;
    for (std::size_t i = rows; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const int row = line.empty() ? 0 : static_cast<unsigned char>(line[0]) % doc.size();
        const std::string text = line.empty() ? std::string() : line.substr(1);
        std::unique_ptr<Edit> edit;
        if (!line.empty() && line[0] == '*') {
            std::vector<std::pair<int, std::string>> all;
            for (int r = 0; r < doc.size(); ++r) all.emplace_back(r, text + std::to_string(r));
            edit = std::make_unique<SetDestinations>(doc, all);
        } else {
            edit = SetDestinations::one(doc, row, text, SetDestinations::Kind::Typing);
        }
        edit->redo(doc);
        if (!done.empty() && done.back()->absorb(*edit)) continue;
        done.push_back(std::move(edit));
    }
    checkDocument(doc);

    std::string tsv;
    if (exportText(doc, tsv)) {
        const ImportedTexts back = importText(doc, tsv);
        // A text with a line break cannot come back on its line.
        bool breaks = false;
        for (const Entry& e : doc.entries())
            breaks = breaks || e.base.view().find_first_of("\r\n\x1A") != std::string_view::npos ||
                     e.dest.view().find_first_of("\r\n\x1A") != std::string_view::npos;
        if (!breaks) {
            check(back.ok);
            for (int r = 0; r < doc.size(); ++r) check(back.dest[static_cast<std::size_t>(r)] == doc.entry(r).dest);
        }
    }

    for (auto it = done.rbegin(); it != done.rend(); ++it) (*it)->undo(doc);
    for (int r = 0; r < doc.size(); ++r) check(doc.entry(r).dest == entries[static_cast<std::size_t>(r)].dest);
    checkDocument(doc);
    return 0;
}
