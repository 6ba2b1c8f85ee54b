#include "workspace/unit3.h"

#include <QScreen>
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

// A text box with a drop-down list that carries no history: nothing typed
// is added to it.
QComboBox* textList(QWidget* parent, const char* name, int x, int y)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    box->setGeometry(x, y, 250, 21);
    return box;
}

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

    Label1 = new QLabel(QStringLiteral("Find Text: "), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(16, 12, 50, 13);
    ComboBox1 = textList(this, "ComboBox1", 76, 8);
    RadioButton1 = new QRadioButton(QStringLiteral("Base text"), this);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setGeometry(4, 37, 113, 17);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Destination text"), this);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->setGeometry(129, 38, 113, 17);
    CheckBox1 = new QCheckBox(QStringLiteral("Case sensitive"), this);
    CheckBox1->setObjectName("CheckBox1");
    // As wide as its caption needs at the dialog's font; the dialog widens
    // with it, so that nothing is cut off.
    CheckBox1->setGeometry(254, 36, std::max(97, CheckBox1->sizeHint().width()), 17);
    BitBtn1 = new QPushButton(QStringLiteral("Find"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(152, 64, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Close"), this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(256, 64, 75, 25);
    // Only "Find" is the default button; Escape (the dialog's reject) closes.
    BitBtn2->setAutoDefault(false);

    Label2 = new QLabel(QStringLiteral("Replace with: "), this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(4, 68, 70, 13);
    ComboBox2 = textList(this, "ComboBox2", 76, 64);
    BitBtn3 = new QPushButton(QStringLiteral("Replace"), this);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn3->setGeometry(12, 92, 75, 25);
    BitBtn3->setAutoDefault(false);
    BitBtn4 = new QPushButton(QStringLiteral("Replace all"), this);
    BitBtn4->setObjectName("BitBtn4");
    BitBtn4->setGeometry(96, 92, 75, 25);
    BitBtn4->setAutoDefault(false);
    setReplacing(false);

    setTabOrder(ComboBox1, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, CheckBox1);
    setTabOrder(CheckBox1, ComboBox2);
    setTabOrder(ComboBox2, BitBtn3);
    setTabOrder(BitBtn3, BitBtn4);
    setTabOrder(BitBtn4, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });

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

void TForm3::setReplacing(bool on)
{
    replacing_ = on;
    setWindowTitle(on ? QStringLiteral("Replace") : QStringLiteral("Find"));
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(ComboBox2),
                       static_cast<QWidget*>(BitBtn3), static_cast<QWidget*>(BitBtn4)})
        w->setVisible(on);
    // The replace row takes the place of the buttons, which move below it.
    BitBtn1->move(on ? 180 : 152, on ? 92 : 64);
    BitBtn2->move(on ? 264 : 256, on ? 92 : 64);
    const int width = std::max(343, CheckBox1->geometry().right() + 5);
    setFixedSize(width, on ? 121 : 93);
}

void TForm3::showAndActivate()
{
    show();
    raise();
    activateWindow();
}

void TForm3::showFind()
{
    if (replacing_) setReplacing(false);
    showAndActivate();
}

void TForm3::showReplace()
{
    if (!replacing_) setReplacing(true);
    // Only destination texts are replaced.
    RadioButton2->setChecked(true);
    showAndActivate();
    RadioButton1Click();
}

void TForm3::showEvent(QShowEvent* event)
{
    if (!placed_) {
        // Over the main window the first time, but off the current row;
        // where the user put it afterwards.
        placed_ = true;
        const QRect main = form1_.frameGeometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
        stayClearOfRow(form1_.SG1->row());
    }
    QDialog::showEvent(event);
    FormShow();
}

void TForm3::stayClearOfRow(int row)
{
    const StringGrid& grid = *form1_.SG1;
    const QRect cells = grid.cellRect(tcol::kDest, row).united(grid.cellRect(tcol::kBase, row));
    if (cells.isEmpty()) return;
    const QRect shown(grid.mapToGlobal(cells.topLeft()), cells.size());
    const QRect frame = frameGeometry();
    if (!frame.intersects(shown)) return;
    // Below the row where the screen has room for it, else above it.
    QRect screen = form1_.frameGeometry();
    if (const QScreen* s = form1_.screen()) screen = screen.united(s->availableGeometry());
    int top = shown.bottom() + 12;
    if (top + frame.height() > screen.bottom()) top = shown.top() - 12 - frame.height();
    move(x(), top);
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
    const int found = findNextRow(form1_.document(), side, form1_.currentEntry() + 1, text, CheckBox1->isChecked());
    if (found == 0) return;
    // The focus is left where it is: a search from this dialog keeps it here.
    // The filter of the table may hide the row found: it is shown.
    const TranslationView& view = form1_.translationView();
    const int index = found - 1;
    form1_.translationView().reveal(index);
    grid.sync();
    grid.setTag(kSearchLockTag);
    grid.setCurrentCell(col, view.rowOf(index));
    grid.viewport()->update();
    grid.setTag(0);
    if (isVisible()) stayClearOfRow(grid.row());
}

void TForm3::BitBtn3Click()
{
    // Replaces in the row found (every occurrence, one step), then finds
    // the next row; a row that does not hold the text is only searched from.
    RadioButton2->setChecked(true);
    const std::string text = searchText();
    const int index = form1_.currentEntry();
    if (!text.empty() && index >= 0 && form1_.SG1->col() == tcol::kDest) {
        const Replacement r = replaceInDestinations(form1_.document(), text, encodeText(ComboBox2->currentText()),
                                                    CheckBox1->isChecked(), index);
        if (!r.texts.empty()) form1_.pushEdit(std::make_unique<SetDestinations>(form1_.document(), r.texts));
        if (r.refused) form1_.StatusBar1->showNote(QStringLiteral("Not replaced: the text would not fit its length"));
    }
    BitBtn1Click();
}

void TForm3::BitBtn4Click()
{
    RadioButton2->setChecked(true);
    const std::string text = searchText();
    if (text.empty()) return;
    const Replacement r = replaceInDestinations(form1_.document(), text, encodeText(ComboBox2->currentText()),
                                                CheckBox1->isChecked());
    if (!r.texts.empty()) form1_.pushEdit(std::make_unique<SetDestinations>(form1_.document(), r.texts));
    QString note = QStringLiteral("Replaced %1 times in %2 rows").arg(r.occurrences).arg(r.texts.size());
    if (r.refused) note += QStringLiteral("; %1 rows left alone: the text would not fit their length").arg(r.refused);
    form1_.StatusBar1->showNote(note);
}

void TForm3::BitBtn2Click()
{
    hide();
}

}  // namespace tov
