// Arbitrary bytes as a resource-string file: read as a base and merged as a
// column, written back, read again. Besides not crashing, the quote routines
// must undo their escaping for texts they can carry, and the start-up
// restore (the bytes as base, their halves swapped as destination) must give
// the rows and the working table the readers give. The readers take a file
// name: the input is given to them as a memory file, and the writer writes
// into a folder in memory where the system offers one.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <sys/mman.h>
#include <unistd.h>

#include "document/format.h"
#include "formats/resource_strings/drc_file.h"
#include "formats/resource_strings/drc_workflow.h"
#include "formats/source_kind.h"
#include "formats/resource_strings/quotes.h"
#include "fuzz/fuzz_check.h"

namespace {

// A file in memory holding `bytes`, named through /proc.
class MemoryFile {
public:
    explicit MemoryFile(const char* name) : fd_(::memfd_create(name, MFD_CLOEXEC))
    {
        check(fd_ >= 0);
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    const std::string& holding(std::string_view bytes)
    {
        check(::ftruncate(fd_, 0) == 0);
        check(::pwrite(fd_, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()));
        return path_;
    }

private:
    int fd_;
    std::string path_;
};

std::string tempFolder()
{
    char shm[] = "/dev/shm/fuzz_drc-XXXXXX";
    if (const char* made = ::mkdtemp(shm)) return made;
    char tmp[] = "/tmp/fuzz_drc-XXXXXX";
    const char* made = ::mkdtemp(tmp);
    check(made != nullptr);
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static MemoryFile in("in.drc");
    static const std::string folder = tempFolder();
    static const std::string out = folder + "/out.drc";
    static const int cleanUp = std::atexit([] {
        ::unlink(out.c_str());
        ::rmdir(folder.c_str());
    });
    (void)cleanUp;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& input = in.holding(bytes);

    tov::TextGrid g(11, 3);
    g.setCell(0, 1, "A");
    g.setCell(2, 1, "x");
    tov::ReadDrcColumn(2, input, g);
    if (tov::ReadDrcBase(input, g)) {
        g.copyColumn(2, g, 1);
        if (tov::WriteDrc(2, out, g)) {
            tov::TextGrid back(11, 1);
            check(tov::ReadDrcBase(out, back));  // a written file always has its header
            // Every row with an identifier is written, and no other.
            int entries = 0;
            for (int r = 1; r < g.rowCount(); ++r) entries += g.cell(0, r).empty() ? 0 : 1;
            check(back.rowCount() - 1 == entries);
            tov::ReadDrcColumn(2, out, g);
        }
    }

    static MemoryFile swapped("dest.drc");
    const std::string half(bytes.substr(size / 2));
    const std::string& dest = swapped.holding(half + std::string(bytes.substr(0, size / 2)));
    tov::TranslationDocument restored;
    const auto format = tov::makeFormat(tov::kGenericDrc);
    const tov::OpenResult reopened = format->reopen(restored, input, dest);
    tov::TextGrid expected(11, 5);
    expected.setRowCount(1);
    std::string failed = input;
    const tov::DrcRead read = tov::reopenDrcFiles(input, dest, expected, &failed);
    const bool unchanged = read.refused() && failed == input;
    if (unchanged) expected.setRowCount(5);
    check(reopened.ok == static_cast<bool>(read));
    check(restored.size() == (unchanged ? 0 : expected.rowCount() - 1));
    for (int r = 1; r <= restored.size(); ++r) {
        const tov::Entry& e = restored.entry(r - 1);
        check(e.id == expected.cell(0, r) && e.base == expected.cell(1, r) && e.stored == expected.cell(2, r) &&
              e.dest == e.stored);
    }
    const tov::TextGrid& working = format->workingTable();
    check(working.rowCount() == expected.rowCount());
    for (int r = 0; r < expected.rowCount(); ++r)
        for (int c = 0; c < 11; ++c) check(working.cell(c, r) == expected.cell(c, r));

    if (bytes.find("\\\"") == std::string_view::npos) check(tov::UnescapeQuotes(tov::EscapeQuotes(bytes)) == bytes);
    if (bytes.find("''") == std::string_view::npos)
        check(tov::UnescapeApostrophes(tov::EscapeApostrophes(bytes)) == bytes);
    return 0;
}
