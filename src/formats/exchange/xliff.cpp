// XLIFF 1.2: written here, read through pugixml.
#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "formats/exchange/exchange.h"

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

ReadResult readXliff(std::string bytes)
{
    ReadResult r;
    const std::vector<size_t> ends = lineEnds(bytes);
    pugi::xml_document doc;
    // In place: a copy of a large file costs as much as a third of the parse.
    const pugi::xml_parse_result parsed = doc.load_buffer_inplace(
        bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto);
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
