// The INI engine on a menu file of the largest size the menu mode handles:
// four language sections, each with every text key (n, ni, nv for n = 0..500).
#include <benchmark/benchmark.h>

#include "bench/menu_file.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/profile.h"

namespace {


using Scratch = tov::bench::ScratchMenuFile;
const std::vector<std::string> kMenuLanguages = {"ENG", "POL", "DEU", "CZE"};

// Open the file and read the base and destination text of every row:
// 3,006 lookups.
void BM_MenuLoadAndLookup(benchmark::State& state)
{
    Scratch scratch(kMenuLanguages);
    const auto keys = tov::menu_ini::textKeys();
    for (auto _ : state) {
        tov::IniDocument doc;
        tov::IniDocument::load(scratch.file, doc);
        size_t total = 0;
        for (const auto& k : keys) {
            total += doc.read("eng", k).size();
            total += doc.read("pol", k).size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_MenuLoadAndLookup)->Unit(benchmark::kMillisecond);

// The menu save: delete every text key of the destination section, write
// every row back, and save once, atomically.
void BM_MenuDeleteWriteSave(benchmark::State& state)
{
    Scratch scratch(kMenuLanguages);
    const auto keys = tov::menu_ini::textKeys();
    for (auto _ : state) {
        tov::IniDocument doc;
        tov::IniDocument::load(scratch.file, doc);
        for (const auto& k : keys) doc.deleteKey("POL", k);
        for (const auto& k : keys) doc.write("POL", k, "Nowy tekst " + k);
        const auto r = doc.save(scratch.file);
        if (!r) state.SkipWithError(r.error.c_str());
    }
}
BENCHMARK(BM_MenuDeleteWriteSave)->Unit(benchmark::kMillisecond);

// The same edits without the disk, to show the engine's own share.
void BM_MenuDeleteWriteInMemory(benchmark::State& state)
{
    const std::string bytes = tov::bench::menuFile(kMenuLanguages);
    const auto keys = tov::menu_ini::textKeys();
    for (auto _ : state) {
        tov::IniDocument doc = tov::IniDocument::fromBytes(bytes);
        for (const auto& k : keys) doc.deleteKey("POL", k);
        for (const auto& k : keys) doc.write("POL", k, "Nowy tekst " + k);
        benchmark::DoNotOptimize(doc.toBytes());
    }
}
BENCHMARK(BM_MenuDeleteWriteInMemory)->Unit(benchmark::kMillisecond);

// One settings access as the settings store makes it: read the file, change
// one key, write it back atomically.
void BM_SettingsOneKeyWrite(benchmark::State& state)
{
    Scratch scratch(kMenuLanguages);
    const std::string ini = scratch.dir / "tovrana.ini";
    int i = 0;
    for (auto _ : state) tov::profileWrite(ini, "files", "cc", std::to_string(++i));
}
BENCHMARK(BM_SettingsOneKeyWrite)->Unit(benchmark::kMicrosecond);

}  // namespace
