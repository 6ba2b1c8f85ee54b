#include "cli/cli_report.h"

#include <nlohmann/json.hpp>

#include "support/cp1250.h"
#include "support/strutil.h"

namespace tov::cli {

namespace {

// The findings of a row: its destination as the file holds it against its base.
void rowFindings(const checks::CheckOptions& options, const Entry& e, checks::Findings& out)
{
    checks::checkEntry(options, e.base, e.stored, out);
}

Problem::Kind kindOf(checks::Code code)
{
    switch (code) {
    case checks::Code::Format: return Problem::Kind::Format;
    case checks::Code::Blanks: return Problem::Kind::Blanks;
    case checks::Code::Punctuation: return Problem::Kind::Punctuation;
    case checks::Code::Accelerator: break;
    }
    return Problem::Kind::Accelerator;
}

}  // namespace

CheckReport checkDocument(const Opened& d, const TextChecks& checks)
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

    // Where a firmware destination set parts from its base: a text beyond
    // the base's texts belongs to no row; one on another line, or a line
    // that could take no text, to its row.
    const TranslationDocument& doc = d.doc;
    const Diagnostic* moved = nullptr;
    // By row, where any row has a destination line without a place (firmware).
    std::vector<const Diagnostic*> withoutPlace;
    for (const Diagnostic& g : d.structureProblems) {
        if (g.code == DiagnosticCode::Unplaced && g.row >= 1 && g.row <= doc.size()) {
            if (withoutPlace.empty()) withoutPlace.resize(static_cast<std::size_t>(doc.size()), nullptr);
            withoutPlace[static_cast<std::size_t>(g.row - 1)] = &g;
        }
        if (g.code != DiagnosticCode::Structure) continue;
        moved = &g;
        if (g.row <= doc.size()) continue;
        Problem q;
        q.kind = Problem::Kind::Structure;
        q.file = g.file;
        q.line = g.line;
        q.note = "line " + std::to_string(g.line) + ": " + g.detail;
        ++r.structure;
        r.problems.push_back(std::move(q));
    }
    auto destLine = [](const Diagnostic& g) { return fileNamePart(g.file) + ":" + std::to_string(g.line); };

    // About one problem a row that the document counts (a row may have a
    // few): the list grows seldom, if at all.
    const Counts& counted = doc.counts();
    r.problems.reserve(r.problems.size() + d.structureProblems.size() +
                       static_cast<std::size_t>(counted.missing + counted.tooLong + counted.lengthDiffers +
                                                counted.formatErrors + counted.checkWarnings));

    // What the destination files hold is checked, before any rule made it fit.
    const bool located = doc.naming() == RowNaming::Location;
    checks::Findings findings;
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
        if ((found & problem::kStructure) && moved) {
            add(Problem::Kind::Structure, r.structure);
            r.problems.back().note = "destination text on another line than its base text (" + destLine(*moved) + ")";
        }
        if (const Diagnostic* u = withoutPlace.empty() ? nullptr : withoutPlace[static_cast<std::size_t>(i)]) {
            add(Problem::Kind::Structure, r.structure);
            r.problems.back().note =
                "destination line without a quoted text, not in its base line's form (" + destLine(*u) + ")";
        }
        if (found & problem::kMissing) add(Problem::Kind::Missing, r.missing);
        if (found & problem::kTooLong) add(Problem::Kind::TooLong, r.tooLong);
        if (found & problem::kLengthDiffers) add(Problem::Kind::LengthDiffers, r.lengthDiffers);

