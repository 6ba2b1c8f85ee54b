// Arbitrary bytes as a resource-string file: read as a base and merged as a
// column, written back, read again. Besides not crashing, the quote routines
// must undo their escaping for texts they can carry.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

#include "formats/resource_strings/drc_file.h"
#include "formats/resource_strings/quotes.h"
#include "support/atomic_file.h"

namespace {

// In memory where the system offers it: every run writes two files, and the
// writer flushes to the disk.
std::string tempFolder()
{
    char shm[] = "/dev/shm/fuzz_drc-XXXXXX";
    if (const char* made = ::mkdtemp(shm)) return made;
    char tmp[] = "/tmp/fuzz_drc-XXXXXX";
    const char* made = ::mkdtemp(tmp);
    if (!made) std::abort();
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = tempFolder();
    static const std::string in = folder + "/in.drc";
    static const std::string out = folder + "/out.drc";
    static const int cleanUp = std::atexit([] {
        ::unlink(in.c_str());
        ::unlink(out.c_str());
        ::rmdir(folder.c_str());
    });
    (void)cleanUp;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!tov::writeFileAtomic(in, bytes)) std::abort();

    tov::TextGrid g(11, 3);
    g.setCell(0, 1, "A");
    g.setCell(2, 1, "x");
    tov::ReadDrcColumn(2, in, g);
    if (tov::ReadDrcBase(in, g)) {
        g.copyColumn(2, g, 1);
        if (tov::WriteDrc(2, out, g)) {
            tov::TextGrid back(11, 1);
            if (!tov::ReadDrcBase(out, back)) std::abort();  // a written file always has its header
            // Every row with an identifier is written, and no other.
            int entries = 0;
            for (int r = 1; r < g.rowCount(); ++r) entries += g.cell(0, r).empty() ? 0 : 1;
            if (back.rowCount() - 1 != entries) std::abort();
            tov::ReadDrcColumn(2, out, g);
        }
    }

    if (bytes.find("\\\"") == std::string_view::npos && tov::UnescapeQuotes(tov::EscapeQuotes(bytes)) != bytes)
        std::abort();
    if (bytes.find("''") == std::string_view::npos &&
        tov::UnescapeApostrophes(tov::EscapeApostrophes(bytes)) != bytes)
        std::abort();
    return 0;
}
