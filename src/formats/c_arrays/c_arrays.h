// C string-array files: C sources whose `const char *` arrays hold every
// language's texts, one text per line.
//
// The layout is line-based (no C parsing). Lines are taken trimmed of blanks
// and control bytes at both ends, except in the preamble.
//
//   preamble       every line up to and including the first line holding
//                  "const char *" (a declaration line); copied unchanged
//   name section   the lines after it up to the next declaration line; each
//                  line holding a quoted text (and not beginning with "//")
//                  names one language, in file order (at most 49)
//   arrays         from each later declaration line to its closing line "};".
//                  K texts per language: the number after the first "][" of
//                  the declaration, 1 without "][". An array with K > 1 whose
//                  next line is "{" groups each language in braces and takes
//                  K from its first group (closed by "},"). Text slots follow
//                  language after language: slot i of language L of an array
//                  whose earlier arrays hold B texts per language is working
//                  table cell (column L, row B + i).
//
// A slot line is `"text",  // n`; reading takes only lines that carry "//".
// A text holds no double quote and at most 254 bytes.
//
// Three procedures work on it: reading a file into the working table, making
// the template from a file when it is opened, and writing a file from the
// template and the working table when it is saved. Both writers build the
// whole output first and then replace their target atomically, so a failure
// leaves the target as it was.
//
// Files the procedures could not carry through a save without moving or
// losing texts are refused with a reason (see the error texts): more than
// 49 languages, more than 65,535 text rows, an array that does not end with
// "};" before the next declaration, K missing or 0, more texts than
// languages, an array that stops within a language's texts; and, when the
// template is made, text lines that reading and saving would treat
// differently (a text line without "//", a commented-out text, a line that
// holds more than one text or code beside its text, a double quote whose
// closing one does not follow within 255 characters).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/backup.h"
#include "support/text_grid.h"

namespace tov {

constexpr int kCArraysColumns = 50;        // working-table columns: row numbers + 49 languages
constexpr int kCArraysPreparedRows = 250;  // working-table rows before a file is read
constexpr int kCArraysMaxLanguages = 49;
constexpr int kCArraysMaxRows = 65535;     // text rows (the table has one more: the names)
constexpr std::size_t kCArraysMaxText = 254;

// Working table before a file is read: 50 columns, 250 rows, every column
// emptied (the rows hidden beyond 250 too, so that no text of a file opened
// earlier can reappear in the new one).
void prepareCArraysWorkTable(TextGrid& work);
// The translation table's part of the preparation: destination column and its
// length emptied. The caller also empties the base file name and both
// language pickers.
void prepareCArraysTranslationTable(TextGrid& translation);

struct CArraysRead {
    bool ok = false;
    std::vector<std::string> names;  // language names in file order, for both pickers
    int rows = 0;                    // text rows R; the table gets R + 1 rows
    std::string error;               // why the file was not read (ok false)
    explicit operator bool() const { return ok; }
};

// Reads an existing file into the working table: row 0 the language names
// (columns 1..N), rows 1..R the texts (column L = language L), column 0 the
// row numbers; R + 1 rows. The table is prepared first; a refused or
// unreadable file leaves it prepared and empty.
CArraysRead readCArrays(const std::string& path, TextGrid& work);

struct CArraysResult {
    bool ok = false;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Makes the template that every later save starts from: preamble unchanged,
// names and slots in their written forms, every array completed to K slots
// for each of the N languages. The template file is replaced atomically and
// only when the whole template was made.
CArraysResult makeCTemplate(const std::string& basePath, const std::string& templatePath);

struct CArraysWrite {
    bool ok = false;
    bool written = false;  // false with ok true: no language names, nothing to write
    std::string error;
    bool backupFailed = false;        // the target was left alone: no backup copy could be made
    std::vector<std::string> backups;  // the dated backup copy made
    explicit operator bool() const { return ok; }
};

// Writes `targetPath` from the template and the working table: each slot of
// the template becomes a text slot line holding working-table cell
// (L, B + i). When `languageNames` (the pickers' list) is empty the target is
// not written and the result is ok with `written` false. A text that could
// not be read back (a double quote, a line break, Ctrl+Z, "const char *",
// more than 254 bytes) refuses the save. The target is replaced atomically,
// after its dated backup copy when `backup` asks for one; on any failure
// (the backup copy included) it is left as it was.
CArraysWrite writeCArrays(const std::string& templatePath, const std::string& targetPath,
                          const TextGrid& work, const std::vector<std::string>& languageNames,
                          const BackupChoice& backup = {});

// The same procedures on lines in memory (the file versions read their input
// with the program's line rule, and write what these produce), held as
// strings or as views into a file's bytes (lineViews).
using LineViews = std::vector<std::string_view>;
CArraysRead readCArraysLines(const std::vector<std::string>& lines, TextGrid& work);
CArraysRead readCArraysLines(const LineViews& lines, TextGrid& work);

// What the reader finds before anything goes into the working table: the
// names, and each text with its cell (column L = language L, rows from 1) as
// a view into the lines read.
struct CArraysCells {
    bool ok = false;
    std::vector<std::string> names;
    int rows = 0;
    std::string error;
    struct Cell {
        int column;
        int row;
        std::string_view text;
    };
    std::vector<Cell> cells;  // in file order; no cell twice
};
CArraysCells readCArraysCells(const LineViews& lines);
// The working table as readCArrays leaves it, from what the reader found.
CArraysRead fillCArraysWorkTable(CArraysCells&& cells, TextGrid& work);
// makeCTemplate from a base file's lines already read.
CArraysResult writeCTemplate(const LineViews& baseLines, const std::string& templatePath);

struct CArraysText {
    bool ok = false;
    std::string text;  // the whole file, CR LF lines
    std::string error;
    explicit operator bool() const { return ok; }
};
CArraysText makeCTemplateText(const std::vector<std::string>& baseLines);
CArraysText makeCTemplateText(const LineViews& baseLines);
// Without the language-name precondition of writeCArrays.
CArraysText writeCArraysText(const std::vector<std::string>& templateLines, const TextGrid& work);
CArraysText writeCArraysText(const LineViews& templateLines, const TextGrid& work);

}  // namespace tov