        findings.clear();
        rowFindings(checks.options, e, findings);
        for (checks::Finding& f : findings) {
            const Problem::Kind kind = kindOf(f.code);
            add(kind, kind == Problem::Kind::Format        ? r.format
                      : kind == Problem::Kind::Blanks      ? r.blanks
                      : kind == Problem::Kind::Punctuation ? r.punctuation
                                                           : r.accelerator);
            r.problems.back().note = std::move(f.detail);
            r.problems.back().warning = f.severity == checks::Severity::Warning;
        }
        if (checks.spell && !e.stored.empty()) {
            const spell::Misspellings wrong = checks.spell->check(e.stored);
            if (!wrong.empty()) {
                add(Problem::Kind::Spelling, r.spelling);
                Problem& q = r.problems.back();
                q.warning = true;
                for (const spell::WordSpan& span : wrong) {
                    q.words.push_back(spell::wordAt(e.stored, span));
                    q.note += (q.note.empty() ? "" : ", ") + q.words.back();
                }
            }
        }
    }
    r.spellChecked = checks.spell != nullptr;
    for (const Problem& p : r.problems) (p.warning ? r.warnings : r.errors) = true;
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
    case Problem::Kind::Format: return "format";
    case Problem::Kind::Blanks: return "blanks";
    case Problem::Kind::Punctuation: return "punctuation";
    case Problem::Kind::Accelerator: return "accelerator";
    case Problem::Kind::Spelling: return "spelling";
    }
    return "";
}

bool hasCounts(Problem::Kind k)
{
    return k == Problem::Kind::TooLong || k == Problem::Kind::LengthDiffers || k == Problem::Kind::LineCount;
}

bool isTextCheck(Problem::Kind k) { return k >= Problem::Kind::Format; }

// Whether the summary goes on with the counts of the text checks.
bool textCheckCounts(const CheckReport& r)
{
    return r.spellChecked || r.format + r.blanks + r.punctuation + r.accelerator > 0;
}

std::string detail(const Problem& p)
{
    if (hasCounts(p.kind)) return ": dest " + std::to_string(p.dest) + ", base " + std::to_string(p.base);
    if (p.kind == Problem::Kind::Structure || isTextCheck(p.kind)) return ": " + p.note;
    if (p.kind == Problem::Kind::Unreadable) return ": " + p.reason;
    return {};
}

}  // namespace

std::string reportText(const CheckReport& r)
{
    std::string out;
    out.reserve(r.problems.size() * 40 + 200);
    // Piece by piece into one buffer: a file may have a line for every row.
    for (const Problem& p : r.problems) {
        if (p.row > 0) {
            out += "row ";
            out += std::to_string(p.row);
            out += ": ";
            out += p.id;
        } else {
            out += "file ";
            out += p.file;
        }
        out += ": ";
        out += problemName(p.kind);
        if (isTextCheck(p.kind)) {
            out += ": ";
            out += p.note;
        } else {
            out += detail(p);
        }
        out += '\n';
    }
    out += "rows " + std::to_string(r.rows) + ", translated " + std::to_string(r.translated) + ", missing " +
           std::to_string(r.missing) + ", too long " + std::to_string(r.tooLong) + ", length differs " +
           std::to_string(r.lengthDiffers) + ", structure " + std::to_string(r.structure) + ", line count " +
           std::to_string(r.lineCount) + ", unreadable " + std::to_string(r.unreadable);
    if (textCheckCounts(r))
        out += ", format " + std::to_string(r.format) + ", blanks " + std::to_string(r.blanks) + ", punctuation " +
               std::to_string(r.punctuation) + ", accelerator " + std::to_string(r.accelerator);
    if (r.spellChecked) out += ", spelling " + std::to_string(r.spelling);
    out += "; " + characterCountText(r.baseCharacters, r.destCharacters) + "\n";
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

using Json = nlohmann::ordered_json;  // members in the order written

// A text as UTF-8 for JSON: texts of the files are Windows-1250; file names
// are taken as they are when they are valid UTF-8, as the file system spells
// them.
Json text(std::string_view s, bool fileName = false)
{
    if (fileName && isWellFormedUtf8(s)) return std::string(s);
    std::string out;
    out.reserve(s.size());
    for (const char ch : s) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else
            appendUtf8(out, cp1250::toUnicode(b));
    }
    return out;
}

