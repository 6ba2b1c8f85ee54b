#include "formats/firmware/firmware_sets.h"

#include <algorithm>
#include <utility>

#include "formats/firmware/firmware_lines.h"
#include "support/atomic_file.h"
#include "support/convert.h"
#include "support/files.h"
#include "support/strutil.h"

namespace tov {

namespace {

constexpr std::array<FirmwareFamily, 4> kFamilies = {{
    {kOrvanta, "Orvanta firmware", "Orvantafirmware1", "Orvantafirmware1Click", "OpenSRC_Orvanta",
     "OpenDEST_Orvanta", "SaveDEST_Orvanta", "ORVANTA", "/EDIT.*", "Orvanta firmware|Edit.*",
     true, false},
    {kQL5, "QL5 firmware", "QL5firmware1", "QL5firmware1Click", "OpenSRC_QL5", "OpenDEST_QL5",
     "SaveDEST_QL5", "QL5", "/LCD_IDLE.*", "QL5 firmware|LCD_IDLE.*", false, false},
    {kQL10, "QL10 firmware", "QL10firmware1", "QL10firmware1Click", "OpenSRC_QL10",
     "OpenDEST_QL10", "SaveDEST_QL10", "QL10", "/LCD_1.*", "QL10 firmware|LCD_1.*", false, false},
    {kTelmo, "TELMO firmware", "TELMOfirmware1", "TELMOfirmware1Click", "OpenSRC_TELMO",
     "OpenDEST_TELMO", "SaveDEST_TELMO", "TELMO", "/Telmo.*", "TELMO firmware|Telmo.*", false,
     true},
}};

constexpr int kWorkingColumns = 11;

std::string str(std::string_view v) { return std::string(v); }

// Puts the texts of rows 1..texts of column `srcCol` of `src`, just extracted,
// into column `dstCol` of `dst`: the same cells as extracting them again.
void copyExtracted(const TextGrid& src, int srcCol, TextGrid& dst, int dstCol, int texts)
{
    dst.clearColumn(dstCol);
    for (int k = 1; k <= texts; ++k) dst.setCell(dstCol, k, src.cell(srcCol, k));
    if (dst.rowCount() <= texts) dst.setRowCount(texts + 1);
}

}  // namespace

const std::array<FirmwareFamily, 4>& firmwareFamilies() { return kFamilies; }

const FirmwareFamily* firmwareFamily(std::uint8_t kind)
{
    for (const auto& f : kFamilies)
        if (f.kind == kind) return &f;
    return nullptr;
}

const FirmwareFamily& firmwareRestoreFamily(std::uint8_t kind)
{
    return kind == kTelmo ? kFamilies[3] : kFamilies[0];
}

FirmwareDialog firmwareBaseDialog(const FirmwareFamily& family, const std::string& programFolder)
{
    FirmwareDialog d;
    d.initialFolder = programFolder + str(family.folder);
    d.fileName = d.initialFolder + str(family.presetName);
    return d;
}

FirmwareDialog firmwareDestinationDialog(const FirmwareFamily& family,
                                         const std::string& programFolder, std::string_view suffix)
{
    FirmwareDialog d;
    d.initialFolder = programFolder + str(family.folder) + str(suffix);
    d.fileName = d.initialFolder + str(family.presetName);
    return d;
}

FirmwareDialog firmwareSaveDialog(const FirmwareFamily& family, const std::string& programFolder,
                                  const std::string& destFileName, const std::string& relativeBase)
{
    FirmwareDialog d;
    d.initialFolder = programFolder + str(family.folder) + str(kFirmwareOutSuffix);
    d.fileName = destFileName.empty() ? d.initialFolder + str(family.presetName)
                                      : absolutePath(destFileName, relativeBase);
    d.filter = str(family.saveFilter);
    return d;
}

bool orvantaEntryVisible(const std::string& programFolder)
{
    for (const char* set : {"ENG", "POL"}) {
        const std::string folder = programFolder + "ORVANTA/" + set;
        if (fileExists(findFileNoCase(folder, std::string("EDIT.") + set))) return true;
    }
    return false;
}

bool prepareFirmwareKind(TextGrid& translation, TextGrid& work, std::uint8_t currentKind,
                         std::uint8_t chosenKind)
{
    if (currentKind == chosenKind) return false;
    for (int c = tcol::kNumber; c <= tcol::kComment; ++c) translation.clearColumn(c);
    const int columns = std::max(work.colCount(), kWorkingColumns);
    for (int c = 0; c < columns; ++c) work.clearColumn(c);
    return true;
}

// ---------------------------------------------------------------------------

FirmwareBaseOpen openFirmwareBase(TextGrid& translation, TextGrid& work,
                                  const std::string& chosenPath)
{
    FirmwareBaseOpen result;
    const std::string folder = folderPart(chosenPath);
    const std::string mask = "*" + extensionPart(fileNamePart(chosenPath));
    result.listed = folder + mask;
    result.baseFiles = listFolder(folder, mask);
    if (result.baseFiles.empty()) {
        result.status = FirmwareBaseOpen::Status::NoFiles;
        return result;
    }

    // Every file is read before the tables are touched, so that a set that
    // cannot be held is refused without changing anything.
    std::vector<FirmwareFileLines> files;
    files.reserve(result.baseFiles.size());
    std::size_t total = 0;
    for (const auto& name : result.baseFiles) {
        files.push_back(ReadFirmwareFile(folder + name));
        if (!files.back().ok) result.readErrors.push_back(folder + name);
        total += files.back().lines.size();
    }
    if (total > kFirmwareMaxLines) {
        result.status = FirmwareBaseOpen::Status::TooManyLines;
        return result;
    }

    for (int c = tcol::kNumber; c <= tcol::kBase; ++c) translation.clearColumn(c);
    const int fileCount = static_cast<int>(result.baseFiles.size());
    if (work.rowCount() < fileCount) work.setRowCount(fileCount);
    for (int i = 0; i < fileCount; ++i)
        work.setCell(wcol::kFileNames, i, result.baseFiles[static_cast<size_t>(i)]);
    // No name below the list (an earlier set may have had more files): the
    // save writes one file per name up to the first empty cell.
    for (int i = fileCount;
         !work.cell(wcol::kFileNames, i).empty() || !work.cell(wcol::kLineCounts, i).empty(); ++i) {
        work.setCell(wcol::kFileNames, i, std::string());
        work.setCell(wcol::kLineCounts, i, std::string());
    }

    int first = 0;
    for (int i = 0; i < fileCount; ++i) {
        const std::uint16_t n =
            StoreFileLines(work, wcol::kBaseLines, first, std::move(files[static_cast<size_t>(i)].lines));
        work.setCell(wcol::kLineCounts, i, std::to_string(n));
        first += n;
    }
    result.lines = static_cast<std::size_t>(first);

    result.texts = ExtractTexts(work, wcol::kBaseLines, translation, tcol::kBase).texts;
    // The reference copy that cell rendering puts back (the same extraction).
    copyExtracted(translation, tcol::kBase, work, wcol::kBaseTexts, result.texts);
    result.baseFileName = chosenPath;
    result.status = FirmwareBaseOpen::Status::Loaded;
    return result;
}

// ---------------------------------------------------------------------------

std::pair<std::size_t, int> firmwareFileAndLine(const std::vector<std::size_t>& counts, std::size_t index)
{
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (index < counts[i]) return {i, static_cast<int>(index) + 1};
        index -= counts[i];
    }
    return {counts.size(), 0};
}

