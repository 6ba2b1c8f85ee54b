// The INI engine on a menu file of the largest size the menu mode handles:
// four language sections, each with every text key (n, ni, nv for n = 0..500).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/profile.h"

namespace {

const char* const kSections[] = {"ENG", "POL", "DEU", "CZE"};
const char* const kSuffixes[] = {"", "i", "v"};

std::vector<std::string> textKeys()
{
    std::vector<std::string> keys;
    for (int n = 0; n <= 500; ++n)
        for (const char* s : kSuffixes) keys.push_back(std::to_string(n) + s);
    return keys;  // 1,503 keys
}

std::string menuFile()
{
    std::string out = "[LANGUAGES]\r\ncount=4\r\n\r\n";
    for (const char* sec : kSections) {
        out += std::string("[") + sec + "]\r\n";
        for (const auto& k : textKeys()) out += k + "=Menu text of " + k + " in " + sec + " \xB9\xEA\r\n";
        out += "\r\n";
    }
    return out;
}

// A scratch folder for the file, removed at the end.
struct Scratch {
    std::string dir;
    std::string file;
    Scratch()
    {
        char tmpl[] = "/tmp/tovrana-bench-XXXXXX";
        dir = ::mkdtemp(tmpl);
        file = dir + "/menu.ini";
        tov::writeFileAtomic(file, menuFile());
    }
    ~Scratch()
    {
        ::unlink(file.c_str());
        ::rmdir(dir.c_str());
    }
};

// Open the file and read the base and destination text of every row:
// 3,006 lookups.
void BM_MenuLoadAndLookup(benchmark::State& state)
{
    Scratch scratch;
    const auto keys = textKeys();
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
    Scratch scratch;
    const auto keys = textKeys();
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
    const std::string bytes = menuFile();
    const auto keys = textKeys();
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
    Scratch scratch;
    const std::string ini = scratch.dir + "/tovrana.ini";
    int i = 0;
    for (auto _ : state) tov::profileWrite(ini, "files", "cc", std::to_string(++i));
    ::unlink(ini.c_str());
}
BENCHMARK(BM_SettingsOneKeyWrite)->Unit(benchmark::kMicrosecond);

}  // namespace
