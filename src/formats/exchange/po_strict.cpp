// The strict reader of PO files: one keyword or string a line, LF line
// ends, the charset UTF-8 (or none named). Every construct it reads gives
// what gettext's parser gives; at anything else it stops and the file goes
// to gettext's parser.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/exchange/po_read.h"
#include "support/strutil.h"

namespace tov::exchange::po {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view skipBlanks(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    return s.substr(i);
}

// What a "#," line sets: a format given several times counts as last given.
enum class Flag { Unset, Yes, No };

// "c-format", "no-c-format", "possible-c-format", ...: whether the type
// is `name` and, if so, whether the flag holds.
bool formatFlag(std::string_view token, std::string_view name, Flag& flag)
{
    constexpr std::string_view suffix = "-format";
    if (token.size() < suffix.size() || token.substr(token.size() - suffix.size()) != suffix) return false;
    token.remove_suffix(suffix.size());
    Flag value = Flag::Yes;
    for (const auto& [prefix, v] : {std::pair{std::string_view("no-"), Flag::No},
                                    std::pair{std::string_view("possible-"), Flag::Yes},
                                    std::pair{std::string_view("impossible-"), Flag::No}})
        if (token.substr(0, prefix.size()) == prefix) {
            token.remove_prefix(prefix.size());
            value = v;
            break;
        }
    if (token != name) return false;
    flag = value;
    return true;
}

struct Entry {
    bool obsolete = false;
    bool hasContext = false;
    std::string context, msgid, msgstr;
    std::string comments;  // the extracted comments, a line break after each
    bool hasReference = false;
    Reference reference;
    bool fuzzy = false;
    Flag c = Flag::Unset, pascal = Flag::Unset;
};

// The key gettext tells entries apart by: a missing context is not "".
struct Key {
    bool hasContext;
    std::string_view context, msgid;
    bool operator==(const Key&) const = default;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    // False: the file is left to gettext's parser.
    bool read(ReadResult& r)
    {
        // A CR, a NUL or a byte order mark is read by rules of gettext's own.
        if (bytes_.find('\r') != std::string_view::npos || bytes_.find('\0') != std::string_view::npos ||
            bytes_.substr(0, 3) == "\xEF\xBB\xBF")
            return false;
        size_t pos = 0;
        while (pos < bytes_.size()) {
            size_t end = bytes_.find('\n', pos);
            if (end == std::string_view::npos) end = bytes_.size();
            ++line_;
            if (!readLine(bytes_.substr(pos, end - pos), r)) return false;
            if (!r.error.empty()) return true;
            pos = end + 1;
        }
        if ((field_ != Field::None && field_ != Field::Msgstr) || previous_ != Previous::None) return false;
        if (field_ == Field::Msgstr && !finish(r)) return false;
        return noDuplicates(r);
    }

private:
    enum class Field { None, Context, Msgid, Msgstr };

    bool readLine(std::string_view line, ReadResult& r)
    {
        const std::string_view rest = skipBlanks(line);
        if (rest.empty()) {
            continued_ = false;
            return previous_ == Previous::None;
        }
        if (rest.size() != line.size() && rest[0] != '"') return false;
        if (line[0] == '#') {
            if (line.size() > 1 && line[1] == '~') return obsoleteLine(line.substr(2), r);
            return comment(line, r);
        }
        return keywordOrString(line, false, r);
    }

    // A comment line ends the entry before it; within an entry it is
    // gettext's to judge.
    bool comment(std::string_view line, ReadResult& r)
    {
        if (field_ != Field::None && field_ != Field::Msgstr) return false;
        if (field_ == Field::Msgstr && !finish(r)) return false;
        continued_ = false;
        const char kind = line.size() > 1 ? line[1] : ' ';
        // The text before a change comes right before its entry.
        if (previous_ != Previous::None && kind != '|') return false;
        std::string_view text = line.substr(std::min<size_t>(2, line.size()));
        switch (kind) {
        case '.':
            if (!text.empty() && text[0] == ' ') text.remove_prefix(1);
            entry_.comments += text;
            entry_.comments += '\n';
            return true;
        case ':': return reference(text);
        case ',': flags(text); return true;
        case '|': return previous(text, Previous::Current);
        case '!': return false;
        default:
            // A comment "# File: NAME, line: N" is a reference to gettext.
            return line.find("File:") == std::string_view::npos;
        }
    }