std::string FirmwareStructureFailure::what() const
{
    if (baseLine == 0) return "a destination text where the base has no text (row " + std::to_string(row) + ")";
    return "the destination text of row " + std::to_string(row) + " stands on another line than its base text (" +
           baseFile + ":" + std::to_string(baseLine) + ")";
}

namespace {

std::pair<std::size_t, int> fileAndLine(const std::vector<std::size_t>& counts, std::size_t index)
{
    return firmwareFileAndLine(counts, index);
}

std::vector<std::size_t> baseLineCounts(const TextGrid& work)
{
    std::vector<std::size_t> counts;
    for (int i = 0; !work.cell(wcol::kFileNames, i).empty(); ++i)
        counts.push_back(static_cast<std::size_t>(nonNegativeNumber(work.cell(wcol::kLineCounts, i))));
    return counts;
}

FirmwareStructureFailure locateStructureFailure(const TextGrid& translation, const TextGrid& work,
                                                const std::vector<std::string>& baseFiles,
                                                const std::vector<std::string>& destFiles,
                                                const std::vector<std::size_t>& destCounts,
                                                const ExtractResult& extracted)
{
    FirmwareStructureFailure f;
    f.row = extracted.structureFailureRow;
    const auto [destFile, destLine] = fileAndLine(destCounts, static_cast<std::size_t>(extracted.structureFailureLine));
    if (destFile < destFiles.size()) f.destPath = destFiles[destFile];
    f.destLine = destLine;
    const std::string& baseIndex = translation.cell(tcol::kLineIndex, f.row);
    if (!baseIndex.empty() && !translation.cell(tcol::kBaseLen, f.row).empty()) {
        const auto [baseFile, baseLine] =
            fileAndLine(baseLineCounts(work), static_cast<std::size_t>(nonNegativeNumber(baseIndex)));
        if (baseFile < baseFiles.size()) f.baseFile = baseFiles[baseFile];
        f.baseLine = baseLine;
    }
    return f;
}

// Calls `each(row, lineIndex)` for every row with a base text, in order.
template <class Each>
void forEachTextRow(const TextGrid& translation, Each each)
{
    for (int row = 1; row < translation.rowCount(); ++row) {
        if (translation.cell(tcol::kBaseLen, row).empty()) break;
        each(row, nonNegativeNumber(translation.cell(tcol::kLineIndex, row)));
    }
}

FirmwareUnplacedText unplacedAt(const TextGrid& work, int row, int line)
{
    const auto [file, inFile] = fileAndLine(baseLineCounts(work), static_cast<std::size_t>(line));
    return {row, file, inFile};
}

}  // namespace

