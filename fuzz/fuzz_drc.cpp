// Arbitrary bytes as a resource-string file: read as a base and merged as a
// column, written back, read again. Besides not crashing, the quote routines
// must undo their escaping for texts they can carry. The readers take a file
// name: the input is given to them as a memory file, and the writer writes
// into a folder in memory where the system offers one.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <sys/mman.h>
#include <unistd.h>

#include "formats/resource_strings/drc_file.h"
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

    if (bytes.find("\\\"") == std::string_view::npos) check(tov::UnescapeQuotes(tov::EscapeQuotes(bytes)) == bytes);
    if (bytes.find("''") == std::string_view::npos)
        check(tov::UnescapeApostrophes(tov::EscapeApostrophes(bytes)) == bytes);
    return 0;
}
