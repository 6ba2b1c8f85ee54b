// One interface for the four format families: resource-string files (the
// kinds 1, 2, 4 and 255), firmware file sets (3, 5, 10, 15), menu INI files
// (16) and C string-array files (17). The window's commands and the
// command-line tool open, save and describe every kind through it; what
// differs between the families is said once, here and in their traits,
// instead of being asked of the source kind all over the program.
//
// A format keeps what its files need beyond the document's rows (the lines of
// a firmware set, the other languages of a C file, ...) as its own state: the
// working table, which the working table window shows as it is.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "document/diagnostic.h"
#include "document/document.h"
#include "formats/source_kind.h"
#include "support/backup.h"
#include "support/files.h"
#include "support/text_grid.h"

namespace tov {

enum class FormatFamily { ResourceStrings, Firmware, MenuIni, CArrays };

// The family of a source kind; every kind the program does not know (0
// included) behaves as a resource-string kind.
FormatFamily familyOf(std::uint8_t kind);

// How the first column of the translation table names a row.
enum class RowLabel { SpacedNumber, Number, Identifier };

// What a family shows and does differently.
struct FormatTraits {
    // --- the table ---
    RowLabel rowLabel = RowLabel::SpacedNumber;
    bool lengthColumns = true;       // base and destination lengths shown
    bool lengthHeaders = true;       // "No." and "len" over the number and length columns
    bool commentColumns = false;     // destination comment (5), base comment (6), line index (8)
    bool lineGaps = false;           // lines between rows whose file lines do not follow
    bool wideCommentLayout = false;  // text columns 3/8 of the width each, the comment 2/8
    bool languagePickers = false;    // the pickers over the base and destination headers
    bool typedLanguage = false;      // a destination language may be typed as a new one
    bool baseEditable = false;       // a base text typed in the table stays until the language changes
    bool identifierHint = false;     // hovering over a base text shows its identifier
    bool previewComments = false;    // the preview shows a line's comment instead of its text
    // --- the commands ---
    bool destinationFiles = true;       // "Open destination" and "New destination" apply
    bool saveAsksForFile = true;        // false: a save writes into the base file
    bool promptBeforeEveryOpen = false; // "Open base text" asks about unsaved edits even for the same kind
    bool clearAllOnKindChange = false;  // a change of kind empties everything, not only the destination
    bool emptyBeforeOpen = false;       // the table is emptied before the open dialog, whatever the answer
    bool cancelKeepsKind = false;       // a cancelled or failed open keeps the new kind
    bool restoreWithoutBase = false;    // the start-up restore opens even when the base file is gone
    bool restoreGridPosition = true;    // the start-up restore puts the table back at the stored rows
    bool languageSwitchKeepsEdits = false;  // edits of a language stay when another one is chosen
    bool temporaryFiles = false;  // files of its own in a temporary folder (FormatEnvironment::tempNames)
    // The settings keys that remember the two chosen languages.
    const char* baseLanguageKey = nullptr;
    const char* destLanguageKey = nullptr;
};

// Where a file dialog starts. What is not set stays as the dialog had it
// from its last use.
struct DialogStart {
    std::optional<std::string> folder;
    std::optional<std::string> fileName;  // offered name; may hold a mask
    std::optional<std::string> filter;    // "Caption|pattern"
    std::optional<std::string> defaultExtension;
    std::optional<bool> promptCreate;
};

enum class DialogRole {
    OpenBase,         // File > Open base text
    OpenDestination,  // File > Open destination
    UseFile,          // File > New destination > Use file...
    Blank,            // File > New destination > Blank
    Save,             // File > Save destination
};

struct DialogContext {
    std::string programFolder;  // with its closing "/"
    std::string baseFile;
    std::string destFile;       // as recorded; a relative name is taken against the program folder
};

struct OpenOptions {
    // Read for a check of the files: a firmware file of another line count
    // than its base file is reported (and read) instead of refusing the set,
    // and the destination lines that could take no text are reported.
    bool check = false;
    // Whether the format keeps its working table (what the working table
    // window shows) beside the rows. The command-line tool, which never shows
    // it, reads straight into the rows where a family can.
    bool workingTable = true;
    // A file of every language whose languages the caller chooses right
    // after the open (the window's pickers): the rows are built for that
    // choice only, not first for the languages the format starts with.
    bool languagesChosenNext = false;
};

struct OpenResult {
    bool ok = false;           // read; warnings may come with it
    Diagnostics diagnostics;   // in the order the window shows them
    std::string fileName;      // the name to record as the base or destination file
    // A base open that also names the destination (the C template).
    std::optional<std::string> destFile;
};

struct SaveOptions {
    // Whether every file a save replaces is first copied to its dated backup.
    BackupChoice backup = BackupChoice::dated();
    // A firmware set is read back after the save, so that the texts as the
    // files now hold them are the stored ones (the window does; the tool
    // ends after writing).
    bool readBack = true;
};

struct SaveResult {
    bool ok = false;           // everything written
    bool written = true;       // false with ok: there was nothing to write
    // Nothing was written because a file to be replaced could not be copied
    // to its dated backup (a BackupFailed diagnostic says which and why); the
    // same save may be repeated without backups.
    bool backupFailed = false;
    Diagnostics diagnostics;
    std::vector<std::string> files;  // the files written
    std::string destFile;      // the destination name to record
    // The languages chosen, as items of the file's list after the save, to
    // be remembered; and whether the file is to be read again.
    std::optional<std::pair<int, int>> languages;
    bool reopen = false;
};

// A language chosen in a picker: its item (-1: none) and its name as shown
// or typed.
struct LanguageChoice {
    int index = -1;
    std::string name;
};

class Format {
public:
    explicit Format(SourceKind kind) : kind_(kind) {}
    virtual ~Format() = default;
    Format(const Format&) = delete;
    Format& operator=(const Format&) = delete;