std::string FirmwareUnplacedText::what() const
{
    if (quoteBreaksLine)
        return "the text of row " + std::to_string(row) +
               " would not read back from its line as saved: a quote character or \";\" in it, or a quote the "
               "line never closes, ends the quoted text elsewhere";
    return "the line holds no quoted text and is not in its base line's form: the text of row " +
           std::to_string(row) + " has no place in it";
}

std::vector<FirmwareUnplacedText> firmwareLinesWithoutPlace(const TextGrid& translation, const TextGrid& work)
{
    std::vector<FirmwareUnplacedText> out;
    forEachTextRow(translation, [&](int row, int line) {
        if (!MergeTextIntoDestLine("x", work.cell(wcol::kDestLines, line), work.cell(wcol::kBaseLines, line)))
            out.push_back(unplacedAt(work, row, line));
    });
    return out;
}

std::string firmwareSetFile(const std::string& anyFileOfSet, const std::string& baseName)
{
    return findFileNoCase(folderPart(anyFileOfSet), changeExtension(baseName, extensionPart(fileNamePart(anyFileOfSet))));
}

FirmwareDestinationOpen openFirmwareDestination(TextGrid& translation, TextGrid& work,
                                                const FirmwareFamily& family,
                                                const std::vector<std::string>& baseFiles,
                                                const std::string& chosenPath)
{
    FirmwareDestinationOpen result;
    std::vector<FirmwareFileLines> files;
    files.reserve(baseFiles.size());
    std::size_t total = 0;
    for (size_t i = 0; i < baseFiles.size(); ++i) {
        const std::string path = firmwareSetFile(chosenPath, baseFiles[i]);
        files.push_back(ReadFirmwareFile(path));
        result.destFiles.push_back(path);
        if (!files.back().ok) result.readErrors.push_back(path);
        const std::size_t n = files.back().lines.size();
        result.lineCounts.push_back(n);
        if (family.lineCountCheck) {
            const auto expected = static_cast<std::size_t>(
                nonNegativeNumber(work.cell(wcol::kLineCounts, static_cast<int>(i))));
            if (n != expected) {
                result.lineCount = FirmwareLineCountFailure{path, fileNamePart(path), n, expected};
                result.status = FirmwareDestinationOpen::Status::LineCountFailure;
                return result;
            }
        }
        total += n;
    }
    if (total > kFirmwareMaxLines) {
        result.status = FirmwareDestinationOpen::Status::TooManyLines;
        return result;
    }

    int first = 0;
    for (auto& file : files) first += StoreFileLines(work, wcol::kDestLines, first, std::move(file.lines));
    result.lines = static_cast<std::size_t>(first);

    const ExtractResult extracted = ExtractTexts(work, wcol::kDestLines, translation, tcol::kDest);
    result.structureFailureRow = extracted.structureFailureRow;
    if (extracted.structureFailureRow > 0)
        result.structureFailure = locateStructureFailure(translation, work, baseFiles, result.destFiles,
                                                         result.lineCounts, extracted);
    result.texts = extracted.texts;
    // The stored copy against which edits are detected. After a structure
    // failure the translation column stops at the failing row, this one not.
    if (extracted.structureFailureRow == 0)
        copyExtracted(translation, tcol::kDest, work, wcol::kDestTexts, extracted.texts);
    else
        ExtractTexts(work, wcol::kDestLines, work, wcol::kDestTexts);
    result.destFileName = chosenPath;
    return result;
}

