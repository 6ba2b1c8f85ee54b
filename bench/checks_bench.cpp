// Checking every row of the largest table the program handles (65,535
// entries) against its base: texts as translations hold them (most plain,
// some with conversions, escapes, accelerators and end punctuation), and
// texts that all hold several conversions and escapes and are all flagged.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "formats/checks/checks.h"
#include "formats/source_kind.h"

namespace {

constexpr int kEntries = 65535;

struct Entries {
    std::vector<std::string> base, dest;
};

Entries typical()
{
    Entries e;
    for (int i = 0; i < kEntries; ++i) {
        const std::string n = std::to_string(i);
        switch (i % 8) {
        case 0:
            e.base.push_back("Value %d of %s for channel " + n + ":");
            e.dest.push_back("Warto\x9C\xE6 %d z %s dla kana\xB3u " + n + ":");
            break;
        case 1:
            e.base.push_back("&Open file " + n + "...");
            e.dest.push_back("&Otw\xF3rz plik " + n + "...");
            break;
        case 2:
            e.base.push_back("Line " + n + "\\nSecond line\\t(tab)");
            e.dest.push_back("Wiersz " + n + "\\nDrugi wiersz\\t(tab)");
            break;
        default:
            e.base.push_back("Base text number " + n + " of the product");
            e.dest.push_back("Tekst docelowy numer " + n + " produktu");
        }
    }
    return e;
}

Entries flagged()
{
    Entries e;
    for (int i = 0; i < kEntries; ++i) {
        const std::string n = std::to_string(i);
        e.base.push_back(" %1$s: %2$-8.2f%% of %3$ld, row " + n + "\\n\\t\\x1b[0m &Go!");
        e.dest.push_back("%3$d z %1$s: %2$8.3f%%, wiersz " + n + "\\n\\x1b[0m Id\x9F");
    }
    return e;
}

void checkAll(benchmark::State& state, const Entries& e, std::uint8_t kind)
{
    const tov::checks::CheckOptions options = tov::checks::forKind(kind);
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = 0;
        for (int i = 0; i < kEntries; ++i) findings += tov::checks::checkEntry(options, e.base[i], e.dest[i]).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["entries"] = kEntries;
    state.counters["findings"] = static_cast<double>(findings);
}

void BM_CheckTypicalResourceStrings(benchmark::State& state)
{
    static const Entries e = typical();
    checkAll(state, e, tov::kGenericDrc);
}
BENCHMARK(BM_CheckTypicalResourceStrings)->Unit(benchmark::kMillisecond);

void BM_CheckTypicalCStrings(benchmark::State& state)
{
    static const Entries e = typical();
    checkAll(state, e, tov::kCArrays);
}
BENCHMARK(BM_CheckTypicalCStrings)->Unit(benchmark::kMillisecond);

void BM_CheckAllFlaggedCStrings(benchmark::State& state)
{
    static const Entries e = flagged();
    checkAll(state, e, tov::kCArrays);
}
BENCHMARK(BM_CheckAllFlaggedCStrings)->Unit(benchmark::kMillisecond);

}  // namespace
