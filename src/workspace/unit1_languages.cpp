// The two language pickers of the files that hold every language: a menu
// INI file (one section per language) and a C string-array file. ComboBox1
// chooses the language shown as the base text, ComboBox2 the one that is
// edited and saved.
#include <QSignalBlocker>
#include <QStringList>
#include <algorithm>

#include "support/convert.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"

namespace tov {

namespace {

// Selects a language without running the change handler: its item, or a
// typed name that is no item.
void selectLanguage(QComboBox* box, int index, const std::string& name)
{
    const QSignalBlocker block(box);
    box->setCurrentIndex(index < box->count() ? index : -1);
    if (box->isEditable() && !name.empty() && encodeText(box->currentText()) != name)
        box->setEditText(decodeBytes(name));
}

}  // namespace

LanguageChoice TForm1::pickerChoice(const QComboBox* box) const
{
    return {box->currentIndex(), encodeText(box->currentText())};
}

void TForm1::ShowLanguages()
{
    Format& f = format();
    const FormatTraits& traits = f.traits();
    const std::vector<std::string>& names = document_.languages;
    // A language name can be typed where it may be a new one; what is typed
    // stays as typed (no completion, and Enter adds nothing to the list,
    // which always shows the file's languages). Where only the file's
    // languages can be chosen, a name that more than one language bears gets
    // the number the file gives the language ("Deutsch // 2"), so that the
    // user can tell them apart.
    QStringList items;
    for (std::size_t i = 0; i < names.size(); ++i) {
        QString item = decodeBytes(names[i]);
        if (!traits.typedLanguage && std::count(names.begin(), names.end(), names[i]) > 1)
            item += (item.isEmpty() ? QStringLiteral("// ") : QStringLiteral(" // ")) + QString::number(i);
        items << item;
    }
    fillingPickers_ = true;
    for (QComboBox* box : {ComboBox1, ComboBox2}) {
        const QSignalBlocker block(box);
        box->setEditable(traits.typedLanguage);
        if (traits.typedLanguage) {
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setCompleter(nullptr);
        }
        box->clear();
        box->addItems(items);
    }
    // The languages the format starts with, unless the settings remember
    // others that the file has.
    const int count = static_cast<int>(names.size());
    auto remembered = [&](const char* key, int start) {
        if (!key) return start;
        const int stored = nonNegativeNumber(settings().file(key));
        return stored < count ? stored : start;
    };
    const int base = remembered(traits.baseLanguageKey, document_.baseLanguage);
    int dest = remembered(traits.destLanguageKey, document_.destLanguage);
    if (traits.destLanguageKey && settings().file(traits.destLanguageKey).empty() && dest == base && count > 1) {
        // No destination chosen before: it starts at the first language that
        // is not the base, so that the rows do not look translated.
        dest = base == 0 ? 1 : 0;
    }
    selectLanguage(ComboBox1, base, {});
    selectLanguage(ComboBox2, dest, {});
    fillingPickers_ = false;
    f.chooseLanguages(document_, pickerChoice(ComboBox1), pickerChoice(ComboBox2));
}

void TForm1::LanguagesChanged()
{
    Format& f = format();
    const FormatTraits& traits = f.traits();
    if (fillingPickers_ || !traits.languagePickers) return;
    const LanguageChoice base = pickerChoice(ComboBox1);
    const LanguageChoice dest = pickerChoice(ComboBox2);
    if (edited() && !traits.languageSwitchKeepsEdits) {
        // The edits belong to the languages shown until now, and reading
        // others would drop them.
        selectLanguage(ComboBox1, document_.baseLanguage, document_.baseLanguageName);
        selectLanguage(ComboBox2, document_.destLanguage, document_.destLanguageName);
        if (!SaveDestPrompt()) return;
        selectLanguage(ComboBox1, base.index, base.name);
        selectLanguage(ComboBox2, dest.index, dest.name);
    }
    const bool carried = traits.languageSwitchKeepsEdits && edited();
    f.chooseLanguages(document_, base, dest);
    documentReplaced();
    pendingEdits_ = carried;
    applyFilter();
    showFilePanels();
}

}  // namespace tov
