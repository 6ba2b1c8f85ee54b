// XLIFF 1.2: written here, read through pugixml.
#include <pugixml.hpp>

#include <algorithm>
#include <cctype>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "formats/exchange/exchange.h"
#include "formats/exchange/xliff_read.h"

namespace tov::exchange {

namespace {

constexpr const char* kNamespace = "urn:oasis:names:tc:xliff:document:1.2";
constexpr std::string_view kCharType = "x-char-0x";

// XML 1.0 carries no character below U+0020 but TAB, LF and CR, and a CR
// in text comes back as LF from every parser; those go into placeholders.
bool needsPlaceholder(char c)
{
    return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n';
}

bool badInAttribute(std::string_view s)
{
    return std::any_of(s.begin(), s.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
}

char hexDigit(unsigned v) { return "0123456789ABCDEF"[v & 0xF]; }

// What a byte becomes in character data and in an attribute value: itself
// (0), an entity, or a placeholder (controls in character data).
enum class Escape : unsigned char { None, Amp, Lt, Gt, Quot, Tab, Lf, Cr, Control };

struct EscapeTables {
    std::array<Escape, 256> text{}, attribute{};
    EscapeTables()
    {
        for (unsigned c = 0; c < 0x20; ++c)
            if (needsPlaceholder(static_cast<char>(c))) text[c] = Escape::Control;
        text['&'] = attribute['&'] = Escape::Amp;
        text['<'] = attribute['<'] = Escape::Lt;
        text['>'] = attribute['>'] = Escape::Gt;
        attribute['"'] = Escape::Quot;
        attribute['\t'] = Escape::Tab;
        attribute['\n'] = Escape::Lf;
        attribute['\r'] = Escape::Cr;
    }
};

const EscapeTables& escapes()
{
    static const EscapeTables tables;
    return tables;
}

// The file's bytes, written straight from the units into one buffer: a
// document of 65,535 units is written several times faster than through a
// tree, and its well-formedness is what the tests check with pugixml and the
// tools that read it.
class XmlOut {
public:
    explicit XmlOut(std::string& out) : out_(out) {}

    void raw(std::string_view s) { out_.append(s); }

    void number(int n)
    {
        char buf[16];
        const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
        out_.append(buf, static_cast<size_t>(end - buf));
    }

    // Character data: markup characters escaped; a CR, which every parser
    // reads as LF, and the controls XML cannot carry are placeholders.
    void text(std::string_view s)
    {
        int placeholders = 0;
        escaped(s, escapes().text, [&](unsigned char c) {
            out_.append("<x id=\"");
            number(++placeholders);
            out_.append("\" ctype=\"");
            out_.append(kCharType);
            controlCode(c);
            out_.append("\"/>");
        });
    }

    // Text that allows no markup (a note): a control character is written
    // out as "\xNN" for the reader's eyes.
    void plainText(std::string_view s)
    {
        escaped(s, escapes().text, [&](unsigned char c) {
            out_.append("\\x");
            controlCode(c);
        });
    }

    // name="value", the value escaped so that a parser gives it back as it
    // is (blanks other than the space as character references).
    void attribute(std::string_view name, std::string_view value)
    {
        out_ += ' ';
        out_.append(name);
        out_.append("=\"");
        escaped(value, escapes().attribute, [](unsigned char) {});
        out_ += '"';
    }

private:
    void controlCode(unsigned char c)
    {
        out_ += hexDigit(c >> 4);
        out_ += hexDigit(c);
    }

    // The runs of bytes that stay as they are, copied whole.
    template <typename Control>
    void escaped(std::string_view s, const std::array<Escape, 256>& table, Control control)
    {
        const char* p = s.data();
        const char* const end = p + s.size();
        while (p < end) {
            const char* run = p;
            while (p < end && table[static_cast<unsigned char>(*p)] == Escape::None) ++p;
            out_.append(run, static_cast<size_t>(p - run));
            if (p == end) break;
            switch (table[static_cast<unsigned char>(*p)]) {
            case Escape::Amp: out_.append("&amp;"); break;
            case Escape::Lt: out_.append("&lt;"); break;
            case Escape::Gt: out_.append("&gt;"); break;
            case Escape::Quot: out_.append("&quot;"); break;
            case Escape::Tab: out_.append("&#9;"); break;
            case Escape::Lf: out_.append("&#10;"); break;
            case Escape::Cr: out_.append("&#13;"); break;
            case Escape::Control: control(static_cast<unsigned char>(*p)); break;
            case Escape::None: break;
            }
            ++p;
        }
    }

    std::string& out_;
};

const char* stateName(State s)
{
    switch (s) {
    case State::Translated: return "translated";
    case State::NeedsReview: return "needs-review-translation";
    case State::Untranslated: break;
    }
    return "needs-translation";
}

// --- reading ---------------------------------------------------------------

std::string_view localName(const pugi::xml_node& n)
{
    std::string_view name = n.name();
    const size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node child(const pugi::xml_node& parent, std::string_view name)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && localName(c) == name) return c;
    return {};
}

// The text of a <source> or <target>: character data, the text inside
// <g> and <mrk>, the native code held by <ph>, <bpt>, <ept> and <it>, and
// this program's character placeholders. False for a placeholder that
// stands for no text (another tool's <x/>, <bx/>, <ex/>).
bool collectText(const pugi::xml_node& node, std::string& out)
{
    bool ok = true;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) {
            out += c.value();
        } else if (c.type() == pugi::node_element) {
            const std::string_view name = localName(c);
            const std::string_view ctype = c.attribute("ctype").value();
            if (name == "x" && ctype.substr(0, kCharType.size()) == kCharType) {
                unsigned value = 0;
                const std::string_view hex = ctype.substr(kCharType.size());
                const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
                if (ec != std::errc() || end != hex.data() + hex.size() || hex.size() != 2 || value >= 0x20) ok = false;
                else out.push_back(static_cast<char>(value));
            } else if (name == "x" || name == "bx" || name == "ex") {
                ok = false;
            } else {
                ok = collectText(c, out) && ok;
            }
        }
    }
    return ok;
}

