#include "formats/c_arrays/c_arrays_workflow.h"

#include "formats/c_arrays/c_arrays.h"
#include "support/atomic_file.h"
#include "support/convert.h"

namespace tov {

namespace {
constexpr int kNumberCol = 0, kBaseLenCol = 1, kBaseCol = 2, kDestLenCol = 3, kDestCol = 4;

void fillLengths(TextGrid& translation, int lengthCol, int textCol)
{
    for (int row = 1; row < translation.rowCount(); ++row)
        translation.setCell(lengthCol, row, lengthText(translation.cell(textCol, row).size()));
}
}  // namespace

CArraysOpen openCArrays(const std::string& path, TextGrid& work, TextGrid& translation, TempNamer& namer)
{
    CArraysOpen r;
    prepareCArraysTranslationTable(translation);
    prepareCArraysWorkTable(work);
    if (!fileExists(path)) {
        r.error = "no such file: " + path;
        return r;
    }
    r.basePath = path;
    r.templatePath = namer.next("txt");
    if (r.templatePath.empty()) {
        r.error = "no temporary file name could be made in " + tempFolder();
        return r;
    }
    const CArraysResult t = makeCTemplate(path, r.templatePath);
    if (!t.ok) {
        r.error = t.error;
        return r;
    }
    CArraysRead read = readCArrays(path, work);
    if (!read.ok) {
        r.error = read.error;
        return r;
    }
    r.names = std::move(read.names);
    r.ok = true;
    return r;
}

int cArraysPickerItem(std::string_view storedValue, int languageCount)
{
    const int item = nonNegativeNumber(storedValue);
    return item < languageCount ? item : -1;
}

void showCArraysRows(TextGrid& translation, const TextGrid& work)
{
    translation.setRowCount(work.rowCount());
    translation.copyColumn(kNumberCol, work, 0);
}

void showCBaseLanguage(TextGrid& translation, const TextGrid& work, int item)
{
    translation.copyColumn(kBaseCol, work, item + 1);
    fillLengths(translation, kBaseLenCol, kBaseCol);
}

bool showCDestLanguage(TextGrid& translation, TextGrid& work, int item, int languageCount, int& destColumn)
{
    bool edited = false;
    if (destColumn >= 1 && destColumn <= languageCount && destColumn != item + 1) {
        for (int row = 1; row < work.rowCount() && row < translation.rowCount() && !edited; ++row)
            edited = work.cell(destColumn, row) != translation.cell(kDestCol, row);
        work.copyColumn(destColumn, translation, kDestCol);
    }
    destColumn = item + 1;
    translation.copyColumn(kDestCol, work, destColumn);
    fillLengths(translation, kDestLenCol, kDestCol);
    return edited;
}

CArraysSave saveCArrays(TextGrid& work, const TextGrid& translation, int destItem,
                        const std::vector<std::string>& languageNames, const std::string& templatePath,
                        const std::string& target, const BackupChoice& backup)
{
    CArraysSave r;
    // With no destination language the column shows the row numbers: nothing to keep.
    std::vector<std::string> stored;
    if (destItem >= 0) {
        for (int row = 0; row < work.rowCount(); ++row) stored.push_back(work.cell(destItem + 1, row));
        work.copyColumn(destItem + 1, translation, kDestCol);
    }
    const CArraysWrite w = writeCArrays(templatePath, target, work, languageNames, backup);
    r.ok = w.ok;
    r.written = w.written;
    r.error = w.error;
    r.backupFailed = w.backupFailed;
    if (!w.backups.empty()) r.backupPath = w.backups.front();
    if (!r.ok && destItem >= 0) work.copyColumn(destItem + 1, stored);
    return r;
}

}  // namespace tov
