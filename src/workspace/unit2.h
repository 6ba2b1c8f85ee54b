// The working table window: the grid into which every reader loads its file.
// Normally hidden; Help > "test" shows it so the raw contents can be looked at.
// Its creation runs the start-up restore of the last base and destination.
#pragma once

#include <QWidget>

#include "workspace/string_grid.h"

namespace tov {

class TForm1;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    // Registers itself with the main window, then runs FormCreate.
    explicit TForm2(TForm1& form1, QWidget* parent = nullptr);
    ~TForm2() override;

    StringGrid* SG1 = nullptr;

    void FormCreate();
    void FormShow();
    bool SG1SelectCell(int col, int row);
    void SG1DblClick();

    // Reopens the last base and destination files and puts the main
    // window's grid back where the user left it.
    void StartupRestore();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TForm1& form1_;
};

}  // namespace tov