// A target still "to translate" that holds a text of its own is a draft
// (translate-toolkit writes fuzzy entries so); one that is empty or a copy
// of the source, as some tools prefill it, is no translation.
State stateOf(std::string_view state, const Unit& u)
{
    if (u.target.empty() && !u.targetPlaceholders) return State::Untranslated;
    if (state == "new" || state == "needs-translation")
        return u.target == u.source ? State::Untranslated : State::NeedsReview;
    if (state.substr(0, 12) == "needs-review" || state == "needs-adaptation" || state == "needs-l10n")
        return State::NeedsReview;
    return State::Translated;
}

int toInt(std::string_view s)
{
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && v > 0 ? v : 0;
}

// One pass over the attributes and one over the children of a unit, the
// texts appended straight into the unit.
void readUnit(const pugi::xml_node& tu, Unit& u)
{
    // The first of an attribute given twice counts, as in a lookup by name.
    const char* id = nullptr;
    const char* resname = nullptr;
    const char* sizeUnit = nullptr;
    const char* maxWidth = nullptr;
    const char* minWidth = nullptr;
    for (pugi::xml_attribute a = tu.first_attribute(); a; a = a.next_attribute()) {
        const std::string_view name = a.name();
        const char** slot = name == "id"          ? &id
                            : name == "resname"   ? &resname
                            : name == "size-unit" ? &sizeUnit
                            : name == "maxwidth"  ? &maxWidth
                            : name == "minwidth"  ? &minWidth
                                                  : nullptr;
        if (slot && !*slot) *slot = a.value();
    }
    if (id) u.id = id;
    if (resname) u.resname = resname;
    pugi::xml_node source, target;
    for (pugi::xml_node c = tu.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const std::string_view name = localName(c);
        if (name == "source") {
            if (!source) source = c;
        } else if (name == "target") {
            if (!target) target = c;
        } else if (name == "note") {
            if (!u.note.empty()) u.note += '\n';
            u.note += c.text().get();
        } else if (name == "context-group") {
            for (pugi::xml_node ctx = c.first_child(); ctx; ctx = ctx.next_sibling()) {
                const std::string_view type = ctx.attribute("context-type").value();
                if (type == "sourcefile") u.reference.file = ctx.text().get();
                else if (type == "linenumber") u.reference.line = toInt(ctx.text().get());
            }
        }
    }
    collectText(source, u.source);
    if (target) {
        u.targetPlaceholders = !collectText(target, u.target);
        u.state = stateOf(target.attribute("state").value(), u);
    }
    if (!sizeUnit || std::string_view(sizeUnit).empty() || std::string_view(sizeUnit) == "char") {
        u.width.chars = toInt(maxWidth ? maxWidth : "");
        u.width.fixed = u.width.chars > 0 && toInt(minWidth ? minWidth : "") == u.width.chars;
    }
}

