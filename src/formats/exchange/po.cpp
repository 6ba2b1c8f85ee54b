// PO: written here, read through gettext's libgettextpo.
#include <gettext-po.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include <iconv.h>
#include <sys/mman.h>
#include <unistd.h>

#include "formats/exchange/exchange.h"
#include "formats/exchange/po_read.h"

namespace tov::exchange {

namespace {

// The lines of a note that carry the width, so that a reader gets it back.
constexpr std::string_view kMaxWidth = "Max. length: ";
constexpr std::string_view kFixedWidth = "Length: exactly ";
constexpr std::string_view kCharacters = " characters";

// --- writing ---------------------------------------------------------------

// The escape of every byte in a quoted string (its length first; 0: the
// byte stands for itself).
using EscapeTable = std::array<std::array<char, 5>, 256>;

EscapeTable makeEscapes()
{
    EscapeTable t{};
    for (unsigned b = 0; b < 0x20; ++b)
        t[b] = {4, '\\', static_cast<char>('0' + (b >> 6)), static_cast<char>('0' + ((b >> 3) & 7)),
                static_cast<char>('0' + (b & 7))};
    t[0x7F] = {4, '\\', '1', '7', '7'};
    const std::pair<char, char> named[] = {{'"', '"'}, {'\\', '\\'}, {'\n', 'n'}, {'\t', 't'}, {'\r', 'r'},
                                           {'\a', 'a'}, {'\b', 'b'}, {'\f', 'f'}, {'\v', 'v'}};
    for (const auto& [c, e] : named)
        t[static_cast<unsigned char>(c)] = {2, '\\', e};
    return t;
}

void appendQuoted(std::string& out, std::string_view text)
{
    static const EscapeTable escapes = makeEscapes();
    out.push_back('"');
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* run = p;
        while (p < end && escapes[static_cast<unsigned char>(*p)][0] == 0) ++p;
        out.append(run, static_cast<size_t>(p - run));
        if (p == end) break;
        const auto& e = escapes[static_cast<unsigned char>(*p++)];
        out.append(e.data() + 1, static_cast<size_t>(e[0]));
    }
    out.append("\"\n");
}

void appendField(std::string& out, std::string_view keyword, std::string_view text)
{
    out += keyword;
    out += ' ';
    appendQuoted(out, text);
}

// A comment line holds no line break: every line of `text` gets the prefix.
void appendComment(std::string& out, std::string_view prefix, std::string_view text)
{
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        out += prefix;
        if (!line.empty()) out += ' ';
        const size_t start = out.size();
        out.append(line);
        std::replace(out.begin() + static_cast<ptrdiff_t>(start), out.end(), '\r', ' ');
        out += '\n';
        pos = end + 1;
    }
}

// A header value holds no control character.
std::string headerValue(std::string_view s)
{
    std::string out;
    for (const char c : s) out.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
    return out;
}

std::string referenceText(const Reference& r)
{
    return r.line > 0 ? r.file + ":" + std::to_string(r.line) : r.file;
}

// --- reading ---------------------------------------------------------------

// libgettextpo reports through callbacks that carry no context of the
// caller; the messages of one read are gathered here.
thread_local std::string* g_errors = nullptr;

void noteError(int severity, size_t lineno, const char* text)
{
    if (severity == PO_SEVERITY_WARNING || !g_errors || !g_errors->empty()) return;
    *g_errors = (lineno != static_cast<size_t>(-1) && lineno > 0 ? "line " + std::to_string(lineno) + ": " : "") +
                std::string(text ? text : "not a PO file");
}

// A fatal error would end a program that has no handler; here it stops the
// read as a failure once the parser returns.
void onError(int severity, po_message_t, const char*, size_t lineno, size_t, int, const char* text)
{
    noteError(severity, lineno, text);
}

void onError2(int severity, po_message_t, const char*, size_t lineno1, size_t, int, const char* text1, po_message_t,
              const char*, size_t, size_t, int, const char* text2)
{
    noteError(severity, lineno1, (std::string(text1 ? text1 : "") + " " + (text2 ? text2 : "")).c_str());
}

