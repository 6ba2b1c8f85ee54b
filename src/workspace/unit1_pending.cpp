// Handlers whose commands are still to be written. Each block moves to its
// family's source file when that family's commands are built.
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace tov {

// ==== find, export and start-up restore ====

void TForm1::Exporttotextfile1Click() {}
void TForm1::Inbase1Click() {}
void TForm1::Searchagain1Click() {}
void TForm2::StartupRestore() {}

// ==== end of find, export and start-up restore ====

}  // namespace tov
