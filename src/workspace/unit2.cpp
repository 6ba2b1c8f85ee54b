#include "workspace/unit2.h"

#include <QVBoxLayout>
#include <algorithm>

#include "formats/firmware/firmware_sets.h"
#include "formats/resource_strings/drc_workflow.h"
#include "formats/source_kind.h"
#include "formats/translation_table.h"
#include "support/convert.h"
#include "support/files.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"

namespace tov {

TForm2::TForm2(TForm1& form1, QWidget* parent) : QWidget(parent, Qt::Window), form1_(form1)
{
    setObjectName("Form2");
    setWindowTitle(QStringLiteral("Form2"));
    move(43, 411);
    resize(1059, 649);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    SG1 = new StringGrid(this);
    SG1->setObjectName("SG1");
    SG1->setColCount(kWorkingColumnsAtStart);
    SG1->setRowCount(kWorkingRowsAtStart);
    SG1->setDefaultColWidth(100);
    SG1->setDefaultRowHeight(20);
    SG1->setSelectionMode(QAbstractItemView::ContiguousSelection);
    SG1->setEditingOption(false);
    SG1->sync();
    layout->addWidget(SG1);
    SG1->onSelectCell = [this](int c, int r) { return SG1SelectCell(c, r); };
    SG1->onDblClick = [this] { SG1DblClick(); };
    form1_.attachWorkingWindow(this);
    FormCreate();
}

TForm2::~TForm2()
{
    SG1->clearHooks();
    form1_.attachWorkingWindow(nullptr);
}

void TForm2::FormCreate()
{
    StartupRestore();
}

void TForm2::StartupRestore()
{
    TForm1& f = form1_;
    const std::uint8_t kind = f.sourceKind;
    if (kind == 0) return;  // nothing was ever opened
    Settings& settings = f.settings();
    const std::string storedBase = settings.file("bfile");
    // Names kept relative to the program folder ("./base/x.drc") are taken
    // against it: the program is seldom started from its own folder.
    f.baseFile = f.resolveName(storedBase);
    f.destFile = f.resolveName(settings.file("dfile"));
    // A name of another program's file is not reopened under these kinds.
    if (kind == kKonfix && storedBase.find("Konfix") == std::string::npos) return;
    if (kind == kVigrex && storedBase.find("Vigrex") == std::string::npos) return;

    const bool baseExists = fileExists(f.baseFile);
    if (isFirmwareKind(kind)) {
        if (baseExists) {
            // Kinds 3, 5 and 10 with the Orvanta openers (line-count check
            // included), 15 with the TELMO ones. The openers replace the
            // names they are given, hence the copies.
            const std::uint8_t family = firmwareRestoreFamily(kind).kind;
            f.OpenFirmwareBase(family, std::string(f.baseFile));
            if (fileExists(f.destFile)) f.OpenFirmwareDest(family, "", std::string(f.destFile));
        }
    } else if (kind == kMenuIni) {
        // A missing file gives empty pickers and an empty table.
        f.LoadMenuIni();
    } else if (kind == kCArrays) {
        if (baseExists) {
            // The opening selects the remembered languages ("c1", "c2"),
            // sizes the table and shows both languages; the stored "dfile"
            // gives way to the new template's name. (A copy: the opening
            // empties the base file name first.)
            f.OpenCArraysBase(std::string(f.baseFile));
            return;
        }
    } else if (baseExists) {
        // The resource-string kinds, and any kind this program does not know.
        std::string failed;
        const DrcRead read = reopenDrcFiles(f.baseFile, f.destFile, SG1->cells(), &failed);
        if (read.refused())
            f.prompts().message(&f, MsgIcon::Error, pathToQString(drcRefusalText(read, failed)), Ok);
        else if (!read)
            f.ShowMessage(MsgIcon::Error, kDrcReadErrorText, Ok);
    }

    f.TableRefresh();
    f.SG1->setFocus();
    // Where the user left the table: the top row and the current row when
    // they are rows of the reopened table (0 stands for the first row), in
    // the base text column.
    StringGrid& grid = *f.SG1;
    const auto storedRow = [&](const char* key) {
        return std::max(1, static_cast<int>(nonNegativeNumber(settings.file(key))));
    };
    const int current = storedRow("cc");
    if (current <= grid.rowCount() - 1) grid.setRow(current);
    grid.setCol(tcol::kBase);
    // The top row last: the window is not shown yet and its grid has no
    // size of its own, so bringing the current cell into sight would scroll
    // it away from where the user had it.
    const int top = storedRow("tr");
    if (top <= grid.rowCount() - 1) grid.setTopRow(top);
}

void TForm2::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TForm2::FormShow()
{
    // A header row needs a row below it; a single-row table stays unfixed.
    if (SG1->rowCount() >= 2) SG1->setFixedRows(1);
}

bool TForm2::SG1SelectCell(int, int row)
{
    setWindowTitle(QString::number(row));
    return true;
}

void TForm2::SG1DblClick()
{
    for (int c = 0; c < SG1->colCount(); ++c) SG1->autoFitColumn(c);
}

}  // namespace tov
