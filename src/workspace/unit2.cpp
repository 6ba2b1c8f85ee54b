#include "workspace/unit2.h"

#include <QVBoxLayout>
#include <algorithm>

#include "formats/source_kind.h"
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
    // Names kept relative to the program folder ("./base/x.drc") are taken
    // against it: the program is seldom started from its own folder.
    f.baseFile = f.resolveName(settings.file("bfile"));
    f.destFile = f.resolveName(settings.file("dfile"));
    // The format of the stored kind reopens both files (a kind it does not
    // take the stored base name of reopens nothing).
    if (!f.ReopenFiles()) return;
    // The C string-array files end the restore with their opening.
    if (!f.format().traits().restoreGridPosition && fileExists(f.baseFile)) {
        f.TableRefresh();
        return;
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
    form1_.showWorkingTable();
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
