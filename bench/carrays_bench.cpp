// Opening (template + reading) and saving a C string-array file of
// 10 languages with 5,000 texts each (50,000 text lines, about 3.5 MB).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "formats/c_arrays/c_arrays.h"
#include "support/atomic_file.h"
#include "support/files.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kLanguages = 10;
constexpr int kArrays = 50;
constexpr int kPerArray = 100;  // texts per language in each array: 5,000 in all

std::string slotLine(const std::string& text, int lang)
{
    std::string s = std::string(19, ' ') + "\"" + text + "\",";
    if (s.size() < 60) s.append(60 - s.size(), ' ');
    return s + "  // " + std::to_string(lang) + "\r\n";
}

// Half the arrays list their texts flat, half group each language in braces.
std::string sampleFile()
{
    std::string f = "/* display texts */\r\n#include \"texts.h\"\r\nconst char *language_names[] = {\r\n";
    for (int l = 0; l < kLanguages; ++l) f += slotLine("Language " + std::to_string(l), l);
    f += "};\r\n";
    for (int a = 0; a < kArrays; ++a) {
        const bool open = a % 2 == 1;
        f += "\r\nconst char *texts_" + std::to_string(a) + "[][" + std::to_string(kPerArray) + "] = {\r\n";
        for (int l = 0; l < kLanguages; ++l) {
            if (open) f += "{\r\n";
            for (int i = 0; i < kPerArray; ++i)
                f += slotLine("Tekst " + std::to_string(a * kPerArray + i) + " j\xEAzyka " + std::to_string(l) +
                                  (i % 7 == 0 ? " z d\xB3ugim ci\xB9giem dalszym, kt\xF3ry przekracza kolumn\xEA" : ""),
                              l);
            if (open) f += l + 1 < kLanguages ? "},\r\n" : "}\r\n";
        }
        f += "};\r\n";
    }
    return f;
}

struct Sample {
    tov::testing::TempFolder folder;
    std::string dir = folder.path(), base, tmpl, out;
    Sample()
    {
        base = dir + "texts.c";
        tmpl = dir + "tmp0.txt";
        out = dir + "out.c";
        if (!tov::writeFileAtomic(base, sampleFile()).ok) std::abort();
    }
};

void BM_CArraysOpen(benchmark::State& state)
{
    Sample s;
    tov::TextGrid work;
    for (auto _ : state) {
        const bool ok = tov::makeCTemplate(s.base, s.tmpl).ok && tov::readCArrays(s.base, work).ok;
        if (!ok) state.SkipWithError("open failed");
    }
    state.counters["rows"] = work.rowCount() - 1;
}
BENCHMARK(BM_CArraysOpen)->Unit(benchmark::kMillisecond);

void BM_CArraysSave(benchmark::State& state)
{
    Sample s;
    tov::TextGrid work;
    const tov::CArraysRead r = tov::readCArrays(s.base, work);
    if (!r.ok || !tov::makeCTemplate(s.base, s.tmpl).ok) state.SkipWithError("open failed");
    for (int row = 1; row < work.rowCount(); ++row)
        work.setCell(3, row, "Przet\xB3umaczony tekst " + std::to_string(row));
    for (auto _ : state) {
        if (!tov::writeCArrays(s.tmpl, s.out, work, r.names).written) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_CArraysSave)->Unit(benchmark::kMillisecond);

}  // namespace
