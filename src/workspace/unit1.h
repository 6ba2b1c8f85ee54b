// The main window: the translation table, its menus and the shared state of
// the open document (file names, source kind, fonts).
//
// The handlers keep the names of the menu items and controls they belong to
// (Konfix1Click, SG1DrawCell, ...). The commands of each format family live in
// their own source files (unit1_drc.cpp, unit1_firmware.cpp, ...); this file
// and unit1.cpp hold what they all share.
#pragma once

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/settings.h"
#include "workspace/prompts.h"
#include "workspace/string_grid.h"

namespace tov {

class TForm2;
class TForm3;
struct FirmwareDialog;

// The state of one of the program's file dialogs between uses: what the
// commands set on it (filter, default extension, folder, offered name).
struct DialogState {
    QString filter;
    QString defaultExtension;
    QString initialFolder;
    QString fileName;
    bool promptCreate = false;

    FileDialogRequest request() const
    {
        return {initialFolder, fileName, filter, defaultExtension, promptCreate};
    }
};

// One of the window's text fonts, kept as the settings file stores it so that
// what the screen cannot express (character set, pitch) survives a session.
struct TextFont {
    FontRecord record;
    QFont font() const;
    void setFrom(const QFont& font);
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // programFolder ends with "/"; iniPath is the settings file.
    TForm1(std::string programFolder, std::string iniPath, Prompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    // --- shared state ---
    std::string baseFile;   // full path; empty when none
    std::string destFile;   // full path; empty when none
    std::uint8_t sourceKind = 0;
    std::uint8_t prevSourceKind = 0;
    TextFont baseFont;
    TextFont destFont;
    TextFont numberFont;
    std::vector<std::string> baseFileList;  // firmware base files, sorted
    std::vector<std::string> previewLines;

    const std::string& programFolder() const { return programFolder_; }
    Settings& settings() { return settings_; }
    Prompts& prompts() { return prompts_; }
    TForm2* form2() const { return form2_; }
    void attachWorkingWindow(TForm2* form2) { form2_ = form2; }
    void attachFindDialog(TForm3* form3) { form3_ = form3; }
    TForm3* form3() const { return form3_; }
    // The working table (grid of the working table window).
    StringGrid& working() const;

    // --- controls (names as in the window's design) ---
    QWidget* Panel1 = nullptr;
    QLabel* Panel4 = nullptr;
    QLabel* Panel3 = nullptr;
    StringGrid* SG1 = nullptr;
    QWidget* Panel2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    // A short status line beside the character count (characters refused).
    QLabel* Label2 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    DialogState OpenDialog1;
    DialogState SaveDialog1;
    DialogState SaveDialog2;

    // --- menu (names as in the window's design) ---
    QMenu* File1 = nullptr;
    QMenu* Openbasetext1 = nullptr;
    QAction* Konfix1 = nullptr;
    QAction* Vigrex1 = nullptr;
    QAction* Konfi101 = nullptr;
    QAction* Orvantafirmware1 = nullptr;
    QAction* QL5firmware1 = nullptr;
    QAction* QL10firmware1 = nullptr;
    QAction* TELMOfirmware1 = nullptr;
    QAction* Genaricdrc1 = nullptr;
    QAction* INIfile1 = nullptr;
    QAction* FileC1 = nullptr;
    QMenu* Newdestination1 = nullptr;
    QAction* Blank1 = nullptr;
    QAction* Usefile1 = nullptr;
    QAction* OpenDest1 = nullptr;
    QAction* Savedest1 = nullptr;
    QAction* Exporttotextfile1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Search1 = nullptr;
    QAction* Inbase1 = nullptr;
    QAction* Searchagain1 = nullptr;
    QMenu* Font1 = nullptr;
    QAction* Basefont1 = nullptr;
    QAction* Destfont1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About2 = nullptr;
    QAction* test1 = nullptr;

    // --- shared operations ---
    // Asks "Save destination file?" when the destination differs from the
    // stored one. False when the user abandons; Yes saves first.
    bool SaveDestPrompt();
    // Copies the working table into the translation table and renumbers.
    void TableRefresh();
    // Column widths from the grid's width, per source kind.
    void FormResize();
    // Sums the base and destination lengths into Label1.
    void BitBtn2Click();
    // Every save first copies the files it replaces to their dated backups.
    // When such a copy cannot be made (`error` says why), nothing is written
    // and this asks whether to save `path` without a backup copy: true on Yes.
    bool SaveWithoutBackup(const std::string& path, const std::string& error);
    // Shows a message box through the prompts (texts in Windows-1250 bytes).
    MsgButton ShowMessage(MsgIcon icon, const std::string& text, unsigned buttons = Ok);
    // The program folder name of a relative file name: "./base/x.drc" is taken
    // against the program folder, whatever the process's current folder.
    std::string resolveName(const std::string& name) const;
    static QString nameOnly(const std::string& path);

    // --- handlers (menu items, controls, window events) ---
    void FormCreate();
    // Runs the closing steps; false when the close is refused.
    bool FormClose();
    void File1Click();
    void Konfix1Click();
    void Vigrex1Click();
    void Konfi101Click();
    void Genaricdrc1Click();
    // The "Open base text" commands, each with the file to open instead of
    // asking for one with the open dialog when fileName is given.
    void OpenDrcCommand(std::uint8_t kind, const std::string& fileName = {});
    void OpenDrcBase(const std::string& fileName = {});
    void Orvantafirmware1Click();
    void QL5firmware1Click();
    void QL10firmware1Click();
    void TELMOfirmware1Click();
    void INIfile1Click();
    void OpenMenuIniCommand(const std::string& fileName = {});
    void LoadMenuIni();
    void FileC1Click();
    void OpenCArraysCommand(const std::string& fileName = {});
    // Opens a file named on the command line as the base text of `kind`, as
    // that kind's "Open base text" command does with the file chosen.
    void OpenBaseFile(std::uint8_t kind, const std::string& fileName);
    void Blank1Click();
    void Usefile1Click();
    void OpenDest1Click();
    void Savedest1Click();
    void Exporttotextfile1Click();
    void Exit1Click();
    void Inbase1Click();
    void Searchagain1Click();
    void Basefont1Click();
    void Destfont1Click();
    void About2Click();
    void testClick();
    void ComboBox1Change();
    void ComboBox2Change();

    // Translation table events.
    void SG1DrawCell(QPainter& canvas, int col, int row, const QRect& rect, const DrawState& state);
    // Whether SG1DrawCell paints the whole cell (the default drawing beneath it would not show).
    bool SG1CoversCell(int col, int row, const DrawState& state) const;
    bool SG1SelectCell(int col, int row);
    void SG1SetEditText(int col, int row, const std::string& value);
    void SG1KeyDown(int& key, Qt::KeyboardModifiers shift, bool autoRepeat);
    void SG1KeyPress(QChar& key);
    void SG1Exit();
    void SG1MouseMove(const QPoint& pos);
    // Typed characters the code page cannot hold were left out: says which.
    void SG1RefusedText(const QString& refused);
    // The idle refresh of the preview memo.
    void AppIdle();

    // Firmware openers and writers, one procedure per role driven by the
    // family table; the named ones are that procedure for one family.
    // fileName empty: ask with the open dialog. suffix: "/OUT" or empty.
    void OpenFirmwareBase(std::uint8_t kind, const std::string& fileName = {});
    void OpenFirmwareDest(std::uint8_t kind, const std::string& suffix, const std::string& fileName = {});
    // True when the user confirmed the save dialog and every file was written.
    bool SaveFirmwareDest(std::uint8_t kind);
    void OpenSRC_Orvanta(const std::string& fileName = {});
    void OpenSRC_QL5(const std::string& fileName = {});
    void OpenSRC_QL10(const std::string& fileName = {});
    void OpenSRC_TELMO(const std::string& fileName = {});
    void OpenDEST_Orvanta(const std::string& suffix, const std::string& fileName = {});
    void OpenDEST_QL5(const std::string& suffix, const std::string& fileName = {});
    void OpenDEST_QL10(const std::string& suffix, const std::string& fileName = {});
    void OpenDEST_TELMO(const std::string& suffix, const std::string& fileName = {});
    bool SaveDEST_Orvanta();
    bool SaveDEST_QL5();
    bool SaveDEST_QL10();
    bool SaveDEST_TELMO();
    // The file of a set the user picks in the open dialog set up as given, or
    // fileName itself (resolved) when one is given.
    std::optional<std::string> chooseSetFile(const FirmwareDialog& dialog, const std::string& fileName);
    // The common body of the four firmware "Open base text" commands.
    void OpenFirmwareCommand(std::uint8_t kind, const std::string& fileName = {});
    // Row at which the open firmware destination stopped matching its base
    // (0: none); a save then asks first.
    int firmwareStructureFailureRow = 0;

    // The save of each family, dispatched from Savedest1Click. Each tells
    // whether the destination was written (false after a cancelled dialog,
    // a refusal or a failed write).
    bool SaveDestination();
    bool SaveDrcDestination();
    bool SaveFirmwareDestination();
    bool SaveMenuIni();
    bool SaveCArrays();
    // Opens a C string-array file as the base text (fileName empty: asks with
    // the open dialog), then selects the remembered languages and fills the table.
    void OpenCArraysBase(const std::string& fileName = {});
    // The base and destination language changes of the two picker modes.
    void MenuIniBaseChanged();
    void MenuIniDestChanged();
    void CArraysBaseChanged();
    void CArraysDestChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenu();
    void restorePlacement();
    void storePlacement();
    void placeBottomControls();
    void scheduleIdle();

    std::string programFolder_;
    Settings settings_;
    Prompts& prompts_;
    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    QTimer idleTimer_;
    QTimer statusTimer_;  // clears Label2

public:
    // The remembered destination column of the C string-array mode (0: none).
    int cDestColumn = 0;
    // A language switched away from held unsaved edits (they wait in the
    // working table for the next save).
    bool cLanguagesEdited = false;
    // Temporary file names of the run (the C string-array templates).
    TempNamer tempNames;
    // Last cell under the mouse, for the identifier hint.
    int mouseCol = 0;
    int mouseRow = 0;
};

}  // namespace tov
