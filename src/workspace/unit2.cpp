#include "workspace/unit2.h"

#include <QVBoxLayout>

#include "formats/translation_table.h"
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
