// What an open or a save found wrong, in one form for the window and the
// command-line tool: the window turns it into its message boxes, the tool into
// its lines and its JSON. Nothing here is worded for a message box.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tov {

enum class Severity {
    Error,    // the file, or a part of it, was not read or written
    Warning,  // read or written, but not as it should be
};

enum class DiagnosticCode {
    NotResourceStrings,  // a resource-string file without its STRINGTABLE line, or unreadable
    Refused,             // a file too large to be held whole: not read; detail: why
    SetFileUnreadable,   // a file of a firmware set cannot be read; detail: "no such file" / "cannot be read"
    NoMatchingFiles,     // the listing of a firmware set found nothing; file: the folder and mask listed
    TooManyLines,        // a firmware set of more than 65535 lines
    LineCount,           // a firmware file with another line count than its base file
    Structure,           // a firmware destination text on another line than its base text (or
                         // where the base has none): row, the destination file and line; detail: what
    Unplaced,            // a firmware destination line that can take no text: row, file and line;
                         // detail: what (a save is refused; a check reports it)
    CannotOpen,          // a C string-array file refused; detail: why
    SaveFailed,          // a file could not be written; detail: why
    BackupFailed,        // nothing written: the dated backup copy of `file` could not be made; detail: why
    IniSaveFailed,       // a menu INI file could not be written; detail: why
};

struct Diagnostic {
    Severity severity = Severity::Error;
    DiagnosticCode code = DiagnosticCode::SaveFailed;
    std::string file;         // the file concerned, as named to the program
    int row = 0;              // a row of the translation (from 1), or 0
    int line = 0;             // a line of the file (from 1), or 0
    std::size_t count = 0;    // LineCount: lines of the destination file
    std::size_t expected = 0; // LineCount: lines of its base file
    std::string detail;
    // A LineCount of a family that ends the program on it (see the firmware families).
    bool fatal = false;
};

using Diagnostics = std::vector<Diagnostic>;

}  // namespace tov
