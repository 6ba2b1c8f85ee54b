// Moving through the rows that need the translator: the next or previous row
// for which a test holds (a row that needs work, a misspelled row, ...), and
// the list of such rows that a filtered table shows.
#pragma once

#include <functional>
#include <vector>

#include "document/document.h"

namespace tov {

// The problems that leave a row to be worked on: no text, edited since it
// was read or saved, a length that does not fit its base, a text on the
// wrong firmware line, or an error of the text checks. Warnings of the text
// checks (blanks, punctuation, accelerators) do not: a translation may
// differ there on purpose.
inline constexpr Problems kNeedsWork = problem::kMissing | problem::kChanged | problem::kTooLong |
                                       problem::kLengthDiffers | problem::kStructure | problem::kFormat;

bool needsWork(const TranslationDocument& doc, int index);

using RowTest = std::function<bool(int index)>;

struct RowFound {
    int index = -1;        // the row found (entry index); -1: none
    bool wrapped = false;  // the search went past the last (or first) row
};

// The next row after `from` (forward) or before it (backward) for which
// `test` holds, going round the end of the table; `from` itself is tried
// last. `from` may be -1 (before the first row) or size() (after the last).
RowFound findRow(const TranslationDocument& doc, int from, bool forward, const RowTest& test);

// The rows (entry indices, in order) for which `test` holds.
std::vector<int> rowsWhere(const TranslationDocument& doc, const RowTest& test);

}  // namespace tov
