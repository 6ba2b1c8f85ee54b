// The menu INI mode on the largest file it handles: four language sections,
// each with every text key (n, ni, nv for n = 0..500), 1,503 rows.
#include <benchmark/benchmark.h>

#include "bench/menu_file.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "formats/menu_ini/menu_ini.h"

namespace {


using Scratch = tov::bench::ScratchMenuFile;
const std::vector<std::string> kMenuLanguages = {"English", "Polski", "Deutsch", "Czech"};

// What opening the file and filling both columns costs: one read of the
// file, the language list, the base rows and the destination texts.
void BM_MenuIniLoad(benchmark::State& state)
{
    Scratch scratch(kMenuLanguages);
    for (auto _ : state) {
        tov::IniDocument doc;
        tov::IniDocument::load(scratch.file, doc);
        const auto languages = tov::menu_ini::languageSections(doc);
        auto rows = tov::menu_ini::baseRows(doc, languages[0]);
        tov::menu_ini::loadDestTexts(doc, languages[1], rows);
        benchmark::DoNotOptimize(rows.data());
        if (rows.size() != 1503) state.SkipWithError("not every text key was found");
    }
}
BENCHMARK(BM_MenuIniLoad)->Unit(benchmark::kMillisecond);

// The save of a destination language: one read, every text key of the
// section removed and 1,503 rows written in memory, one atomic write. The
// texts change at every round, so every round writes the file.
void BM_MenuIniSave(benchmark::State& state)
{
    Scratch scratch(kMenuLanguages);
    std::vector<tov::menu_ini::DestEntry> a, b;
    for (const auto& k : tov::menu_ini::textKeys()) {
        a.emplace_back(k, "Nowy tekst " + k);
        b.emplace_back(k, "Inny tekst " + k);
    }
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        const auto r = tov::menu_ini::saveDestination(scratch.file, "Polski", flip ? a : b);
        if (!r) state.SkipWithError(r.error.c_str());
    }
}
BENCHMARK(BM_MenuIniSave)->Unit(benchmark::kMillisecond);

}  // namespace
