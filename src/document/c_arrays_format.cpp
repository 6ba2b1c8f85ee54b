#include "document/formats.h"
#include "formats/c_arrays/c_arrays.h"
#include "formats/c_arrays/c_arrays_workflow.h"

namespace tov {

CArraysFormat::CArraysFormat(TempNamer* names) : Format(kCArrays), names_(names ? names : &ownNames_)
{
    reset();
}

CArraysFormat::~CArraysFormat() = default;

const FormatTraits& CArraysFormat::familyTraits()
{
    static const FormatTraits traits = [] {
        FormatTraits t;
        t.rowLabel = RowLabel::Number;
        t.lengthHeaders = false;
        t.languagePickers = true;
        t.baseEditable = true;
        t.destinationFiles = false;
        t.emptyBeforeOpen = true;
        // Reopening the file drops every edit of every language.
        t.promptBeforeEveryOpen = true;
        t.cancelKeepsKind = true;
        t.restoreGridPosition = false;
        t.languageSwitchKeepsEdits = true;
        t.baseLanguageKey = "c1";
        t.destLanguageKey = "c2";
        return t;
    }();
    return traits;
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
    prepareCArraysWorkTable(working_);
    saved_ = working_;
    template_.clear();
}

OpenResult CArraysFormat::openBase(TranslationDocument& doc, const std::string& path, const OpenOptions&)
{
    OpenResult r;
    reset();
    clearDocument(doc);
    // Nothing is read, and nothing said, of a file that is not there.
    if (!fileExists(path)) return r;
    r.fileName = path;
    TextGrid unused;
    CArraysOpen opened = openCArrays(path, working_, unused, *names_);
    if (!opened) {
        // Without a template nothing of the file could be saved: nothing is
        // shown, and a save reports the failure.
        r.diagnostics.push_back({Severity::Error, DiagnosticCode::CannotOpen, path, 0, 0, 0, opened.error});
        r.destFile = std::string();
        return r;
    }
    template_ = opened.templatePath;
    saved_ = working_;
    doc.languages = std::move(opened.names);
    chooseLanguages(doc, {}, {});
    r.ok = true;
    r.fileName = path;
    r.destFile = template_;
    return r;
}

void CArraysFormat::keepEdits(const TranslationDocument& doc)
{
    if (doc.destLanguage < 0 || doc.destLanguage >= static_cast<int>(doc.languages.size())) return;
    for (int i = 0; i < doc.size(); ++i) working_.setCell(doc.destLanguage + 1, i + 1, doc.entry(i).dest);
}

void CArraysFormat::chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest)
{
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

std::string CArraysFormat::header(const TranslationDocument& doc, int column) const
{
    if (column == tcol::kBase) return working_.cell(doc.baseLanguage + 1, 0);
    if (column == tcol::kDest) return working_.cell(doc.destLanguage + 1, 0);
    return {};
}

SaveResult CArraysFormat::save(TranslationDocument& doc, const std::string& path, const SaveOptions& options)
{
    SaveResult r;
    keepEdits(doc);
    const TextGrid noTable;
    const CArraysSave saved =
        saveCArrays(working_, noTable, -1, doc.languages, template_, path, options.backupStamp);
    r.written = saved.written;
    if (!saved) {
        r.diagnostics.push_back({Severity::Error, DiagnosticCode::SaveFailed, path, 0, 0, 0, saved.error});
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
