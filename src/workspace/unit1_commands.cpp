// The File menu of the main window for every kind: "Open base text" and its
// entries, "Open destination", "New destination" (Blank, Use file...),
// "Save destination", and the start-up restore of the last files. What is
// read and written, and where each dialog starts, is the format's business;
// these show the dialogs and messages, keep the file names and refresh the
// table.
#include <QDir>

#include "formats/firmware/firmware_sets.h"
#include "formats/source_kind.h"
#include "support/files.h"
#include "workspace/codepage.h"
#include "workspace/messages.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace tov {

namespace {

// The confirmation a save asks for while the destination holds texts only up
// to the row where its files stopped matching the base files.
std::string partialDestinationQuestion(int row)
{
    return "The destination files do not match the base files from row " + std::to_string(row) +
           " on: the destination texts after that row were not read and would be saved as"
           " blanks.\r\rSave destination anyway?";
}

}  // namespace

DialogContext TForm1::dialogContext() const
{
    return {programFolder(), baseFile, destFile};
}

std::optional<std::string> TForm1::askFile(DialogRole role)
{
    const auto start = format().dialog(role, dialogContext());
    if (!start) return std::nullopt;
    const bool save = role == DialogRole::Save || role == DialogRole::Blank;
    DialogState& dialog = save ? SaveDialog1 : OpenDialog1;
    dialog.apply(*start);
    const auto answer = save ? prompts().saveFile(this, dialog.request()) : prompts().openFile(this, dialog.request());
    if (!answer) return std::nullopt;
    // The next dialog starts from the name chosen.
    if (!save) OpenDialog1.fileName = *answer;
    return pathFromQString(*answer);
}

void TForm1::ShowDiagnostics(const Diagnostics& found)
{
    for (const Diagnostic& d : found) {
        // The save asked about it already.
        if (d.code == DiagnosticCode::BackupFailed) continue;
        prompts().message(this, MsgIcon::Error, messageText(d), Ok);
        if (d.code == DiagnosticCode::Structure) {
            // Not reopened at the next start: its texts were read only in part.
            settings().setFile("dfile", "");
        }
        if (d.fatal) {
            // The set does not fit its base: it is forgotten, so that the
            // next start does not reopen it, and the program ends at once
            // without the closing steps.
            destFile.clear();
            Panel3->setText(QString());
            settings().setFile("dfile", "");
            // No destructor runs after this: the temporary files go now.
            if (tempFolder_) tempFolder_->remove();
            prompts().terminate(0);
            return;
        }
    }
}

// ---------------------------------------------------------------------------
// Open base text

void TForm1::OpenBaseCommand(std::uint8_t kind, const std::string& fileName)
{
    const FormatTraits& traits = traitsOf(kind);
    const bool changed = kind != sourceKind;
    if ((changed || traits.promptBeforeEveryOpen) && !SaveDestPrompt()) return;
    Format& target = formatFor(kind);
    if ((changed && traits.clearAllOnKindChange) || traits.emptyBeforeOpen) {
        target.reset();
        startDocument(target);
        baseFile.clear();
        destFile.clear();
    } else if (changed && familyOf(kind) == familyOf(sourceKind)) {
        // The destination goes with the kind; the base rows stay until
        // another base is read. (Rows of another family stay as they are
        // until the new file is read and replaces them.)
        format().clearDestination(document_);
        documentReplaced();
        destFile.clear();
    }
    prevSourceKind = sourceKind;
    sourceKind = kind;
    if (traits.emptyBeforeOpen) ShowLanguages();
    // A cancelled or failed open goes back to the kind in force before, in
    // the families that keep their table until a file is read.
    if (!ReadBaseFile(fileName) && !traits.cancelKeepsKind) sourceKind = prevSourceKind;
    TableRefresh();
}

