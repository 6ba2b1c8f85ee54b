// The four implementations of Format, one per family.
#pragma once

#include "document/format.h"
#include "formats/firmware/firmware_sets.h"

namespace tov {

// Resource-string files (".drc"), the kinds 1, 2, 4 and 255 and every kind
// the program does not know. The working table: identifiers in column 0,
// base texts in 1, destination texts as last read or saved in 2, the base's
// entry lines in 10.
class ResourceStringFormat : public Format {
public:
    explicit ResourceStringFormat(SourceKind kind);
    FormatFamily family() const override { return FormatFamily::ResourceStrings; }
    const FormatTraits& traits() const override { return familyTraits(); }
    static const FormatTraits& familyTraits();
    std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const override;
    void reset() override;
    OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options = {}) override;
    OpenResult openDestination(TranslationDocument& doc, const std::string& path, const OpenOptions& options = {}) override;
    OpenResult reopen(TranslationDocument& doc, const std::string& base, const std::string& dest) override;
    bool reopens(const std::string& storedBase) const override;
    bool openBaseKeepsDestination(const TranslationDocument& doc) const override;
    SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    SaveResult saveBlank(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    void clearDestination(TranslationDocument& doc) override;
    const TextGrid& workingTable() const override { return working_; }

protected:
    RowNaming naming() const override { return RowNaming::Identifier; }

private:
    // The rows of the document from the working table; destination texts
    // from column 2 when `destinations`, else kept as the rows had them.
    void showRows(TranslationDocument& doc, bool destinations) const;
    OpenResult readFailure(const std::string& path) const;

    TextGrid working_;
};

// Firmware file sets of the four families (firmwareFamilies()). The working
// table: the base lines (1) with their line numbers (0), the destination
// lines at the same indices (2), the base file names (4) and line counts (5),
// the base texts (6) and the destination texts as read (7).
class FirmwareFormat : public Format {
public:
    explicit FirmwareFormat(SourceKind kind);
    FormatFamily family() const override { return FormatFamily::Firmware; }
    const FormatTraits& traits() const override { return familyTraits(); }
    static const FormatTraits& familyTraits();
    std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const override;
    void reset() override;
    OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options = {}) override;
    OpenResult openDestination(TranslationDocument& doc, const std::string& path, const OpenOptions& options = {}) override;
    OpenResult reopen(TranslationDocument& doc, const std::string& base, const std::string& dest) override;
    bool openBaseKeepsDestination(const TranslationDocument&) const override { return true; }
    SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    SaveResult saveBlank(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    void clearDestination(TranslationDocument& doc) override;
    const TextGrid& workingTable() const override { return working_; }

    const FirmwareFamily& familyConstants() const;

protected:
    RowNaming naming() const override { return RowNaming::Location; }

private:
    OpenResult openDestinationAs(TranslationDocument& doc, const FirmwareFamily& family, const std::string& path,
                                 const OpenOptions& options);

    TextGrid working_;
    // The table the firmware procedures fill and merge from: the row number
    // (0), base length (1), base text (2), destination length (3) and text
    // (4), the comments (5, 6) and the line index (8) of each text.
    TextGrid table_;
    bool destinationLines_ = false;  // working column 2 holds the lines of a destination set
};

// Menu INI files: one section per language. The working table: base texts
// (1) and destination texts as read (2).
class MenuIniFormat : public Format {
public:
    MenuIniFormat();
    FormatFamily family() const override { return FormatFamily::MenuIni; }
    const FormatTraits& traits() const override { return familyTraits(); }
    static const FormatTraits& familyTraits();
    std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const override;
    void reset() override;
    OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options = {}) override;
    SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    void chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest) override;
    std::string header(const TranslationDocument&, int) const override { return {}; }
    const TextGrid& workingTable() const override { return working_; }

protected:
    RowNaming naming() const override { return RowNaming::Identifier; }

private:
    std::string path_;
    TextGrid working_;
};

// C string-array files: every language in one file, saved through the
// template made when the file was opened. The working table: row numbers
// (0) and the texts of language L in column L, the names in row 0.
class CArraysFormat : public Format {
public:
    explicit CArraysFormat(TempNamer* names);
    ~CArraysFormat() override;
    FormatFamily family() const override { return FormatFamily::CArrays; }
    const FormatTraits& traits() const override { return familyTraits(); }
    static const FormatTraits& familyTraits();
    std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const override;
    void reset() override;
    OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options = {}) override;
    SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    void chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest) override;
    std::string header(const TranslationDocument& doc, int column) const override;
    const TextGrid& workingTable() const override { return working_; }
    const std::string& templatePath() const { return template_; }

protected:
    RowNaming naming() const override { return RowNaming::Number; }

private:
    // The edited texts of the destination language go back into its column.
    void keepEdits(const TranslationDocument& doc);

    TempNamer* names_;
    TempNamer ownNames_;
    TextGrid working_;
    TextGrid saved_;  // every language as last read or saved
    std::string template_;
};

}  // namespace tov
