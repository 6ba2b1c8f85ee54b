#include "support/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tov {

bool readFileBytes(const std::string& path, std::string& out)
{
    out.clear();
    return readFilePieces(
        path, [&out](std::size_t size) { out.reserve(size); },
        [&out](std::string_view piece) { out.append(piece); });
}

bool readFilePieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                    const std::function<void(std::string_view)>& take)
{
    // Non-blocking open so that a pipe cannot hang the program; only regular
    // files are read (a device such as /dev/zero would never end).
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return false;
    }
    if (st.st_size > 0) sized(static_cast<size_t>(st.st_size));
    char buf[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            take(std::string_view(buf, static_cast<size_t>(n)));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            ok = false;
            break;
        }
    }
    const int err = errno;
    ::close(fd);
    errno = err;
    return ok;
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