bool TForm1::ReadBaseFile(const std::string& fileName)
{
    Format& f = format();
    std::string path = resolveName(fileName);
    if (path.empty()) {
        const auto chosen = askFile(DialogRole::OpenBase);
        if (!chosen) return false;
        path = *chosen;
    } else {
        OpenDialog1.fileName = pathToQString(path);
    }
    const bool sameFamily = f.family() == documentFamily_;
    const bool keeps = sameFamily && f.openBaseKeepsDestination(document_);
    // Edits that the new rows would not keep are offered for saving first.
    if (sameFamily && !keeps && edited() && !SaveDestPrompt()) return false;
    const bool carried = keeps && edited();
    OpenOptions options;
    // The pickers choose the languages below.
    options.languagesChosenNext = f.traits().languagePickers;
    OpenResult opened;
    if (sameFamily) {
        opened = f.openBase(document_, path, options);
    } else {
        // A file of another family replaces the rows only once it was read:
        // a failed open leaves the table, and its file names, as they were.
        TranslationDocument fresh;
        f.clearDocument(fresh);
        opened = f.openBase(fresh, path, options);
        if (!opened.ok) {
            ShowDiagnostics(opened.diagnostics);
            return false;
        }
        document_.adopt(std::move(fresh));
        documentFamily_ = f.family();
    }
    // The rows may have changed: the history starts anew, edits kept with
    // the rows stay unsaved.
    documentReplaced();
    pendingEdits_ = carried;
    if (!opened.fileName.empty()) baseFile = opened.fileName;
    if (opened.destFile) destFile = *opened.destFile;
    ShowDiagnostics(opened.diagnostics);
    if (f.traits().languagePickers) ShowLanguages();
    showFilePanels();
    return opened.ok;
}

void TForm1::Konfix1Click() { OpenBaseCommand(kKonfix); }
void TForm1::Vigrex1Click() { OpenBaseCommand(kVigrex); }
void TForm1::Konfi101Click() { OpenBaseCommand(kKonfi10); }
void TForm1::Genaricdrc1Click() { OpenBaseCommand(kGenericDrc); }
void TForm1::Orvantafirmware1Click() { OpenBaseCommand(kOrvanta); }
void TForm1::QL5firmware1Click() { OpenBaseCommand(kQL5); }
void TForm1::QL10firmware1Click() { OpenBaseCommand(kQL10); }
void TForm1::TELMOfirmware1Click() { OpenBaseCommand(kTelmo); }
void TForm1::INIfile1Click() { OpenBaseCommand(kMenuIni); }
void TForm1::FileC1Click() { OpenBaseCommand(kCArrays); }

// ---------------------------------------------------------------------------
// Destinations

void TForm1::File1Click()
{
    Orvantafirmware1->setVisible(orvantaEntryVisible(programFolder()));
    const bool destinations = format().traits().destinationFiles;
    Newdestination1->menuAction()->setEnabled(destinations);
    OpenDest1->setEnabled(destinations);
}

void TForm1::OpenDestinationFile(DialogRole role, const std::string& fileName)
{
    std::string path = resolveName(fileName);
    if (path.empty()) {
        const auto chosen = askFile(role);
        if (!chosen) return;
        path = *chosen;
    } else {
        OpenDialog1.fileName = pathToQString(path);
    }
    const OpenResult opened = format().openDestination(document_, path);
    documentReplaced();
    if (!opened.fileName.empty()) destFile = opened.fileName;
    ShowDiagnostics(opened.diagnostics);
    Panel3->setText(nameOnly(destFile));
}

void TForm1::OpenDest1Click()
{
    if (!format().traits().destinationFiles || !SaveDestPrompt()) return;
    OpenDestinationFile(DialogRole::OpenDestination);
    TableRefresh();
}

void TForm1::Usefile1Click()
{
    // Nothing opened yet: there is nothing to take a destination for.
    if (!format().traits().destinationFiles || !format().dialog(DialogRole::UseFile, dialogContext())) return;
    if (!SaveDestPrompt()) return;
    OpenDestinationFile(DialogRole::UseFile);
    TableRefresh();
}

void TForm1::Blank1Click()
{
    if (!format().traits().destinationFiles || !SaveDestPrompt()) return;
    SaveBlankDestination();
    TableRefresh();
}

// ---------------------------------------------------------------------------
// Saving

SaveResult TForm1::SaveThroughFormat(const std::string& path, bool blank)
{
    Format& f = format();
    SaveOptions options;
    auto save = [&] { return blank ? f.saveBlank(document_, path, options) : f.save(document_, path, options); };
    SaveResult saved = save();
    // A file to be replaced could not be copied to its backup, so nothing
    // was written: the user may save without the copy.
    for (const Diagnostic& d : saved.diagnostics) {
        if (d.code != DiagnosticCode::BackupFailed) continue;
        if (SaveWithoutBackup(d.file, d.detail)) {
            options.backup = BackupChoice::none();
            saved = save();
        }
        break;
    }
    return saved;
}

