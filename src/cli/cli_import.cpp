#include "cli/cli_import.h"

#include <algorithm>
#include <cstdio>

#include "cli/cli_document.h"
#include "document/edits.h"
#include "document/exchange_files.h"
#include "document/text_exchange.h"
#include "support/files.h"
#include "support/text_file.h"

namespace tov::cli {

namespace {

void wrote(const std::string& path) { std::printf("wrote %s\n", path.c_str()); }

[[noreturn]] void notWritten(const std::string& path, const std::string& why, bool backupFailed = false)
{
    // A file whose backup copy cannot be made keeps the version it holds.
    if (backupFailed) fail(kExitProblems, path + ": not written: no backup copy could be made (" + why + ")");
    fail(kExitProblems, path + ": cannot be written" + (why.empty() ? std::string() : " (" + why + ")"));
}

}  // namespace

int runImport(const Options& o)
{
    requireReadableFile(o.tsv);
    const auto opened = openDocument(o, OpenMode::Strict);
    TranslationDocument& doc = opened->doc;

    std::string bytes;
    if (!readFileBytes(o.tsv, bytes)) failInput(o.tsv, "cannot be read");
    bool leftOut = false;
    if (exchange::detectFormat(o.tsv, bytes) == exchange::Format::Tsv) {
        ImportedTexts texts = importText(doc, bytes);
        if (!texts.ok) fail(kExitProblems, o.tsv + ": " + texts.error + "; nothing written");
        std::vector<std::pair<int, std::string>> rows;
        rows.reserve(texts.dest.size());
        for (std::size_t i = 0; i < texts.dest.size(); ++i)
            rows.emplace_back(static_cast<int>(i), std::move(texts.dest[i]));
        SetDestinations(doc, rows).redo(doc);
    } else {
        // Units come back by their row's name; what cannot be applied is
        // reported row by row and the rest is written.
        exchange::ImportOptions options;
        options.force = o.force;
        const ExchangeImport imported = importExchange(doc, o.tsv, std::move(bytes), options);
        if (!imported) failInput(o.tsv, "cannot be read as " + std::string(exchange::formatName(imported.format)) +
                                            ": " + imported.error);
        std::string report;
        for (const exchange::Problem& p : imported.report.problems) {
            report += exchange::describe(p) + "\n";
            leftOut = leftOut || !p.applied;
        }
        if (imported.edit) imported.edit->redo(doc);
        const exchange::ImportReport& r = imported.report;
        report += "imported " + std::to_string(imported.edit ? imported.edit->changes().size() : 0) +
                  ", unchanged " + std::to_string(r.unchanged) + ", untranslated " + std::to_string(r.untranslated) +
                  ", not in the file " + std::to_string(r.notInFile) + ", not applied " +
                  std::to_string(std::count_if(r.problems.begin(), r.problems.end(),
                                               [](const exchange::Problem& p) { return !p.applied; })) +
                  "\n";
        std::fputs(report.c_str(), stdout);
    }

    // As "Save destination": the texts as imported become the stored ones;
    // every file replaced is first copied to its dated backup.
    SaveOptions options;
    options.backup = BackupChoice::dated();
    options.readBack = false;
    const SaveResult saved = opened->format->save(doc, o.out, options);
    for (const Diagnostic& g : saved.diagnostics) {
        switch (g.code) {
        case DiagnosticCode::Unplaced:
            fail(kExitProblems, g.file + ": line " + std::to_string(g.line) + ": " + g.detail + "; nothing written");
        case DiagnosticCode::BackupFailed: notWritten(g.file, g.detail, true);
        case DiagnosticCode::SaveFailed:
        case DiagnosticCode::IniSaveFailed: notWritten(g.file, g.detail);
        default: break;
        }
    }
    if (!saved.ok || !saved.written) notWritten(o.out, {});
    for (const std::string& path : saved.files) wrote(path);
    return leftOut ? kExitProblems : kExitOk;
}

}  // namespace tov::cli
