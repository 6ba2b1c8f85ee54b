// The main window: the translation table, its menus and the shared state of
// the open document (file names, source kind, fonts).
//
// The handlers keep the names of the menu items and controls they belong to
// (Konfix1Click, SG1DrawCell, ...). The translation itself is a document
// (document/document.h), read and written through the format of the source
// kind (document/format.h); the table is a view over it, and every edit of a
// destination text goes through the window's undo stack. unit1_commands.cpp
// holds the File menu, unit1_languages.cpp the two language pickers,
// unit1_render.cpp and unit1_edit.cpp the table's painting and editing.
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
#include <QUndoStack>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/edits.h"
#include "document/exchange_files.h"
#include "document/navigation.h"
#include "document/format.h"
#include "support/files.h"
#include "support/settings.h"
#include "workspace/prompts.h"
#include "workspace/string_grid.h"
#include "workspace/translation_view.h"
#include "workspace/work_status.h"

namespace tov {

class Spelling;
class TForm2;
class TForm3;

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
    // Takes what a command's start sets; the rest stays as it was.
    void apply(const DialogStart& start);
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
    std::vector<std::string> previewLines;

    // --- the document ---
    TranslationDocument& document() { return document_; }
    const TranslationDocument& document() const { return document_; }
    // The format of the source kind, which reads and writes the document.
    Format& format() { return formatFor(sourceKind); }
    // The format of a kind's family, set to that kind.
    Format& formatFor(std::uint8_t kind);
    QUndoStack& undoStack() { return undoStack_; }
    // Whether the destination holds edits that were not saved.
    bool edited() const { return !undoStack_.isClean() || pendingEdits_; }
    // Does an edit of the destination texts as one step of the undo stack.
    void pushEdit(std::unique_ptr<Edit> edit, bool typing = false);
    // Shows rows of a kind that were put together elsewhere, as if a file of
    // that kind had been read.
    void showRows(std::uint8_t kind, std::vector<Entry> rows);
    TranslationView& translationView() { return view_; }
    // Spell checking of the destination texts (workspace/spelling.h).
    Spelling& spelling() { return *spelling_; }

    const std::string& programFolder() const { return programFolder_; }
    Settings& settings() { return settings_; }
    Prompts& prompts() { return prompts_; }
    TForm2* form2() const { return form2_; }
    void attachWorkingWindow(TForm2* form2);
    // Hands the working table of the format in use to its window (built
    // first when the window is shown).
    void showWorkingTable();
    void attachFindDialog(TForm3* form3) { form3_ = form3; }
    TForm3* form3() const { return form3_; }

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
    // Rows, translated, missing, ... as the translator types.
    WorkStatus* StatusBar1 = nullptr;
    DialogState OpenDialog1;
    DialogState SaveDialog1;
    DialogState SaveDialog2;
    DialogState XliffDialog;  // export and import of XLIFF files
    DialogState PoDialog;     // and of PO files

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
    QAction* ExporttoXLIFF1 = nullptr;
    QAction* ImportXLIFF1 = nullptr;
    QAction* ExporttoPO1 = nullptr;
    QAction* ImportPO1 = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Edit1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* Nexttodo1 = nullptr;
    QAction* Prevtodo1 = nullptr;
    QAction* Showtodo1 = nullptr;  // checkable: only the rows that need work
    QMenu* Search1 = nullptr;
    QAction* Inbase1 = nullptr;
    QAction* Searchagain1 = nullptr;
    QAction* Replace1 = nullptr;
    QMenu* Font1 = nullptr;
    QAction* Basefont1 = nullptr;
    QAction* Destfont1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About2 = nullptr;
    QAction* test1 = nullptr;

    // --- shared operations ---
    // Asks "Save destination file?" when the destination holds edits that
    // were not saved. False when the user abandons; Yes saves first.
    bool SaveDestPrompt();
    // Shows the document as it now is: column layout, file name panels,
    // headers and the character count.
    void TableRefresh();
    // Column widths from the grid's width, per format.
    void FormResize();
    // The character count of the base and destination texts into Label1.
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
    void Orvantafirmware1Click();
    void QL5firmware1Click();
    void QL10firmware1Click();
    void TELMOfirmware1Click();
    void INIfile1Click();
    void FileC1Click();
    void Blank1Click();
    void Usefile1Click();
    void OpenDest1Click();
    void Savedest1Click();
    void Exporttotextfile1Click();
    // The table as an XLIFF or PO file for translators' tools, and such a
    // file read back as one step of the undo stack (unit1_exchange.cpp).
    void ExportExchange(exchange::Format format);
    void ImportExchange(exchange::Format format);
    void Exit1Click();
    void Inbase1Click();
    void Searchagain1Click();
    void Replace1Click();
    void Undo1Click();
    void Redo1Click();
    void Nexttodo1Click();
    void Prevtodo1Click();
    void Showtodo1Click();
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

