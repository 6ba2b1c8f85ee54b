#include <cstdio>
#include <memory>

#include "document/formats.h"
#include "formats/c_arrays/c_arrays.h"
#include "formats/c_arrays/c_arrays_workflow.h"

namespace tov {

// C string-array files: every language in one file, saved through the
// template made when the file was opened. The working table: row numbers
// (0) and the texts of language L in column L, the names in row 0.
class CArraysFormat final : public Format {
public:
    explicit CArraysFormat(TempNamer* names);
    ~CArraysFormat() override;
    FormatFamily family() const override { return FormatFamily::CArrays; }
    const FormatTraits& traits() const override { return cArraysTraits(); }
    std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const override;
    void reset() override;
    OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options) override;
    SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    void chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest) override;
    std::string header(const TranslationDocument& doc, int column) const override;
    const std::string& templatePath() const { return template_; }
    void prepareWorkingTable() const override;

protected:
    const TextGrid& workingGrid() const override { return working_; }
    RowNaming naming() const override { return RowNaming::Number; }

private:
    // The edited texts of the destination language go back into its column.
    void keepEdits(const TranslationDocument& doc);
    void dropTemplate();
    // The rows of two languages straight from the texts the open read.
    void showPutOff(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest);

    TempNamer* names_;
    TempNamer ownNames_;
    // What an open without the working table read (the tool): the file's
    // bytes and its texts as views into them, until the working table is
    // asked for (a save, an edit kept across a change of language).
    struct PutOff {
        std::shared_ptr<const std::string> bytes;
        CArraysCells cells;
    };
    mutable TextGrid working_;
    mutable TextGrid saved_;  // every language as last read or saved
    mutable std::unique_ptr<PutOff> putOff_;
    std::string template_;
};

CArraysFormat::CArraysFormat(TempNamer* names) : Format(kCArrays), names_(names ? names : &ownNames_)
{
    reset();
}

CArraysFormat::~CArraysFormat()
{
    dropTemplate();
}

void CArraysFormat::dropTemplate()
{
    // The template belongs to the file opened; nothing is left behind in the
    // temporary folder once it is of no more use.
    if (!template_.empty()) std::remove(template_.c_str());
    template_.clear();
}

const FormatTraits& cArraysTraits()
{
    // Reopening the file drops every edit of every language: the question
    // comes before every open.
    static constexpr FormatTraits traits{.rowLabel = RowLabel::Number,
                                         .lengthHeaders = false,
                                         .languagePickers = true,
                                         .baseEditable = true,
                                         .destinationFiles = false,
                                         .promptBeforeEveryOpen = true,
                                         .emptyBeforeOpen = true,
                                         .cancelKeepsKind = true,
                                         .restoreGridPosition = false,
                                         .languageSwitchKeepsEdits = true,
                                         .temporaryFiles = true,
                                         .baseLanguageKey = "c1",
                                         .destLanguageKey = "c2"};
    return traits;
}

std::unique_ptr<Format> makeCArraysFormat(TempNamer* names)
{
    return std::make_unique<CArraysFormat>(names);
}

std::optional<DialogStart> CArraysFormat::dialog(DialogRole role, const DialogContext& c) const
{
    DialogStart d;
    if (role == DialogRole::OpenBase) {
        d.fileName = c.programFolder + "*.c";
        return d;
    }
    if (role != DialogRole::Save) return std::nullopt;
    d.defaultExtension = "c";
    d.filter = "C|*.c";
    d.folder = c.baseFile;
    d.fileName = c.baseFile;
    d.promptCreate = true;
    return d;
}

void CArraysFormat::reset()
{
    putOff_.reset();
    prepareCArraysWorkTable(working_);
    saved_ = working_;
    dropTemplate();
}

void CArraysFormat::prepareWorkingTable() const
{
    if (!putOff_) return;
    const std::unique_ptr<PutOff> p = std::move(putOff_);
    fillCArraysWorkTable(std::move(p->cells), working_);
    saved_ = working_;
}

OpenResult CArraysFormat::openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options)
{
    OpenResult r;
    reset();
    clearDocument(doc);
    // Nothing is read, and nothing said, of a file that is not there.
    if (!fileExists(path)) return r;
    r.fileName = path;
    CArraysOpen opened;
    if (options.workingTable) {
        TextGrid unused;
        opened = openCArrays(path, working_, unused, *names_);
    } else {
        auto bytes = std::make_shared<std::string>();
        auto putOff = std::make_unique<PutOff>();
        opened = openCArraysCells(path, *names_, *bytes, putOff->cells);
        putOff->bytes = std::move(bytes);
        if (opened) putOff_ = std::move(putOff);
    }
    if (!opened) {
        // Without a template nothing of the file could be saved: nothing is
        // shown, and a save reports the failure.
        r.diagnostics.push_back({.code = DiagnosticCode::CannotOpen, .file = path, .detail = opened.error});
        r.destFile = std::string();
        return r;
    }
    template_ = opened.templatePath;
    if (!putOff_) saved_ = working_;
    doc.languages = std::move(opened.names);
    if (options.languagesChosenNext) {
        // No rows until the languages are chosen; none is chosen yet.
        doc.baseLanguage = doc.destLanguage = -1;
        doc.baseLanguageName = doc.destLanguageName = working_.cell(0, 0);
    } else {
        chooseLanguages(doc, {}, {});
    }
    r.ok = true;
    r.fileName = path;
    r.destFile = template_;
    return r;
}