    SourceKind kind() const { return kind_; }
    // Another kind of the same family (the family's constants follow it).
    void setKind(SourceKind kind) { kind_ = kind; }
    virtual FormatFamily family() const = 0;
    virtual const FormatTraits& traits() const = 0;

    // How a file dialog of this kind starts; nothing: the command stops.
    virtual std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const = 0;

    // Empties the document for this family (its views stay attached) and
    // sets the text checks of the kind.
    void clearDocument(TranslationDocument& doc) const
    {
        doc.reset(naming());
        doc.setCheckOptions(checks::forKind(kind()));
    }
    // Forgets every file read.
    virtual void reset() = 0;

    virtual OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options = {}) = 0;
    virtual OpenResult openDestination(TranslationDocument& doc, const std::string& path,
                                       const OpenOptions& options = {});
    // The start-up restore: the base and, when it exists, the destination
    // (an empty name: none).
    virtual OpenResult reopen(TranslationDocument& doc, const std::string& base, const std::string& dest);
    // Whether a name stored by the last run may be reopened under this kind.
    virtual bool reopens(const std::string& storedBase) const;
    // Whether opening a base now keeps the destination texts of the rows.
    virtual bool openBaseKeepsDestination(const TranslationDocument& doc) const;

    virtual SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) = 0;
    // File > New destination > Blank.
    virtual SaveResult saveBlank(TranslationDocument& doc, const std::string& path, const SaveOptions& options);
    // The destination is dropped (the kind changes).
    virtual void clearDestination(TranslationDocument& doc);

    // The languages of a menu INI or C file: the rows show `base` and `dest`.
    virtual void chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest);

    // The header texts of the base (2) and destination (4) columns.
    virtual std::string header(const TranslationDocument& doc, int column) const;

    // The working table as the readers left it, built first where a reader
    // put that off.
    const TextGrid& workingTable() const
    {
        prepareWorkingTable();
        return workingGrid();
    }
    TextGrid& workingTable() { return const_cast<TextGrid&>(std::as_const(*this).workingTable()); }
    // Builds the working table where a reader put it off (the start-up
    // restore leaves it until its window is shown).
    virtual void prepareWorkingTable() const {}
    // Where the working table is kept, built or not: what its window views
    // while it is hidden.
    TextGrid& workingTableStorage() { return const_cast<TextGrid&>(workingGrid()); }

protected:
    virtual RowNaming naming() const = 0;
    virtual const TextGrid& workingGrid() const = 0;

private:
    SourceKind kind_;
};

// Names the temporary files a format needs (the C template).
struct FormatEnvironment {
    TempNamer* tempNames = nullptr;
};

std::unique_ptr<Format> makeFormat(std::uint8_t kind, FormatEnvironment environment = {});
// The traits of a kind's family, without a format.
const FormatTraits& traitsOf(std::uint8_t kind);

}  // namespace tov
