#include "support/profile.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <sys/stat.h>

#include "support/strutil.h"
#include "support/text_file.h"

namespace tov {

namespace {

bool isIniBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x0B || c == 0x0C || c == 0x1A;
}

std::string_view trimView(std::string_view t)
{
    size_t b = 0, e = t.size();
    while (b < e && isIniBlank(static_cast<unsigned char>(t[b]))) ++b;
    while (e > b && isIniBlank(static_cast<unsigned char>(t[e - 1]))) --e;
    return t.substr(b, e - b);
}

// Length of the line end at the end of a stored line: CR LF, LF, a lone CR, or none.
size_t lineEndLength(std::string_view text)
{
    if (text.empty()) return 0;
    const char last = text.back();
    if (last == '\n') return text.size() >= 2 && text[text.size() - 2] == '\r' ? 2 : 1;
    return last == '\r' ? 1 : 0;
}

std::string_view contentOf(std::string_view text)
{
    return text.substr(0, text.size() - lineEndLength(text));
}

// Position of the first CR or LF from `pos`, or the size when there is none.
size_t findLineBreak(std::string_view t, size_t pos)
{
    const char* const p = t.data();
    const size_t n = t.size();
    while (pos < n && p[pos] != '\n' && p[pos] != '\r') ++pos;
    return pos;
}

// Everything before the first CR or LF: what one INI line can hold.
std::string_view firstLine(std::string_view t)
{
    return t.substr(0, findLineBreak(t, 0));
}

// A caller's section or key name as it is looked up and written.
std::string_view callerName(std::string_view name)
{
    return trimView(firstLine(name));
}

std::string lowered(std::string_view name)
{
    return asciiLower(name);
}

// Calls `f(content, begin, next)` for every line of `data`: its bytes without
// the line end, where it starts and where the next one starts.
template <class F>
void forEachIniLine(std::string_view data, F&& f)
{
    size_t pos = 0;
    const size_t n = data.size();
    while (pos < n) {
        const size_t e = findLineBreak(data, pos);
        size_t end = n, next = n;
        if (e < n) {
            end = e;
            next = (data[e] == '\r' && e + 1 < n && data[e + 1] == '\n') ? e + 2 : e + 1;
        }
        f(data.substr(pos, end - pos), pos, next);
        pos = next;
    }
}

std::string_view unquotedView(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

std::string unquoted(std::string_view v)
{
    return std::string(unquotedView(v));
}

}  // namespace

IniDocument::Kind IniDocument::classify(std::string_view content, std::string_view* name,
                                        std::string_view* value)
{
    const std::string_view t = trimView(content);
    if (t.empty()) return Kind::Blank;
    if (t.front() == '[') {
        const size_t close = t.rfind(']');
        if (close != std::string_view::npos) {
            if (name) *name = trimView(t.substr(1, close - 1));
            return Kind::Header;
        }
        // "[" without "]": an ordinary line of the current section.
    }
    if (t.front() == ';') return Kind::Comment;
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) return Kind::Other;
    if (name) *name = trimView(t.substr(0, eq));
    if (value) *value = trimView(t.substr(eq + 1));
    return Kind::Key;
}

int IniDocument::appendLine(std::string text, Kind kind)
{
    const int id = static_cast<int>(lines_.size());
    Line line;
    line.text = std::move(text);
    line.prev = tail_;
    line.kind = kind;
    lines_.push_back(std::move(line));
    if (tail_ >= 0)
        lines_[static_cast<size_t>(tail_)].next = id;
    else
        head_ = id;
    tail_ = id;
    return id;
}

int IniDocument::insertAfter(int after, std::string text, Kind kind)
{
    const int id = static_cast<int>(lines_.size());
    Line line;
    line.text = std::move(text);
    line.kind = kind;
    line.prev = after;
    line.next = lines_[static_cast<size_t>(after)].next;
    lines_.push_back(std::move(line));
    if (lines_[static_cast<size_t>(id)].next >= 0)
        lines_[static_cast<size_t>(lines_[static_cast<size_t>(id)].next)].prev = id;
    else
        tail_ = id;
    lines_[static_cast<size_t>(after)].next = id;
    return id;
}

void IniDocument::unlink(int id)
{
    Line& l = lines_[static_cast<size_t>(id)];
    if (!l.alive) return;
    if (l.prev >= 0)
        lines_[static_cast<size_t>(l.prev)].next = l.next;
    else
        head_ = l.next;
    if (l.next >= 0)
        lines_[static_cast<size_t>(l.next)].prev = l.prev;
    else
        tail_ = l.prev;
    l.alive = false;
    l.prev = l.next = -1;
    std::string().swap(l.text);
}

void IniDocument::ensureLineEnd(int id)
{
    std::string& t = lines_[static_cast<size_t>(id)].text;
    if (lineEndLength(t) == 0) t.append("\r\n");
}

