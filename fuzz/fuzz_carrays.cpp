// Arbitrary bytes as a C string-array file: reading, making the template and
// writing from it must never crash, and whenever the template is made, a save
// must put every text back into the cell it was read from.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "formats/c_arrays/c_arrays.h"
#include "support/text_file.h"

namespace {

std::string folder()
{
    static const std::string dir = [] {
        std::string t = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/fuzz_carrays-XXXXXX");
        if (!mkdtemp(t.data())) std::abort();
        return t + "/";
    }();
    return dir;
}

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string base = folder() + "base.c", tmpl = folder() + "tmp0.txt", out = folder() + "out.c";
    std::FILE* f = std::fopen(base.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    std::remove(tmpl.c_str());

    tov::TextGrid work;
    const tov::CArraysRead read = tov::readCArrays(base, work);
    const tov::CArraysResult made = tov::makeCTemplate(base, tmpl);
    if (!made.ok) {
        check(access(tmpl.c_str(), F_OK) != 0, "a refused template was written");
        return 0;
    }
    check(read.ok, "the template was made from a file that reading refuses");

    // The texts as read come back into the same cells.
    const tov::CArraysWrite written = tov::writeCArrays(tmpl, out, work, read.names);
    check(written.ok && written.written, "the texts read could not be written");
    tov::TextGrid back;
    check(tov::readCArrays(out, back).ok && sameTexts(work, back), "a save moved texts");

    // So does a table where every cell is different, so that no two slots
    // can be swapped unnoticed.
    tov::TextGrid marked = work;
    for (int c = 1; c <= static_cast<int>(read.names.size()); ++c)
        for (int r = 1; r < work.rowCount(); ++r) marked.setCell(c, r, std::to_string(c) + ":" + std::to_string(r));
    std::vector<std::string> lines;
    check(tov::readLines(tmpl, lines), "the template cannot be read");
    const tov::CArraysText again = tov::writeCArraysText(lines, marked);
    check(again.ok, "marked texts could not be written");
    tov::TextGrid markedBack;
    check(tov::readCArraysLines(tov::splitLines(again.text), markedBack).ok && sameTexts(marked, markedBack),
          "a save moved marked texts");
    return 0;
}