void readUnits(const pugi::xml_node& parent, std::vector<Unit>& units)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const std::string_view name = localName(c);
        // The header of a PO file converted to XLIFF is no text.
        if (name == "trans-unit" && std::string_view(c.attribute("restype").value()) != "x-gettext-domain-header")
            readUnit(c, units.emplace_back());
        else if (name == "group") readUnits(c, units);
    }
}

constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata;

// A document read unit by unit: the markup around the units is followed
// here, tag by tag, and each <trans-unit> (and every other start tag) is
// parsed by pugixml on its own, in a buffer used over and over. A tree of
// the whole document takes more than twice the file's size in nodes; the
// first writes to that memory cost more than the parse itself.
//
// Only what this reader can follow tag for tag is read so: a UTF-8
// document without a document type. Anything else, and any error, is left
// to the parse of the whole document, which also places the error.
class UnitByUnit {
public:
    explicit UnitByUnit(std::string_view doc) : doc_(doc) {}

    bool read(ReadResult& r)
    {
        if (doc_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
        if (doc_.find('\0') != std::string_view::npos || !declarationIsUtf8()) return false;
        for (;;) {
            const size_t lt = doc_.find('<', pos_);
            // Outside the root only blanks; inside, text outside units is
            // none of the reader's business.
            const std::string_view text = doc_.substr(pos_, lt == std::string_view::npos ? std::string_view::npos : lt - pos_);
            if (open_.empty() && text.find_first_not_of(" \t\r\n") != std::string_view::npos) return false;
            if (lt == std::string_view::npos) return open_.empty() && rootSeen_;
            pos_ = lt;
            if (!markup(r)) return false;
        }
    }

private:
    struct Open {
        std::string_view name;   // as written, prefix and all
        std::string_view local;  // without the prefix
        bool units;              // a body (or a group in it) whose units are read
    };

    static std::string_view localOf(std::string_view name)
    {
        const size_t colon = name.find(':');
        return colon == std::string_view::npos ? name : name.substr(colon + 1);
    }

    bool declarationIsUtf8()
    {
        if (doc_.substr(pos_, 5) != "<?xml") return true;
        const size_t end = doc_.find("?>", pos_);
        if (end == std::string_view::npos) return false;
        const std::string_view decl = doc_.substr(pos_, end - pos_);
        const size_t at = decl.find("encoding");
        if (at == std::string_view::npos) return true;
        const size_t quote = decl.find_first_of("\"'", at);
        if (quote == std::string_view::npos) return false;
        const size_t close = decl.find(decl[quote], quote + 1);
        if (close == std::string_view::npos) return false;
        std::string name(decl.substr(quote + 1, close - quote - 1));
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return name == "utf-8" || name == "utf8";
    }

    // The markup at pos_: a comment, a processing instruction, a CDATA
    // section, an end tag, or a start tag with what it opens.
    bool markup(ReadResult& r)
    {
        const std::string_view rest = doc_.substr(pos_);
        for (const auto& [open, close] : {std::pair{"<!--", "-->"}, {"<?", "?>"}, {"<![CDATA[", "]]>"}}) {
            if (rest.substr(0, std::strlen(open)) != open) continue;
            if (open_.empty() && open[2] == '[') return false;
            const size_t end = doc_.find(close, pos_ + std::strlen(open));
            if (end == std::string_view::npos) return false;
            pos_ = end + std::strlen(close);
            return true;
        }
        if (rest.substr(0, 2) == "<!") return false;  // a document type
        size_t end = 0;
        if (!tagEnd(end)) return false;
        const std::string_view tag = doc_.substr(pos_, end - pos_);
        if (tag[1] == '/') {
            const std::string_view name = nameOf(tag.substr(2));
            if (open_.empty() || name != open_.back().name ||
                tag.substr(2 + name.size()).find_first_not_of(" \t\r\n>") != std::string_view::npos)
                return false;
            open_.pop_back();
            pos_ = end;
            return true;
        }
        const std::string_view name = nameOf(tag.substr(1));
        if (name.empty()) return false;
        const bool empty = tag[tag.size() - 2] == '/';
        const std::string_view local = localOf(name);
        pos_ = end;
        // Inside a unit the unit's own parse judges the markup.
        if (inUnit_ > 0) {
            if (!empty) open_.push_back({name, local, false});
            return true;
        }
        const bool inUnits = !open_.empty() && open_.back().units;
        if (inUnits && local == "trans-unit") return unit(tag, empty, r);

        // Any other start tag: its attributes read as the whole parse
        // would read them.
        if (!parse(tag, !empty)) return false;
        const pugi::xml_node element = scratchDoc_.first_child();
        bool units = false;
        if (open_.empty()) {
            if (rootSeen_ || local != "xliff") return false;
            rootSeen_ = true;
            const std::string_view version = element.attribute("version").value();
            if (!version.empty() && version[0] != '1') return false;
        } else if (open_.size() == 1 && local == "file") {
            bodySeen_ = false;
            if (!fileSeen_) {
                r.file.original = element.attribute("original").value();
                r.file.sourceLanguage = element.attribute("source-language").value();
                r.file.targetLanguage = element.attribute("target-language").value();
                fileSeen_ = true;
            }
        } else if (open_.size() == 2 && open_.back().local == "file" && local == "body") {
            // The first body of a file holds its units.
            units = !bodySeen_;
            bodySeen_ = true;
        } else if (inUnits && local == "group") {
            units = true;
        }
        if (!empty) open_.push_back({name, local, units});
        return true;
    }

    // The end of the tag at pos_ (after its '>'), quoted values skipped.
    bool tagEnd(size_t& end) const
    {
        size_t i = pos_ + 1;
        while (i < doc_.size()) {
            const char c = doc_[i];
            if (c == '>') {
                end = i + 1;
                return true;
            }
            if (c == '<') return false;
            if (c == '"' || c == '\'') {
                i = doc_.find(c, i + 1);
                if (i == std::string_view::npos) return false;
            }
            ++i;
        }
        return false;
    }

    static std::string_view nameOf(std::string_view s)
    {
        size_t n = 0;
        while (n < s.size() && !std::strchr(" \t\r\n/>", s[n])) ++n;
        return s.substr(0, n);
    }

    // A <trans-unit> from its start tag (pos_ after it) to its end tag,
    // read as a unit.
    bool unit(std::string_view tag, bool empty, ReadResult& r)
    {
        const size_t start = pos_ - tag.size();
        if (!empty) {
            // The unit's own markup, followed only to find its end tag.
            const size_t depth = open_.size();
            const std::string_view name = nameOf(tag.substr(1));
            open_.push_back({name, localOf(name), false});
            ++inUnit_;
            while (open_.size() > depth) {
                const size_t lt = doc_.find('<', pos_);
                if (lt == std::string_view::npos) return false;
                pos_ = lt;
                if (!markup(r)) return false;
            }
            --inUnit_;
        }
        if (!parse(doc_.substr(start, pos_ - start), false)) return false;
        const pugi::xml_node tu = scratchDoc_.first_child();
        // The header of a PO file converted to XLIFF is no text.
        if (std::string_view(tu.attribute("restype").value()) != "x-gettext-domain-header")
            readUnit(tu, r.file.units.emplace_back());
        return true;
    }

    // `xml` parsed on its own (a start tag closed first where `close`).
    bool parse(std::string_view xml, bool close)
    {
        scratch_.assign(xml);
        if (close) {
            scratch_.pop_back();
            scratch_ += "/>";
        }
        return scratchDoc_.load_buffer_inplace(scratch_.data(), scratch_.size(), kParseFlags, pugi::encoding_utf8) &&
               scratchDoc_.first_child();
    }

    std::string_view doc_;
    size_t pos_ = 0;
    std::vector<Open> open_;
    bool rootSeen_ = false, fileSeen_ = false, bodySeen_ = false;
    int inUnit_ = 0;
    std::string scratch_;
    pugi::xml_document scratchDoc_;
};

// Where the lines of a file end, so that a parse error can be placed after
// the parser has changed the bytes it parsed in place.
std::vector<size_t> lineEnds(std::string_view bytes)
{
    std::vector<size_t> ends;
    for (size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) ends.push_back(at);
    return ends;
}

}  // namespace