void IniDocument::parse(std::string_view data)
{
    lines_.reserve(lines_.size() + static_cast<size_t>(std::count(data.begin(), data.end(), '\n')) + 1);
    int section = -1;
    forEachIniLine(data, [&](std::string_view content, size_t pos, size_t next) {
        std::string_view name, value;
        const Kind kind = classify(content, &name, &value);
        if (kind == Kind::Header) {
            section = static_cast<int>(sections_.size());
            Section s;
            s.name = std::string(name);
            sections_.push_back(std::move(s));
            sectionIndex_[lowered(name)].push_back(section);
        }
        const int id = appendLine(std::string(data.substr(pos, next - pos)), kind);
        if (kind == Kind::Header) {
            sections_[static_cast<size_t>(section)].header = id;
        } else if (kind == Kind::Key && section >= 0) {
            Section& s = sections_[static_cast<size_t>(section)];
            s.keys[lowered(name)].push_back(id);
            s.lastKey = id;
        }
    });
}

IniFileView::IniFileView(std::string_view data) : data_(data)
{
    forEachIniLine(data, [this](std::string_view content, size_t begin, size_t next) {
        std::string_view name;
        if (IniDocument::classify(content, &name, nullptr) != IniDocument::Kind::Header) return;
        if (!sections_.empty()) sections_.back().end = begin;
        sections_.push_back({name, lowered(name), next, data_.size()});
    });
}

std::vector<std::string_view> IniFileView::sections() const
{
    std::vector<std::string_view> out;
    out.reserve(sections_.size());
    for (const Section& s : sections_) out.push_back(s.name);
    return out;
}

bool IniFileView::forEachKey(std::string_view section,
                             const std::function<void(std::string_view name, std::string_view value)>& f) const
{
    const std::string wanted = lowered(callerName(section));
    const auto s = std::find_if(sections_.begin(), sections_.end(),
                                [&wanted](const Section& x) { return x.lowered == wanted; });
    if (s == sections_.end()) return false;
    forEachIniLine(data_.substr(s->begin, s->end - s->begin), [&f](std::string_view content, size_t, size_t) {
        std::string_view name, value;
        if (IniDocument::classify(content, &name, &value) == IniDocument::Kind::Key) f(name, unquotedView(value));
    });
    return true;
}

IniDocument IniDocument::fromBytes(std::string data)
{
    IniDocument doc;
    doc.parse(data);
    return doc;
}

bool IniDocument::load(const std::string& path, IniDocument& doc)
{
    doc = IniDocument();
    std::string data;
    if (!readFileBytes(path, data)) return false;
    doc.parse(data);
    return true;
}

std::string IniDocument::toBytes() const
{
    size_t total = 0;
    for (int i = head_; i >= 0; i = lines_[static_cast<size_t>(i)].next)
        total += lines_[static_cast<size_t>(i)].text.size();
    std::string out;
    out.reserve(total);
    for (int i = head_; i >= 0; i = lines_[static_cast<size_t>(i)].next)
        out.append(lines_[static_cast<size_t>(i)].text);
    return out;
}

WriteResult IniDocument::save(const std::string& path) const
{
    return writeFileAtomic(path, toBytes());
}

const IniDocument::Section* IniDocument::findSection(std::string_view name) const
{
    const auto it = sectionIndex_.find(lowered(callerName(name)));
    if (it == sectionIndex_.end() || it->second.empty()) return nullptr;
    return &sections_[static_cast<size_t>(it->second.front())];
}

IniDocument::Section* IniDocument::findSection(std::string_view name)
{
    return const_cast<Section*>(std::as_const(*this).findSection(name));
}

int IniDocument::findKey(const Section& s, std::string_view key) const
{
    const auto it = s.keys.find(lowered(callerName(key)));
    if (it == s.keys.end() || it->second.empty()) return -1;
    return it->second.front();
}

std::string IniDocument::read(std::string_view section, std::string_view key, std::string_view def) const
{
    const Section* s = findSection(section);
    if (!s) return std::string(def);
    const int id = findKey(*s, key);
    if (id < 0) return std::string(def);
    std::string_view name, value;
    classify(contentOf(lines_[static_cast<size_t>(id)].text), &name, &value);
    return unquoted(value);
}

bool IniDocument::hasKey(std::string_view section, std::string_view key) const
{
    const Section* s = findSection(section);
    return s && findKey(*s, key) >= 0;
}

bool IniDocument::hasSection(std::string_view section) const
{
    return findSection(section) != nullptr;
}

std::vector<std::string> IniDocument::sections() const
{
    std::vector<std::string> out;
    for (const Section& s : sections_)
        if (s.alive) out.push_back(s.name);
    return out;
}

std::vector<std::string> IniDocument::keys(std::string_view section) const
{
    std::vector<std::string> out;
    const Section* s = findSection(section);
    if (!s) return out;
    for (int i = lines_[static_cast<size_t>(s->header)].next; i >= 0; i = lines_[static_cast<size_t>(i)].next) {
        const Line& l = lines_[static_cast<size_t>(i)];
        if (l.kind == Kind::Header) break;
        if (l.kind != Kind::Key) continue;
        std::string_view name;
        classify(contentOf(l.text), &name, nullptr);
        out.emplace_back(name);
    }
    return out;
}

