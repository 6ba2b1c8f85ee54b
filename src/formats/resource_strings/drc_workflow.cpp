#include "formats/resource_strings/drc_workflow.h"

#include "formats/source_kind.h"
#include "support/files.h"

namespace tov {

bool drcTableHoldsDestination(const TextGrid& working)
{
    // Row 1 counts only while it is a row of the table: cells beyond the row
    // count keep old texts, over which nothing can be read.
    return working.rowCount() > 1 && !working.cell(kDrcIdColumn, 1).empty() &&
           !working.cell(kDrcDestColumn, 1).empty();
}

DrcBaseOpen openDrcBase(const std::string& path, TextGrid& working)
{
    DrcBaseOpen result;
    if (drcTableHoldsDestination(working)) {
        result.read = ReadDrcColumn(kDrcBaseColumn, path, working);
    } else {
        result.read = ReadDrcBase(path, working);
        result.rebuilt = !result.read.refused();
    }
    result.ok = static_cast<bool>(result.read);
    return result;
}

DrcRead openDrcDestination(const std::string& path, TextGrid& working)
{
    return ReadDrcColumn(kDrcDestColumn, path, working);
}

DrcRead reopenDrcFiles(const std::string& basePath, const std::string& destPath, TextGrid& working,
                       std::string* failedFile)
{
    DrcRead read = ReadDrcBase(basePath, working);
    if (read && !destPath.empty() && fileExists(destPath)) {
        read = ReadDrcColumn(kDrcDestColumn, destPath, working);
        if (!read && failedFile) *failedFile = destPath;
    } else if (!read && failedFile) {
        *failedFile = basePath;
    }
    return read;
}

WriteResult writeBlankDrcDestination(const std::string& path, TextGrid& working, const BackupChoice& backup)
{
    // The column is emptied only once the file holds the blanks: a failed
    // save leaves the texts the file still holds.
    TextGrid blank = working;
    blank.clearColumn(kDrcDestColumn);
    WriteResult written = WriteDrc(kDrcDestColumn, path, blank, backup);
    if (written) working.clearColumn(kDrcDestColumn);
    return written;
}

WriteResult saveDrcDestination(const std::string& path, const TextGrid& working, const BackupChoice& backup)
{
    return WriteDrc(kDrcDestColumn, path, working, backup);
}

namespace {

// The file-name mask of a resource-string kind, or empty for the other kinds.
std::string kindMask(std::uint8_t kind)
{
    switch (kind) {
    case kKonfix: return "Konfix*.drc";
    case kVigrex: return "Vigrex*.drc";
    case kKonfi10: return "Konfi10*.drc";
    default: return {};
    }
}

}  // namespace

DrcDialogStart drcOpenBaseStart(std::uint8_t kind, const std::string& programFolder)
{
    DrcDialogStart s;
    s.folder = programFolder + "base";
    const std::string mask = kindMask(kind);
    s.fileName = mask.empty() ? programFolder + "*.drc" : s.folder + "/" + mask;
    return s;
}

DrcDialogStart drcOpenDestinationStart(std::uint8_t kind, const std::string& programFolder)
{
    DrcDialogStart s;
    s.folder = programFolder + "dest";
    if (kind == kGenericDrc) {
        s.fileName = programFolder + "*.drc";
    } else {
        const std::string mask = kindMask(kind);
        s.fileName = s.folder + "/" + (mask.empty() ? kindMask(kKonfi10) : mask);
    }
    return s;
}

std::optional<DrcDialogStart> drcUseFileStart(std::uint8_t kind, const std::string& programFolder)
{
    if (kind == kNone) return std::nullopt;
    DrcDialogStart s;
    s.folder = programFolder + "base";
    if (kind == kGenericDrc) {
        s.fileName = programFolder + "*.drc";
    } else {
        const std::string mask = kindMask(kind);
        if (!mask.empty()) s.fileName = s.folder + "/" + mask;
    }
    return s;
}

DrcDialogStart drcBlankStart(const std::string& programFolder)
{
    DrcDialogStart s;
    s.folder = programFolder + "dest";
    s.fileName = s.folder + "/*.*";
    return s;
}

}  // namespace tov
