// Finding the next row whose base or destination text holds a piece of text.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/document.h"

namespace tov {

enum class TextSide { Base, Destination };

// The next row after `currentRow` (rows counted from 1, as the table shows
// them) whose text on `side` holds `text`: the rows below the current one to
// the last, then from row 1, so that the current row itself is tried last.
// Without case sensitivity both sides are compared in Windows-1250 capitals.
// 0 when no row matches; an empty text matches nothing.
int findNextRow(const TranslationDocument& doc, TextSide side, int currentRow, std::string_view text,
                bool caseSensitive);

// A text with every occurrence of `text` replaced by `with`, found under the
// same case rule as findNextRow; `count` tells how many were replaced.
std::string replaceText(std::string_view in, std::string_view text, std::string_view with, bool caseSensitive,
                        int& count);

struct Replacement {
    std::vector<std::pair<int, std::string>> texts;  // (entry index, new destination text)
    int occurrences = 0;  // replaced in those rows
    int refused = 0;      // rows left alone: the result would not fit their fixed length
};

// Every destination text that holds `text`, with it replaced: `onlyIndex`
// limits it to one row (entry index), -1 takes them all. A fixed-length text
// is replaced without its padding, and left as it is where the result would
// be longer than its base text (it would be cut).
Replacement replaceInDestinations(const TranslationDocument& doc, std::string_view text, std::string_view with,
                                  bool caseSensitive, int onlyIndex = -1);

}  // namespace tov
