#include "cli/cli_report.h"

#include <cstdio>
#include <tuple>

#include "formats/source_kind.h"
#include "support/cp1250.h"
#include "support/strutil.h"

namespace tov::cli {

CheckReport checkDocument(const Document& d)
{
    CheckReport r;
    for (const SetFileProblem& p : d.setProblems) {
        Problem q;
        q.kind = p.kind == SetFileProblem::Kind::Unreadable ? Problem::Kind::Unreadable : Problem::Kind::LineCount;
        q.file = p.path;
        q.dest = p.lines;
        q.base = p.expected;
        q.reason = p.reason;
        ++(p.kind == SetFileProblem::Kind::Unreadable ? r.unreadable : r.lineCount);
        r.problems.push_back(std::move(q));
    }

    // A destination text beyond the base's texts belongs to no row in use.
    if (d.structureFailure && d.structureFailure->baseLine == 0) {
        Problem q;
        q.kind = Problem::Kind::Structure;
        q.file = d.structureFailure->destPath;
        q.line = d.structureFailure->destLine;
        q.note = "line " + std::to_string(q.line) + ": " + d.structureFailure->what();
        ++r.structure;
        r.problems.push_back(std::move(q));
    }
    auto destLine = [&](std::size_t file, int line) {
        return fileNamePart(file < d.destFiles.size() ? d.destFiles[file] : std::string()) + ":" + std::to_string(line);
    };
    std::size_t withoutPlace = 0;  // the next of d.linesWithoutPlace

    const bool firmware = isFirmwareKind(d.kind);
    const int rows = d.translation.rowCount();
    for (int row = 1; row < rows; ++row) {
        if (!d.rowInUse(row)) continue;
        ++r.rows;
        const std::string& base = d.translation.cell(tcol::kBase, row);
        const std::string& dest = d.translation.cell(tcol::kDest, row);
        if (!dest.empty()) ++r.translated;

        auto add = [&](Problem::Kind kind) {
            Problem q;
            q.kind = kind;
            q.row = row;
            q.id = d.rowId(row);
            if (firmware) std::tie(q.file, q.line) = d.firmwareLine(row);
            q.dest = dest.size();
            q.base = base.size();
            r.problems.push_back(std::move(q));
        };
        if (row == d.structureFailureRow && d.structureFailure) {
            add(Problem::Kind::Structure);
            r.problems.back().note = "destination text on another line than its base text (" +
                                     fileNamePart(d.structureFailure->destPath) + ":" +
                                     std::to_string(d.structureFailure->destLine) + ")";
            ++r.structure;
        }
        if (withoutPlace < d.linesWithoutPlace.size() && d.linesWithoutPlace[withoutPlace].row == row) {
            const FirmwareUnplacedText& u = d.linesWithoutPlace[withoutPlace++];
            add(Problem::Kind::Structure);
            r.problems.back().note = "destination line without a quoted text, not in its base line's form (" +
                                     destLine(u.file, u.line) + ")";
            ++r.structure;
        }
        switch (destinationProblem(d.kind, base, dest)) {
        case TextProblem::None: break;
        case TextProblem::Missing: add(Problem::Kind::Missing), ++r.missing; break;
        case TextProblem::TooLong: add(Problem::Kind::TooLong), ++r.tooLong; break;
        case TextProblem::LengthDiffers: add(Problem::Kind::LengthDiffers), ++r.lengthDiffers; break;
        }
    }
    r.characters = countCharacters(d.translation);
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
    if (p.kind == Problem::Kind::Structure) return ": " + p.note;
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
           characterCountText(r.characters) + "\n";
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

std::string reportJson(const CheckReport& r, const Options& o, const Document& d)
{
    const bool firmware = isFirmwareKind(d.kind);
    std::string out = "{" + field("kind", jsonString(o.kindName)) + "," + field("base", jsonString(o.base, true)) +
                      "," + field("dest", o.dest.empty() ? "null" : jsonString(o.dest, true));
    if (!o.baseLang.empty())
        out += "," + field("base_lang", jsonString(d.baseLanguage)) + "," + field("dest_lang", jsonString(d.destLanguage));
    out += ",\"problems\":[";
    for (size_t i = 0; i < r.problems.size(); ++i) {
        const Problem& p = r.problems[i];
        out += i == 0 ? "\n{" : ",\n{";
        if (p.row > 0) {
            out += field("row", p.row) + "," + field("id", jsonString(p.id, firmware)) + ",";
            if (firmware) out += field("file", jsonString(p.file, true)) + "," + field("line", p.line) + ",";
        } else {
            out += field("file", jsonString(p.file, true)) + ",";
            if (p.line > 0) out += field("line", p.line) + ",";
        }
        out += field("problem", jsonString(problemName(p.kind)));
        if (!p.note.empty()) out += "," + field("detail", jsonString(p.note, true));
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
           field("base_characters", r.characters.base) + "," + field("dest_characters", r.characters.dest) + "," +
           field("character_count", jsonString(characterCountText(r.characters))) + "}}\n";
    return out;
}

}  // namespace tov::cli
