// The firmware commands of the main window: File > Open base text > the four
// firmware families, their base and destination openers and writers, the
// firmware branch of "Save destination", and the File menu's state.
//
// All reading, extracting, merging and writing is done by the firmware file
// set procedures (formats/firmware/firmware_sets.h); what is here shows the
// dialogs and messages, keeps the window's file names and refreshes the panels.
#include "formats/firmware/firmware_lines.h"
#include "formats/firmware/firmware_sets.h"
#include "formats/source_kind.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"

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

// ---------------------------------------------------------------------------
// File menu

void TForm1::File1Click()
{
    Orvantafirmware1->setVisible(orvantaEntryVisible(programFolder()));
    const bool destinations = sourceKind != kMenuIni;
    Newdestination1->menuAction()->setEnabled(destinations);
    OpenDest1->setEnabled(destinations);
}

// ---------------------------------------------------------------------------
// Open base text > firmware families

void TForm1::OpenFirmwareCommand(std::uint8_t kind, const std::string& fileName)
{
    if (!SaveDestPrompt()) return;
    if (prepareFirmwareKind(SG1->cells(), working().cells(), sourceKind, kind)) {
        destFile.clear();
        baseFile.clear();
        baseFileList.clear();
        firmwareStructureFailureRow = 0;
    }
    sourceKind = kind;
    prevSourceKind = kind;
    OpenFirmwareBase(kind, fileName);
    // The headers and panels follow the new kind even when the dialog was cancelled.
    TableRefresh();
}

void TForm1::Orvantafirmware1Click() { OpenFirmwareCommand(kOrvanta); }
void TForm1::QL5firmware1Click() { OpenFirmwareCommand(kQL5); }
void TForm1::QL10firmware1Click() { OpenFirmwareCommand(kQL10); }
void TForm1::TELMOfirmware1Click() { OpenFirmwareCommand(kTelmo); }

// ---------------------------------------------------------------------------
// Openers

std::optional<std::string> TForm1::chooseSetFile(const FirmwareDialog& dialog, const std::string& fileName)
{
    // With a name (a read-back, the start-up restore) no dialog is shown; the
    // open dialog keeps the name either way, as the next dialog starts from it.
    OpenDialog1.fileName.clear();
    if (!fileName.empty()) {
        const std::string chosen = resolveName(fileName);
        OpenDialog1.fileName = pathToQString(chosen);
        return chosen;
    }
    OpenDialog1.initialFolder = pathToQString(dialog.initialFolder);
    OpenDialog1.fileName = pathToQString(dialog.fileName);
    const auto answer = prompts().openFile(this, OpenDialog1.request());
    if (!answer) return std::nullopt;
    OpenDialog1.fileName = *answer;
    return pathFromQString(*answer);
}

void TForm1::OpenFirmwareBase(std::uint8_t kind, const std::string& fileName)
{
    const FirmwareFamily* family = firmwareFamily(kind);
    if (!family) return;
    const auto picked = chooseSetFile(firmwareBaseDialog(*family, programFolder()), fileName);
    if (!picked) return;
    const std::string& chosen = *picked;

    const FirmwareBaseOpen opened = openFirmwareBase(SG1->cells(), working().cells(), chosen);
    if (!opened.loaded()) {
        ShowMessage(MsgIcon::Error, opened.refusalMessage(), Ok);
        return;
    }
    for (const auto& path : opened.readErrors) ShowMessage(MsgIcon::Error, ReadErrorMessage(path), Ok);
    baseFileList = opened.baseFiles;
    baseFile = opened.baseFileName;
    Panel4->setText(nameOnly(baseFile));
}

void TForm1::OpenFirmwareDest(std::uint8_t kind, const std::string& suffix, const std::string& fileName)
{
    const FirmwareFamily* family = firmwareFamily(kind);
    if (!family) return;
    const auto picked = chooseSetFile(firmwareDestinationDialog(*family, programFolder(), suffix), fileName);
    if (!picked) return;
    const std::string& chosen = *picked;

    const FirmwareDestinationOpen opened =
        openFirmwareDestination(SG1->cells(), working().cells(), *family, baseFileList, chosen);
    for (const auto& path : opened.readErrors) ShowMessage(MsgIcon::Error, ReadErrorMessage(path), Ok);

    switch (opened.status) {
    case FirmwareDestinationOpen::Status::LineCountFailure:
        // The set does not fit its base: forget it so that the next start
        // does not reopen it, and end at once without the closing steps.
        ShowMessage(MsgIcon::Error, opened.lineCount->message(), Ok);
        destFile.clear();
        Panel3->setText(QString());
        settings().setFile("dfile", "");
        prompts().terminate(0);
        return;
    case FirmwareDestinationOpen::Status::TooManyLines:
        ShowMessage(MsgIcon::Error, TooManyLinesMessage(), Ok);
        return;
    case FirmwareDestinationOpen::Status::Loaded:
        break;
    }

    if (opened.structureFailure) {
        // Where the sets part: the destination file and line, and the base text's place.
        ShowMessage(MsgIcon::Error, StructureFailureMessage() + "\r\r" + opened.structureFailure->located(), Ok);
        destFile.clear();
        settings().setFile("dfile", "");
    }
    // Remembered so that a save of the texts read only up to that row asks first.
    firmwareStructureFailureRow = opened.structureFailureRow;
    destFile = opened.destFileName;
    Panel3->setText(nameOnly(destFile));
}

