// XLIFF 1.2 through pugixml.
#include <pugixml.hpp>

#include <algorithm>
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

std::string hexByte(unsigned char b)
{
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", b);
    return buf;
}

// Character data around every placeholder, empty where there is none: the
// indenting writer indents an element only after another element, and
// blanks between two placeholders would become part of the text.
void appendText(pugi::xml_node parent, std::string_view text)
{
    int placeholders = 0;
    size_t run = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !needsPlaceholder(text[i])) continue;
        if (i > run || placeholders > 0 || i < text.size())
            parent.append_child(pugi::node_pcdata).set_value(std::string(text.substr(run, i - run)).c_str());
        if (i < text.size()) {
            pugi::xml_node x = parent.append_child("x");
            x.append_attribute("id") = ++placeholders;
            x.append_attribute("ctype") = (std::string(kCharType) + hexByte(static_cast<unsigned char>(text[i]))).c_str();
        }
        run = i + 1;
    }
}

// Text that allows no markup (a note): a control character is written out
// as "\xNN" for the reader's eyes.
std::string plainText(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        if (needsPlaceholder(c)) out += "\\x" + hexByte(static_cast<unsigned char>(c));
        else out.push_back(c);
    }
    return out;
}

const char* stateName(State s)
{
    switch (s) {
    case State::Translated: return "translated";
    case State::NeedsReview: return "needs-review-translation";
    case State::Untranslated: break;
    }
    return "needs-translation";
}

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string& out) : out_(out) {}
    void write(const void* data, size_t size) override { out_.append(static_cast<const char*>(data), size); }

private:
    std::string& out_;
};

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

Unit readUnit(const pugi::xml_node& tu)
{
    Unit u;
    u.id = tu.attribute("id").value();
    u.resname = tu.attribute("resname").value();
    collectText(child(tu, "source"), u.source);
    if (const pugi::xml_node target = child(tu, "target")) {
        u.targetPlaceholders = !collectText(target, u.target);
        u.state = stateOf(target.attribute("state").value(), u);
    }
    for (pugi::xml_node c = tu.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        if (localName(c) == "note") {
            if (!u.note.empty()) u.note += '\n';
            u.note += c.text().get();
        } else if (localName(c) == "context-group") {
            for (pugi::xml_node ctx = c.first_child(); ctx; ctx = ctx.next_sibling()) {
                const std::string_view type = ctx.attribute("context-type").value();
                if (type == "sourcefile") u.reference.file = ctx.text().get();
                else if (type == "linenumber") u.reference.line = toInt(ctx.text().get());
            }
        }
    }
    const std::string_view unit = tu.attribute("size-unit").value();
    if (unit.empty() || unit == "char") {
        u.width.chars = toInt(tu.attribute("maxwidth").value());
        u.width.fixed = u.width.chars > 0 && toInt(tu.attribute("minwidth").value()) == u.width.chars;
    }
    u.cFormat = hasPrintfConversion(u.source);
    return u;
}

void readUnits(const pugi::xml_node& parent, std::vector<Unit>& units)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element) continue;
        const std::string_view name = localName(c);
        // The header of a PO file converted to XLIFF is no text.
        if (name == "trans-unit" && std::string_view(c.attribute("restype").value()) != "x-gettext-domain-header")
            units.push_back(readUnit(c));
        else if (name == "group") readUnits(c, units);
    }
}

int lineAt(std::string_view bytes, std::ptrdiff_t offset)
{
    const auto end = bytes.begin() + std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(bytes.size()));
    return 1 + static_cast<int>(std::count(bytes.begin(), end, '\n'));
}

}  // namespace

Written writeXliff(const File& file)
{
    Written w;
    for (const std::string* s : {&file.original, &file.sourceLanguage, &file.targetLanguage})
        if (badInAttribute(*s)) w.error = "a control character in a file name or language";
    for (const Unit& u : file.units)
        if (w.error.empty() && (badInAttribute(u.id) || badInAttribute(u.resname) || badInAttribute(u.reference.file)))
            w.error = "id " + u.id + ": a control character in the id or the file name";
    if (!w.error.empty()) return w;

    pugi::xml_document doc;
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "UTF-8";
    pugi::xml_node xliff = doc.append_child("xliff");
    xliff.append_attribute("version") = "1.2";
    xliff.append_attribute("xmlns") = kNamespace;
    pugi::xml_node f = xliff.append_child("file");
    f.append_attribute("original") = file.original.c_str();
    // The language of the source is required; "und" is the tag of a language
    // that cannot be told.
    f.append_attribute("source-language") = file.sourceLanguage.empty() ? "und" : file.sourceLanguage.c_str();
    if (!file.targetLanguage.empty()) f.append_attribute("target-language") = file.targetLanguage.c_str();
    f.append_attribute("datatype") = "plaintext";
    pugi::xml_node body = f.append_child("body");
    for (const Unit& u : file.units) {
        pugi::xml_node tu = body.append_child("trans-unit");
        tu.append_attribute("id") = u.id.c_str();
        if (!u.resname.empty()) tu.append_attribute("resname") = u.resname.c_str();
        tu.append_attribute("xml:space") = "preserve";
        // Tools take a translation without approval for a draft.
        if (u.state == State::Translated) tu.append_attribute("approved") = "yes";
        if (u.width.chars > 0) {
            tu.append_attribute("maxwidth") = u.width.chars;
            if (u.width.fixed) tu.append_attribute("minwidth") = u.width.chars;
            tu.append_attribute("size-unit") = "char";
        }
        appendText(tu.append_child("source"), u.source);
        pugi::xml_node target = tu.append_child("target");
        target.append_attribute("state") = stateName(u.state);
        appendText(target, u.target);
        if (!u.note.empty()) tu.append_child("note").text().set(plainText(u.note).c_str());
        if (!u.reference.file.empty()) {
            pugi::xml_node group = tu.append_child("context-group");
            group.append_attribute("purpose") = "location";
            pugi::xml_node ctx = group.append_child("context");
            ctx.append_attribute("context-type") = "sourcefile";
            ctx.text().set(u.reference.file.c_str());
            if (u.reference.line > 0) {
                ctx = group.append_child("context");
                ctx.append_attribute("context-type") = "linenumber";
                ctx.text().set(u.reference.line);
            }
        }
    }
    StringWriter out(w.bytes);
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return w;
}

ReadResult readXliff(std::string_view bytes)
{
    ReadResult r;
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_auto);
    if (!parsed) {
        r.error = "line " + std::to_string(lineAt(bytes, parsed.offset)) + ": " + parsed.description();
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
