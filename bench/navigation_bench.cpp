// The rows that need work over 65,535 rows: the next one when only the last
// row needs it (the longest search), the filter's list, and what the text
// checks add to reading a document in.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "document/navigation.h"
#include "formats/source_kind.h"

namespace {

using namespace tov;

// Resource-string rows with conversions in every third base text; all
// translated as stored except the last, which is empty.
std::vector<Entry> rows(int n)
{
    std::vector<Entry> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%05d", i);
        Entry& e = out[static_cast<std::size_t>(i)];
        e.rule = LengthRule::AtMost;
        e.base = i % 3 ? std::string("Base text of row ") + number : std::string("Row %d of %s: ") + number;
        e.dest = i % 3 ? std::string("Tekst wiersza ") + number : std::string("Wie %d z %s: ") + number;
        if (i == n - 1) e.dest.clear();
        e.stored = e.dest;
    }
    return out;
}

TranslationDocument& document()
{
    static TranslationDocument doc = [] {
        TranslationDocument d;
        d.setCheckOptions(checks::forKind(kKonfix));
        d.assign(rows(65535));
        return d;
    }();
    return doc;
}

void BM_NextRowThatNeedsWorkAtTheEnd(benchmark::State& state)
{
    const TranslationDocument& doc = document();
    for (auto _ : state) {
        const RowFound f = findRow(doc, 0, true, [&](int i) { return needsWork(doc, i); });
        benchmark::DoNotOptimize(f);
        if (f.index != doc.size() - 1) state.SkipWithError("wrong row");
    }
}
BENCHMARK(BM_NextRowThatNeedsWorkAtTheEnd)->Unit(benchmark::kMillisecond);

void BM_RowsThatNeedWork(benchmark::State& state)
{
    const TranslationDocument& doc = document();
    for (auto _ : state) benchmark::DoNotOptimize(rowsWhere(doc, [&](int i) { return needsWork(doc, i); }));
}
BENCHMARK(BM_RowsThatNeedWork)->Unit(benchmark::kMillisecond);

// A document of 65,535 rows read in (assign and count), without the text
// checks (range 0) and with those of resource strings (range 1).
void BM_AssignWithChecks(benchmark::State& state)
{
    const std::vector<Entry> source = rows(65535);
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<Entry> copy = source;
        TranslationDocument doc;
        if (state.range(0)) doc.setCheckOptions(checks::forKind(kKonfix));
        state.ResumeTiming();
        doc.assign(std::move(copy));
        benchmark::DoNotOptimize(doc.counts());
    }
}
BENCHMARK(BM_AssignWithChecks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