// The library writes the control characters that have a short escape as
// \b \f \n \r \t; this tool has always written every control character as
// \u00xx. Escapes are only ever in strings, and a backslash there always
// starts one, so the rewrite is exact.
std::string controlEscapes(const std::string& json)
{
    std::string out;
    out.reserve(json.size());
    for (size_t i = 0; i < json.size(); ++i) {
        out += json[i];
        if (json[i] != '\\' || i + 1 == json.size()) continue;
        const char next = json[++i];
        const char* code = next == 'b' ? "08" : next == 'f' ? "0c" : next == 'n' ? "0a" : next == 'r' ? "0d"
                           : next == 't' ? "09" : nullptr;
        if (code)
            (out += "u00") += code;
        else
            out += next;
    }
    return out;
}

}  // namespace

std::string reportJson(const CheckReport& r, const Options& o, const Opened& d)
{
    const bool firmware = d.doc.naming() == RowNaming::Location;
    Json head = {{"kind", text(o.kindName)}, {"base", text(o.base, true)},
                 {"dest", o.dest.empty() ? Json(nullptr) : text(o.dest, true)}};
    if (!o.baseLang.empty()) {
        head["base_lang"] = text(d.doc.baseLanguageName);
        head["dest_lang"] = text(d.doc.destLanguageName);
    }
    // One document, with each problem on a line of its own.
    std::string out = head.dump();
    out.pop_back();
    out += ",\"problems\":[";
    for (size_t i = 0; i < r.problems.size(); ++i) {
        const Problem& p = r.problems[i];
        Json problem = Json::object();
        if (p.row > 0) {
            problem["row"] = p.row;
            problem["id"] = text(p.id, firmware);
            if (firmware) {
                problem["file"] = text(p.file, true);
                problem["line"] = p.line;
            }
        } else {
            problem["file"] = text(p.file, true);
            if (p.line > 0) problem["line"] = p.line;
        }
        problem["problem"] = problemName(p.kind);
        if (isTextCheck(p.kind)) {
            problem["severity"] = p.warning ? "warning" : "error";
            if (p.kind == Problem::Kind::Spelling) {
                Json words = Json::array();
                for (const std::string& w : p.words) words.push_back(text(w));
                problem["words"] = std::move(words);
            } else {
                problem["detail"] = text(p.note);
            }
        } else if (!p.note.empty()) {
            problem["detail"] = text(p.note, true);
        }
        if (p.kind == Problem::Kind::Unreadable) problem["reason"] = p.reason;
        if (hasCounts(p.kind)) {
            problem["dest"] = p.dest;
            problem["base"] = p.base;
        }
        out += i == 0 ? "\n" : ",\n";
        out += problem.dump();
    }
    out += r.problems.empty() ? "]" : "\n]";
    const Json summary = {{"rows", r.rows},
                          {"translated", r.translated},
                          {"missing", r.missing},
                          {"too_long", r.tooLong},
                          {"length_differs", r.lengthDiffers},
                          {"structure", r.structure},
                          {"line_count", r.lineCount},
                          {"unreadable", r.unreadable},
                          {"base_characters", r.baseCharacters},
                          {"dest_characters", r.destCharacters},
                          {"character_count", text(characterCountText(r.baseCharacters, r.destCharacters))}};
    Json counts = summary;
    if (textCheckCounts(r)) {
        // After the counts of the rows, before the character counts.
        counts = Json::object();
        for (auto it = summary.begin(); it != summary.end(); ++it) {
            if (it.key() == "base_characters") {
                counts["format"] = r.format;
                counts["blanks"] = r.blanks;
                counts["punctuation"] = r.punctuation;
                counts["accelerator"] = r.accelerator;
                if (r.spellChecked) counts["spelling"] = r.spelling;
            }
            counts[it.key()] = it.value();
        }
    }
    out += ",\"summary\":" + counts.dump() + "}\n";
    return controlEscapes(out);
}

}  // namespace tov::cli
