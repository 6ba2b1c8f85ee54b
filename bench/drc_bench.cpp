// Reading and writing a resource-string file of the largest size the program
// handles: 65,535 strings, base and matching destination.
#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>

#include "document/edits.h"
#include "document/format.h"
#include "formats/resource_strings/drc_file.h"
#include "support/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace {

struct DrcFiles {
    tov::testing::TempFolder dir;
    std::string base, dest, out;
    DrcFiles()
    {
        base = dir / "Konfix_en.drc";
        dest = dir / "Konfix_pl.drc";
        out = dir / "out.drc";
        std::string b = "/* bench */\r\nSTRINGTABLE\r\nBEGIN\r\n";
        std::string d = b;
        for (int i = 1; i <= tov::kDrcMaxEntries; ++i) {
            const std::string id = "\tKfxUnit" + std::to_string(i % 97) + "_RsString" + std::to_string(i) + ",\t";
            b += id + "\"Base text number " + std::to_string(i) + " with a \\\"quoted\\\" word\"\r\n";
            // The destination lists the strings in another order.
            const int j = tov::kDrcMaxEntries + 1 - i;
            d += "\tKfxUnit" + std::to_string(j % 97) + "_RsString" + std::to_string(j) +
                 ",\t\"Tekst docelowy numer " + std::to_string(j) + "\"\r\n";
        }
        b += "END\r\n";
        d += "END\r\n";
        if (!tov::writeFileAtomic(base, b) || !tov::writeFileAtomic(dest, d)) std::abort();
    }
};

const DrcFiles& files()
{
    static const DrcFiles f;
    return f;
}

void BM_ReadDrcBase(benchmark::State& state)
{
    tov::TextGrid g(11, 1);
    for (auto _ : state) {
        if (!tov::ReadDrcBase(files().base, g)) state.SkipWithError("read failed");
    }
    state.counters["rows"] = g.rowCount() - 1;
}
BENCHMARK(BM_ReadDrcBase)->Unit(benchmark::kMillisecond);

void BM_ReadDrcColumn(benchmark::State& state)
{
    tov::TextGrid g(11, 1);
    tov::ReadDrcBase(files().base, g);
    for (auto _ : state) {
        state.PauseTiming();
        g.clearColumn(2);
        state.ResumeTiming();
        if (!tov::ReadDrcColumn(2, files().dest, g)) state.SkipWithError("read failed");
    }
    if (g.cell(2, 1) != "Tekst docelowy numer 1") state.SkipWithError("merge went wrong");
}
BENCHMARK(BM_ReadDrcColumn)->Unit(benchmark::kMillisecond);

void BM_WriteDrc(benchmark::State& state)
{
    tov::TextGrid g(11, 1);
    tov::ReadDrcBase(files().base, g);
    tov::ReadDrcColumn(2, files().dest, g);
    for (auto _ : state) {
        if (!tov::WriteDrc(2, files().out, g)) state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_WriteDrc)->Unit(benchmark::kMillisecond);

// The document of the pair as the window and the tool build it: the base
// and the destination read by the resource-string format into 65,535 entries.
void BM_DrcDocument(benchmark::State& state)
{
    files();
    for (auto _ : state) {
        const auto format = tov::makeFormat(tov::kGenericDrc);
        tov::TranslationDocument doc;
        if (!format->openBase(doc, files().base).ok || !format->openDestination(doc, files().dest).ok)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(doc.counts());
    }
}
BENCHMARK(BM_DrcDocument)->Unit(benchmark::kMillisecond);

// One keystroke in a row of that document: the edit, its counts and its undo
// cost the same whatever the document's size.
void BM_DocumentKeystroke(benchmark::State& state)
{
    const auto format = tov::makeFormat(tov::kGenericDrc);
    tov::TranslationDocument doc;
    format->openBase(doc, files().base);
    format->openDestination(doc, files().dest);
    std::string typed = "Tekst";
    for (auto _ : state) {
        typed.push_back('x');
        if (typed.size() > 40) typed.resize(5);
        const auto edit = tov::SetDestinations::one(doc, 40000, typed, tov::SetDestinations::Kind::Typing);
        edit->redo(doc);
        benchmark::DoNotOptimize(doc.counts().changed);
    }
    state.counters["rows"] = doc.size();
}
BENCHMARK(BM_DocumentKeystroke)->Unit(benchmark::kMicrosecond);

}  // namespace
