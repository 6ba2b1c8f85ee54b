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


// ==== firmware commands ====

void TForm1::File1Click() {}
void TForm1::Orvantafirmware1Click() {}
void TForm1::QL5firmware1Click() {}
void TForm1::QL10firmware1Click() {}
void TForm1::TELMOfirmware1Click() {}
void TForm1::SaveFirmwareDestination() {}
void TForm1::OpenFirmwareBase(std::uint8_t, const std::string&) {}
void TForm1::OpenFirmwareDest(std::uint8_t, const std::string&, const std::string&) {}
bool TForm1::SaveFirmwareDest(std::uint8_t) { return false; }
void TForm1::OpenSRC_Orvanta(const std::string&) {}
void TForm1::OpenSRC_QL5(const std::string&) {}
void TForm1::OpenSRC_QL10(const std::string&) {}
void TForm1::OpenSRC_TELMO(const std::string&) {}
void TForm1::OpenDEST_Orvanta(const std::string&, const std::string&) {}
void TForm1::OpenDEST_QL5(const std::string&, const std::string&) {}
void TForm1::OpenDEST_QL10(const std::string&, const std::string&) {}
void TForm1::OpenDEST_TELMO(const std::string&, const std::string&) {}
bool TForm1::SaveDEST_Orvanta() { return false; }
bool TForm1::SaveDEST_QL5() { return false; }
bool TForm1::SaveDEST_QL10() { return false; }
bool TForm1::SaveDEST_TELMO() { return false; }

// ==== end of firmware commands ====


// ==== menu INI commands ====

void TForm1::INIfile1Click() {}
void TForm1::SaveMenuIni() {}
void TForm1::MenuIniBaseChanged() {}
void TForm1::MenuIniDestChanged() {}

// ==== end of menu INI commands ====


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
