// The Find dialog: a small tool window that stays above the main window and
// finds the next row whose base or destination text holds a piece of text.
// Its controls are the search's whole state; they keep their contents while
// the dialog is hidden, so that Search again (F3) repeats the last search.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <string_view>

namespace tov {

class TForm1;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    // A child window of the main window, created hidden; registers itself
    // with the main window, which deletes it.
    explicit TForm3(TForm1& form1);
    ~TForm3() override;

    // --- controls (names as in the window's design) ---
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;  // the search text
    QRadioButton* RadioButton1 = nullptr;  // "Base text": column 2
    QRadioButton* RadioButton2 = nullptr;  // "Destination text": column 4
    QCheckBox* CheckBox1 = nullptr;  // "Case sensitive"
    QPushButton* BitBtn1 = nullptr;  // "Find", the default button
    QPushButton* BitBtn2 = nullptr;  // "Close", the cancel button
    // Shown by Search > Replace: the replacement and its two commands, which
    // work on the destination texts.
    QLabel* Label2 = nullptr;        // "Replace with: "
    QComboBox* ComboBox2 = nullptr;  // the replacement
    QPushButton* BitBtn3 = nullptr;  // "Replace": in the current row, then the next row
    QPushButton* BitBtn4 = nullptr;  // "Replace all": every row, one undoable step

    // The search text as the table's bytes.
    std::string searchText() const;

    void FormShow();
    void RadioButton1Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();

    // Shows the dialog with its replace controls (Search > Replace), or
    // without them (Search > Find).
    void showReplace();
    void showFind();
    bool replacing() const { return replacing_; }
    // Moves the dialog off a row of the table (grid row) that it covers.
    void stayClearOfRow(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setReplacing(bool on);
    void showAndActivate();

    TForm1& form1_;
    bool placed_ = false;
    bool replacing_ = false;
};

}  // namespace tov
