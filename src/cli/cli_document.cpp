#include "cli/cli_document.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "formats/menu_ini/menu_ini.h"
#include "support/strutil.h"

namespace tov::cli {

namespace {

std::string joinNames(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : ", ") + n;
    return out;
}

// The language of a name: the menu INI store finds sections without regard
// to case; a C file's language is the name as written, else the first one
// equal without regard to case.
int languageItem(const Opened& d, const std::string& name)
{
    const std::vector<std::string>& languages = d.doc.languages;
    if (d.format->traits().typedLanguage) return menu_ini::languageIndex(languages, name);
    for (size_t i = 0; i < languages.size(); ++i)
        if (languages[i] == name) return static_cast<int>(i);
    for (size_t i = 0; i < languages.size(); ++i)
        if (equalsNoCase(languages[i], name)) return static_cast<int>(i);
    return -1;
}

[[noreturn]] void failLanguage(const Opened& d, const std::string& file, const std::string& name)
{
    if (d.doc.languages.empty()) failInput(file, "has no language section");
    failInput(file, "has no language \"" + name + "\" (languages: " + joinNames(d.doc.languages) + ")");
}

void chooseLanguages(Opened& d, const Options& o)
{
    const std::vector<std::string>& languages = d.doc.languages;
    if (!d.format->traits().typedLanguage && languages.empty()) failInput(o.base, "has no language names");
    const int base = languageItem(d, o.baseLang);
    if (base < 0) failLanguage(d, o.base, o.baseLang);
    LanguageChoice baseChoice{base, languages[static_cast<size_t>(base)]};
    // A destination language the menu file does not have yet is a new
    // section, as when it is typed into the window's picker.
    const int dest = languageItem(d, o.destLang);
    if (dest < 0 && !d.format->traits().typedLanguage) failLanguage(d, o.base, o.destLang);
    LanguageChoice destChoice{dest, dest >= 0 ? languages[static_cast<size_t>(dest)] : o.destLang};
    d.format->chooseLanguages(d.doc, baseChoice, destChoice);
}

// What a reader found, as the command line reports it: a file that stops
// the command, or (check) a problem of the report.
void handle(Opened& d, const Diagnostics& found, OpenMode mode)
{
    for (const Diagnostic& g : found) {
        switch (g.code) {
        case DiagnosticCode::NotResourceStrings:
        case DiagnosticCode::Refused:
        case DiagnosticCode::CannotOpen: failInput(g.file, g.detail.empty() ? "cannot be read" : g.detail);
        case DiagnosticCode::NoMatchingFiles: failInput(g.file, "no file");
        case DiagnosticCode::TooManyLines: failInput(g.file, "the file set holds more than 65535 lines");
        case DiagnosticCode::SetFileUnreadable:
            if (mode == OpenMode::Strict) failInput(g.file, g.detail);
            d.fileProblems.push_back(g);
            break;
        case DiagnosticCode::LineCount:
            if (g.severity == Severity::Error)
                failInput(g.file, std::to_string(g.count) + " lines instead of " + std::to_string(g.expected) +
                                      " of its base file");
            d.fileProblems.push_back(g);
            break;
        case DiagnosticCode::Structure:
            if (mode == OpenMode::Strict)
                failInput(g.file, "line " + std::to_string(g.line) + ": wrong structure of the file set: " + g.detail);
            d.structureProblems.push_back(g);
            break;
        case DiagnosticCode::Unplaced:
            d.structureProblems.push_back(g);
            break;
        // Saving is not opening: these never come from a reader.
        case DiagnosticCode::SaveFailed:
        case DiagnosticCode::IniSaveFailed:
        case DiagnosticCode::BackupFailed: break;
        }
    }
}

// Any file of a firmware destination set names it, as in the window; a file
// named like none of the base files belongs to another set.
void requireMemberOfTheSet(const Opened& d, const std::string& dest)
{
    const std::vector<std::string>& names = d.doc.files.baseFiles;
    if (names.empty()) return;
    const std::string stem = fileNameWithoutExtension(dest);
    const bool member = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
        return equalsNoCase(fileNameWithoutExtension(name), stem);
    });
    if (!member) failInput(dest, "not a file of the base's set (its name is none of " + joinNames(names) + ")");
}

}  // namespace

std::unique_ptr<Opened> openDocument(const Options& o, OpenMode mode)
{
    requireReadableFile(o.base);
    if (!o.dest.empty()) requireReadableFile(o.dest);
    auto d = std::make_unique<Opened>();
    d->hasDest = !o.dest.empty();
    FormatEnvironment environment;
    if (traitsOf(o.kind).temporaryFiles) {
        d->tempFolder = std::make_unique<PrivateTempFolder>("tovrana-cli-");
        if (d->tempFolder->path().empty()) fail(kExitError, tempFolder() + ": cannot create a temporary folder");
        d->tempNames = std::make_unique<TempNamer>(d->tempFolder->path());
        environment.tempNames = d->tempNames.get();
    }
    d->format = makeFormat(o.kind, environment);
    d->format->clearDocument(d->doc);

    OpenOptions options;
    options.check = mode == OpenMode::Check;
    // No window shows the working table; only a firmware set that is to be
    // saved needs it, for the lines its texts are merged into.
    options.workingTable = o.command == Command::Import && familyOf(o.kind) == FormatFamily::Firmware;
    // The languages are chosen right below.
    options.languagesChosenNext = d->format->traits().languagePickers;
    const OpenResult base = d->format->openBase(d->doc, o.base, options);
    handle(*d, base.diagnostics, mode);
    if (d->format->traits().languagePickers) chooseLanguages(*d, o);
    if (d->hasDest) {
        requireMemberOfTheSet(*d, o.dest);
        const OpenResult dest = d->format->openDestination(d->doc, o.dest, options);
        handle(*d, dest.diagnostics, mode);
    }
    return d;
}

}  // namespace tov::cli