// ---------------------------------------------------------------------------

std::string firmwareOutputExtension(const std::string& chosenPath)
{
    const std::string name = fileNamePart(chosenPath);
    std::string ext = extensionPart(name);
    if (ext.empty()) ext = "." + name;
    for (char& c : ext) {
        const bool keep = c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                          (c >= 'a' && c <= 'z');
        if (!keep) c = '_';
    }
    return ext;
}

FirmwareSave saveFirmwareDestination(const TextGrid& translation, TextGrid& work,
                                     const FirmwareFamily& family, const std::string& chosenPath,
                                     const BackupChoice& backup)
{
    FirmwareSave result;
    // Every line is merged before any is changed: a text without a place in
    // its line refuses the save as a whole.
    std::vector<std::pair<int, std::string>> merged;
    forEachTextRow(translation, [&](int row, int line) {
        const std::string& text = translation.cell(tcol::kDest, row);
        const std::string& base = work.cell(wcol::kBaseLines, line);
        const std::string& dest = work.cell(wcol::kDestLines, line);
        auto m = MergeTextIntoDestLine(text, dest, base);
        if (m && MergedLineHoldsText(text, *m, dest, base)) {
            merged.emplace_back(line, std::move(*m));
            return;
        }
        result.unplaced.push_back(unplacedAt(work, row, line));
        result.unplaced.back().quoteBreaksLine = m.has_value();
    });
    if (!result.unplaced.empty()) return result;
    for (auto& [line, text] : merged) work.setCell(wcol::kDestLines, line, std::move(text));

    result.outputFolder = folderPart(chosenPath);
    result.outputExtension = firmwareOutputExtension(chosenPath);
    FileSetWriter writer(backup);
    int first = 0;
    for (int i = 0; !work.cell(wcol::kFileNames, i).empty(); ++i) {
        const std::string name = changeExtension(work.cell(wcol::kFileNames, i), result.outputExtension);
        // An existing file of that name in another case is the one replaced.
        const std::string path = findFileNoCase(result.outputFolder, name);
        if (i == 0 || family.recordsLastFile) result.destFileName = path;
        const int count = nonNegativeNumber(work.cell(wcol::kLineCounts, i));
        writer.add(path, FormatColumnLines(work, wcol::kDestLines, first, count));
        result.files.push_back(path);
        first += count;
    }
    const WriteResult written = writer.commit();
    if (!written) result.failures.push_back({written.failedPath, written.error});
    result.backupFailed = written.backupFailed;
    result.backups = written.backups;
    return result;
}

FirmwareSave saveBlankFirmwareDestination(TextGrid& translation, TextGrid& work,
                                          const FirmwareFamily& family,
                                          const std::string& chosenPath, const BackupChoice& backup)
{
    translation.clearColumn(tcol::kComment);
    return saveFirmwareDestination(translation, work, family, chosenPath, backup);
}

}  // namespace tov
