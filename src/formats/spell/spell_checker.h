// Spell checking of destination texts with a hunspell dictionary.
//
// A SpellChecker holds one loaded dictionary, the words ignored for the
// session and the personal word list of the dictionary's language, and
// remembers what it found: the answer for each word, and the misspelled
// words of each text it checked, so that a view can ask for its visible rows
// at every paint and a pass over every row checks each distinct word once.
//
// Texts are Windows-1250 bytes, as the files hold them; the checker converts
// each word to the dictionary's encoding and suggestions back. Results are
// byte spans within the text (words.h), which a grid underlines as they are
// and an edit replaces with replaceWord().
//
// Copies are cheap and share everything (dictionary, caches, ignored and
// personal words): a window hands a copy to a background pass. Every member
// may be called from any thread; calls on copies of one checker take turns.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/spell/languages.h"
#include "formats/spell/words.h"
#include "support/atomic_file.h"

namespace tov::spell {

// The misspelled words of a text, in text order.
using Misspellings = std::vector<WordSpan>;

// The personal word list of a language in a program folder (with its closing
// "/"): "spelling/pl.txt", one word per line, Windows-1250, CR LF.
std::string personalListFile(const std::string& programFolder, std::string_view language);

class SpellChecker {
public:
    // Loads `dictionary` and the personal word list of its language kept in
    // `programFolder`. Empty, with the reason in `error`, when the
    // dictionary's files cannot be read or its encoding is unknown. Loading
    // takes a while (the Polish dictionary some 0.3 s): a window opens its
    // checkers on a worker thread. Any thread may open or drop a checker;
    // the tables hunspell shares between its dictionaries are made and freed
    // by one of them at a time.
    static std::optional<SpellChecker> open(const Dictionary& dictionary, const std::string& programFolder,
                                            std::string* error = nullptr);

    const Dictionary& dictionary() const;
    // The encoding of the dictionary as the system's converter names it.
    const std::string& encoding() const;
    const std::string& personalList() const;

    // The misspelled words of `text`.
    Misspellings check(std::string_view text) const;
    // Whether `text` holds a misspelled word. Only the answers for its
    // words are kept, not the one for the text: a pass over every row does
    // not hold a copy of each.
    bool misspelled(std::string_view text) const;
    // Whether a single word (as wordAt gives it) is spelled right.
    bool isCorrect(std::string_view word) const;
    // The dictionary's suggestions for a word, in its order, in Windows-1250;
    // a suggestion the code page cannot write is left out.
    std::vector<std::string> suggest(std::string_view word) const;

    // Takes a word as spelled right until the checker is gone.
    void ignore(std::string_view word);
    // Adds a word to the personal list of the language: the file is read
    // again, the word appended when it is not there yet, and the file
    // replaced at once. A word that holds a blank or a control byte, or is
    // empty, is refused. On failure nothing changes.
    WriteResult addToPersonal(std::string_view word);
    // The personal words, in the order of the file.
    std::vector<std::string> personalWords() const;

    // How many texts have their result kept.
    std::size_t cachedTexts() const;
    // Forgets every result (the dictionary, ignored and personal words stay).
    void clearCache();

private:
    struct State;
    explicit SpellChecker(std::shared_ptr<State> state) : state_(std::move(state)) {}
    std::shared_ptr<State> state_;
};

}  // namespace tov::spell
