// The resource-string commands of the File menu: the four "Open base text"
// entries for the ".drc" kinds, "Open destination", "New destination" (Blank,
// Use file...) and the resource-string part of "Save destination". What they
// read and write is done by the format layer; these show the dialogs and
// messages and refresh the table.
#include <QDir>

#include "formats/resource_strings/drc_workflow.h"
#include "formats/source_kind.h"
#include "support/files.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"

namespace tov {

namespace {

// A failed read: the generic message, or why the file was refused (the
// name as the file system spells it).
void showReadError(TForm1& form, const DrcRead& read, const std::string& name)
{
    if (read.refused())
        form.prompts().message(&form, MsgIcon::Error, pathToQString(drcRefusalText(read, name)), Ok);
    else
        form.ShowMessage(MsgIcon::Error, kDrcReadErrorText, Ok);
}

// Sets the open dialog up as the commands do: the folder and the offered
// name holding a mask. Filter and extension stay as they are, so a filter set
// by another command stays for the rest of the run.
void prepareOpenDialog(DialogState& dialog, const DrcDialogStart& start)
{
    dialog.initialFolder = pathToQString(start.folder);
    dialog.fileName = pathToQString(start.fileName);
}

// The save dialog of the resource-string commands: extension "drc", no filter.
void prepareSaveDialog(DialogState& dialog)
{
    dialog.defaultExtension = QStringLiteral("drc");
    dialog.filter.clear();
    dialog.fileName.clear();
}

// "Open destination" and "Use file...": the chosen file becomes the
// destination and its texts are read by identifier into the stored column.
void chooseDrcDestination(TForm1& form, const DrcDialogStart& start)
{
    prepareOpenDialog(form.OpenDialog1, start);
    if (const auto chosen = form.prompts().openFile(&form, form.OpenDialog1.request())) {
        form.destFile = pathFromQString(*chosen);
        const DrcRead read = openDrcDestination(form.destFile, form.working().cells());
        if (!read) showReadError(form, read, form.destFile);
    }
    form.TableRefresh();
}

// The save error names the file as the file system spells it (the rest of
// the text is plain ASCII, so decoding it as a file name is exact).
void showSaveError(TForm1& form, const std::string& name)
{
    form.prompts().message(&form, MsgIcon::Error, pathToQString(drcSaveErrorText(name)), Ok);
}

}  // namespace

// ---------------------------------------------------------------------------
// Open base text

void TForm1::Konfix1Click() { OpenDrcCommand(kKonfix); }
void TForm1::Vigrex1Click() { OpenDrcCommand(kVigrex); }
void TForm1::Konfi101Click() { OpenDrcCommand(kKonfi10); }
void TForm1::Genaricdrc1Click() { OpenDrcCommand(kGenericDrc); }

// The common start of the four "Open base text" entries: switching to another
// kind asks about unsaved destination texts and then drops them with the
// destination name.
void TForm1::OpenDrcCommand(std::uint8_t kind, const std::string& fileName)
{
    if (sourceKind != kind) {
        if (!SaveDestPrompt()) return;
        working().cells().clearColumn(kDrcDestColumn);
        SG1->cells().clearColumn(tcol::kDest);
        SG1->cells().clearColumn(tcol::kDestLen);
        destFile.clear();
    }
    prevSourceKind = sourceKind;
    sourceKind = kind;
    OpenDrcBase(fileName);
}

void TForm1::OpenDrcBase(const std::string& fileName)
{
    std::optional<QString> chosen = pathToQString(fileName);
    if (fileName.empty()) {
        prepareOpenDialog(OpenDialog1, drcOpenBaseStart(sourceKind, programFolder()));
        chosen = prompts().openFile(this, OpenDialog1.request());
    }
    if (chosen) {
        const std::string chosenName = pathFromQString(*chosen);
        // Over the existing rows when row 1 has a destination text, else anew.
        const DrcBaseOpen opened = openDrcBase(chosenName, working().cells());
        // A file refused as too large changed nothing: the base stays the one in use.
        if (!opened.read.refused()) baseFile = chosenName;
        if (opened.rebuilt)
            for (int c = tcol::kNumber; c <= tcol::kComment; ++c) SG1->cells().clearColumn(c);
        if (opened.ok)
            prevSourceKind = sourceKind;  // the new kind is confirmed
        else
            showReadError(*this, opened.read, chosenName);
    }
    // A cancelled or failed open goes back to the kind in force before.
    if (prevSourceKind != sourceKind) sourceKind = prevSourceKind;
    TableRefresh();
}

// ---------------------------------------------------------------------------
// Destinations

void TForm1::OpenDest1Click()
{
    if (!SaveDestPrompt()) return;
    if (isFirmwareKind(sourceKind)) {
        OpenFirmwareDest(sourceKind, "/OUT");
        return;
    }
    chooseDrcDestination(*this, drcOpenDestinationStart(sourceKind, programFolder()));
}

void TForm1::Usefile1Click()
{
    if (!SaveDestPrompt()) return;
    if (isFirmwareKind(sourceKind)) {
        OpenFirmwareDest(sourceKind, "");
        return;
    }
    // Nothing opened yet: there is nothing to take a destination for.
    if (const auto start = drcUseFileStart(sourceKind, programFolder())) chooseDrcDestination(*this, *start);
}

void TForm1::Blank1Click()
{
    if (!SaveDestPrompt()) return;
    if (isFirmwareKind(sourceKind)) {
        SG1->cells().clearColumn(tcol::kComment);
        SaveFirmwareDest(sourceKind);
        return;
    }
    const DrcDialogStart start = drcBlankStart(programFolder());
    prepareSaveDialog(SaveDialog1);
    SaveDialog1.initialFolder = pathToQString(start.folder);
    SaveDialog1.fileName = pathToQString(start.fileName);
    if (const auto chosen = prompts().saveFile(this, SaveDialog1.request())) {
        const std::string name = pathFromQString(*chosen);
        TextGrid& work = working().cells();
        WriteResult written = writeBlankDrcDestination(name, work, BackupChoice::dated());
        if (written.backupFailed && SaveWithoutBackup(name, written.error))
            written = writeBlankDrcDestination(name, work, BackupChoice::none());
        if (!written && !written.backupFailed) showSaveError(*this, name);
        destFile = name;
    }
    TableRefresh();
}

// ---------------------------------------------------------------------------
// Save destination

bool TForm1::SaveDrcDestination()
{
    prepareSaveDialog(SaveDialog1);
    QDir::setCurrent(pathToQString(programFolder()));
    // The dialog opens on the current destination file (relative names are
    // taken against the program folder); with none, in the program folder.
    const QString current = pathToQString(absolutePath(destFile, programFolder()));
    SaveDialog1.initialFolder = current;
    SaveDialog1.fileName = current;
    const auto chosen = prompts().saveFile(this, SaveDialog1.request());
    if (!chosen) return false;

    // The texts as edited become the stored destination once they are
    // written; a failed write keeps them as edits, for the save question.
    TextGrid& work = working().cells();
    std::vector<std::string> stored;
    stored.reserve(static_cast<size_t>(work.rowCount()));
    for (int r = 0; r < work.rowCount(); ++r) stored.push_back(work.cell(kDrcDestColumn, r));
    work.copyColumn(kDrcDestColumn, SG1->cells(), tcol::kDest);
    const std::string name = pathFromQString(*chosen);
    WriteResult written = saveDrcDestination(name, work, BackupChoice::dated());
    if (written.backupFailed && SaveWithoutBackup(name, written.error))
        written = saveDrcDestination(name, work, BackupChoice::none());
    if (!written) {
        work.copyColumn(kDrcDestColumn, stored);
        if (!written.backupFailed) showSaveError(*this, name);
        return false;
    }
    destFile = name;
    TableRefresh();
    return true;
}

}  // namespace tov