void CArraysFormat::keepEdits(const TranslationDocument& doc)
{
    if (doc.destLanguage < 0 || doc.destLanguage >= static_cast<int>(doc.languages.size())) return;
    for (int i = 0; i < doc.size(); ++i) working_.setCell(doc.destLanguage + 1, i + 1, doc.entry(i).dest.str());
}

void CArraysFormat::chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest)
{
    // Rows whose destination texts are as read need no working table.
    if (putOff_ && doc.counts().changed == 0) {
        showPutOff(doc, base, dest);
        return;
    }
    prepareWorkingTable();
    // The texts edited for the destination language go back into its column,
    // so that they are there again when it is chosen again and are saved.
    keepEdits(doc);
    const bool newBase = base.index != doc.baseLanguage || doc.empty();
    // No language chosen: the column shows the row numbers.
    const int baseColumn = base.index + 1;
    const int destColumn = dest.index + 1;
    // Nothing open: no rows.
    const int rows = template_.empty() ? 0 : std::max(0, working_.rowCount() - 1);
    {
        auto rebuild = doc.rebuild();
        std::vector<Entry>& entries = rebuild.entries();
        entries.resize(static_cast<std::size_t>(rows));
        for (int i = 0; i < rows; ++i) {
            Entry& e = entries[static_cast<std::size_t>(i)];
            if (newBase) e.base = working_.cell(baseColumn, i + 1);
            e.dest = working_.cell(destColumn, i + 1);
            e.stored = saved_.cell(destColumn, i + 1);
            e.rule = LengthRule::AtMost;
        }
        doc.baseLanguage = base.index;
        doc.destLanguage = dest.index;
        doc.baseLanguageName = working_.cell(baseColumn, 0);
        doc.destLanguageName = working_.cell(destColumn, 0);
    }
}

void CArraysFormat::showPutOff(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest)
{
    // As chooseLanguages builds them from the working table: column 0 (no
    // language) holds the row numbers, a cell never read the empty text.
    const bool newBase = base.index != doc.baseLanguage || doc.empty();
    const int baseColumn = base.index + 1;
    const int destColumn = dest.index + 1;
    const auto rows = static_cast<std::size_t>(putOff_->cells.rows);
    auto rowNumber = [](std::size_t i) { return Text(std::to_string(i + 1)); };
    auto languageName = [&doc](int column) {
        return column >= 1 && column <= static_cast<int>(doc.languages.size())
                   ? doc.languages[static_cast<std::size_t>(column - 1)]
                   : std::string();
    };
    {
        auto rebuild = doc.rebuild();
        std::vector<Entry>& entries = rebuild.entries();
        entries.resize(rows);
        for (std::size_t i = 0; i < rows; ++i) {
            Entry& e = entries[i];
            if (newBase) e.base = baseColumn == 0 ? rowNumber(i) : Text();
            e.dest = destColumn == 0 ? rowNumber(i) : Text();
            e.stored = e.dest;
            e.rule = LengthRule::AtMost;
        }
        for (const CArraysCells::Cell& c : putOff_->cells.cells) {
            Entry& e = entries[static_cast<std::size_t>(c.row - 1)];
            if (newBase && c.column == baseColumn) e.base = Text::borrowed(c.text);
            if (c.column == destColumn) e.stored = e.dest = Text::borrowed(c.text);
        }
        doc.keep(putOff_->bytes);
        doc.baseLanguage = base.index;
        doc.destLanguage = dest.index;
        doc.baseLanguageName = languageName(baseColumn);
        doc.destLanguageName = languageName(destColumn);
    }
}

std::string CArraysFormat::header(const TranslationDocument& doc, int column) const
{
    prepareWorkingTable();
    if (column == tcol::kBase) return working_.cell(doc.baseLanguage + 1, 0);
    if (column == tcol::kDest) return working_.cell(doc.destLanguage + 1, 0);
    return {};
}

SaveResult CArraysFormat::save(TranslationDocument& doc, const std::string& path, const SaveOptions& options)
{
    SaveResult r;
    prepareWorkingTable();
    keepEdits(doc);
    const TextGrid noTable;
    const CArraysSave saved =
        saveCArrays(working_, noTable, -1, doc.languages, template_, path, options.backup);
    r.written = saved.written;
    if (!saved) {
        reportUnwritten(r, DiagnosticCode::SaveFailed, path, saved.error, saved.backupFailed);
        return r;
    }
    r.ok = true;
    if (saved.written) {
        saved_ = working_;
        doc.markSaved();
        r.files.push_back(path);
    }
    return r;
}

}  // namespace tov
