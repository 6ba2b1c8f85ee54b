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

namespace {

template <class Names>
std::vector<std::string> withoutLanguagesSection(const Names& sections)
{
    std::vector<std::string> names(sections.begin(), sections.end());
    const auto it = std::find_if(names.begin(), names.end(),
                                 [](const std::string& n) { return equalsNoCase(n, kLanguagesSection); });
    if (it != names.end()) names.erase(it);
    return names;
}

// The place of a key name in textKeys() as the store finds keys (without
// regard to case), or -1 for a name that is no text key.
int textKeyIndex(std::string_view name)
{
    std::size_t digits = 0;
    while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
    if (digits == 0 || digits > 3 || (digits > 1 && name[0] == '0')) return -1;
    int number = 0;
    for (std::size_t i = 0; i < digits; ++i) number = number * 10 + (name[i] - '0');
    if (number > kLastNumber) return -1;
    const std::string_view suffix = name.substr(digits);
    int kind = 0;
    if (suffix.empty()) kind = 0;
    else if (suffix == "i" || suffix == "I") kind = 1;
    else if (suffix == "v" || suffix == "V") kind = 2;
    else return -1;
    return number * 3 + kind;
}

// The value of each text key the section holds (the first line of a key
// wins), by its place in textKeys(); false where there is no such section.
bool textValues(const IniFileView& file, std::string_view section, std::vector<std::string_view>& values,
                std::vector<bool>& found)
{
    const std::size_t count = textKeys().size();
    values.assign(count, {});
    found.assign(count, false);
    return file.forEachKey(section, [&](std::string_view name, std::string_view value) {
        const int k = textKeyIndex(name);
        if (k < 0 || found[static_cast<std::size_t>(k)]) return;
        found[static_cast<std::size_t>(k)] = true;
        values[static_cast<std::size_t>(k)] = value;
    });
}

}  // namespace

std::vector<std::string> languageSections(const IniDocument& doc)
{
    return withoutLanguagesSection(doc.sections());
}

std::vector<std::string> languageSections(const IniFileView& file)
{
    return withoutLanguagesSection(file.sections());
}

std::vector<RowView> rowViews(const IniFileView& file, std::string_view baseSection, std::string_view destSection)
{
    std::vector<RowView> rows;
    std::vector<std::string_view> base, dest;
    std::vector<bool> inBase, inDest;
    if (!textValues(file, baseSection, base, inBase)) return rows;
    textValues(file, destSection, dest, inDest);
    const std::vector<std::string>& keys = textKeys();
    for (std::size_t k = 0; k < keys.size(); ++k)
        if (inBase[k]) rows.push_back({keys[k], base[k], dest[k]});
    return rows;
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
