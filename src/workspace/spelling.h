// Spell checking in the main window: the "Spelling" menu, the dictionary of
// what is open, the red wavy lines under the misspelled words of destination
// cells, the suggestion menu of a destination cell, "Next misspelled" and
// "Previous misspelled", and a pass over the whole table that counts the
// rows holding misspelled words for the status bar.
//
// The dictionary is the one chosen for the open file in this menu (kept in
// the settings file, section "spelling", by the file's program-relative
// name), else the one of the language the file names (its extension, a
// "_pl" in its name, the language picked in a file that holds every
// language). Checkers are loaded once per dictionary and kept for the
// session, so that what was ignored stays ignored.
//
// A dictionary is read on a worker thread (the Polish one takes some 0.3 s),
// so that the window is painted and answers at once; the status bar says it
// is loading, and the underlines, the count and the pass start when it is
// there. A load whose dictionary is no longer wanted when it ends is kept
// for later but not used; the window does not wait for a load when it
// closes (the worker finishes it and drops it).
//
// Painting asks only for the visible rows, and the checker remembers the
// result of every text painted and of every word. The pass runs on the event loop in slices of a few
// milliseconds, so the window answers while it goes over 65,535 rows, and
// starts again whenever the destination texts change.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/spell/languages.h"
#include "formats/spell/spell_checker.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPainter;
class QProgressBar;
class QWidget;

namespace tov {

class TForm1;

class Spelling : public QObject {
    Q_OBJECT
public:
    explicit Spelling(TForm1& form);
    ~Spelling() override;

    // The dictionaries that can be chosen: those of the folders that
    // DICPATH names, then those of /usr/share/hunspell.
    const std::vector<spell::Dictionary>& dictionaries() const { return dictionaries_; }

    // "Check spelling"; the setting is stored at once.
    bool enabled() const { return enabled_; }
    void setEnabled(bool on);

    // The dictionary checking the destination texts, or null (spelling off,
    // no dictionary for the language, or it could not be loaded).
    const spell::Dictionary* dictionary() const;
    spell::SpellChecker* checker();
    // The user's choice of dictionary for what is open, stored in the
    // settings file; an empty code goes back to the language of the file.
    void chooseDictionary(const std::string& code);
    // The language the open file names (an ISO 639-1 code), or empty.
    std::string fileLanguage() const;

    // What is open may have changed (a file, a language, the kind): the
    // dictionary is chosen again and the pass starts again, on the next turn
    // of the event loop, when the window's command has finished.
    void documentReplaced();
    // Chooses the dictionary now (tests; the window waits for the event loop).
    // A dictionary not loaded yet starts loading on a worker thread.
    void review();
    // Whether the dictionary in use is still being loaded.
    bool loading() const;
    // Waits until every dictionary being loaded is there (tests, benchmarks).
    void waitForDictionary();

    // The red wavy lines under the misspelled words of a destination text
    // painted with `painter`'s font from `left` on, on `baseline`. `shown`
    // is `text` decoded for the screen (one character per byte).
    void drawUnderlines(QPainter& painter, int left, int baseline, std::string_view text, const QString& shown);

    // --- the pass over the whole table ---
    // Whether a pass has gone over every row as they now are.
    bool passDone() const;
    // The rows (from 1) holding a misspelled word, as the last finished pass found.
    int misspelledRows() const { return passDone_ ? passCount_ : 0; }
    // Runs what is left of the pass at once, once the dictionary is loaded.
    void finishPass();

    // Makes the next (step 1) or previous (step -1) row holding a misspelled
    // word current, wrapping around the table, with the word selected in the
    // destination editor. False, with a note in the status line, when there
    // is none.
    bool goToMisspelled(int step);

    // The menu a right click (or the menu key) at `pos` of `widget` (the
    // grid's viewport or its cell editor) opens: the suggestions for the
    // misspelled word there, "Ignore" and "Add to dictionary" (in the editor
    // followed by its own editing entries); `atCaret`: for the word at the
    // editor's caret instead. Null when no misspelled word is there.
    std::unique_ptr<QMenu> contextMenu(QWidget* widget, const QPoint& pos, bool atCaret = false);

    // --- menu and status bar ---
    QMenu* Spelling1 = nullptr;
    QAction* Checkspelling1 = nullptr;
    QAction* Nextmisspelled1 = nullptr;
    QAction* Previousmisspelled1 = nullptr;
    QMenu* Dictionary1 = nullptr;
    // In the status bar: the dictionary in use (or why there is none) and
    // the progress of the pass; its count is the status bar's "Misspelled".
    QLabel* StatusLabel = nullptr;
    QProgressBar* Progress = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A misspelled word of a row: where it stands in the row's destination.
    struct Hit {
        int index = -1;  // entry
        spell::WordSpan span;
    };
    Hit hitAt(QWidget* widget, const QPoint& pos, bool atCaret);
    void fillDictionaryMenu();
    std::string settingsKey() const;
    void useDictionary(const spell::Dictionary* dictionary);
    // Shows the spelling state in the status bar.
    void showState();
    void changed();  // the checker's answers changed: repaint and count again
    void restartPass();
    void runSlice();
    void replaceWord(const Hit& hit, const std::string& suggestion);
    void ignoreWord(const std::string& word);
    void addWord(const std::string& word);
    // A dictionary read on a worker thread.
    struct Load;
    void startLoad(const spell::Dictionary& dictionary);
    void takeLoaded(const std::shared_ptr<Load>& load);

    TForm1& form_;
    std::vector<spell::Dictionary> dictionaries_;
    std::map<std::string, spell::SpellChecker> checkers_;  // by dictionary code
    std::map<std::string, std::shared_ptr<Load>> loads_;   // being loaded, by code
    std::string current_;                                   // code of the dictionary in use
    std::string loadError_;
    bool enabled_ = true;
    QActionGroup* dictionaryGroup_ = nullptr;
    QTimer reviewTimer_;
    QTimer restartTimer_;
    QTimer sliceTimer_;

    // The pass: one flag per row, the rows done so far, and the document's
    // generation it started from.
    std::vector<std::uint8_t> passFlags_;
    int passNext_ = 0;
    int passCount_ = 0;
    std::uint64_t passGeneration_ = 0;
    bool passDone_ = false;
};

}  // namespace tov
