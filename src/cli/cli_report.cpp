#include "cli/cli_report.h"

#include <cstdio>

#include "support/cp1250.h"

namespace tov::cli {

CheckReport checkDocument(const Opened& d)
{
    CheckReport r;
    for (const Diagnostic& g : d.fileProblems) {
        Problem q;
        const bool unreadable = g.code == DiagnosticCode::SetFileUnreadable;
        q.kind = unreadable ? Problem::Kind::Unreadable : Problem::Kind::LineCount;
        q.file = g.file;
        q.dest = g.count;
        q.base = g.expected;
        q.reason = g.detail;
        ++(unreadable ? r.unreadable : r.lineCount);
        r.problems.push_back(std::move(q));
    }

    // What the destination files hold is checked, before any rule made it fit.
    const TranslationDocument& doc = d.doc;
    const bool located = doc.naming() == RowNaming::Location;
    for (int i = 0; i < doc.size(); ++i) {
        const Entry& e = doc.entry(i);
        ++r.rows;
        if (!e.stored.empty()) ++r.translated;
        r.baseCharacters += e.base.size();
        r.destCharacters += e.stored.size();
        const Problems found = fileProblems(e);
        auto add = [&](Problem::Kind kind, int& counter) {
            Problem q;
            q.kind = kind;
            q.row = i + 1;
            q.id = doc.rowName(i);
            if (located) {
                const Location at = doc.location(i);
                q.file = at.file;
                q.line = at.line;
            }
            q.dest = e.stored.size();
            q.base = e.base.size();
            r.problems.push_back(std::move(q));
            ++counter;
        };
        if (found & problem::kStructure) add(Problem::Kind::Structure, r.structure);
        if (found & problem::kMissing) add(Problem::Kind::Missing, r.missing);
        if (found & problem::kTooLong) add(Problem::Kind::TooLong, r.tooLong);
        if (found & problem::kLengthDiffers) add(Problem::Kind::LengthDiffers, r.lengthDiffers);
    }
    return r;
}

namespace {

const char* problemName(Problem::Kind k)
{
    switch (k) {
    case Problem::Kind::Missing: return "missing";
    case Problem::Kind::TooLong: return "too long";
    case Problem::Kind::LengthDiffers: return "length differs";
    case Problem::Kind::Structure: return "structure";
    case Problem::Kind::LineCount: return "line count";
    case Problem::Kind::Unreadable: return "unreadable file";
    }
    return "";
}

bool hasCounts(Problem::Kind k)
{
    return k == Problem::Kind::TooLong || k == Problem::Kind::LengthDiffers || k == Problem::Kind::LineCount;
}

std::string detail(const Problem& p)
{
    if (hasCounts(p.kind)) return ": dest " + std::to_string(p.dest) + ", base " + std::to_string(p.base);
    if (p.kind == Problem::Kind::Structure) return ": destination text on another line than its base text";
    if (p.kind == Problem::Kind::Unreadable) return ": " + p.reason;
    return {};
}

}  // namespace

std::string reportText(const CheckReport& r)
{
    std::string out;
    out.reserve(r.problems.size() * 40 + 200);
    for (const Problem& p : r.problems) {
        if (p.row > 0)
            out += "row " + std::to_string(p.row) + ": " + p.id + ": ";
        else
            out += "file " + p.file + ": ";
        out += problemName(p.kind);
        out += detail(p);
        out += '\n';
    }
    out += "rows " + std::to_string(r.rows) + ", translated " + std::to_string(r.translated) + ", missing " +
           std::to_string(r.missing) + ", too long " + std::to_string(r.tooLong) + ", length differs " +
           std::to_string(r.lengthDiffers) + ", structure " + std::to_string(r.structure) + ", line count " +
           std::to_string(r.lineCount) + ", unreadable " + std::to_string(r.unreadable) + "; " +
           characterCountText(r.baseCharacters, r.destCharacters) + "\n";
    return out;
}

namespace {

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool validUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// A JSON string. Texts of the files are Windows-1250; file names are taken
// as UTF-8 when they are valid UTF-8, as the file system spells them.
std::string jsonString(std::string_view s, bool fileName = false)
{
    const bool utf8 = fileName && validUtf8(s);
    std::string out = "\"";
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b == '"' || b == '\\') {
            out += '\\';
            out += ch;
        } else if (b < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", b);
            out += buf;
        } else if (b < 0x80 || utf8) {
            out += ch;
        } else {
            appendUtf8(out, cp1250::toUnicode(b));
        }
    }
    return out + "\"";
}

std::string field(const char* name, const std::string& json) { return std::string("\"") + name + "\":" + json; }
std::string field(const char* name, long long value) { return field(name, std::to_string(value)); }

}  // namespace

std::string reportJson(const CheckReport& r, const Options& o, const Opened& d)
{
    const bool firmware = d.doc.naming() == RowNaming::Location;
    std::string out = "{" + field("kind", jsonString(o.kindName)) + "," + field("base", jsonString(o.base, true)) +
                      "," + field("dest", o.dest.empty() ? "null" : jsonString(o.dest, true));
    if (!o.baseLang.empty())
        out += "," + field("base_lang", jsonString(d.doc.baseLanguageName)) + "," +
               field("dest_lang", jsonString(d.doc.destLanguageName));
    out += ",\"problems\":[";
    for (size_t i = 0; i < r.problems.size(); ++i) {
        const Problem& p = r.problems[i];
        out += i == 0 ? "\n{" : ",\n{";
        if (p.row > 0) {
            out += field("row", p.row) + "," + field("id", jsonString(p.id, firmware)) + ",";
            if (firmware) out += field("file", jsonString(p.file, true)) + "," + field("line", p.line) + ",";
        } else {
            out += field("file", jsonString(p.file, true)) + ",";
        }
        out += field("problem", jsonString(problemName(p.kind)));
        if (p.kind == Problem::Kind::Unreadable) out += "," + field("reason", jsonString(p.reason));
        if (hasCounts(p.kind)) out += "," + field("dest", static_cast<long long>(p.dest)) + "," +
                                      field("base", static_cast<long long>(p.base));
        out += "}";
    }
    out += r.problems.empty() ? "]," : "\n],";
    out += "\"summary\":{" + field("rows", r.rows) + "," + field("translated", r.translated) + "," +
           field("missing", r.missing) + "," + field("too_long", r.tooLong) + "," +
           field("length_differs", r.lengthDiffers) + "," + field("structure", r.structure) + "," +
           field("line_count", r.lineCount) + "," + field("unreadable", r.unreadable) + "," +
           field("base_characters", static_cast<long long>(r.baseCharacters)) + "," +
           field("dest_characters", static_cast<long long>(r.destCharacters)) + "," +
           field("character_count", jsonString(characterCountText(r.baseCharacters, r.destCharacters))) + "}}\n";
    return out;
}

}  // namespace tov::cli
