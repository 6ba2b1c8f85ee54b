// Opening and saving a firmware file set of the largest size the program
// holds: 4 files with 65,535 lines in all, every second line a text.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "document/format.h"
#include "formats/firmware/firmware_sets.h"
#include "support/text_file.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kFiles = 4;
constexpr int kLines = 65535;

// A temporary program folder holding ORVANTA/ENG (base) and ORVANTA/POL
// (destination), made once per run and removed at exit.
const std::string& setFolder()
{
    static const tov::testing::TempFolder folder;
    static const bool written = [] {
        int line = 0;
        for (const char* lang : {"ENG", "POL"}) {
            line = 0;
            for (int f = 0; f < kFiles; ++f) {
                const int count = kLines / kFiles + (f < kLines % kFiles ? 1 : 0);
                std::string data;
                for (int i = 0; i < count; ++i, ++line) {
                    char buf[160];
                    if (line % 2 == 0)
                        std::snprintf(buf, sizeof buf, "TXT_%05d   DB  '%s text %05d, it''s long    ',0  ; row %d",
                                      line, lang, line, line / 2 + 1);
                    else
                        std::snprintf(buf, sizeof buf, "            DB  13,10,0");
                    tov::appendCrLfLine(data, buf);
                }
                folder.put(std::string("ORVANTA/") + lang + "/PART" + std::to_string(f) + "." + lang, data);
            }
        }
        return true;
    }();
    (void)written;
    return folder.path();
}

struct Tables {
    tov::TextGrid translation{9, 50};
    tov::TextGrid work{11, 0};
};

void openBoth(Tables& t)
{
    const tov::FirmwareFamily& orvanta = *tov::firmwareFamily(tov::kOrvanta);
    const auto base = tov::openFirmwareBase(t.translation, t.work, setFolder() + "ORVANTA/ENG/PART0.ENG");
    const auto dest = tov::openFirmwareDestination(t.translation, t.work, orvanta, base.baseFiles,
                                                   setFolder() + "ORVANTA/POL/PART0.POL");
    if (!base.loaded() || !dest.loaded() || base.lines != kLines || dest.texts != (kLines + 1) / 2 ||
        dest.structureFailureRow != 0)
        std::abort();
}

// From empty tables to filled ones: base set and destination set read, texts
// extracted, the Orvanta line-count and structure checks passed.
void BM_FirmwareOpenBaseAndDestination(benchmark::State& state)
{
    setFolder();
    std::unique_ptr<Tables> tables;
    for (auto _ : state) {
        state.PauseTiming();
        tables = std::make_unique<Tables>();
        state.ResumeTiming();
        openBoth(*tables);
        benchmark::DoNotOptimize(tables->translation.cell(4, 1));
    }
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_FirmwareOpenBaseAndDestination)->Unit(benchmark::kMillisecond);

// Merging every destination text into its line and writing the 4 files
// (each atomically, flushed to the disk).
void BM_FirmwareSave(benchmark::State& state)
{
    Tables t;
    openBoth(t);
    const tov::FirmwareFamily& orvanta = *tov::firmwareFamily(tov::kOrvanta);
    const std::string out = setFolder() + "ORVANTA/OUT/";
    std::filesystem::create_directories(out);
    for (auto _ : state) {
        const tov::FirmwareSave s =
            tov::saveFirmwareDestination(t.translation, t.work, orvanta, out + "EDIT.CZE", tov::BackupChoice::none());
        if (!s.ok() || s.files.size() != kFiles) std::abort();
    }
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_FirmwareSave)->Unit(benchmark::kMillisecond);

// The document of the set as the window and the tool build it: every text
// at the length of its base, the line-count and structure checks passed.
void BM_FirmwareDocument(benchmark::State& state)
{
    setFolder();
    for (auto _ : state) {
        const auto format = tov::makeFormat(tov::kOrvanta);
        tov::TranslationDocument doc;
        format->clearDocument(doc);
        if (!format->openBase(doc, setFolder() + "ORVANTA/ENG/PART0.ENG").ok ||
            !format->openDestination(doc, setFolder() + "ORVANTA/POL/PART0.POL").ok || doc.size() != (kLines + 1) / 2)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(doc.counts());
    }
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_FirmwareDocument)->Unit(benchmark::kMillisecond);

}  // namespace