    // --- the File menu for every kind (unit1_commands.cpp) ---
    // "Open base text": the body of every entry of that menu. With a file
    // name (a file named on the command line) no dialog is shown and the file
    // is opened as the kind's command opens the file chosen.
    void OpenBaseCommand(std::uint8_t kind, const std::string& fileName = {});
    // Reads a base file of the source kind: `fileName`, or the file chosen
    // in the open dialog when empty. True when it was read.
    bool ReadBaseFile(const std::string& fileName = {});
    // Opens a destination: `fileName`, or the file chosen in the dialog of
    // `role` ("Open destination" or "Use file...") when empty.
    void OpenDestinationFile(DialogRole role, const std::string& fileName = {});
    // "Save destination"; true when the destination was written.
    bool SaveDestination();
    // "New destination" > "Blank"; true when it was written.
    bool SaveBlankDestination();
    // The save (or the blank save) of the format in use into `path`; when a
    // backup copy cannot be made, asks whether to save without it.
    SaveResult SaveThroughFormat(const std::string& path, bool blank);
    // The start-up restore of the stored base and destination files; false
    // when the stored kind does not take the stored base file.
    bool ReopenFiles();
    // Shows what an open or a save found, in its message boxes.
    void ShowDiagnostics(const Diagnostics& found);

    // The firmware procedures of the families, by the names they have
    // always had (fileName empty: ask with the dialog).
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

    // --- the translator's way through the rows (unit1_workflow.cpp) ---
    // Goes to the next (or previous) row for which `test` holds, going round
    // the end of the table with a note in the status bar; `what` names the
    // rows in the notes ("row that needs work"). A row the filter hides is
    // shown. False when no row passes the test.
    bool GoToRow(const RowTest& test, bool forward, const QString& what);
    // Makes the row of an entry index current, in the destination column.
    void GoToEntry(int index);
    // The entry index of the current row; -1 when none.
    int currentEntry() const;
    // The filter of "Show only rows that need work", taken anew from the
    // document (it is not changed as rows are edited, so that a row being
    // worked on stays in sight).
    void applyFilter();
    // The length columns as wide as their widest number.
    void fitLengthColumns();
    // The file-name panels: the files open, and the languages of a file that
    // holds them all.
    void showFilePanels();

    // --- the language pickers (unit1_languages.cpp) ---
    // Fills both pickers from the document's languages and chooses the ones
    // the settings remember.
    void ShowLanguages();
    // A picker changed: the rows show the languages chosen.
    void LanguagesChanged();

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
    DialogContext dialogContext() const;
    // The document emptied for the family of `format`.
    void startDocument(Format& format);
    // The document was read anew: its history starts here.
    void documentReplaced();
    // The file chosen in the dialog of `role`; nothing when the command stops
    // or the user cancels.
    std::optional<std::string> askFile(DialogRole role);
    // The firmware procedures by family.
    void openFirmwareBase(std::uint8_t kind, const std::string& fileName);
    void openFirmwareDestination(std::uint8_t kind, const std::string& suffix, const std::string& fileName);
    bool saveFirmwareDestination(std::uint8_t kind);
    // Whether an edit of the cell (column, entry index) is taken.
    bool editCell(int col, int index, const std::string& text);
    LanguageChoice pickerChoice(const QComboBox* box) const;
    DialogState& exchangeDialog(exchange::Format format);
    // The language tags of an exported file.
    ExchangeLanguages exchangeLanguages() const;

    std::string programFolder_;
    Settings settings_;
    Prompts& prompts_;
    TForm2* form2_ = nullptr;
    TForm3* form3_ = nullptr;
    QTimer idleTimer_;
    QTimer statusTimer_;  // clears Label2
    // This window's own temporary folder and the names of the files in it
    // (the C string-array templates), made with the first format that needs
    // them: the formats below name their files there, and the folder goes
    // with everything in it when the window goes.
    std::unique_ptr<PrivateTempFolder> tempFolder_;
    std::unique_ptr<TempNamer> tempNames_;
    std::array<std::unique_ptr<Format>, 4> formats_;  // one per family, made when first needed
    TranslationDocument document_;
    FormatFamily documentFamily_ = FormatFamily::ResourceStrings;
    TranslationView view_;
    QUndoStack undoStack_;
    // Edits carried over a change of language, no longer on the stack.
    bool pendingEdits_ = false;
    bool fillingPickers_ = false;
    // The rows were replaced since the filter was taken.
    bool filterStale_ = false;
    // Brings the status bar and the length columns up to the document's
    // changes, once per turn of the event loop.
    QTimer afterChange_;
    void documentChanged();
    std::unique_ptr<Spelling> spelling_;

public:
    // Last cell under the mouse, for the identifier hint.
    int mouseCol = 0;
    int mouseRow = 0;

private:
    // The hint shows what the text checks found in a row.
    bool checkHint_ = false;
};

}  // namespace tov
