// The menu INI commands: one INI file holds a section per language; the base
// picker (ComboBox1) chooses the language shown as the base text, the
// destination picker (ComboBox2) the one that is edited and saved back into
// the same file.
#include <QSignalBlocker>
#include <algorithm>

#include "formats/menu_ini/menu_ini.h"
#include "formats/source_kind.h"
#include "support/convert.h"
#include "support/profile.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace tov {

namespace {

// A missing or unreadable file reads as a file without sections.
IniDocument readBaseFile(const TForm1& f)
{
    IniDocument doc;
    IniDocument::load(f.baseFile, doc);
    return doc;
}

// The section a picker names: its text, typed or chosen.
std::string pickerName(const QComboBox* box)
{
    return encodeText(box->currentText());
}

// Replaces a picker's list without running its change handler. A name can be
// typed into the picker as well as chosen from the list; what is typed stays
// as typed (no completion, and Enter does not add it to the list, which
// always shows the file's sections).
void fillPicker(QComboBox* box, const std::vector<std::string>& names)
{
    const QSignalBlocker block(box);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->clear();
    for (const std::string& name : names) box->addItem(decodeBytes(name));
}

// Selects entry `index`; a number beyond the list selects nothing.
void selectEntry(QComboBox* box, int index)
{
    const QSignalBlocker block(box);
    box->setCurrentIndex(index < box->count() ? index : -1);
}

std::vector<std::string> pickerList(const QComboBox* box)
{
    std::vector<std::string> out;
    out.reserve(static_cast<size_t>(box->count()));
    for (int i = 0; i < box->count(); ++i) out.push_back(encodeText(box->itemText(i)));
    return out;
}

// The rows of the base language named by the base picker.
void showBaseLanguage(TForm1& f, const IniDocument& doc)
{
    menu_ini::showBaseRows(f.SG1->cells(), f.working().cells(), menu_ini::baseRows(doc, pickerName(f.ComboBox1)));
}

// The destination texts of the language named by the destination picker.
void showDestLanguage(TForm1& f, const IniDocument& doc)
{
    menu_ini::showDestTexts(f.SG1->cells(), f.working().cells(), doc, pickerName(f.ComboBox2));
}

}  // namespace

void TForm1::INIfile1Click() { OpenMenuIniCommand(); }

void TForm1::OpenMenuIniCommand(const std::string& fileName)
{
    if (sourceKind != kMenuIni) {
        if (!SaveDestPrompt()) return;
        working().cells().clearColumn(2);
        SG1->cells().clearColumn(tcol::kDest);
        SG1->cells().clearColumn(tcol::kDestLen);
        destFile.clear();
    }
    prevSourceKind = sourceKind;
    sourceKind = kMenuIni;

    std::optional<QString> chosen = pathToQString(fileName);
    if (fileName.empty()) {
        // The filter stays set for later uses of the dialog.
        OpenDialog1.filter = QStringLiteral("ini|*.ini");
        OpenDialog1.initialFolder = pathToQString(programFolder());
        OpenDialog1.fileName = QStringLiteral("menu.ini");
        chosen = prompts().openFile(this, OpenDialog1.request());
    }
    if (!chosen) {
        sourceKind = prevSourceKind;
        return;
    }
    baseFile = pathFromQString(*chosen);
    LoadMenuIni();
}

void TForm1::LoadMenuIni()
{
    const IniDocument doc = readBaseFile(*this);
    const std::vector<std::string> languages = menu_ini::languageSections(doc);
    fillPicker(ComboBox1, languages);
    fillPicker(ComboBox2, languages);
    selectEntry(ComboBox1, 1);
    selectEntry(ComboBox2, 2);
    // A missing or unreadable choice reads as 0, the first language.
    const int l1 = nonNegativeNumber(settings().file("l1"));
    if (l1 < ComboBox1->count()) selectEntry(ComboBox1, l1);
    const int l2 = nonNegativeNumber(settings().file("l2"));
    if (l2 < ComboBox2->count()) selectEntry(ComboBox2, l2);
    showBaseLanguage(*this, doc);
    showDestLanguage(*this, doc);
}

void TForm1::MenuIniBaseChanged()
{
    const IniDocument doc = readBaseFile(*this);
    showBaseLanguage(*this, doc);
    showDestLanguage(*this, doc);
}

void TForm1::MenuIniDestChanged()
{
    showDestLanguage(*this, readBaseFile(*this));
}

bool TForm1::SaveMenuIni()
{
    const std::string baseName = pickerName(ComboBox1);
    const std::string destName = pickerName(ComboBox2);

    const TextGrid& t = SG1->cells();
    std::vector<menu_ini::DestEntry> entries;
    entries.reserve(static_cast<size_t>(std::max(0, t.rowCount() - 1)));
    for (int r = 1; r < t.rowCount(); ++r) entries.emplace_back(t.cell(tcol::kNumber, r), t.cell(tcol::kDest, r));
    std::vector<std::string> languages;
    WriteResult result = menu_ini::saveDestination(baseFile, destName, entries, &languages, BackupChoice::dated());
    if (result.backupFailed && SaveWithoutBackup(baseFile, result.error))
        result = menu_ini::saveDestination(baseFile, destName, entries, &languages, BackupChoice::none());

    // The languages chosen are remembered by their entries in the file as
    // saved, so that a language typed in as a new section stays chosen.
    if (!result) languages = pickerList(ComboBox1);
    settings().setFile("l1", std::to_string(menu_ini::languageIndex(languages, baseName)));
    settings().setFile("l2", std::to_string(menu_ini::languageIndex(languages, destName)));
    if (!result) {
        if (!result.backupFailed) {
            prompts().message(this, MsgIcon::Error, QStringLiteral("Unable to write to ") + pathToQString(baseFile),
                              Ok);
        }
        return false;
    }
    LoadMenuIni();
    return true;
}

}  // namespace tov
