// The lines of a text file as views into its bytes, by the program's one
// line rule (text_file.h): a line ends at LF or CR LF, a CR not followed by
// LF is dropped from the line, a byte 26 ends the data. No line is copied:
// the rare line that holds a lone CR is closed up in place, in the buffer
// that the views then point into, so the buffer must stay as it is while the
// views are used.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tov {

// Calls `f(line)` for every line of `data[0, size)`, in order; the bytes of a
// line that holds a lone CR are moved together within that line.
template <class F>
void forEachLineInPlace(char* data, std::size_t size, F&& f)
{
    std::size_t pos = 0;
    while (pos < size) {
        const void* found = std::memchr(data + pos, '\n', size - pos);
        const std::size_t lf = found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
        std::size_t end = lf;
        if (end > pos && data[end - 1] == '\r') --end;  // the CR of CR LF
        // A CR elsewhere in the line is dropped: the rest moves up over it.
        const void* cr = end > pos ? std::memchr(data + pos, '\r', end - pos) : nullptr;
        if (cr) {
            char* out = static_cast<char*>(const_cast<void*>(cr));
            for (const char* in = out; in < data + lf; ++in)
                if (*in != '\r') *out++ = *in;
            end = static_cast<std::size_t>(out - data);
        }
        f(std::string_view(data + pos, end - pos));
        if (!found) break;
        pos = lf + 1;
    }
}

// The bytes of `data` that hold lines: a byte 26 ends them.
inline std::size_t lineDataSize(std::string_view data)
{
    const std::size_t eof = data.find('\x1a');
    return eof == std::string::npos ? data.size() : eof;
}

// Calls `f(line)` for every line of a file's bytes read into `data`, without
// a list of them.
template <class F>
void forEachLine(std::string& data, F&& f)
{
    forEachLineInPlace(data.data(), lineDataSize(data), std::forward<F>(f));
}

// Cuts a file's bytes, given piece by piece as they are read, into the lines
// of forEachLine without holding the file: only the line under way is kept.
// A line's bytes stand in buffer() while it is handed on, and may be changed
// there in place.
class LineCutter {
public:
    // Calls `f(line)` for every line that `piece` completes.
    template <class F>
    void take(std::string_view piece, F&& f)
    {
        if (ended_) return;
        const std::size_t eof = piece.find('\x1a');
        if (eof != std::string_view::npos) {
            piece = piece.substr(0, eof);
            ended_ = true;
        }
        pending_.append(piece);
        const std::size_t lastLf = pending_.rfind('\n');
        if (lastLf == std::string::npos) return;
        forEachLineInPlace(pending_.data(), lastLf + 1, f);
        pending_.erase(0, lastLf + 1);
    }
    // Calls `f(line)` for the last line when no line end closed it.
    template <class F>
    void finish(F&& f)
    {
        forEachLineInPlace(pending_.data(), pending_.size(), f);
        pending_.clear();
    }
    std::string& buffer() { return pending_; }

private:
    std::string pending_;
    bool ended_ = false;  // a byte 26 was met
};

// The lines of a file's bytes read into `data` (a byte 26 ends them).
inline std::vector<std::string_view> lineViews(std::string& data)
{
    const std::size_t size = lineDataSize(data);
    std::vector<std::string_view> lines;
    // About one line per 40 bytes in the program's files; one growth at most.
    lines.reserve(size / 40 + 16);
    forEachLineInPlace(data.data(), size, [&](std::string_view line) { lines.push_back(line); });
    return lines;
}

}  // namespace tov
