// The two ways a PO file is read, and what they share.
//
// Most PO files are written by gettext's own tools, translate-toolkit, Qt's
// lconvert or editors of the same kind, one keyword and string a line, in
// UTF-8. A reader of that strict form reads a file of 65,535 entries several
// times faster than gettext's parser, which builds its whole catalog first.
// Whatever that reader does not read exactly as gettext would (another
// charset, line breaks of CR LF, a syntax error, a duplicate entry, escapes
// it does not know) goes to gettext's parser, which also gives the error
// messages.
#pragma once

#include <string>
#include <string_view>

#include "formats/exchange/exchange.h"

namespace tov::exchange::po {

// False when the strict reader leaves the file to gettext's parser; `out`
// is then unspecified. A plural entry is refused here with an error.
bool readStrict(std::string_view bytes, ReadResult& out);
ReadResult readThroughGettext(std::string_view bytes);

// A field of a header entry ("" when missing), as gettext reads it.
std::string headerField(const char* header, const char* field);
// The charset of a Content-Type value to convert from: "" for UTF-8, ASCII
// and a template's "CHARSET", whose texts are taken as they are.
std::string charsetOf(std::string_view contentType);
// A unit's note and width from the lines of its extracted comments, each
// line ended by a line break.
void splitNote(const std::string& comments, Unit& u);
// The message of a plural entry, which has no row to go to.
inline constexpr std::string_view kPluralRefused = "plural forms (msgid_plural) cannot be imported";

}  // namespace tov::exchange::po
