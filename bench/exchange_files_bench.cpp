// A document of 65,535 rows through the exchange as the window and the tool
// take it: its rows to an XLIFF or PO file's bytes, and such a file (every
// tenth translation changed) matched back into one edit of the document.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "document/exchange_files.h"
#include "formats/source_kind.h"

namespace {

using namespace tov;

constexpr int kRows = 65535;

TranslationDocument makeDocument()
{
    std::vector<Entry> entries(kRows);
    for (int i = 0; i < kRows; ++i) {
        const std::string n = std::to_string(i + 1);
        Entry& e = entries[static_cast<std::size_t>(i)];
        e.id = "KfxUnit" + std::to_string(i % 97) + "_RsString" + n;
        e.base = i % 5 ? "Base text number " + n + " with a \"quoted\" word & <tag>" : "Copied %d of %s files (" + n + ")";
        e.dest = e.stored = i % 5 ? "Tekst numer " + n + " z \xBF\xF3\xB3tym s\xB3owem" : "Skopiowano %d z %s (" + n + ")";
        e.rule = LengthRule::AtMost;
    }
    TranslationDocument doc;
    doc.assign(std::move(entries));
    return doc;
}

void exportFile(benchmark::State& state, exchange::Format format)
{
    const TranslationDocument doc = makeDocument();
    for (auto _ : state) {
        exchange::Written w = exportExchange(doc, kGenericDrc, {format, "Konfix_en.drc", {"en", "pl"}});
        benchmark::DoNotOptimize(w.bytes.data());
    }
}

void importFile(benchmark::State& state, exchange::Format format)
{
    TranslationDocument doc = makeDocument();
    const std::string bytes = exportExchange(doc, kGenericDrc, {format, "Konfix_en.drc", {"en", "pl"}}).bytes;
    // The document the file comes back to holds other texts in every tenth row.
    for (int i = 0; i < kRows; i += 10) doc.setDestination(i, "Inny tekst");
    for (auto _ : state) {
        ExchangeImport imported = importExchange(doc, "", bytes, {});
        if (!imported.edit || imported.edit->changes().size() != (kRows + 9) / 10) state.SkipWithError("wrong edit");
        benchmark::DoNotOptimize(imported.edit.get());
    }
}

BENCHMARK_CAPTURE(exportFile, xliff, exchange::Format::Xliff)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportFile, po, exchange::Format::Po)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importFile, xliff, exchange::Format::Xliff)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importFile, po, exchange::Format::Po)->Unit(benchmark::kMillisecond);

}  // namespace
