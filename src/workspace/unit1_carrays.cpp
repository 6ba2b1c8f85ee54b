// The commands of the C string-array files (source kind 17): one C source
// holds every language; the two pickers choose the base and the destination
// language, and a save writes all languages back from the template made when
// the file was opened.
#include <QDir>
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>

#include "formats/c_arrays/c_arrays.h"
#include "formats/c_arrays/c_arrays_workflow.h"
#include "formats/source_kind.h"
#include "support/files.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace tov {

namespace {

// Replaces both pickers' lists without running their change handlers and
// leaves them without a selection. A name that more than one language bears
// gets the number the file's comments give the language ("Deutsch // 2"):
// the change handlers follow the picker's text, and the user could not tell
// such languages apart either.
void fillPickers(QComboBox* base, QComboBox* dest, const std::vector<std::string>& names)
{
    QStringList items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        QString item = decodeBytes(names[i]);
        if (std::count(names.begin(), names.end(), names[i]) > 1)
            item += (item.isEmpty() ? QStringLiteral("// ") : QStringLiteral(" // ")) + QString::number(i);
        items << item;
    }
    for (QComboBox* box : {base, dest}) {
        const QSignalBlocker blocker(box);
        // Only the file's languages can be chosen (the menu INI mode lets
        // the user type a new section name).
        box->setEditable(false);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(-1);
    }
}

// Selects the item a setting remembers, when it names one of the languages.
void selectRemembered(QComboBox* box, const std::string& storedValue)
{
    const int item = cArraysPickerItem(storedValue, box->count());
    if (item < 0) return;
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(item);
}

}  // namespace

void TForm1::FileC1Click() { OpenCArraysCommand(); }

void TForm1::OpenCArraysCommand(const std::string& fileName)
{
    if (sourceKind != kCArrays && !SaveDestPrompt()) return;
    prevSourceKind = sourceKind;
    sourceKind = kCArrays;
    destFile.clear();
    OpenCArraysBase(fileName);
}

void TForm1::OpenCArraysBase(const std::string& fileName)
{
    TextGrid& work = working().cells();
    TextGrid& table = SG1->cells();
    baseFile.clear();
    prepareCArraysWorkTable(work);
    prepareCArraysTranslationTable(table);
    fillPickers(ComboBox1, ComboBox2, {});
    // The columns of a file opened earlier are not this file's.
    cDestColumn = 0;
    cLanguagesEdited = false;

    std::string path = fileName;
    if (!fileExists(path)) {
        path.clear();
        OpenDialog1.fileName = pathToQString(programFolder() + "*.c");
        if (const auto chosen = prompts().openFile(this, OpenDialog1.request())) path = pathFromQString(*chosen);
    }
    if (fileExists(path)) {
        CArraysOpen opened = openCArrays(path, work, table, tempNames);
        baseFile = path;
        if (opened) {
            destFile = opened.templatePath;
            fillPickers(ComboBox1, ComboBox2, opened.names);
        } else {
            // Without a template nothing of the file could be saved: the
            // table stays empty and a save reports the failure.
            destFile.clear();
            prompts().message(this, MsgIcon::Error,
                              QStringLiteral("The file \"%1\" cannot be opened:\n%2")
                                  .arg(pathToQString(path), pathToQString(opened.error)),
                              Ok);
        }
    }

    selectRemembered(ComboBox1, settings().file("c1"));
    selectRemembered(ComboBox2, settings().file("c2"));
    showCArraysRows(table, work);
    CArraysBaseChanged();
    CArraysDestChanged();
    TableRefresh();
}

void TForm1::CArraysBaseChanged()
{
    showCBaseLanguage(SG1->cells(), working().cells(), ComboBox1->currentIndex());
}

void TForm1::CArraysDestChanged()
{
    if (showCDestLanguage(SG1->cells(), working().cells(), ComboBox2->currentIndex(), ComboBox2->count(),
                          cDestColumn))
        cLanguagesEdited = true;
}

bool TForm1::SaveCArrays()
{
    TextGrid& work = working().cells();
    QDir::setCurrent(pathToQString(programFolder()));
    SaveDialog1.defaultExtension = QStringLiteral("c");
    SaveDialog1.filter = QStringLiteral("C|*.c");
    SaveDialog1.initialFolder = pathToQString(baseFile);
    SaveDialog1.fileName = pathToQString(baseFile);
    SaveDialog1.promptCreate = true;
    const auto chosen = prompts().saveFile(this, SaveDialog1.request());
    if (!chosen) return false;
    const std::string target = pathFromQString(*chosen);

    // The edited texts go into the working table to be written (with no
    // destination language the column shows the row numbers: nothing to
    // keep); a failed write takes them out again, so that they stay edits.
    const int item = ComboBox2->currentIndex();
    std::vector<std::string> stored;
    if (item >= 0) {
        for (int r = 0; r < work.rowCount(); ++r) stored.push_back(work.cell(item + 1, r));
        work.copyColumn(item + 1, SG1->cells(), tcol::kDest);
    }
    // The pickers' list: without languages (no file opened) nothing is written.
    std::vector<std::string> names;
    for (int i = 0; i < ComboBox2->count(); ++i) names.push_back(encodeText(ComboBox2->itemText(i)));
    CArraysWrite written = writeCArrays(destFile, target, work, names, BackupChoice::dated());
    if (written.backupFailed && SaveWithoutBackup(target, written.error))
        written = writeCArrays(destFile, target, work, names, BackupChoice::none());
    if (written.ok) {
        cLanguagesEdited = false;
        return true;
    }
    if (item >= 0) work.copyColumn(item + 1, stored);
    // The name is the file system's, not a Windows-1250 text.
    if (!written.backupFailed)
        prompts().message(this, MsgIcon::Error, pathToQString(cArraysSaveErrorText(target)), Ok);
    return false;
}

}  // namespace tov
