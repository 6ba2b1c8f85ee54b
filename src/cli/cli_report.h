// The check of an opened translation: its problems, the summary, and the two
// ways of printing them (lines for people, one JSON document for tools).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_document.h"
#include "formats/checks/checks.h"
#include "formats/spell/spell_checker.h"

namespace tov::cli {

struct Problem {
    enum class Kind {
        Missing, TooLong, LengthDiffers, Structure, LineCount, Unreadable,
        // what the checks of a text against its base found, and its spelling
        Format, Blanks, Punctuation, Accelerator, Spelling,
    };
    Kind kind = Kind::Missing;
    int row = 0;         // 0 for a problem of a whole file
    std::string id;      // row identifier (TranslationDocument::rowName)
    std::string file;    // firmware rows: base file name; file problems: the path
    int line = 0;        // firmware rows: line of the base text, from 1
    std::size_t dest = 0, base = 0;  // lengths or line counts, where the problem has them
    std::string reason;  // unreadable file: "no such file" or "cannot be read"
    std::string note;    // structure: what is wrong and where in the destination; a check: what differs
    bool warning = false;             // a check's warning (blanks, punctuation, accelerator, spelling)
    std::vector<std::string> words;   // spelling: the misspelled words, in text order
};

struct CheckReport {
    std::vector<Problem> problems;  // file problems first, then rows in order
    int rows = 0;                   // rows in use
    int translated = 0;             // rows in use with a destination text
    int missing = 0, tooLong = 0, lengthDiffers = 0, structure = 0, lineCount = 0, unreadable = 0;
    // What the text checks found: the counts go into the summary only
    // where anything was found (or the spelling was checked).
    int format = 0, blanks = 0, punctuation = 0, accelerator = 0, spelling = 0;
    bool spellChecked = false;
    bool errors = false;    // a problem that is no warning
    bool warnings = false;
    // The character count of the base texts and of the destination as its
    // files hold it.
    std::uint64_t baseCharacters = 0, destCharacters = 0;
};

// What is checked beside the rows' lengths and the files' structure.
struct TextChecks {
    checks::CheckOptions options;               // of the kind (checks::forKind)
    const spell::SpellChecker* spell = nullptr;  // the destination's dictionary, with --spell
};

CheckReport checkDocument(const Opened& d, const TextChecks& checks);

// One line per problem and the summary line (the format --help describes).
std::string reportText(const CheckReport& r);
// The same as one JSON document.
std::string reportJson(const CheckReport& r, const Options& o, const Opened& d);

}  // namespace tov::cli