void TForm1::OpenSRC_Orvanta(const std::string& fileName) { OpenFirmwareBase(kOrvanta, fileName); }
void TForm1::OpenSRC_QL5(const std::string& fileName) { OpenFirmwareBase(kQL5, fileName); }
void TForm1::OpenSRC_QL10(const std::string& fileName) { OpenFirmwareBase(kQL10, fileName); }
void TForm1::OpenSRC_TELMO(const std::string& fileName) { OpenFirmwareBase(kTelmo, fileName); }

void TForm1::OpenDEST_Orvanta(const std::string& suffix, const std::string& fileName)
{
    OpenFirmwareDest(kOrvanta, suffix, fileName);
}
void TForm1::OpenDEST_QL5(const std::string& suffix, const std::string& fileName)
{
    OpenFirmwareDest(kQL5, suffix, fileName);
}
void TForm1::OpenDEST_QL10(const std::string& suffix, const std::string& fileName)
{
    OpenFirmwareDest(kQL10, suffix, fileName);
}
void TForm1::OpenDEST_TELMO(const std::string& suffix, const std::string& fileName)
{
    OpenFirmwareDest(kTelmo, suffix, fileName);
}

// ---------------------------------------------------------------------------
// Writers

bool TForm1::SaveFirmwareDest(std::uint8_t kind)
{
    const FirmwareFamily* family = firmwareFamily(kind);
    if (!family) return false;
    if (firmwareStructureFailureRow > 0 &&
        ShowMessage(MsgIcon::Warning, partialDestinationQuestion(firmwareStructureFailureRow), Yes | No) != Yes)
        return false;

    // Names kept relative to the program folder are taken against it.
    const FirmwareDialog d = firmwareSaveDialog(*family, programFolder(), resolveName(destFile), programFolder());
    SaveDialog1.defaultExtension.clear();
    SaveDialog1.filter = QString::fromStdString(d.filter);
    SaveDialog1.initialFolder = pathToQString(d.initialFolder);
    SaveDialog1.fileName = pathToQString(d.fileName);
    const auto answer = prompts().saveFile(this, SaveDialog1.request());
    if (!answer) return false;

    const std::string chosen = pathFromQString(*answer);
    FirmwareSave saved =
        saveFirmwareDestination(SG1->cells(), working().cells(), *family, chosen, BackupChoice::dated());
    if (!saved.unplaced.empty()) {
        // The line of the destination in use that cannot take the text.
        const FirmwareUnplacedText& u = saved.unplaced.front();
        const std::string name =
            u.file < baseFileList.size() ? firmwareSetFile(resolveName(destFile), baseFileList[u.file]) : destFile;
        ShowMessage(MsgIcon::Error, u.message(name), Ok);
        return false;
    }
    if (saved.backupFailed && SaveWithoutBackup(saved.failures.front().path, saved.failures.front().error))
        saved = saveFirmwareDestination(SG1->cells(), working().cells(), *family, chosen, BackupChoice::none());
    // A set is saved all or nothing: the file that stopped it is named.
    if (!saved.ok() && !saved.backupFailed)
        ShowMessage(MsgIcon::Error, "Error saving file \"" + saved.failures.front().path + "\".", Ok);
    // A set that was not written completely is not recorded: the next start
    // would otherwise reopen files that may not exist. Without a base set
    // there is nothing to write and nothing to read back.
    if (!saved.ok() || saved.files.empty()) return false;
    destFile = saved.destFileName;
    return true;
}

bool TForm1::SaveDEST_Orvanta() { return SaveFirmwareDest(kOrvanta); }
bool TForm1::SaveDEST_QL5() { return SaveFirmwareDest(kQL5); }
bool TForm1::SaveDEST_QL10() { return SaveFirmwareDest(kQL10); }
bool TForm1::SaveDEST_TELMO() { return SaveFirmwareDest(kTelmo); }

bool TForm1::SaveFirmwareDestination()
{
    if (!SaveFirmwareDest(sourceKind)) return false;
    // Every file was written: read the set back so that it counts as stored.
    OpenFirmwareDest(sourceKind, "", destFile);
    return true;
}

}  // namespace tov
