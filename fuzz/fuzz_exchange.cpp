// Arbitrary bytes as an exchange file (XLIFF or PO, as detected, or the
// format the first byte picks), read, matched against rows made of what was
// read, written back and read again. Besides not crashing: every edit and
// count of the import names a row of its own, a translated unit comes back
// with its id, source and target, and where a fast reader (the strict PO
// reader, XLIFF unit by unit) reads the bytes, the complete one reads the
// same.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "formats/exchange/po_read.h"
#include "formats/exchange/rows.h"
#include "formats/exchange/xliff_read.h"
#include "support/cp1250.h"

using namespace tov::exchange;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    Format format = detectFormat("in", bytes);
    if (format == Format::Tsv) format = data[0] & 1 ? Format::Po : Format::Xliff;
    ReadResult fast;
    if (format == Format::Po ? po::readStrict(bytes, fast) : xliff::readUnitByUnit(bytes, fast)) {
        const ReadResult complete = format == Format::Po ? po::readThroughGettext(bytes) : xliff::readWhole(bytes);
        if (fast) check(complete && complete.file == fast.file);
    }
    const ReadResult first = read(format, bytes);
    if (!first) return 0;

    // Rows holding the units' texts in the code page, where it can hold them.
    std::vector<std::string> texts;
    texts.reserve(first.file.units.size() * 3);
    std::vector<Row> rows;
    std::vector<char32_t> unheld;
    int n = 0;
    for (const Unit& u : first.file.units) {
        std::string id, base, dest;
        unheld.clear();
        if (!tov::cp1250::fromUtf8(u.id, id, unheld) || !tov::cp1250::fromUtf8(u.source, base, unheld) ||
            !tov::cp1250::fromUtf8(u.target, dest, unheld) || !unheld.empty())
            continue;
        texts.push_back(id);
        texts.push_back(base);
        texts.push_back(dest);
        rows.push_back({++n, texts[texts.size() - 3], texts[texts.size() - 2], texts.back(), "", "", 0, {}});
    }
    const ImportReport report = matchImport(rows, first.file, {true, true});
    for (const Edit& e : report.edits) check(e.row >= 1 && e.row <= n);
    for (const Problem& p : report.problems) check(!describe(p).empty());
    check(static_cast<int>(report.edits.size()) + report.unchanged + report.untranslated + report.notInFile <= n);

    const Written w = format == Format::Xliff ? writeXliff(first.file) : writePo(first.file);
    if (!w) return 0;
    const ReadResult second = read(format, w.bytes);
    check(second);
    check(second.file.units.size() == first.file.units.size());
    for (size_t k = 0; k < first.file.units.size(); ++k) {
        const Unit& a = first.file.units[k];
        const Unit& b = second.file.units[k];
        check(a.id == b.id);
        check(a.source == b.source);
        if (a.state == State::Translated && !a.targetPlaceholders) {
            check(b.state == State::Translated);
            check(a.target == b.target);
        }
    }
    return 0;
}