Written writeXliff(const File& file)
{
    Written w;
    for (const std::string* s : {&file.original, &file.sourceLanguage, &file.targetLanguage})
        if (badInAttribute(*s)) w.error = "a control character in a file name or language";
    for (const Unit& u : file.units)
        if (w.error.empty() && (badInAttribute(u.id) || badInAttribute(u.resname)))
            w.error = "id " + u.id + ": a control character in the id";
    if (!w.error.empty()) return w;

    // Room for the texts twice over and the markup of a unit: a buffer that
    // has to grow is copied whole; room that is never written costs nothing.
    size_t estimate = 1024;
    for (const Unit& u : file.units)
        estimate += 2 * (u.id.size() + u.resname.size() + u.source.size() + u.target.size() + u.note.size() +
                         u.reference.file.size()) +
                    600;
    w.bytes.reserve(estimate);
    XmlOut x(w.bytes);
    // One unit a line: whitespace between the elements of a unit would be
    // as many more nodes for every reader to build and skip (twice the time
    // of this program's own).
    x.raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xliff version=\"1.2\" xmlns=\"");
    x.raw(kNamespace);
    x.raw("\">\n<file");
    x.attribute("original", file.original);
    // The language of the source is required; "und" is the tag of a language
    // that cannot be told.
    x.attribute("source-language", file.sourceLanguage.empty() ? "und" : file.sourceLanguage);
    if (!file.targetLanguage.empty()) x.attribute("target-language", file.targetLanguage);
    x.raw(" datatype=\"plaintext\">\n<body>\n");
    for (const Unit& u : file.units) {
        x.raw("<trans-unit");
        x.attribute("id", u.id);
        if (!u.resname.empty()) x.attribute("resname", u.resname);
        x.raw(" xml:space=\"preserve\"");
        // Tools take a translation without approval for a draft.
        if (u.state == State::Translated) x.raw(" approved=\"yes\"");
        if (u.width.chars > 0) {
            x.raw(" maxwidth=\"");
            x.number(u.width.chars);
            if (u.width.fixed) {
                x.raw("\" minwidth=\"");
                x.number(u.width.chars);
            }
            x.raw("\" size-unit=\"char\"");
        }
        x.raw("><source>");
        x.text(u.source);
        x.raw("</source><target state=\"");
        x.raw(stateName(u.state));
        x.raw("\">");
        x.text(u.target);
        x.raw("</target>");
        if (!u.note.empty()) {
            x.raw("<note>");
            x.plainText(u.note);
            x.raw("</note>");
        }
        if (!u.reference.file.empty()) {
            x.raw("<context-group purpose=\"location\"><context context-type=\"sourcefile\">");
            x.plainText(u.reference.file);
            x.raw("</context>");
            if (u.reference.line > 0) {
                x.raw("<context context-type=\"linenumber\">");
                x.number(u.reference.line);
                x.raw("</context>");
            }
            x.raw("</context-group>");
        }
        x.raw("</trans-unit>\n");
    }
    x.raw("</body>\n</file>\n</xliff>\n");
    return w;
}

