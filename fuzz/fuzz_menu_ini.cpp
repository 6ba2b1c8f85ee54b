// Arbitrary bytes as a menu INI file: the language list, the rows of a base
// language and a save of a destination language with texts drawn from the
// input. Checks that every saved text reads back exactly, that the
// destination keeps no other text key, and that the languages stay the same
// (a new destination added at the end).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/menu_ini/menu_ini.h"
#include "support/strutil.h"

namespace {

void check(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}
#define CHECK(x) check((x), #x)

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    using namespace tov::menu_ini;
    FuzzedDataProvider in(data, size);
    const unsigned pickBase = in.ConsumeIntegral<std::uint8_t>();
    const unsigned pickDest = in.ConsumeIntegral<std::uint8_t>();
    std::vector<std::string> texts;
    for (int i = in.ConsumeIntegralInRange(0, 6); i > 0; --i) {
        std::string t = in.ConsumeRandomLengthString(40);
        // A table cell holds one line.
        std::erase_if(t, [](char c) { return c == '\r' || c == '\n'; });
        texts.push_back(t);
    }
    const std::string file = in.ConsumeRemainingBytesAsString();

    const tov::IniDocument original = tov::IniDocument::fromBytes(file);
    const std::vector<std::string> languages = languageSections(original);
    const std::string base = languages.empty() ? "English" : languages[pickBase % languages.size()];
    // A language of the file, or one typed in that may be new.
    const std::string dest = !languages.empty() && pickDest % 4 ? languages[pickDest % languages.size()] : "Czech";

    std::vector<Row> rows = baseRows(original, base);
    CHECK(static_cast<int>(rows.size()) + 1 <= tableRowCount(rows.size()));
    loadDestTexts(original, dest, rows);
    std::vector<DestEntry> entries;
    for (size_t i = 0; i < rows.size(); ++i)
        entries.emplace_back(rows[i].key, texts.empty() ? rows[i].dest : texts[i % texts.size()]);

    tov::IniDocument doc = tov::IniDocument::fromBytes(file);
    applyDestination(doc, dest, entries);
    if (tov::trimIni(dest).empty()) {
        // A section named "[]" is listed, but a save without a language name
        // writes nothing.
        CHECK(doc.toBytes() == file);
        return 0;
    }
    const tov::IniDocument saved = tov::IniDocument::fromBytes(doc.toBytes());
    for (const auto& [key, text] : entries) CHECK(saved.read(dest, key) == text);
    size_t keys = 0;
    for (const std::string& key : textKeys()) keys += saved.hasKey(dest, key) ? 1 : 0;
    CHECK(keys == entries.size());

    std::vector<std::string> expected = languages;
    if (!original.hasSection(dest) && !entries.empty()) expected.push_back(dest);
    CHECK(languageSections(saved) == expected);
    return 0;
}
