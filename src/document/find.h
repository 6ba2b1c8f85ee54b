// Finding the next row whose base or destination text holds a piece of text.
#pragma once

#include <string_view>

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

}  // namespace tov
