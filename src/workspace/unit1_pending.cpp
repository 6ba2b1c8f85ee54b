// Handlers whose commands are still to be written. Each block moves to its
// family's source file when that family's commands are built.
#include "workspace/unit1.h"
#include "workspace/unit2.h"

namespace tov {

// ==== C string-array commands ====

void TForm1::FileC1Click() {}
void TForm1::SaveCArrays() {}
void TForm1::CArraysBaseChanged() {}
void TForm1::CArraysDestChanged() {}

// ==== end of C string-array commands ====


// ==== find, export and start-up restore ====

void TForm1::Exporttotextfile1Click() {}
void TForm1::Inbase1Click() {}
void TForm1::Searchagain1Click() {}
void TForm2::StartupRestore() {}

// ==== end of find, export and start-up restore ====

}  // namespace tov