    // "#: FILE:LINE ...": the first reference counts. The forms gettext
    // also joins over blanks ("FILE : LINE") are left to it.
    bool reference(std::string_view text)
    {
        text = skipBlanks(text);
        if (entry_.hasReference || text.empty()) return true;
        size_t end = 0;
        while (end < text.size() && !isBlank(text[end])) ++end;
        const std::string_view token = text.substr(0, end);
        const std::string_view after = skipBlanks(text.substr(end));
        if (token.back() == ':' || (!after.empty() && after[0] == ':')) return false;
        const size_t colon = token.rfind(':');
        entry_.hasReference = true;
        if (colon == std::string_view::npos) {
            entry_.reference = {std::string(token), 0};
            return true;
        }
        const std::string_view digits = token.substr(colon + 1);
        if (colon == 0 || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        int number = 0;
        for (const char d : digits) number = number * 10 + (d - '0');
        entry_.reference = {std::string(token.substr(0, colon)), number};
        return true;
    }

    void flags(std::string_view text)
    {
        constexpr std::string_view separators = "\n \t\f\v,";
        size_t i = 0;
        while (i < text.size()) {
            i = text.find_first_not_of(separators, i);
            if (i == std::string_view::npos) break;
            size_t end = text.find_first_of(separators, i);
            if (end == std::string_view::npos) end = text.size();
            const std::string_view token = text.substr(i, end - i);
            if (token == "fuzzy") entry_.fuzzy = true;
            else if (!formatFlag(token, "c", entry_.c)) formatFlag(token, "object-pascal", entry_.pascal);
            i = end;
        }
    }

    // "#| msgid ..." and its strings: the text before a change, not kept,
    // but well-formed as gettext wants it.
    enum class Previous { None, Current, Obsolete };

    bool previous(std::string_view text, Previous kind)
    {
        if (previous_ != Previous::None && previous_ != kind) return false;
        text = skipBlanks(text);
        bool keyword = false;
        for (const std::string_view k : {"msgctxt", "msgid_plural", "msgid"})
            if (text.substr(0, k.size()) == k) {
                text = skipBlanks(text.substr(k.size()));
                keyword = true;
                break;
            }
        if (!keyword && previous_ == Previous::None) return false;
        previous_ = kind;
        std::string ignored;
        return quoted(text, ignored);
    }

    bool obsoleteLine(std::string_view text, ReadResult& r)
    {
        if (!text.empty() && text[0] == '|') {
            if (field_ != Field::None && field_ != Field::Msgstr) return false;
            if (field_ == Field::Msgstr && !finish(r)) return false;
            continued_ = false;
            return previous(text.substr(1), Previous::Obsolete);
        }
        text = skipBlanks(text);
        if (text.empty() || (text[0] != '"' && text[0] != 'm')) return false;
        return keywordOrString(text, true, r);
    }

    bool keywordOrString(std::string_view line, bool obsolete, ReadResult& r)
    {
        const std::string_view rest = skipBlanks(line);
        if (rest[0] == '"') {
            if (!continued_ || obsolete != entry_.obsolete) return false;
            return quoted(rest, *target_);
        }
        size_t end = 0;
        while (end < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[end])) || rest[end] == '_' ||
                                     rest[end] == '[' || rest[end] == ']'))
            ++end;
        const std::string_view keyword = rest.substr(0, end);
        const std::string_view text = skipBlanks(rest.substr(end));
        Field next;
        if (keyword == "msgctxt") next = Field::Context;
        else if (keyword == "msgid") next = Field::Msgid;
        else if (keyword == "msgstr") next = Field::Msgstr;
        else if (keyword == "msgid_plural" && !obsolete && field_ == Field::Msgid) {
            r.error = "line " + std::to_string(line_) + ": " + std::string(kPluralRefused);
            return true;
        } else return false;

