// Spell checking with the installed Polish dictionary (hunspell-pl): one
// pass over the largest table the program handles (65,535 destination
// texts), and what a view asks at each paint: its ~40 visible rows, already
// checked, never checked with words the checker knows, and with nothing known.
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/polish_texts.h"
#include "formats/spell/encoding.h"
#include "formats/spell/spell_checker.h"
#include "support/text_file.h"

namespace {

using tov::spell::SpellChecker;

constexpr int kRows = 65535;
constexpr int kVisible = 40;

std::vector<std::string> typicalRows(int salt)
{
    return tov::bench::polishRows(kRows, salt);
}

std::unique_ptr<SpellChecker> polish(benchmark::State& state)
{
    const auto dictionaries = tov::spell::installedDictionaries();
    const tov::spell::Dictionary* d = tov::spell::dictionaryForLanguage(dictionaries, "pl");
    if (!d) {
        state.SkipWithError("no Polish dictionary installed (hunspell-pl)");
        return nullptr;
    }
    // A program folder without a personal list.
    auto checker = SpellChecker::open(*d, "/nonexistent/");
    if (!checker) state.SkipWithError("the Polish dictionary cannot be opened");
    return checker ? std::make_unique<SpellChecker>(*checker) : nullptr;
}

int countMisspelled(const SpellChecker& checker, const std::vector<std::string>& rows, int first, int count)
{
    int misspelled = 0;
    for (int r = first; r < first + count; ++r) misspelled += !checker.check(rows[r]).empty();
    return misspelled;
}

// A pass over every row with nothing known yet, as the first one after the
// dictionary was loaded.
void firstPass(benchmark::State& state, SpellChecker& checker, const std::vector<std::string>& rows)
{
    int misspelled = 0;
    for (auto _ : state) {
        state.PauseTiming();
        checker.clearCache();
        state.ResumeTiming();
        misspelled = countMisspelled(checker, rows, 0, kRows);
    }
    state.counters["misspelled_rows"] = misspelled;
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_SpellPassAllRows(benchmark::State& state)
{
    const auto checker = polish(state);
    if (!checker) return;
    firstPass(state, *checker, typicalRows(0));
}
BENCHMARK(BM_SpellPassAllRows)->Unit(benchmark::kMillisecond);

// The same with a large vocabulary: every row adds two words of the
// dictionary's own list, some 30,000 distinct words in all, each checked once.
void BM_SpellPassAllRowsManyWords(benchmark::State& state)
{
    const auto checker = polish(state);
    if (!checker) return;
    std::vector<std::string> lines, words;
    tov::readLines(checker->dictionary().wordFile, lines);
    tov::spell::DictionaryEncoding encoding;
    encoding.open(checker->encoding());
    for (std::size_t i = 1; i < lines.size() && words.size() < 30000; i += 7) {
        std::string word;
        if (encoding.decode(lines[i].substr(0, lines[i].find('/')), word) && word.size() > 2) words.push_back(word);
    }
    auto rows = typicalRows(0);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] += " " + words[2 * i % words.size()] + " " + words[(2 * i + 1) % words.size()];
    firstPass(state, *checker, rows);
    state.counters["distinct_words"] = words.size();
}
BENCHMARK(BM_SpellPassAllRowsManyWords)->Unit(benchmark::kMillisecond);

// A paint of rows checked before.
void BM_SpellVisibleRowsCached(benchmark::State& state)
{
    const auto checker = polish(state);
    if (!checker) return;
    const auto rows = typicalRows(0);
    countMisspelled(*checker, rows, 0, kVisible);
    for (auto _ : state) benchmark::DoNotOptimize(countMisspelled(*checker, rows, 0, kVisible));
}
BENCHMARK(BM_SpellVisibleRowsCached)->Unit(benchmark::kMicrosecond);

// Scrolling onto rows never painted, once the table's words are known (as
// after the background pass, or a while of scrolling).
void BM_SpellVisibleRowsNewTexts(benchmark::State& state)
{
    const auto checker = polish(state);
    if (!checker) return;
    countMisspelled(*checker, typicalRows(1), 0, kRows);
    const auto rows = typicalRows(0);
    int first = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(countMisspelled(*checker, rows, first, kVisible));
        first = (first + kVisible) % (kRows - kVisible);
    }
}
BENCHMARK(BM_SpellVisibleRowsNewTexts)->Unit(benchmark::kMicrosecond)->Iterations(kRows / kVisible - 1);

// The first paint after the dictionary was loaded: nothing known.
void BM_SpellVisibleRowsUncached(benchmark::State& state)
{
    const auto checker = polish(state);
    if (!checker) return;
    const auto rows = typicalRows(0);
    for (auto _ : state) {
        state.PauseTiming();
        checker->clearCache();
        state.ResumeTiming();
        benchmark::DoNotOptimize(countMisspelled(*checker, rows, 0, kVisible));
    }
}
BENCHMARK(BM_SpellVisibleRowsUncached)->Unit(benchmark::kMicrosecond);

void BM_SpellOpenPolish(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(polish(state));
}
BENCHMARK(BM_SpellOpenPolish)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
