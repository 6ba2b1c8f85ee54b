// Handlers whose commands are still to be written. Each block moves to its
// family's source file when that family's commands are built.
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace tov {

// ==== resource-string commands ====

void TForm1::Konfix1Click() {}
void TForm1::Vigrex1Click() {}
void TForm1::Konfi101Click() {}
void TForm1::Genaricdrc1Click() {}
void TForm1::OpenDrcBase() {}
void TForm1::Blank1Click() {}
void TForm1::Usefile1Click() {}
void TForm1::OpenDest1Click() {}
void TForm1::SaveDrcDestination() {}

// ==== end of resource-string commands ====




// ==== rendering and editing ====

void TForm1::SG1DrawCell(QPainter&, int, int, const QRect&, const DrawState&) {}
bool TForm1::SG1SelectCell(int, int) { return true; }
void TForm1::SG1SetEditText(int, int, const std::string&) {}
void TForm1::SG1KeyDown(int&, Qt::KeyboardModifiers, bool) {}
void TForm1::SG1KeyPress(QChar&) {}
void TForm1::SG1Exit() {}
void TForm1::SG1MouseMove(const QPoint&) {}
void TForm1::AppIdle() {}

// ==== end of rendering and editing ====


// ==== find, export and start-up restore ====

void TForm1::Exporttotextfile1Click() {}
void TForm1::Inbase1Click() {}
void TForm1::Searchagain1Click() {}
void TForm2::StartupRestore() {}

// ==== end of find, export and start-up restore ====

}  // namespace tov
