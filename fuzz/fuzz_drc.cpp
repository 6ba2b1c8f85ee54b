// Arbitrary bytes as a resource-string file: read as a base and merged as a
// column, written back (the writer's bytes, in memory), read again. Besides
// not crashing, the quote routines must undo their escaping for texts they
// can carry. The readers take a file name: they are given memory files, so
// that no input touches a disk or a folder.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static MemoryFile in("in.drc"), out("out.drc");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string& input = in.holding(bytes);

    tov::TextGrid g(11, 3);
    g.setCell(0, 1, "A");
    g.setCell(2, 1, "x");
    tov::ReadDrcColumn(2, input, g);
    if (tov::ReadDrcBase(input, g)) {
        g.copyColumn(2, g, 1);
        const std::string& written = out.holding(tov::FormatDrc(2, g));
        tov::TextGrid back(11, 1);
        check(tov::ReadDrcBase(written, back));  // a written file always has its header
        tov::ReadDrcColumn(2, written, g);
    }

    if (bytes.find("\\\"") == std::string_view::npos) check(tov::UnescapeQuotes(tov::EscapeQuotes(bytes)) == bytes);
    if (bytes.find("''") == std::string_view::npos)
        check(tov::UnescapeApostrophes(tov::EscapeApostrophes(bytes)) == bytes);
    return 0;
}
