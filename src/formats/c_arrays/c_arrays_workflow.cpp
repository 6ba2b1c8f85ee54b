#include "formats/c_arrays/c_arrays_workflow.h"

#include "formats/c_arrays/c_arrays.h"
#include "support/atomic_file.h"
#include "support/convert.h"
#include "support/line_views.h"
#include "support/text_file.h"

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
    prepareCArraysTranslationTable(translation);
    std::string bytes;
    CArraysCells cells;
    CArraysOpen r = openCArraysCells(path, namer, bytes, cells);
    // The working table ends prepared, and empty where nothing was read.
    fillCArraysWorkTable(std::move(cells), work);
    return r;
}

CArraysOpen openCArraysCells(const std::string& path, TempNamer& namer, std::string& bytes, CArraysCells& cells)
{
    CArraysOpen r;
    cells = {};
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
    // Read once for the template and the texts.
    if (!readFileBytes(path, bytes)) {
        r.error = "cannot read " + path;
        return r;
    }
    const LineViews lines = lineViews(bytes);
    const CArraysResult t = writeCTemplate(lines, r.templatePath);
    if (!t.ok) {
        r.error = t.error;
        return r;
    }
    cells = readCArraysCells(lines);
    if (!cells.ok) {
        r.error = cells.error;
        return r;
    }
    r.names = cells.names;
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
