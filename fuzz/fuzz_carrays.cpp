// Arbitrary bytes as a C string-array file, in memory (the file procedures
// read their input with the program's line rule and write what these
// produce): reading, making the template and writing from it must never
// crash, and whenever the template is made, a save must put every text back
// into the cell it was read from.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "formats/c_arrays/c_arrays.h"
#include "support/text_file.h"

namespace {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_carrays: %s\n", what);
        std::abort();
    }
}

bool sameTexts(const tov::TextGrid& a, const tov::TextGrid& b)
{
    if (a.rowCount() != b.rowCount()) return false;
    for (int c = 0; c < tov::kCArraysColumns; ++c)
        for (int r = 0; r < a.rowCount(); ++r)
            if (a.cell(c, r) != b.cell(c, r)) return false;
    return true;
}

// A save of `work` from the template, read back.
bool writesBack(const std::vector<std::string>& templateLines, const tov::TextGrid& work)
{
    const tov::CArraysText written = tov::writeCArraysText(templateLines, work);
    check(written.ok, "texts read from the file could not be written");
    tov::TextGrid back;
    return tov::readCArraysLines(tov::splitLines(written.text), back).ok && sameTexts(work, back);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = tov::splitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    tov::TextGrid work;
    const tov::CArraysRead read = tov::readCArraysLines(lines, work);
    const tov::CArraysText made = tov::makeCTemplateText(lines);
    if (!made.ok) {
        check(made.text.empty(), "a refused template has text");
        return 0;
    }
    check(read.ok, "the template was made from a file that reading refuses");
    const std::vector<std::string> templateLines = tov::splitLines(made.text);

    // The texts as read come back into the same cells.
    check(writesBack(templateLines, work), "a save moved texts");

    // So does a table where every cell is different, so that no two slots
    // can be swapped unnoticed.
    tov::TextGrid marked = work;
    for (int c = 1; c <= static_cast<int>(read.names.size()); ++c)
        for (int r = 1; r < work.rowCount(); ++r) marked.setCell(c, r, std::to_string(c) + ":" + std::to_string(r));
    check(writesBack(templateLines, marked), "a save moved marked texts");
    return 0;
}