// The bytes as a file that libgettextpo can open by name: an anonymous
// memory file, or an unlinked temporary file where that is refused.
class ByteFile {
public:
    // The parts are written one after the other.
    explicit ByteFile(std::initializer_list<std::string_view> parts)
    {
        fd_ = ::memfd_create("po", MFD_CLOEXEC);
        if (fd_ < 0) {
            char name[] = "/tmp/tovrana-po-XXXXXX";
            fd_ = ::mkstemp(name);
            if (fd_ >= 0) ::unlink(name);
        }
        for (const std::string_view bytes : parts)
            for (size_t done = 0; fd_ >= 0 && done < bytes.size();) {
                const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
                if (n > 0) {
                    done += static_cast<size_t>(n);
                } else if (n == 0 || errno != EINTR) {
                    ::close(fd_);
                    fd_ = -1;
                }
            }
        if (fd_ >= 0) path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    ~ByteFile()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;
    bool ok() const { return fd_ >= 0; }
    const char* path() const { return path_.c_str(); }

private:
    int fd_ = -1;
    std::string path_;
};

// The strings of a PO file in another charset, turned into UTF-8.
class ToUtf8 {
public:
    explicit ToUtf8(const std::string& charset)
    {
        if (!charset.empty()) cd_ = ::iconv_open("UTF-8", charset.c_str());
    }
    ~ToUtf8()
    {
        if (active()) ::iconv_close(cd_);
    }
    ToUtf8(const ToUtf8&) = delete;
    ToUtf8& operator=(const ToUtf8&) = delete;
    bool active() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // False for bytes that are not of the charset.
    bool convert(const char* in, std::string& out)
    {
        out.clear();
        if (!in) return true;
        if (!active()) {
            out = in;
            return true;
        }
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        size_t left = std::strlen(in);
        char* src = const_cast<char*>(in);
        char buf[4096];
        while (left > 0) {
            char* dst = buf;
            size_t room = sizeof buf;
            const size_t n = ::iconv(cd_, &src, &left, &dst, &room);
            out.append(buf, static_cast<size_t>(dst - buf));
            if (n == static_cast<size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

private:
    iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
};

// libgettextpo hands out the header entry and the joined lines of a
// message's comments as strings it allocates at each call and never frees
// (an empty comment is a constant ""); they are freed here, or every import
// would leave its comments behind.
struct FreeString {
    void operator()(const char* s) const
    {
        if (s && *s) std::free(const_cast<char*>(s));
    }
};
using Allocated = std::unique_ptr<const char, FreeString>;

struct PoFileCloser {
    void operator()(po_file_t f) const { po_file_free(f); }
};
struct PoIteratorCloser {
    void operator()(po_message_iterator_t it) const { po_message_iterator_free(it); }
};

}  // namespace

namespace po {

std::string headerField(const char* header, const char* field)
{
    if (!header) return {};
    char* value = po_header_field(header, field);
    std::string out = value ? value : "";
    std::free(value);
    return out;
}

// The charset name that starts `s` ("ISO-8859-2; ..." → "ISO-8859-2").
std::string_view charsetName(std::string_view s)
{
    return s.substr(0, std::min(s.size(), s.find_first_of("; \t\\\"\n")));
}

bool isUtf8(std::string_view charset)
{
    std::string upper;
    for (const char c : charset) upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return upper == "UTF-8" || upper == "UTF8";
}

// The charset of a Content-Type ("text/plain; charset=ISO-8859-2") to
// convert from; "" for UTF-8 and ASCII and for the placeholder "CHARSET" of
// a template.
std::string charsetOf(std::string_view contentType)
{
    const size_t at = contentType.find("charset=");
    if (at == std::string_view::npos) return {};
    const std::string_view cs = charsetName(contentType.substr(at + 8));
    return isUtf8(cs) || cs == "CHARSET" || cs == "ASCII" || cs == "US-ASCII" ? std::string() : std::string(cs);
}

// Where the header of a PO file names the charset UTF-8 (the offset of the
// name), or npos: "charset=" in the file's first entry when that is the
// header (an empty msgid without a context).
size_t utf8CharsetName(std::string_view bytes)
{
    const size_t at = bytes.find("charset=");
    if (at == std::string_view::npos) return at;
    const std::string_view before = bytes.substr(0, at);
    const size_t msgid = before.find("msgid \"\"");
    if (msgid == std::string_view::npos || before.find("msgctxt") != std::string_view::npos ||
        before.find("msgid", msgid + 1) != std::string_view::npos)
        return std::string_view::npos;
    return isUtf8(charsetName(bytes.substr(at + 8))) ? at + 8 : std::string_view::npos;
}

bool parseWidthLine(std::string_view line, Width& width)
{
    for (const auto& [prefix, fixed] : {std::pair{kMaxWidth, false}, std::pair{kFixedWidth, true}}) {
        if (line.substr(0, prefix.size()) != prefix || line.size() <= prefix.size() + kCharacters.size() ||
            line.substr(line.size() - kCharacters.size()) != kCharacters)
            continue;
        const std::string_view digits = line.substr(prefix.size(), line.size() - prefix.size() - kCharacters.size());
        if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        width.chars = std::atoi(std::string(digits).c_str());
        width.fixed = fixed;
        return width.chars > 0;
    }
    return false;
}

// The note of an extracted comment: its lines without the width line and
// without the line break libgettextpo leaves at the end.
void splitNote(const std::string& comments, Unit& u)
{
    size_t pos = 0;
    while (pos < comments.size()) {
        size_t end = comments.find('\n', pos);
        if (end == std::string::npos) end = comments.size();
        const std::string_view line(comments.data() + pos, end - pos);
        if (!parseWidthLine(line, u.width)) {
            if (!u.note.empty()) u.note += '\n';
            u.note += line;
        }
        pos = end + 1;
    }
}

}  // namespace po

Written writePo(const File& file)
{
    Written w;
    std::string& out = w.bytes;
    // Room for the texts twice over and a unit's comments and keywords: a
    // buffer that has to grow is copied whole.
    size_t estimate = 1024;
    for (const Unit& u : file.units)
        estimate += 2 * (u.id.size() + u.source.size() + u.target.size() + u.note.size() + u.reference.file.size()) + 200;
    out.reserve(estimate);
    out += "msgid \"\"\nmsgstr \"\"\n";
    std::string header = "Project-Id-Version: " + headerValue(file.original) + "\n";
    if (!file.targetLanguage.empty()) header += "Language: " + headerValue(file.targetLanguage) + "\n";
    header += "MIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: 8bit\n";
    if (!file.sourceLanguage.empty()) header += "X-Source-Language: " + headerValue(file.sourceLanguage) + "\n";
    // One header line a field, as gettext writes it.
    for (size_t pos = 0; pos < header.size();) {
        const size_t end = header.find('\n', pos) + 1;
        appendQuoted(out, std::string_view(header).substr(pos, end - pos));
        pos = end;
    }
    for (const Unit& u : file.units) {
        for (const std::string* s : {&u.id, &u.source, &u.target})
            if (s->find('\0') != std::string::npos || s->find('\x04') != std::string::npos) {
                w.bytes.clear();
                w.error = "id " + std::string(u.id.c_str()) + ": a NUL or EOT character, which PO cannot hold";
                return w;
            }
        out += '\n';
        if (!u.note.empty()) appendComment(out, "#.", u.note);
        if (u.width.chars > 0)
            appendComment(out, "#.",
                          std::string(u.width.fixed ? kFixedWidth : kMaxWidth) + std::to_string(u.width.chars) +
                              std::string(kCharacters));
        if (!u.reference.file.empty()) appendComment(out, "#:", referenceText(u.reference));
        const bool fuzzy = u.state == State::NeedsReview && !u.target.empty();
        const char* flag = u.format == FormatFlag::C              ? "c-format"
                           : u.format == FormatFlag::ObjectPascal ? "object-pascal-format"
                                                                   : nullptr;
        if (fuzzy || flag) {
            out += "#,";
            if (fuzzy) out += " fuzzy";
            if (fuzzy && flag) out += ',';
            if (flag) (out += ' ') += flag;
            out += '\n';
        }
        appendField(out, "msgctxt", u.id);
        appendField(out, "msgid", u.source);
        appendField(out, "msgstr", u.state == State::Untranslated ? std::string_view() : std::string_view(u.target));
    }
    return w;
}

ReadResult po::readThroughGettext(std::string_view bytes)
{
    ReadResult r;
    // Told that a file is UTF-8, gettext's parser passes every character
    // through iconv, which doubles the time it takes. Every byte of the PO
    // syntax is ASCII and no byte of a UTF-8 sequence is, so the parser is
    // given the file with the charset of its header named "CHARSET" (a
    // template's, which it reads byte by byte); the texts are checked as
    // UTF-8 when they are used.
    const size_t utf8 = utf8CharsetName(bytes);
    const ByteFile input = utf8 == std::string_view::npos
                               ? ByteFile{bytes}
                               : ByteFile{bytes.substr(0, utf8), "CHARSET",
                                          bytes.substr(utf8 + charsetName(bytes.substr(utf8)).size())};
    if (!input.ok()) {
        r.error = "cannot be handed to the PO reader";
        return r;
    }
    std::string errors;
    g_errors = &errors;
    const po_xerror_handler handler = {onError, onError2};
    const std::unique_ptr<po_file, PoFileCloser> catalog(po_file_read(input.path(), &handler));
    g_errors = nullptr;
    if (!catalog || !errors.empty()) {
        r.error = errors.empty() ? "not a PO file" : errors;
        return r;
    }

    const Allocated headerEntry(po_file_domain_header(catalog.get(), nullptr));
    const char* header = headerEntry.get();
    const std::string charset = charsetOf(headerField(header, "Content-Type"));
    ToUtf8 recode(charset);
    if (!charset.empty() && !recode.active()) {
        r.error = "unknown charset " + charset;
        return r;
    }
    const auto field = [&](const char* name) {
        std::string value;
        recode.convert(headerField(header, name).c_str(), value);
        return value;
    };
    r.file.original = field("Project-Id-Version");
    r.file.targetLanguage = field("Language");
    r.file.sourceLanguage = field("X-Source-Language");

    // Room for every message first: a vector grown step by step moves every
    // unit many times.
    size_t count = 0;
    for (const char* const* domain = po_file_domains(catalog.get()); domain && *domain; ++domain) {
        const std::unique_ptr<struct po_message_iterator, PoIteratorCloser> it(po_message_iterator(catalog.get(), *domain));
        while (po_next_message(it.get())) ++count;
    }
    r.file.units.reserve(count);
    for (const char* const* domain = po_file_domains(catalog.get()); domain && *domain; ++domain) {
        const std::unique_ptr<struct po_message_iterator, PoIteratorCloser> it(po_message_iterator(catalog.get(), *domain));
        while (po_message_t m = po_next_message(it.get())) {
            const char* ctxt = po_message_msgctxt(m);
            if (po_message_is_obsolete(m) || (!ctxt && !*po_message_msgid(m))) continue;
            if (po_message_msgid_plural(m)) {
                r.error = std::string(kPluralRefused) + ": msgid \"" + po_message_msgid(m) + "\"";
                return r;
            }
            Unit u;
            std::string comments;
            bool ok = recode.convert(ctxt, u.id) && recode.convert(po_message_msgid(m), u.source) &&
                      recode.convert(po_message_msgstr(m), u.target) &&
                      recode.convert(Allocated(po_message_extracted_comments(m)).get(), comments);
            if (!ok) {
                r.error = "text not in the charset of the header";
                return r;
            }
            u.resname = u.id;
            splitNote(comments, u);
            if (const po_filepos_t pos = po_message_filepos(m, 0)) {
                recode.convert(po_filepos_file(pos), u.reference.file);
                const size_t line = po_filepos_start_line(pos);
                u.reference.line = line == static_cast<size_t>(-1) ? 0 : static_cast<int>(line);
            }
            u.format = po_message_is_format(m, "c-format")               ? FormatFlag::C
                       : po_message_is_format(m, "object-pascal-format") ? FormatFlag::ObjectPascal
                                                                         : FormatFlag::None;
            u.state = u.target.empty()           ? State::Untranslated
                      : po_message_is_fuzzy(m)   ? State::NeedsReview
                                                 : State::Translated;
            r.file.units.push_back(std::move(u));
        }
    }
    return r;
}

ReadResult readPo(std::string_view bytes)
{
    ReadResult r;
    if (po::readStrict(bytes, r)) return r;
    return po::readThroughGettext(bytes);
}

}  // namespace tov::exchange