        // msgctxt, msgid, msgstr in this order; msgctxt or msgid after a
        // msgstr starts the next entry.
        if (next != Field::Msgstr && field_ == Field::Msgstr && !finish(r)) return false;
        const bool inOrder = next == Field::Context   ? field_ == Field::None
                             : next == Field::Msgid  ? field_ == Field::None || field_ == Field::Context
                                                     : field_ == Field::Msgid;
        if (!inOrder) return false;
        if (field_ == Field::None) entry_.obsolete = obsolete;
        else if (entry_.obsolete != obsolete) return false;
        if (previous_ != Previous::None && (previous_ == Previous::Obsolete) != obsolete) return false;
        previous_ = Previous::None;
        field_ = next;
        target_ = next == Field::Context ? &entry_.context : next == Field::Msgid ? &entry_.msgid : &entry_.msgstr;
        if (next == Field::Context) entry_.hasContext = true;
        continued_ = true;
        return quoted(text, *target_);
    }

    // A quoted string and nothing but blanks after it, its escapes undone
    // and appended to `out`.
    bool quoted(std::string_view s, std::string& out)
    {
        if (s.empty() || s[0] != '"') return false;
        size_t i = 1;
        for (;;) {
            size_t run = i;
            while (run < s.size() && s[run] != '"' && s[run] != '\\' &&
                   (static_cast<unsigned char>(s[run]) >= 0x20 || s[run] == '\t'))
                ++run;
            out.append(s.data() + i, run - i);
            if (run >= s.size()) return false;  // no closing quote
            const char c = s[run];
            if (c == '"') {
                i = run + 1;
                break;
            }
            if (c != '\\') return false;  // a control character
            if (run + 1 >= s.size()) return false;
            const char e = s[run + 1];
            i = run + 2;
            switch (e) {
            case 'n': out += '\n'; continue;
            case 't': out += '\t'; continue;
            case 'r': out += '\r'; continue;
            case 'a': out += '\a'; continue;
            case 'b': out += '\b'; continue;
            case 'f': out += '\f'; continue;
            case 'v': out += '\v'; continue;
            case '\\': out += '\\'; continue;
            case '"': out += '"'; continue;
            default: break;
            }
            if (e < '0' || e > '7') return false;
            int value = e - '0';
            for (int digits = 1; digits < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++digits, ++i)
                value = value * 8 + (s[i] - '0');
            // NUL ends a string of gettext's and EOT is its context mark.
            if (value == 0 || value == 4 || value > 0xFF) return false;
            out += static_cast<char>(value);
        }
        return skipBlanks(s.substr(i)).empty();
    }

    // The entry read so far becomes a unit (or the header, or nothing).
    bool finish(ReadResult& r)
    {
        Entry e = std::move(entry_);
        entry_ = Entry();
        field_ = Field::None;
        continued_ = false;
        const bool header = !e.hasContext && e.msgid.empty();
        if (e.obsolete) {
            ++entries_;
            obsolete_.push_back(std::move(e));
            return true;
        }
        if (header) {
            // A header after other entries, or in another charset, is
            // gettext's to read.
            if (entries_ > 0) return false;
            const std::string contentType = headerField(e.msgstr.c_str(), "Content-Type");
            if (!charsetOf(contentType).empty()) return false;
            // gettext's parser takes the first "charset=" of the header,
            // wherever it stands.
            const size_t charset = e.msgstr.find("charset=");
            if (charset != std::string::npos &&
                (contentType.find("charset=") == std::string::npos ||
                 e.msgstr.find("charset=", charset + 1) != std::string::npos))
                return false;
            r.file.original = headerField(e.msgstr.c_str(), "Project-Id-Version");
            r.file.targetLanguage = headerField(e.msgstr.c_str(), "Language");
            r.file.sourceLanguage = headerField(e.msgstr.c_str(), "X-Source-Language");
            hasHeader_ = true;
            ++entries_;
            return true;
        }
        ++entries_;
        Unit& u = r.file.units.emplace_back();
        u.id = std::move(e.context);
        u.resname = u.id;
        u.source = std::move(e.msgid);
        u.target = std::move(e.msgstr);
        splitNote(e.comments, u);
        u.reference = std::move(e.reference);
        u.format = e.c == Flag::Yes        ? FormatFlag::C
                   : e.pascal == Flag::Yes ? FormatFlag::ObjectPascal
                                           : FormatFlag::None;
        u.state = u.target.empty() ? State::Untranslated : e.fuzzy ? State::NeedsReview : State::Translated;
        hasContext_.push_back(e.hasContext);
        return true;
    }

    // gettext refuses a file that defines an entry twice (obsolete ones
    // count): such a file goes to it for its message.
    bool noDuplicates(const ReadResult& r) const
    {
        std::vector<Key> keys;
        keys.reserve(r.file.units.size() + obsolete_.size() + 1);
        if (hasHeader_) keys.push_back({false, {}, {}});
        for (size_t k = 0; k < r.file.units.size(); ++k)
            keys.push_back({hasContext_[k], r.file.units[k].id, r.file.units[k].source});
        for (const Entry& e : obsolete_) keys.push_back({e.hasContext, e.context, e.msgid});
        const auto hash = [](const Key& k) {
            const size_t h = std::hash<std::string_view>()(k.context);
            return (h * 31 + std::hash<std::string_view>()(k.msgid)) * 2 + (k.hasContext ? 1 : 0);
        };
        std::vector<std::pair<size_t, size_t>> order(keys.size());
        for (size_t i = 0; i < keys.size(); ++i) order[i] = {hash(keys[i]), i};
        std::sort(order.begin(), order.end());
        for (size_t i = 1; i < order.size(); ++i)
            for (size_t j = i; j-- > 0 && order[j].first == order[i].first;)
                if (keys[order[j].second] == keys[order[i].second]) return false;
        return true;
    }

    std::string_view bytes_;
    int line_ = 0;
    Entry entry_;
    Field field_ = Field::None;
    std::string* target_ = nullptr;
    bool continued_ = false;  // the line before was a keyword's or a string's
    Previous previous_ = Previous::None;  // "#|" or "#~|" lines before the entry
    size_t entries_ = 0;      // entries read, the header among them
    bool hasHeader_ = false;
    std::vector<bool> hasContext_;  // of every unit
    std::deque<Entry> obsolete_;
};

}  // namespace

bool readStrict(std::string_view bytes, ReadResult& out)
{
    out = ReadResult();
    // Bytes that are not UTF-8 are read, or refused, by rules of gettext's
    // own that depend on the whole header.
    if (!isWellFormedUtf8(bytes)) return false;
    return Reader(bytes).read(out);
}

}  // namespace tov::exchange::po
