#include "workspace/unit3.h"

#include <QShowEvent>
#include <QStyle>
#include <algorithm>
#include <string>

#include "document/find.h"
#include "formats/source_kind.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"

namespace tov {

namespace {

// The tag the grid carries while the search moves its current row: the
// destination editor then stays closed on the found cell.
constexpr int kSearchLockTag = 85;

}  // namespace

TForm3::TForm3(TForm1& form1) : QDialog(&form1), form1_(form1)
{
    setObjectName("Form3");
    setWindowTitle(QStringLiteral("Find"));
    // A small tool window that stays above the others and cannot be resized.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setModal(false);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(343, 93);

    Label1 = new QLabel(QStringLiteral("Find Text: "), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(16, 12, 50, 13);
    // The list carries no history: nothing typed is added to it.
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setCompleter(nullptr);
    ComboBox1->setGeometry(76, 8, 250, 21);
    RadioButton1 = new QRadioButton(QStringLiteral("Base text"), this);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setGeometry(4, 37, 113, 17);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Destination text"), this);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->setGeometry(129, 38, 113, 17);
    CheckBox1 = new QCheckBox(QStringLiteral("Case sensitive"), this);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setGeometry(254, 36, 97, 17);
    BitBtn1 = new QPushButton(QStringLiteral("Find"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(152, 64, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Close"), this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(256, 64, 75, 25);
    // Only "Find" is the default button; Escape (the dialog's reject) closes.
    BitBtn2->setAutoDefault(false);

    setTabOrder(ComboBox1, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, CheckBox1);
    setTabOrder(CheckBox1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    form1_.attachFindDialog(this);
}

TForm3::~TForm3()
{
    if (form1_.form3() == this) form1_.attachFindDialog(nullptr);
}

std::string TForm3::searchText() const
{
    return encodeText(ComboBox1->currentText());
}

void TForm3::showEvent(QShowEvent* event)
{
    if (!placed_) {
        // Centred on the main window the first time; where the user put it
        // afterwards.
        placed_ = true;
        const QRect main = form1_.frameGeometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
    FormShow();
}

void TForm3::FormShow()
{
    RadioButton1Click();
    ComboBox1->setFocus();
}

void TForm3::RadioButton1Click()
{
    // The search text shows like the texts it is compared with.
    const QFont f = RadioButton1->isChecked() ? form1_.baseFont.font() : form1_.destFont.font();
    if (ComboBox1->font() != f) ComboBox1->setFont(f);
}

void TForm3::BitBtn1Click()
{
    StringGrid& grid = *form1_.SG1;
    const int col = RadioButton1->isChecked() ? tcol::kBase : tcol::kDest;
    // The column changes the way a user move does, so that the grid's font
    // and editing follow it, even when nothing is found.
    grid.setCol(col);
    const std::string text = searchText();
    if (text.empty()) return;
    const TextSide side = col == tcol::kBase ? TextSide::Base : TextSide::Destination;
    const int found = findNextRow(form1_.document(), side, grid.row(), text, CheckBox1->isChecked());
    if (found == 0) return;
    // The focus is left where it is: a search from this dialog keeps it here.
    grid.setTag(kSearchLockTag);
    grid.setCurrentCell(col, found);
    grid.viewport()->update();
    grid.setTag(0);
}

void TForm3::BitBtn2Click()
{
    hide();
}

}  // namespace tov
