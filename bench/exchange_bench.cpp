// Export to and import from XLIFF and PO of the largest document the
// program handles: 65,535 rows with Polish destinations, a comment, a source
// line and a length limit on every row, printf conversions in some.
//
// Export: rows to units, the file's bytes, one atomic write.
// Import: one read of the file, parsed, matched by id against the rows (every
// tenth destination changed in the file, so that edits are made).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "formats/exchange/rows.h"
#include "support/atomic_file.h"
#include "support/text_file.h"

namespace {

using namespace tov::exchange;

constexpr int kRows = 65535;
const FileInfo kInfo = {"Konfix_en.drc", "en", "pl", tov::checks::FormatNotation::ResourceString};

struct Document {
    std::vector<std::string> ids, bases, dests, comments;
    std::vector<Row> rows;
    std::string folder;

    Document()
    {
        char tmpl[] = "/tmp/exchange_bench-XXXXXX";
        folder = ::mkdtemp(tmpl);
        for (int i = 1; i <= kRows; ++i) {
            const std::string n = std::to_string(i);
            ids.push_back("KfxUnit" + std::to_string(i % 97) + "_RsString" + n);
            bases.push_back(i % 5 ? "Base text number " + n + " with a \"quoted\" word & <tag>"
                                  : "Copied %d of %s files (" + n + ")");
            dests.push_back(i % 5 ? "Tekst docelowy numer " + n + " z \xBF\xF3\xB3tym s\xB3owem"
                                  : "Skopiowano %d z %s plik\xF3w (" + n + ")");
            comments.push_back(i % 3 ? "" : "screen " + n);
        }
        for (int i = 0; i < kRows; ++i)
            rows.push_back({i + 1, ids[i], bases[i], dests[i], comments[i], "Konfix_en.drc", i + 4, {80, false}});
    }
    ~Document()
    {
        for (const char* name : {"/out.xlf", "/out.po", "/in.xlf", "/in.po"}) ::unlink((folder + name).c_str());
        ::rmdir(folder.c_str());
    }

    // The exchange file as a translator sends it back.
    std::string returned(Format format) const
    {
        File f = makeFile(rows, kInfo);
        for (size_t k = 0; k < f.units.size(); k += 10) f.units[k].target += " (poprawione)";
        return format == Format::Xliff ? writeXliff(f).bytes : writePo(f).bytes;
    }
};

const Document& document()
{
    static const Document d;
    return d;
}

void BM_Export(benchmark::State& state, Format format)
{
    const Document& d = document();
    const std::string path = d.folder + (format == Format::Xliff ? "/out.xlf" : "/out.po");
    size_t bytes = 0;
    for (auto _ : state) {
        const File f = makeFile(d.rows, kInfo);
        const Written w = format == Format::Xliff ? writeXliff(f) : writePo(f);
        if (!w || !tov::writeFileAtomic(path, w.bytes)) state.SkipWithError("not written");
        bytes = w.bytes.size();
    }
    state.counters["file_bytes"] = static_cast<double>(bytes);
}
BENCHMARK_CAPTURE(BM_Export, xliff, Format::Xliff)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, po, Format::Po)->Unit(benchmark::kMillisecond);

void BM_Import(benchmark::State& state, Format fileFormat)
{
    const Document& d = document();
    const std::string path = d.folder + (fileFormat == Format::Xliff ? "/in.xlf" : "/in.po");
    if (!tov::writeFileAtomic(path, d.returned(fileFormat))) state.SkipWithError("not written");
    for (auto _ : state) {
        std::string bytes;
        tov::readFileBytes(path, bytes);
        const Format format = detectFormat(path, bytes);
        const ReadResult r = read(format, std::move(bytes));
        const ImportReport report = matchImport(d.rows, r.file, {});
        if (!r || report.edits.size() != (kRows + 9) / 10) state.SkipWithError("not every change was found");
        benchmark::DoNotOptimize(report.edits.data());
    }
}
BENCHMARK_CAPTURE(BM_Import, xliff, Format::Xliff)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, po, Format::Po)->Unit(benchmark::kMillisecond);

}  // namespace