void IniDocument::write(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string_view sec = callerName(section);
    const std::string_view k = callerName(key);
    const std::string_view v = firstLine(value);

    if (Section* s = findSection(sec)) {
        const int id = findKey(*s, k);
        if (id >= 0) {
            Line& l = lines_[static_cast<size_t>(id)];
            std::string_view name;
            classify(contentOf(l.text), &name, nullptr);
            std::string text;
            text.reserve(name.size() + 1 + v.size() + 2);
            text.append(name).append("=").append(v);
            text.append(std::string_view(l.text).substr(l.text.size() - lineEndLength(l.text)));
            l.text = std::move(text);
            return;
        }
        const int after = s->lastKey >= 0 ? s->lastKey : s->header;
        ensureLineEnd(after);
        std::string text;
        text.reserve(k.size() + 1 + v.size() + 2);
        text.append(k).append("=").append(v).append("\r\n");
        const int nl = insertAfter(after, std::move(text), Kind::Key);
        // Every key line of the section lies before the new one, so the
        // index stays in file order.
        s->keys[lowered(k)].push_back(nl);
        s->lastKey = nl;
        return;
    }

    if (tail_ >= 0) ensureLineEnd(tail_);
    const int sIdx = static_cast<int>(sections_.size());
    Section s;
    s.name = std::string(sec);
    sections_.push_back(std::move(s));
    sectionIndex_[lowered(sec)].push_back(sIdx);
    std::string header;
    header.append("[").append(sec).append("]\r\n");
    const int h = appendLine(std::move(header), Kind::Header);
    std::string text;
    text.append(k).append("=").append(v).append("\r\n");
    const int kl = appendLine(std::move(text), Kind::Key);
    Section& ns = sections_[static_cast<size_t>(sIdx)];
    ns.header = h;
    ns.keys[lowered(k)].push_back(kl);
    ns.lastKey = kl;
}

void IniDocument::deleteKey(std::string_view section, std::string_view key)
{
    Section* s = findSection(section);
    if (!s) return;
    const auto it = s->keys.find(lowered(callerName(key)));
    if (it == s->keys.end() || it->second.empty()) return;
    const int id = it->second.front();
    it->second.erase(it->second.begin());
    if (it->second.empty()) s->keys.erase(it);
    if (s->lastKey == id) {
        // The section's lines run from its header to the next header, so
        // walking back from here meets another key line or the header.
        int p = lines_[static_cast<size_t>(id)].prev;
        while (p != s->header && lines_[static_cast<size_t>(p)].kind != Kind::Key)
            p = lines_[static_cast<size_t>(p)].prev;
        s->lastKey = p == s->header ? -1 : p;
    }
    unlink(id);
}

void IniDocument::deleteSection(std::string_view section)
{
    const auto it = sectionIndex_.find(lowered(callerName(section)));
    if (it == sectionIndex_.end() || it->second.empty()) return;
    const int sIdx = it->second.front();
    it->second.erase(it->second.begin());
    if (it->second.empty()) sectionIndex_.erase(it);
    Section& s = sections_[static_cast<size_t>(sIdx)];
    int i = s.header;
    do {
        const int next = lines_[static_cast<size_t>(i)].next;
        unlink(i);
        i = next;
    } while (i >= 0 && lines_[static_cast<size_t>(i)].kind != Kind::Header);
    s.alive = false;
    s.keys.clear();
    s.header = s.lastKey = -1;
}

// --- One-key access --------------------------------------------------------

namespace {

// Reads the file into `data`; a missing file reads as empty. False when the
// file exists (or may exist) but cannot be read.
bool readExisting(const std::string& path, std::string& data)
{
    if (readFileBytes(path, data)) return true;
    data.clear();
    struct stat st {};
    return ::stat(path.c_str(), &st) != 0 && errno == ENOENT;
}

WriteResult unreadable(const std::string& path)
{
    WriteResult r;
    r.error = path + ": the file exists but cannot be read; it was left as it is";
    return r;
}

WriteResult done()
{
    WriteResult r;
    r.ok = true;
    return r;
}

}  // namespace

std::string profileRead(const std::string& path, std::string_view section, std::string_view key)
{
    IniDocument doc;
    IniDocument::load(path, doc);
    return doc.read(section, key);
}

WriteResult profileEdit(const std::string& path, const std::function<void(IniDocument&)>& edit,
                        const BackupChoice& backup)
{
    std::string data;
    if (!readExisting(path, data)) return unreadable(path);
    IniDocument doc = IniDocument::fromBytes(data);
    edit(doc);
    const std::string out = doc.toBytes();
    if (out == data) return done();  // also: nothing to delete in a missing file
    return writeFileAtomic(path, out, backup);
}

WriteResult profileWrite(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view value)
{
    return profileEdit(path, [&](IniDocument& doc) { doc.write(section, key, value); });
}

WriteResult profileDeleteKey(const std::string& path, std::string_view section, std::string_view key)
{
    return profileEdit(path, [&](IniDocument& doc) { doc.deleteKey(section, key); });
}

}  // namespace tov
