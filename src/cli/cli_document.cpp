#include "cli/cli_document.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "formats/c_arrays/c_arrays_workflow.h"
#include "formats/firmware/firmware_lines.h"
#include "formats/menu_ini/menu_ini.h"
#include "formats/resource_strings/drc_workflow.h"
#include "formats/source_kind.h"
#include "support/convert.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/strutil.h"
#include "support/text_file.h"

namespace tov::cli {

PrivateTempFolder::PrivateTempFolder()
{
    std::string pattern = tempFolder() + "tovrana-cli-XXXXXX";
    if (!::mkdtemp(pattern.data())) fail(kExitError, tempFolder() + ": cannot create a temporary folder");
    path_ = pattern + "/";
}

PrivateTempFolder::~PrivateTempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

bool Document::rowInUse(int row) const
{
    if (row < 1 || row >= translation.rowCount()) return false;
    if (isResourceStringKind(kind)) return !working.cell(kDrcEntryLineColumn, row).empty();
    if (isFirmwareKind(kind)) return !translation.cell(tcol::kBaseLen, row).empty();
    if (kind == kMenuIni) return !translation.cell(tcol::kNumber, row).empty();
    return true;
}

std::pair<std::string, int> Document::firmwareLine(int row) const
{
    const auto index = static_cast<std::size_t>(nonNegativeNumber(translation.cell(tcol::kLineIndex, row)));
    const auto next = std::upper_bound(baseLineStart.begin(), baseLineStart.end(), index);
    if (next == baseLineStart.begin()) return {std::string(), 0};
    const auto file = static_cast<std::size_t>(next - baseLineStart.begin() - 1);
    return {baseFiles[file], static_cast<int>(index - baseLineStart[file]) + 1};
}

std::string Document::rowId(int row) const
{
    if (isResourceStringKind(kind)) return working.cell(kDrcIdColumn, row);
    if (isFirmwareKind(kind)) {
        const auto [file, line] = firmwareLine(row);
        return file + ":" + std::to_string(line);
    }
    if (kind == kMenuIni) return translation.cell(tcol::kNumber, row);
    return std::to_string(row);
}

namespace {

// Firmware working-table column: the line count of each base file.
constexpr int kBaseLineCountColumn = 5;

std::string joinNames(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
    return out;
}

// The picker item of a language name: the name as written, else the first
// one equal without regard to case.
int languageItem(const std::vector<std::string>& languages, const std::string& name)
{
    for (size_t i = 0; i < languages.size(); ++i)
        if (languages[i] == name) return static_cast<int>(i);
    for (size_t i = 0; i < languages.size(); ++i)
        if (equalsNoCase(languages[i], name)) return static_cast<int>(i);
    return -1;
}

[[noreturn]] void failLanguage(const std::string& file, const std::string& name,
                               const std::vector<std::string>& languages)
{
    if (languages.empty()) failInput(file, "has no language section");
    failInput(file, "has no language \"" + name + "\" (languages: " + joinNames(languages) + ")");
}

// Why a reader found no resource-string file: the file went away or could not
// be read after it was checked, or it holds none.
[[noreturn]] void failDrcRead(const std::string& path)
{
    std::string bytes;
    if (!readFileBytes(path, bytes)) {
        const int err = errno;
        failInput(path, err == ENOENT ? "no such file" : std::string("cannot be read (") + std::strerror(err) + ")");
    }
    failInput(path, "not a resource-string file (no STRINGTABLE line before its entries)");
}

void openDrc(Document& d, const Options& o)
{
    const DrcBaseOpen base = openDrcBase(o.base, d.working);
    if (base.rebuilt)
        for (int c = tcol::kNumber; c <= tcol::kComment; ++c) d.translation.clearColumn(c);
    if (base.read.refused()) failInput(o.base, drcRefusalReason(base.read));
    if (!base.ok) failDrcRead(o.base);
    if (d.hasDest && !openDrcDestination(o.dest, d.working)) failDrcRead(o.dest);
    refreshTranslationTable(d.kind, d.working, d.translation);
}

std::string unreadableReason(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec) ? "cannot be read" : "no such file";
}

void openFirmware(Document& d, const Options& o, OpenMode mode)
{
    d.family = firmwareFamily(d.kind);
    const FirmwareBaseOpen base = openFirmwareBase(d.translation, d.working, o.base);
    if (base.status == FirmwareBaseOpen::Status::NoFiles) failInput(base.listed, "no file");
    if (base.status == FirmwareBaseOpen::Status::TooManyLines)
        failInput(o.base, "the file set holds more than 65535 lines");
    for (const std::string& path : base.readErrors) {
        if (mode == OpenMode::Strict) failInput(path, unreadableReason(path));
        d.setProblems.push_back({SetFileProblem::Kind::Unreadable, path, 0, 0, unreadableReason(path)});
    }
    d.baseFiles = base.baseFiles;
    std::size_t start = 0;
    for (std::size_t i = 0; i < d.baseFiles.size(); ++i) {
        d.baseLineStart.push_back(start);
        start += static_cast<std::size_t>(nonNegativeNumber(d.working.cell(kBaseLineCountColumn, static_cast<int>(i))));
    }

    if (d.hasDest) {
        // Any file of the destination set names it, as in the window; a file
        // named like none of the base files belongs to another set.
        const std::string stem = fileNameWithoutExtension(o.dest);
        const bool ofTheSet = std::any_of(d.baseFiles.begin(), d.baseFiles.end(), [&](const std::string& name) {
            return equalsNoCase(fileNameWithoutExtension(name), stem);
        });
        if (!ofTheSet)
            failInput(o.dest, "not a file of the base's set (its name is none of " + joinNames(d.baseFiles) + ")");

        // The check reads every file whatever its line count and reports the
        // counts; export and import keep the family's own line-count check.
        FirmwareFamily family = *d.family;
        if (mode == OpenMode::Check) family.lineCountCheck = false;
        const FirmwareDestinationOpen dest =
            openFirmwareDestination(d.translation, d.working, family, d.baseFiles, o.dest);
        d.destFiles = dest.destFiles;
        for (const std::string& path : dest.readErrors) {
            if (mode == OpenMode::Strict) failInput(path, unreadableReason(path));
            d.setProblems.push_back({SetFileProblem::Kind::Unreadable, path, 0, 0, unreadableReason(path)});
        }
        if (dest.status == FirmwareDestinationOpen::Status::LineCountFailure)
            failInput(dest.lineCount->path, std::to_string(dest.lineCount->lines) + " lines instead of " +
                                                std::to_string(dest.lineCount->expected) +
                                                " of its base file");
        if (dest.status == FirmwareDestinationOpen::Status::TooManyLines)
            failInput(o.dest, "the file set holds more than 65535 lines");
        if (mode == OpenMode::Check) {
            for (std::size_t i = 0; i < dest.lineCounts.size(); ++i) {
                const auto expected =
                    static_cast<std::size_t>(nonNegativeNumber(d.working.cell(kBaseLineCountColumn, static_cast<int>(i))));
                if (dest.lineCounts[i] != expected)
                    d.setProblems.push_back(
                        {SetFileProblem::Kind::LineCount, dest.destFiles[i], dest.lineCounts[i], expected, {}});
            }
        }
        if (dest.structureFailure) {
            const FirmwareStructureFailure& f = *dest.structureFailure;
            if (mode == OpenMode::Strict)
                failInput(f.destPath,
                          "line " + std::to_string(f.destLine) + ": wrong structure of the file set: " + f.what());
            d.structureFailureRow = f.row;
            d.structureFailure = f;
        } else if (mode == OpenMode::Check) {
            d.linesWithoutPlace = firmwareLinesWithoutPlace(d.translation, d.working);
        }
    }
    refreshTranslationTable(d.kind, d.working, d.translation);
}

void openMenuIni(Document& d, const Options& o)
{
    IniDocument ini;
    if (!IniDocument::load(o.base, ini)) failInput(o.base, "cannot be read");
    const std::vector<std::string> languages = menu_ini::languageSections(ini);
    const int base = menu_ini::languageIndex(languages, o.baseLang);
    if (base < 0) failLanguage(o.base, o.baseLang, languages);
    d.baseLanguage = languages[static_cast<size_t>(base)];
    // A destination language the file does not have yet is a new section,
    // as when it is typed into the window's picker.
    const int dest = menu_ini::languageIndex(languages, o.destLang);
    d.destLanguage = dest >= 0 ? languages[static_cast<size_t>(dest)] : o.destLang;
    menu_ini::showBaseRows(d.translation, d.working, menu_ini::baseRows(ini, d.baseLanguage));
    menu_ini::showDestTexts(d.translation, d.working, ini, d.destLanguage);
    refreshTranslationTable(d.kind, d.working, d.translation);
}

void openC(Document& d, const Options& o)
{
    d.tempFolder = std::make_unique<PrivateTempFolder>();
    TempNamer namer(d.tempFolder->path());
    const CArraysOpen opened = openCArrays(o.base, d.working, d.translation, namer);
    if (!opened) failInput(o.base, opened.error.empty() ? "cannot be read" : opened.error);
    d.languages = opened.names;
    d.templatePath = opened.templatePath;
    const int base = languageItem(d.languages, o.baseLang);
    if (d.languages.empty()) failInput(o.base, "has no language names");
    if (base < 0) failLanguage(o.base, o.baseLang, d.languages);
    d.baseLanguage = d.languages[static_cast<size_t>(base)];
    d.destItem = languageItem(d.languages, o.destLang);
    if (d.destItem < 0) failLanguage(o.base, o.destLang, d.languages);
    d.destLanguage = d.languages[static_cast<size_t>(d.destItem)];
    showCArraysRows(d.translation, d.working);
    showCBaseLanguage(d.translation, d.working, base);
    int destColumn = 0;  // nothing shown before
    showCDestLanguage(d.translation, d.working, d.destItem, static_cast<int>(d.languages.size()), destColumn);
}

}  // namespace

std::unique_ptr<Document> openDocument(const Options& o, OpenMode mode)
{
    requireReadableFile(o.base);
    if (!o.dest.empty()) requireReadableFile(o.dest);
    auto d = std::make_unique<Document>();
    d->kind = o.kind;
    d->hasDest = !o.dest.empty();
    if (isResourceStringKind(o.kind))
        openDrc(*d, o);
    else if (isFirmwareKind(o.kind))
        openFirmware(*d, o, mode);
    else if (o.kind == kMenuIni)
        openMenuIni(*d, o);
    else
        openC(*d, o);
    return d;
}

}  // namespace tov::cli
