// Exchange files for the tools translators work in: XLIFF 1.2 and PO.
//
// A document goes out as a plain list of units, one per row, and comes back
// the same way. The texts of a unit are UTF-8, as in the files; the way from
// the document's code page and back is in exchange/rows.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/checks/checks.h"

namespace tov::exchange {

enum class State {
    Untranslated,  // no target, or one the tool marks as still to translate
    NeedsReview,   // fuzzy (PO), needs-review-* (XLIFF)
    Translated,
};

// Where a text stands in the base: a file and a line from 1 (0: no line).
struct Reference {
    std::string file;
    int line = 0;
    bool operator==(const Reference&) const = default;
};

// A length limit in characters (0: none); fixed when the text must fill it.
struct Width {
    int chars = 0;
    bool fixed = false;
    bool operator==(const Width&) const = default;
};

// The format flag of a unit whose source holds conversions (PO: "#,
// c-format", "#, object-pascal-format", which gettext and the tools check
// a translation against). XLIFF has no such flag.
enum class FormatFlag { None, C, ObjectPascal };

struct Unit {
    std::string id;       // the row's identifier: what an import matches by
    std::string resname;  // the resource name (the id for what this program writes)
    std::string source;
    std::string target;
    State state = State::Untranslated;
    std::string note;  // the row's comment (PO: extracted comment)
    Reference reference;
    Width width;
    FormatFlag format = FormatFlag::None;  // what the source's conversions are checked as
    // Read: the target holds a placeholder of another tool that stands for
    // no text (XLIFF <x/>, <bx/>, <ex/>), so it cannot become a destination.
    bool targetPlaceholders = false;
    bool operator==(const Unit&) const = default;
};

struct File {
    std::string original;  // the base file's name
    std::string sourceLanguage;  // language tags such as "en", "pl"; may be empty
    std::string targetLanguage;
    std::vector<Unit> units;
    bool operator==(const File&) const = default;
};

enum class Format { Tsv, Xliff, Po };

// The format of an exchange file: XLIFF or PO when its first bytes say so
// (an XML document whose root is <xliff>, a PO entry), otherwise by the
// extension of `name` (.xlf, .xliff, .po, .pot), otherwise the tab-separated
// text export.
Format detectFormat(std::string_view name, std::string_view bytes);
const char* formatName(Format f);  // "tsv", "xliff", "po"

struct Written {
    std::string bytes;
    std::string error;  // why nothing could be written (bytes then empty)
    explicit operator bool() const { return error.empty(); }
};

struct ReadResult {
    File file;
    std::string error;  // why the file cannot be read, with its line where known
    explicit operator bool() const { return error.empty(); }
};

// XLIFF 1.2: one <file> with one <trans-unit> a line, UTF-8; a translated
// unit is approved. A control character that XML cannot carry in a source
// or target (everything below U+0020 but TAB and LF) is written as an empty
// placeholder <x ctype="x-char-0xNN"/> that the reader turns back into the
// character, so that every text round-trips; in a note or a reference it is
// written as "\xNN". Fails for an id, the original or a language holding one.
Written writeXliff(const File& file);
// Every <file>'s units, document-level fields from the first <file>. The
// bytes are parsed in place.
ReadResult readXliff(std::string bytes);

// PO with a header naming the languages and charset UTF-8: msgctxt = id,
// msgid = source, msgstr = target, "#." note and width, "#:" reference,
// "#, fuzzy" and the format flag. Fails for a text holding NUL or EOT
// (U+0004), which gettext's strings cannot carry (EOT separates the context
// in its catalogs).
Written writePo(const File& file);
// Read through gettext's own PO parser; a file in another charset than
// UTF-8 is converted as its header declares. A text of a UTF-8 file that is
// not UTF-8 is kept as it is (the import refuses its row, not the file).
ReadResult readPo(std::string_view bytes);

// readXliff or readPo (not for Tsv).
ReadResult read(Format f, std::string bytes);

// Whether a text holds a conversion of the notation: printf's (%d, %-5.2f,
// %1$s, %ld, ...) or a resource string's (%s, %0:s, %-8.2f, %n, ...); "%%"
// is a percent sign. A percent sign followed by a blank ("50% off", "5% of")
// is read as text, not as printf's space flag, so that such a text is not
// checked as a format by the tools.
bool hasConversion(checks::FormatNotation notation, std::string_view text);

// The language tag ("en", "pl", ...) that a language name ("English",
// "Polski"), a three-letter folder or extension ("ENG", "POL") or a file
// name ("Konfix_pl.drc", "EDIT.POL") stands for, or "" when it cannot be
// told.
std::string guessLanguage(std::string_view name);

}  // namespace tov::exchange
