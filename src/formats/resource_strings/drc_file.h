// Resource-string files (".drc"): STRINGTABLE blocks with one line per string,
//
//       Konfix_RsOpen,                                    "Open file..."
//
// an identifier, a comma and a quoted text. The readers fill the working table
// (identifiers in column 0, base texts in column 1, destination texts in
// column 2, rows from 1); the writer writes a destination back from it.
//
// Reading: every line up to and including the first one that contains
// "STRINGTABLE" is header. Each later line is trimmed (bytes 0..32 at both
// ends); lines beginning with "//" or ";" and lines without both a comma and a
// double quote are ignored, so BEGIN, END, blank lines and further STRINGTABLE
// lines fall away and several blocks read as one list. In an entry line the
// identifier is what stands before the first comma (trimmed), and the text is
// what stands between the first and the last double quote, with UnescapeQuotes
// applied ("????" when the line has only one double quote).
#pragma once

#include <string>

#include "support/atomic_file.h"
#include "support/text_grid.h"

namespace tov {

// Working-table columns of the resource-string kinds.
constexpr int kDrcIdColumn = 0;         // string identifier
constexpr int kDrcBaseColumn = 1;       // base text
constexpr int kDrcDestColumn = 2;       // destination text as last loaded or saved
constexpr int kDrcEntryLineColumn = 10; // the whole trimmed entry line of the base file

// At most this many entries (table rows 1..65535), and at most this many bytes
// in a text the writer writes.
constexpr int kDrcMaxEntries = 65535;
constexpr std::size_t kDrcMaxTextLength = 65535;
// The first comma and the first double quote of an entry line must stand
// within this many bytes of the trimmed line.
constexpr std::size_t kDrcEntryReach = 65535;

// What a reader made of a file. A file it cannot carry whole is refused
// before anything is changed, so that a later save can never write back a
// shortened list.
struct DrcRead {
    enum class Status {
        Read,            // read (for ReadDrcBase: the rows are rebuilt)
        NoHeader,        // no line with "STRINGTABLE", or only as the last line,
                         // or the file cannot be opened or read to its end
        TooManyEntries,  // more than 65,535 entries
        EntryTooLong,    // an entry line whose first comma or first double
                         // quote stands beyond byte 65,535 of the trimmed line
    };
    Status status = Status::NoHeader;
    std::size_t line = 0;  // TooManyEntries, EntryTooLong: the line (from 1)
                           // of the first entry that cannot be held
    explicit operator bool() const { return status == Status::Read; }
    bool refused() const { return status == Status::TooManyEntries || status == Status::EntryTooLong; }
};

// Why a file was refused (status TooManyEntries or EntryTooLong): "holds more
// than 65535 strings (string 65536 is on line N)".
std::string drcRefusalReason(const DrcRead& read);

// Reads a base file, rebuilding the rows: columns 0 to 5 are emptied in every
// row first (also when the file cannot be read), then entry n fills row n:
// identifier in column 0, text in column 1, the trimmed line in column 10. The
// row count becomes entries + 1 when the file has entries and stays as it was
// otherwise. Duplicate identifiers give separate rows.
//
// A refused file (see DrcRead) leaves the table as it was. NoHeader when the
// file has no line with "STRINGTABLE" or has it only as its last line, and
// when the file cannot be opened or read (the rows read before a read error
// stay).
DrcRead ReadDrcBase(const std::string& path, TextGrid& working);

// Reads the texts of a file into `column` of the rows whose identifier
// (column 0) equals an entry's identifier byte for byte; no row is added or
// removed. Where the table has several rows of one identifier, the k-th entry
// of that identifier fills the k-th of those rows, so that a file written
// from the table reads back into the rows it came from; entries beyond the
// last such row overwrite its text (the last one wins). Rows the file does
// not name keep their texts. Every byte 0xA0 (no-break space) of the file is
// read as a blank. NoHeader as for ReadDrcBase; entries of any length and
// number are read (those that no row holds are passed over).
DrcRead ReadDrcColumn(int column, const std::string& path, TextGrid& working);

// Writes rows 1 to rowCount() - 1 that have an identifier (column 0; a row
// without one is no entry: the rows that a base file without entries leaves
// in the table), with the text from `column`, as
//    " STRINGTABLE" / "  BEGIN" / one line per row / "  " / " END"
// each line ending with CR LF. A row's line is six blanks, the identifier, a
// comma and seven blanks, padded with blanks to 50 bytes, then the text with
// EscapeQuotes in double quotes: the opening quote stands in byte 51 for
// identifiers of up to 36 bytes. The file is replaced atomically (after its
// dated backup copy when `backup` asks for one); it is left untouched when
// the table has more than 65,535 rows after the header row, a text is longer
// than 65,535 bytes, an identifier longer than 65,526 bytes (its line would
// not read back), the backup copy cannot be made, or the file cannot be
// written.
WriteResult WriteDrc(int column, const std::string& path, const TextGrid& working, const BackupChoice& backup = {});

// The bytes WriteDrc writes (no checks of the limits).
std::string FormatDrc(int column, const TextGrid& working);

}  // namespace tov
