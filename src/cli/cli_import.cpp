#include "cli/cli_import.h"

#include <cstdio>

#include "cli/cli_document.h"
#include "formats/c_arrays/c_arrays_workflow.h"
#include "formats/firmware/firmware_sets.h"
#include "formats/menu_ini/menu_ini.h"
#include "formats/resource_strings/drc_workflow.h"
#include "formats/source_kind.h"
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
    const auto doc = openDocument(o, OpenMode::Strict);
    TextGrid& t = doc->translation;
    TextGrid& w = doc->working;

    std::string tsv;
    if (!readFileBytes(o.tsv, tsv)) failInput(o.tsv, "cannot be read");
    const ImportedTexts texts = importTable(t, tsv);
    if (!texts.ok) fail(kExitProblems, o.tsv + ": " + texts.error + "; nothing written");
    for (int row = 1; row < t.rowCount(); ++row) {
        // A text beside no base text would not be saved anywhere.
        if (!doc->rowInUse(row) && !texts.dest[static_cast<size_t>(row - 1)].empty())
            fail(kExitProblems, o.tsv + ": row " + std::to_string(row) +
                                    ": a destination text where the base has no text; nothing written");
    }
    for (int row = 1; row < t.rowCount(); ++row) t.setCell(tcol::kDest, row, texts.dest[static_cast<size_t>(row - 1)]);

    // Every file replaced is first copied to its dated backup.
    const BackupChoice backup = BackupChoice::dated();
    if (isResourceStringKind(o.kind)) {
        // As "Save destination": the texts as edited become the stored ones.
        w.copyColumn(kDrcDestColumn, t, tcol::kDest);
        const WriteResult written = saveDrcDestination(o.out, w, backup);
        if (!written) notWritten(o.out, written.error, written.backupFailed);
        wrote(o.out);
    } else if (isFirmwareKind(o.kind)) {
        // Without a destination set the base set's lines are the templates.
        if (!doc->hasDest) w.copyColumn(2, w, 1);
        const FirmwareSave saved = saveFirmwareDestination(t, w, *doc->family, o.out, backup);
        if (!saved.unplaced.empty()) {
            const FirmwareUnplacedText& u = saved.unplaced.front();
            fail(kExitProblems, doc->destFiles.at(u.file) + ": line " + std::to_string(u.line) + ": " + u.what() +
                                    "; nothing written");
        }
        if (!saved.ok()) notWritten(saved.failures.front().path, saved.failures.front().error, saved.backupFailed);
        for (const std::string& path : saved.files) wrote(path);
    } else if (o.kind == kMenuIni) {
        std::vector<menu_ini::DestEntry> entries;
        entries.reserve(static_cast<size_t>(t.rowCount()));
        for (int row = 1; row < t.rowCount(); ++row) entries.emplace_back(t.cell(tcol::kNumber, row), t.cell(tcol::kDest, row));
        const WriteResult written = menu_ini::saveDestination(o.out, doc->destLanguage, entries, nullptr, backup);
        if (!written) notWritten(o.out, written.error, written.backupFailed);
        wrote(o.out);
    } else {
        const CArraysSave saved =
            saveCArrays(w, t, doc->destItem, doc->languages, doc->templatePath, o.out, backup);
        if (!saved || !saved.written) notWritten(o.out, saved.error, saved.backupFailed);
        wrote(o.out);
    }
    return kExitOk;
}

}  // namespace tov::cli