bool xliff::readUnitByUnit(std::string_view bytes, ReadResult& out)
{
    out = ReadResult();
    return UnitByUnit(bytes).read(out);
}

ReadResult readXliff(std::string bytes)
{
    ReadResult r;
    if (xliff::readUnitByUnit(bytes, r)) return r;
    return xliff::readWhole(std::move(bytes));
}

ReadResult xliff::readWhole(std::string bytes)
{
    ReadResult r;
    const std::vector<size_t> ends = lineEnds(bytes);
    pugi::xml_document doc;
    // In place: a copy of a large file costs as much as a third of the parse.
    const pugi::xml_parse_result parsed =
        doc.load_buffer_inplace(bytes.data(), bytes.size(), kParseFlags, pugi::encoding_auto);
    if (!parsed) {
        const auto line = std::lower_bound(ends.begin(), ends.end(), static_cast<size_t>(std::max<ptrdiff_t>(parsed.offset, 0)));
        r.error = "line " + std::to_string(line - ends.begin() + 1) + ": " + parsed.description();
        return r;
    }
    const pugi::xml_node root = doc.document_element();
    if (localName(root) != "xliff") {
        r.error = "not an XLIFF document";
        return r;
    }
    const std::string_view version = root.attribute("version").value();
    if (!version.empty() && version[0] != '1') {
        r.error = "XLIFF " + std::string(version) + " is not read: save the file as XLIFF 1.2";
        return r;
    }
    // Room for the units of the bodies (those of groups come on top): a
    // vector of 65,535 units grown step by step moves them all many times.
    size_t count = 0;
    for (pugi::xml_node f = root.first_child(); f; f = f.next_sibling())
        for (pugi::xml_node u = child(f, "body").first_child(); u; u = u.next_sibling()) ++count;
    r.file.units.reserve(count);
    bool first = true;
    for (pugi::xml_node f = root.first_child(); f; f = f.next_sibling()) {
        if (f.type() != pugi::node_element || localName(f) != "file") continue;
        if (first) {
            r.file.original = f.attribute("original").value();
            r.file.sourceLanguage = f.attribute("source-language").value();
            r.file.targetLanguage = f.attribute("target-language").value();
            first = false;
        }
        readUnits(child(f, "body"), r.file.units);
    }
    return r;
}

}  // namespace tov::exchange