bool TForm1::SaveDestination()
{
    Format& f = format();
    const int partial = document_.structureFailureRow;
    if (partial > 0 && ShowMessage(MsgIcon::Warning, partialDestinationQuestion(partial), Yes | No) != Yes)
        return false;
    // The dialog starts from the program folder for relative names.
    QDir::setCurrent(pathToQString(programFolder()));
    std::string path = baseFile;
    if (f.traits().saveAsksForFile) {
        const auto chosen = askFile(DialogRole::Save);
        if (!chosen) return false;
        path = *chosen;
    }
    const SaveResult saved = SaveThroughFormat(path, false);
    if (!saved.destFile.empty()) destFile = saved.destFile;
    if (saved.ok) {
        undoStack_.setClean();
        pendingEdits_ = false;
    }
    if (saved.languages) {
        settings().setFile(f.traits().baseLanguageKey, std::to_string(saved.languages->first));
        settings().setFile(f.traits().destLanguageKey, std::to_string(saved.languages->second));
    }
    ShowDiagnostics(saved.diagnostics);
    // The file is read again: what was saved is now the stored destination.
    if (saved.reopen) ReadBaseFile(baseFile);
    TableRefresh();
    return saved.ok;
}

bool TForm1::SaveBlankDestination()
{
    const int partial = document_.structureFailureRow;
    if (partial > 0 && ShowMessage(MsgIcon::Warning, partialDestinationQuestion(partial), Yes | No) != Yes)
        return false;
    const auto chosen = askFile(DialogRole::Blank);
    if (!chosen) return false;
    const SaveResult saved = SaveThroughFormat(*chosen, true);
    // The rows now hold what was written, or were emptied for it.
    documentReplaced();
    if (!saved.destFile.empty()) destFile = saved.destFile;
    ShowDiagnostics(saved.diagnostics);
    return saved.ok;
}

// ---------------------------------------------------------------------------
// The start-up restore

bool TForm1::ReopenFiles()
{
    Format& f = format();
    if (!f.reopens(settings().file("bfile"))) return false;
    const FormatTraits& traits = f.traits();
    if (!fileExists(baseFile) && !traits.restoreWithoutBase) return true;
    if (f.family() != documentFamily_) startDocument(f);
    const OpenResult opened = f.reopen(document_, baseFile, destFile);
    documentReplaced();
    if (!opened.fileName.empty()) baseFile = opened.fileName;
    if (opened.destFile) destFile = *opened.destFile;
    ShowDiagnostics(opened.diagnostics);
    if (traits.languagePickers) ShowLanguages();
    return true;
}

// ---------------------------------------------------------------------------
// The firmware procedures by their names

void TForm1::openFirmwareBase(std::uint8_t kind, const std::string& fileName)
{
    formatFor(kind);
    sourceKind = kind;
    ReadBaseFile(fileName);
}

void TForm1::openFirmwareDestination(std::uint8_t kind, const std::string& suffix, const std::string& fileName)
{
    formatFor(kind);
    sourceKind = kind;
    OpenDestinationFile(suffix.empty() ? DialogRole::UseFile : DialogRole::OpenDestination, fileName);
}

bool TForm1::saveFirmwareDestination(std::uint8_t kind)
{
    formatFor(kind);
    sourceKind = kind;
    return SaveDestination();
}

void TForm1::OpenSRC_Orvanta(const std::string& fileName) { openFirmwareBase(kOrvanta, fileName); }
void TForm1::OpenSRC_QL5(const std::string& fileName) { openFirmwareBase(kQL5, fileName); }
void TForm1::OpenSRC_QL10(const std::string& fileName) { openFirmwareBase(kQL10, fileName); }
void TForm1::OpenSRC_TELMO(const std::string& fileName) { openFirmwareBase(kTelmo, fileName); }
void TForm1::OpenDEST_Orvanta(const std::string& suffix, const std::string& fileName)
{
    openFirmwareDestination(kOrvanta, suffix, fileName);
}
void TForm1::OpenDEST_QL5(const std::string& suffix, const std::string& fileName)
{
    openFirmwareDestination(kQL5, suffix, fileName);
}
void TForm1::OpenDEST_QL10(const std::string& suffix, const std::string& fileName)
{
    openFirmwareDestination(kQL10, suffix, fileName);
}
void TForm1::OpenDEST_TELMO(const std::string& suffix, const std::string& fileName)
{
    openFirmwareDestination(kTelmo, suffix, fileName);
}
bool TForm1::SaveDEST_Orvanta() { return saveFirmwareDestination(kOrvanta); }
bool TForm1::SaveDEST_QL5() { return saveFirmwareDestination(kQL5); }
bool TForm1::SaveDEST_QL10() { return saveFirmwareDestination(kQL10); }
bool TForm1::SaveDEST_TELMO() { return saveFirmwareDestination(kTelmo); }

}  // namespace tov
