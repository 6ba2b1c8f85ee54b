// Between a document's rows and an exchange file.
//
// Export: the rows (texts in the code page) become units in UTF-8.
// Import: a file read back becomes edits (row, new destination) and a list
// of what was not applied and why; the document applies the edits as one
// step. Rows are matched by id, never by position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/exchange/exchange.h"

namespace tov::exchange {

// One row of a document as the exchange sees it. The views must outlive
// the call they are passed to; texts are in the document's code page.
struct Row {
    int row = 0;  // the document's row number, used in edits and reports
    std::string_view id;
    std::string_view base;
    std::string_view dest;
    std::string_view comment;
    std::string_view referenceFile;
    int referenceLine = 0;
    Width width;
};

struct FileInfo {
    std::string original;
    std::string sourceLanguage;
    std::string targetLanguage;
    // The conversions of the kind's texts (checks::forKind(kind).format).
    checks::FormatNotation notation = checks::FormatNotation::None;
};

// The unit id of every row: its id, or, for a row whose id an earlier row
// already has (a resource-string file may repeat an identifier), the id
// with "#2", "#3", ... so that every unit id is unique.
std::vector<std::string> unitIds(const std::vector<Row>& rows);

// One unit per row with a base text (a row without one has nothing to
// translate, and an import leaves it as it is): id = unitIds(), resname =
// the row's id, source = base, target = destination, translated when the
// destination is not empty; the format flag of the notation (printf: C,
// resource strings: ObjectPascal) when the base holds a conversion.
File makeFile(const std::vector<Row>& rows, const FileInfo& info);

struct ImportOptions {
    bool force = false;        // apply rows whose source text is not the base any more
    bool needsReview = false;  // apply fuzzy / needs-review targets too
};

struct Edit {
    int row = 0;
    std::string text;  // the new destination, in the code page
    bool operator==(const Edit&) const = default;
};

struct Problem {
    enum class Code {
        UnknownId,        // a unit whose id no row has
        DuplicateId,      // more than one unit with the row's unit id: none applied
        SourceChanged,    // the unit's source is not the row's base text
        UnheldCharacter,  // the target holds a character the code page cannot hold
        InvalidText,      // the target is not well-formed UTF-8
        NeedsReview,      // a fuzzy or needs-review target, not applied
        Placeholder,      // the target holds a placeholder that stands for no text
    };
    Code code = Code::UnknownId;
    int row = 0;  // 0 for a unit that matches no row
    std::string id;  // the unit id, in the code page where it can hold it
    char32_t character = 0;  // UnheldCharacter
    bool applied = false;    // SourceChanged with `force`
    bool operator==(const Problem&) const = default;
};

struct ImportReport {
    std::vector<Edit> edits;    // in row order; only texts that change
    std::vector<Problem> problems;  // in the order of the rows, unknown ids last
    int unchanged = 0;          // translated units equal to the destination
    int untranslated = 0;       // units without a translation: rows left as they are
    int notInFile = 0;          // rows that no unit names: left as they are
};

ImportReport matchImport(const std::vector<Row>& rows, const File& file, const ImportOptions& options);

// One line, in the form of the check's report: "row R: ID: PROBLEM" (an
// unknown id: "id ID: not in the document").
std::string describe(const Problem& problem);

}  // namespace tov::exchange
