#include "formats/menu_ini/menu_ini.h"

#include <algorithm>

#include "formats/source_kind.h"
#include "support/strutil.h"

namespace tov::menu_ini {

namespace {

bool isIniBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x0B || c == 0x0C || c == 0x1A;
}

}  // namespace

std::string valueForText(std::string_view text)
{
    const bool blankAtEnd = !text.empty() && (isIniBlank(text.front()) || isIniBlank(text.back()));
    const bool quotedPair =
        text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front();
    if (!blankAtEnd && !quotedPair) return std::string(text);
    std::string out;
    out.reserve(text.size() + 2);
    out.append("\"").append(text).append("\"");
    return out;
}

const std::vector<std::string>& textKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> out;
        out.reserve(3 * (kLastNumber + 1));
        for (int n = 0; n <= kLastNumber; ++n) {
            const std::string number = std::to_string(n);
            out.push_back(number);
            out.push_back(number + "i");
            out.push_back(number + "v");
        }
        return out;
    }();
    return keys;
}

std::vector<std::string> languageSections(const IniDocument& doc)
{
    std::vector<std::string> names = doc.sections();
    const auto it = std::find_if(names.begin(), names.end(),
                                 [](const std::string& n) { return equalsNoCase(n, kLanguagesSection); });
    if (it != names.end()) names.erase(it);
    return names;
}

int languageIndex(const std::vector<std::string>& languages, std::string_view name)
{
    const std::string wanted = trimIni(name);
    for (size_t i = 0; i < languages.size(); ++i)
        if (equalsNoCase(languages[i], wanted)) return static_cast<int>(i);
    return -1;
}

std::vector<Row> baseRows(const IniDocument& doc, std::string_view baseSection)
{
    std::vector<Row> rows;
    if (!doc.hasSection(baseSection)) return rows;
    for (const std::string& key : textKeys()) {
        if (!doc.hasKey(baseSection, key)) continue;
        rows.push_back({key, doc.read(baseSection, key, kUnreadableText), {}});
    }
    return rows;
}

void loadDestTexts(const IniDocument& doc, std::string_view destSection, std::vector<Row>& rows)
{
    for (Row& row : rows) row.dest = doc.read(destSection, row.key);
}

int tableRowCount(std::size_t keys)
{
    return std::max(2, static_cast<int>(keys) + 1);
}

void showBaseRows(TextGrid& t, TextGrid& w, const std::vector<Row>& rows)
{
    constexpr int kWorkingRows = 500;
    const int count = tableRowCount(rows.size());
    t.setRowCount(std::max(t.rowCount(), count));
    for (int c = tcol::kNumber; c <= tcol::kComment; ++c) t.clearColumn(c);
    w.setRowCount(std::max(kWorkingRows, count));
    w.clearColumn(1);
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i) + 1;
        t.setCell(tcol::kNumber, r, rows[i].key);
        t.setCell(tcol::kBase, r, rows[i].base);
        w.setCell(1, r, rows[i].base);
    }
    t.setRowCount(count);
}

void showDestTexts(TextGrid& t, TextGrid& w, const IniDocument& doc, std::string_view destSection)
{
    std::vector<Row> rows;
    std::vector<int> at;
    for (int r = 1; r < t.rowCount(); ++r) {
        const std::string& key = t.cell(tcol::kNumber, r);
        if (key.empty()) continue;
        rows.push_back({key, {}, {}});
        at.push_back(r);
    }
    loadDestTexts(doc, destSection, rows);
    for (size_t i = 0; i < rows.size(); ++i) t.setCell(tcol::kDest, at[i], std::move(rows[i].dest));
    w.setRowCount(std::max(w.rowCount(), t.rowCount()));
    for (int r = 0; r < w.rowCount(); ++r) w.setCell(2, r, t.cell(tcol::kDest, r));
}

void applyDestination(IniDocument& doc, std::string_view destSection, const std::vector<DestEntry>& entries)
{
    if (trimIni(destSection).empty()) return;
    // A key may stand in the section more than once; only the first copy is
    // ever read, and removing all of them keeps a hidden copy from coming to
    // light once the first is gone.
    for (const std::string& key : textKeys())
        while (doc.hasKey(destSection, key)) doc.deleteKey(destSection, key);
    for (const auto& [key, text] : entries) {
        const std::string k = trimControls(key);
        if (!k.empty()) doc.write(destSection, k, valueForText(text));
    }
}

WriteResult saveDestination(const std::string& path, std::string_view destSection,
                            const std::vector<DestEntry>& entries, std::vector<std::string>* languagesAfter,
                            const BackupChoice& backup)
{
    return profileEdit(
        path,
        [&](IniDocument& doc) {
            applyDestination(doc, destSection, entries);
            if (languagesAfter) *languagesAfter = languageSections(doc);
        },
        backup);
}

}  // namespace tov::menu_ini
