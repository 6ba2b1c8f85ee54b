#include "support/text_file.h"
#include "support/memory.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tov {

namespace {

// Opens a regular file for reading, with its size; -1 (errno set) when it
// cannot be opened or is no regular file. Non-blocking so that a pipe cannot
// hang the program; only regular files are read (a device such as /dev/zero
// would never end).
int openRegularFile(const std::string& path, std::size_t& size)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    size = st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 0;
    return fd;
}

// Reads into `buffer[0, room)` until it is full or the file ends, counting
// the bytes read in `got`; false on a failure.
bool readInto(int fd, char* buffer, std::size_t room, std::size_t& got)
{
    got = 0;
    while (got < room) {
        const ssize_t n = ::read(fd, buffer + got, room - got);
        if (n > 0) got += static_cast<std::size_t>(n);
        else if (n == 0) break;
        else if (errno != EINTR) return false;
    }
    return true;
}

// Reads the rest of a file piece by piece: `take(piece)` for each.
bool readPieces(int fd, const std::function<void(std::string_view)>& take)
{
    char buf[65536];
    for (;;) {
        std::size_t got = 0;
        const bool ok = readInto(fd, buf, sizeof buf, got);
        if (got > 0) take(std::string_view(buf, got));
        if (!ok || got < sizeof buf) return ok;
    }
}

bool closeAfter(int fd, bool ok)
{
    const int err = errno;
    ::close(fd);
    errno = err;
    return ok;
}

}  // namespace

bool readFileBytes(const std::string& path, std::string& out)
{
    out.clear();
    std::size_t size = 0;
    const int fd = openRegularFile(path, size);
    if (fd < 0) return false;
    // Straight into a buffer of the file's size; a file that grew meanwhile
    // is read on to its end.
    out.reserve(size);
    backPagesNow(out.data(), size);
    out.resize(size);
    std::size_t got = 0;
    const bool ok = readInto(fd, out.data(), size, got);
    out.resize(got);
    if (!ok || got < size) return closeAfter(fd, ok);
    return closeAfter(fd, readPieces(fd, [&out](std::string_view piece) { out.append(piece); }));
}

bool readFilePieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                    const std::function<void(std::string_view)>& take)
{
    std::size_t size = 0;
    const int fd = openRegularFile(path, size);
    if (fd < 0) return false;
    if (size > 0) sized(size);
    return closeAfter(fd, readPieces(fd, take));
}

namespace {

// Lines ending at LF or CR LF, lone CRs dropped.
std::vector<std::string> splitAtLineEnds(std::string_view data)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    const size_t n = data.size();
    while (pos < n) {
        size_t lf = data.find('\n', pos);
        const size_t end = lf == std::string_view::npos ? n : lf;
        // The line in runs between CRs (usually one run and the CR of CR LF).
        std::string line;
        line.reserve(end - pos);
        for (size_t i = pos; i < end;) {
            const size_t cr = data.substr(i, end - i).find('\r');
            const size_t stop = cr == std::string_view::npos ? end : i + cr;
            line.append(data.substr(i, stop - i));
            i = stop + 1;
        }
        lines.push_back(std::move(line));
        if (lf == std::string_view::npos) break;
        pos = lf + 1;
    }
    return lines;
}

}  // namespace

std::vector<std::string> splitLines(std::string_view data)
{
    const size_t eof = data.find('\x1a');
    if (eof != std::string_view::npos) data = data.substr(0, eof);
    return splitAtLineEnds(data);
}

std::vector<std::string> splitTableLines(std::string_view data)
{
    if (!data.empty() && data.back() == '\x1a') data.remove_suffix(1);
    return splitAtLineEnds(data);
}

bool readLines(const std::string& path, std::vector<std::string>& lines)
{
    std::string data;
    const bool ok = readFileBytes(path, data);
    lines = splitLines(data);
    return ok;
}

void appendCrLfLine(std::string& out, std::string_view line)
{
    out.append(line);
    out.append("\r\n", 2);
}

std::string joinCrLf(const std::vector<std::string>& lines)
{
    size_t total = 0;
    for (const auto& l : lines) total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& l : lines) appendCrLfLine(out, l);
    return out;
}

}  // namespace tov
