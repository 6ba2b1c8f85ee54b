#include "formats/c_arrays/c_arrays.h"

#include <optional>
#include <string_view>

#include "support/atomic_file.h"
#include "support/convert.h"
#include "support/line_views.h"
#include "support/strutil.h"
#include "support/text_file.h"

namespace tov {

namespace {

constexpr std::string_view kDeclaration = "const char *";
constexpr std::size_t kCommentColumn = 60;  // written lines are padded to here before "  // n"

enum class Procedure { Read, Template, Write };

constexpr const char* kUnclosed = "a double quote without its closing one within 255 characters";

std::string_view trimmed(std::string_view s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

bool isDeclaration(std::string_view line) { return contains(line, kDeclaration); }
bool hasQuote(std::string_view line) { return line.find('"') != std::string_view::npos; }

// A quoted text: the first double quote of the line and a second one among
// the 255 characters that follow it.
struct Quoted {
    std::size_t open = 0;
    std::size_t close = 0;
    std::string_view text(std::string_view line) const { return line.substr(open + 1, close - open - 1); }
};

std::optional<Quoted> findQuoted(std::string_view line)
{
    const std::size_t open = line.find('"');
    if (open == std::string_view::npos) return std::nullopt;
    const std::size_t close = line.find('"', open + 1);
    if (close == std::string_view::npos || close - open > kCArraysMaxText + 1) return std::nullopt;
    return Quoted{open, close};
}

// A line that a rewrite loses nothing of but its comment: the text first,
// then at most blanks and one comma, then the end or a "//" comment.
bool isPlainTextLine(std::string_view line, const Quoted& q)
{
    if (q.open != 0) return false;
    std::size_t p = q.close + 1;
    auto skipBlanks = [&] {
        while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
    };
    skipBlanks();
    if (p < line.size() && line[p] == ',') {
        ++p;
        skipBlanks();
    }
    return p == line.size() || line.substr(p, 2) == "//";
}

// K: the number in the 5 characters after the first "][", 1 without "][".
int textsPerLanguage(std::string_view declaration)
{
    const std::size_t p = declaration.find("][");
    if (p == std::string_view::npos) return 1;
    return nonNegativeNumber(declaration.substr(p + 2, 5));
}

std::string lineError(std::size_t index, std::string_view what)
{
    return "line " + std::to_string(index + 1) + ": " + std::string(what);
}

// --- Layout -------------------------------------------------------------------

struct ArrayBlock {
    std::size_t declaration = 0;  // index of its declaration line
    std::size_t end = 0;          // index of its closing line "};"
    std::size_t next = 0;         // index of the next declaration line, or the line count
    int k = 0;                    // K from the declaration
    bool open = false;            // K taken from the first group instead
};

struct NameLine {
    std::size_t index = 0;   // its line
    std::string_view text;   // the name, a view into that line
};

struct Layout {
    std::size_t firstDeclaration = 0;
    std::size_t namesEnd = 0;  // the first array's declaration line
    std::vector<NameLine> names;
    std::vector<ArrayBlock> arrays;
};

// Finds the preamble, the name lines and the arrays. Every procedure works on
// this one division, so reading, the template and writing agree on where each
// array begins and ends and on its K.
std::optional<Layout> findLayout(const LineViews& lines, Procedure proc, std::string& error)
{
    const std::size_t n = lines.size();
    Layout layout;
    std::size_t i = 0;
    while (i < n && !isDeclaration(lines[i])) ++i;
    if (i == n) {
        error = "no declaration line (a line holding \"const char *\")";
        return std::nullopt;
    }
    layout.firstDeclaration = i;

    for (++i; i < n && !isDeclaration(lines[i]); ++i) {
        const std::string_view t = trimmed(lines[i]);
        if (startsWith(t, "//") || !hasQuote(t)) continue;
        const auto q = findQuoted(t);
        if (!q) {
            // Reading skips the line; the writers would drop it.
            if (proc == Procedure::Read) continue;
            error = lineError(i, kUnclosed);
            return std::nullopt;
        }
        if (proc == Procedure::Template && !isPlainTextLine(t, *q)) {
            error = lineError(i, "a language name line holds more than the name (it would be lost on saving)");
            return std::nullopt;
        }
        layout.names.push_back({i, q->text(t)});
    }
    layout.namesEnd = i;
    if (layout.names.empty()) {
        error = "no language names (quoted texts after the first declaration line)";
        return std::nullopt;
    }
    if (layout.names.size() > static_cast<std::size_t>(kCArraysMaxLanguages)) {
        error = "more than " + std::to_string(kCArraysMaxLanguages) + " language names";
        return std::nullopt;
    }
    if (i == n) {
        error = "no array after the language names";
        return std::nullopt;
    }

    while (i < n) {
        ArrayBlock a;
        a.declaration = i;
        a.k = textsPerLanguage(trimmed(lines[i]));
        if (a.k <= 0) {
            error = lineError(i, "the number of texts per language after \"][\" is missing or 0");
            return std::nullopt;
        }
        std::size_t j = i + 1;
        a.open = a.k > 1 && j < n && trimmed(lines[j]) == "{";
        while (j < n && !isDeclaration(lines[j]) && trimmed(lines[j]) != "};") ++j;
        if (j == n || isDeclaration(lines[j])) {
            error = lineError(i, "the array does not end with a line \"};\" before " +
                                     (j == n ? std::string("the end of the file")
                                             : "the next declaration (line " + std::to_string(j + 1) + ")"));
            return std::nullopt;
        }
        a.end = j;
        for (++j; j < n && !isDeclaration(lines[j]); ++j) {}
        a.next = j;
        layout.arrays.push_back(a);
        i = j;
    }
    return layout;
}

// Where the texts of one array go: language L, position i within the
// language; K texts per language, not yet known in an open array until its
// first group closes.
class SlotCursor {
public:
    SlotCursor(const ArrayBlock& a, int base, int languages)
        : k_(a.open ? 0 : a.k), known_(!a.open), base_(base), languages_(languages)
    {
    }

    bool kKnown() const { return known_; }
    int k() const { return k_; }
    int language() const { return lang_; }

    // The cell of the next text, then advances. Null or why it does not fit.
    const char* place(int& column, int& row)
    {
        if (lang_ > languages_) return "more texts than languages in this array";
        column = lang_;
        row = base_ + pos_;
        if (row > kCArraysMaxRows) return "more than 65,535 text rows";
        if (known_ && pos_ == k_) {
            ++lang_;
            pos_ = 1;
        } else {
            ++pos_;
        }
        return nullptr;
    }

    // A line "}," while K is not yet known: the first group ends.
    const char* closeFirstGroup()
    {
        k_ = pos_ - 1;
        known_ = true;
        ++lang_;
        pos_ = 1;
        return k_ == 0 ? "the first group of the array holds no text" : nullptr;
    }

    // At the closing "};". An open array whose first group never met "}," is
    // one group long.
    const char* finish()
    {
        if (!known_) {
            if (pos_ == 1) return "the array holds no text to count its texts per language";
            closeFirstGroup();
        }
        if (pos_ != 1) return "the array ends within the texts of a language";
        if (base_ + k_ > kCArraysMaxRows) return "more than 65,535 text rows";
        return nullptr;
    }

private:
    int k_;
    bool known_;
    int base_;
    int languages_;
    int lang_ = 1;
    int pos_ = 1;
};

// --- Written line forms ---------------------------------------------------------

void appendCommented(std::string& out, std::size_t lineStart, std::string_view sep, int number)
{
    const std::size_t len = out.size() - lineStart;
    if (len < kCommentColumn) out.append(kCommentColumn - len, ' ');
    out.append(sep);
    out.append(std::to_string(number));
    out.append("\r\n");
}

// 19 blanks, the text quoted, a comma, padded to 60, "  // " and the number.
void appendTextLine(std::string& out, std::string_view text, int number)
{
    const std::size_t start = out.size();
    out.append(19, ' ');
    out.push_back('"');
    out.append(text);
    out.append("\",");
    appendCommented(out, start, "  // ", number);
}

// 18 blanks and the quoted text as it stood, padded to 60, "  // " and the number.
void appendTemplateSlot(std::string& out, std::string_view quoted, int number)
{
    const std::size_t start = out.size();
    out.append(18, ' ');
    out.append(quoted);
    appendCommented(out, start, "  // ", number);
}

void appendEmptySlot(std::string& out, int number)
{
    out.append(18, ' ');
    out.append("\"\"   // ");
    out.append(std::to_string(number));
    out.append("\r\n");
}

void appendLine(std::string& out, std::string_view line)
{
    out.append(line);
    out.append("\r\n");
}

// Preamble unchanged, name section with the names in their written form.
void appendHead(std::string& out, const LineViews& lines, const Layout& layout)
{
    for (std::size_t i = 0; i <= layout.firstDeclaration; ++i) appendLine(out, lines[i]);
    std::size_t next = 0;
    for (std::size_t i = layout.firstDeclaration + 1; i < layout.namesEnd; ++i) {
        const std::string_view t = trimmed(lines[i]);
        if (next < layout.names.size() && layout.names[next].index == i) {
            appendTextLine(out, layout.names[next].text, static_cast<int>(next));
            ++next;
        } else {
            appendLine(out, t);
        }
    }
}

// Lines after an array's "};" up to its next declaration line.
void appendBetween(std::string& out, const LineViews& lines, const ArrayBlock& a)
{
    for (std::size_t j = a.end + 1; j < a.next; ++j) appendLine(out, trimmed(lines[j]));
}

std::size_t estimatedSize(const LineViews& lines)
{
    std::size_t total = 0;
    for (const auto& l : lines) total += l.size() + 2;
    return total + total / 4;
}

// Why a text could not be read back from the line it is written into.
const char* unwritableText(std::string_view text)
{
    if (text.size() > kCArraysMaxText) return "is longer than 254 characters";
    // One pass over the text for the characters a line cannot hold.
    bool quote = false, lineBreak = false, endOfFile = false;
    for (const char c : text) {
        quote |= c == '"';
        lineBreak |= c == '\r' || c == '\n';
        endOfFile |= c == '\x1a';
    }
    if (quote) return "holds a double quote";
    if (lineBreak) return "holds a line break";
    if (endOfFile) return "holds the end-of-file character Ctrl+Z";
    // An odd run of backslashes at the end would escape the closing quote.
    const std::size_t beforeRun = text.find_last_not_of('\\');
    if ((text.size() - (beforeRun == std::string_view::npos ? 0 : beforeRun + 1)) % 2 == 1)
        return "ends with a backslash (which would escape its closing double quote)";
    if (contains(text, kDeclaration)) return "holds \"const char *\"";
    return nullptr;
}

CArraysText failText(std::string error)
{
    CArraysText r;
    r.error = std::move(error);
    return r;
}

// Views of lines held as strings.
LineViews viewsOf(const std::vector<std::string>& lines)
{
    return LineViews(lines.begin(), lines.end());
}

}  // namespace

// --- Preparation ------------------------------------------------------------------

void prepareCArraysWorkTable(TextGrid& work)
{
    work.setColCount(kCArraysColumns);
    work.setRowCount(kCArraysMaxRows + 1);  // reach the rows a larger file left hidden
    for (int c = 0; c < kCArraysColumns; ++c) work.clearColumn(c);
    work.setRowCount(kCArraysPreparedRows);
}

void prepareCArraysTranslationTable(TextGrid& translation)
{
    translation.clearColumn(3);
    translation.clearColumn(4);
}

// --- Reading ----------------------------------------------------------------------

CArraysCells readCArraysCells(const LineViews& lines)
{
    CArraysCells r;
    const auto layout = findLayout(lines, Procedure::Read, r.error);
    if (!layout) return r;
    const int languages = static_cast<int>(layout->names.size());

    // At most one text a line.
    r.cells.reserve(lines.size());
    auto fail = [&](std::size_t index, const char* why) {
        r.error = lineError(index, why);
        r.cells = {};
        return std::move(r);
    };
    int base = 0;
    for (const ArrayBlock& a : layout->arrays) {
        SlotCursor cursor(a, base, languages);
        for (std::size_t j = a.declaration + 1; j < a.end; ++j) {
            const std::string_view t = trimmed(lines[j]);
            if (!cursor.kKnown() && t == "},") {
                if (const char* e = cursor.closeFirstGroup()) return fail(j, e);
                continue;
            }
            if (!contains(t, "//")) continue;  // a text line carries its "// n"
            const auto q = findQuoted(t);
            if (!q) continue;
            CArraysCells::Cell c{0, 0, q->text(t)};
            if (const char* e = cursor.place(c.column, c.row)) return fail(j, e);
            r.cells.push_back(c);
        }
        if (const char* e = cursor.finish()) return fail(a.declaration, e);
        base += cursor.k();
    }
    for (const NameLine& name : layout->names) r.names.emplace_back(name.text);
    r.rows = base;
    r.ok = true;
    return r;
}

CArraysRead fillCArraysWorkTable(CArraysCells&& cells, TextGrid& work)
{
    CArraysRead r;
    prepareCArraysWorkTable(work);
    if (!cells.ok) {
        r.error = std::move(cells.error);
        return r;
    }
    for (std::size_t i = 0; i < cells.names.size(); ++i) work.setCell(static_cast<int>(i) + 1, 0, cells.names[i]);
    for (const CArraysCells::Cell& c : cells.cells) work.setCell(c.column, c.row, std::string(c.text));
    for (int row = 1; row <= cells.rows; ++row) work.setCell(0, row, std::to_string(row));
    work.setRowCount(cells.rows + 1);
    r.names = std::move(cells.names);
    r.rows = cells.rows;
    r.ok = true;
    return r;
}

CArraysRead readCArraysLines(const LineViews& lines, TextGrid& work)
{
    return fillCArraysWorkTable(readCArraysCells(lines), work);
}

CArraysRead readCArraysLines(const std::vector<std::string>& lines, TextGrid& work)
{
    return readCArraysLines(viewsOf(lines), work);
}

CArraysRead readCArrays(const std::string& path, TextGrid& work)
{
    std::string data;
    if (!readFileBytes(path, data)) {
        prepareCArraysWorkTable(work);
        CArraysRead r;
        r.error = "cannot read " + path;
        return r;
    }
    return readCArraysLines(lineViews(data), work);
}

// --- Template ---------------------------------------------------------------------

CArraysText makeCTemplateText(const std::vector<std::string>& lines)
{
    return makeCTemplateText(viewsOf(lines));
}

CArraysText makeCTemplateText(const LineViews& lines)
{
    std::string error;
    const auto layout = findLayout(lines, Procedure::Template, error);
    if (!layout) return failText(error);
    const int languages = static_cast<int>(layout->names.size());

    CArraysText r;
    std::string& out = r.text;
    out.reserve(estimatedSize(lines));
    appendHead(out, lines, *layout);

    int base = 0;
    for (const ArrayBlock& a : layout->arrays) {
        appendLine(out, trimmed(lines[a.declaration]));
        SlotCursor cursor(a, base, languages);
        std::string body;  // the array's lines, so that its last group can still be amended
        std::size_t lastAt = std::string::npos;  // where its last non-blank line starts
        std::size_t codeAt = std::string::npos;  // where its last line of code (no comment, no slot) starts
        for (std::size_t j = a.declaration + 1; j < a.end; ++j) {
            const std::string_view t = trimmed(lines[j]);
            if (!t.empty()) lastAt = body.size();
            if (!t.empty() && !startsWith(t, "//") && !hasQuote(t)) codeAt = body.size();
            if (!cursor.kKnown() && t == "},") {
                if (const char* e = cursor.closeFirstGroup()) return failText(lineError(j, e));
                appendLine(body, t);
                continue;
            }
            if (startsWith(t, "//")) {
                // Reading takes every quoted line that carries "//" for a text.
                if (findQuoted(t))
                    return failText(lineError(j, "a commented-out text would be read as a text but not saved"));
                appendLine(body, t);
                continue;
            }
            if (!hasQuote(t)) {
                appendLine(body, t);
                continue;
            }
            const auto q = findQuoted(t);
            if (!q) return failText(lineError(j, kUnclosed));
            if (!isPlainTextLine(t, *q))
                return failText(lineError(j, "the line holds more than one text, or code beside its text "
                                             "(it would be lost on saving)"));
            if (!contains(t, "//"))
                return failText(lineError(j, "a text without the \"//\" comment of a text line "
                                             "(it would not be read, but saving would overwrite it)"));
            // A text that could not be written back would stop every save.
            if (const char* e = unwritableText(q->text(t))) return failText(lineError(j, std::string("the text ") + e));
            int column = 0, row = 0;
            if (const char* e = cursor.place(column, row)) return failText(lineError(j, e));
            codeAt = std::string::npos;  // a slot is written with its comma
            appendTemplateSlot(body, t.substr(0, q->close + 1), column - 1);
        }
        const bool kWasKnown = cursor.kKnown();
        if (const char* e = cursor.finish()) return failText(lineError(a.declaration, e));
        const int k = cursor.k();

        if (cursor.language() <= languages) {
            // An array whose groups stand in braces (an open array, or K > 1)
            // gets its added groups in braces too, whatever K its first group gave.
            const bool grouped = a.open || k > 1;
            // The groups of an open array end with "}," (a save finds K at the
            // first one), so its only group must be closed.
            if (!kWasKnown && !(lastAt != std::string::npos && body.compare(lastAt, 3, "}\r\n") == 0))
                return failText(lineError(a.declaration, "the array's only group is not closed with a line \"}\""));
            // What is added follows the last line of code (a closing "}", a
            // NULL): it gets the comma that separates initialisers.
            if (codeAt != std::string::npos && body[codeAt] != '#') {
                const std::size_t lineEnd = body.find("\r\n", codeAt);
                std::string_view code(body.data() + codeAt, lineEnd - codeAt);
                code = code.substr(0, code.find("//"));
                while (!code.empty() && (code.back() == ' ' || code.back() == '\t')) code.remove_suffix(1);
                if (!code.empty() && code.back() != ',' && code.back() != '{') body.insert(codeAt + code.size(), ",");
            }
            for (int lang = cursor.language(); lang <= languages; ++lang) {
                if (grouped) appendLine(body, "{");
                for (int i = 0; i < k; ++i) appendEmptySlot(body, lang - 1);
                if (grouped) appendLine(body, lang == languages ? "}" : "},");
            }
        }
        out += body;
        appendLine(out, "};");
        appendBetween(out, lines, a);
        base += k;
    }
    r.ok = true;
    return r;
}

CArraysResult makeCTemplate(const std::string& basePath, const std::string& templatePath)
{
    std::string data;
    if (!readFileBytes(basePath, data)) {
        CArraysResult r;
        r.error = "cannot read " + basePath;
        return r;
    }
    return writeCTemplate(lineViews(data), templatePath);
}

CArraysResult writeCTemplate(const LineViews& baseLines, const std::string& templatePath)
{
    CArraysResult r;
    const CArraysText t = makeCTemplateText(baseLines);
    if (!t.ok) {
        r.error = t.error;
        return r;
    }
    const WriteResult w = writeFileAtomic(templatePath, t.text);
    r.ok = w.ok;
    r.error = w.error;
    return r;
}

// --- Writing ----------------------------------------------------------------------

CArraysText writeCArraysText(const std::vector<std::string>& lines, const TextGrid& work)
{
    return writeCArraysText(viewsOf(lines), work);
}

CArraysText writeCArraysText(const LineViews& lines, const TextGrid& work)
{
    std::string error;
    const auto layout = findLayout(lines, Procedure::Write, error);
    if (!layout) return failText(error);
    const int languages = static_cast<int>(layout->names.size());

    CArraysText r;
    std::string& out = r.text;
    out.reserve(estimatedSize(lines));
    appendHead(out, lines, *layout);

    int base = 0;
    for (const ArrayBlock& a : layout->arrays) {
        appendLine(out, trimmed(lines[a.declaration]));
        SlotCursor cursor(a, base, languages);
        for (std::size_t j = a.declaration + 1; j < a.end; ++j) {
            const std::string_view t = trimmed(lines[j]);
            if (!cursor.kKnown() && t == "},") {
                if (const char* e = cursor.closeFirstGroup()) return failText(lineError(j, e));
                appendLine(out, t);
                continue;
            }
            if (startsWith(t, "//") || !hasQuote(t)) {
                appendLine(out, t);
                continue;
            }
            if (!findQuoted(t)) return failText(lineError(j, kUnclosed));
            int column = 0, row = 0;
            if (const char* e = cursor.place(column, row)) return failText(lineError(j, e));
            const std::string& text = work.cell(column, row);
            if (const char* e = unwritableText(text)) {
                const std::string_view name = layout->names[static_cast<std::size_t>(column - 1)].text;
                return failText("the text of row " + std::to_string(row) + " in language " + std::to_string(column) +
                                " (" + std::string(name) + ") " + e);
            }
            appendTextLine(out, text, column - 1);
        }
        if (const char* e = cursor.finish()) return failText(lineError(a.declaration, e));
        appendLine(out, "};");
        appendBetween(out, lines, a);
        base += cursor.k();
    }
    r.ok = true;
    return r;
}

CArraysWrite writeCArrays(const std::string& templatePath, const std::string& targetPath, const TextGrid& work,
                          const std::vector<std::string>& languageNames, const BackupChoice& backup)
{
    CArraysWrite r;
    std::string data;
    if (!readFileBytes(templatePath, data)) {
        r.error = "cannot read the template " + templatePath;
        return r;
    }
    const LineViews lines = lineViews(data);
    if (languageNames.empty()) {
        r.ok = true;  // nothing opened: there is nothing to write
        return r;
    }
    const CArraysText t = writeCArraysText(lines, work);
    if (!t.ok) {
        r.error = t.error;
        return r;
    }
    const WriteResult w = writeFileAtomic(targetPath, t.text, backup);
    r.ok = r.written = w.ok;
    r.error = w.error;
    r.backupFailed = w.backupFailed;
    r.backups = w.backups;
    return r;
}

}  // namespace tov
