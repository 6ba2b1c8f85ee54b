// The window's message boxes for what the formats report: the texts exactly
// as the program has always shown them.
#include <gtest/gtest.h>

#include "workspace/codepage.h"
#include "workspace/messages.h"

namespace tov::test {
namespace {

TEST(Messages, EveryDiagnosticHasItsText)
{
    struct Case {
        Diagnostic d;
        std::string text;  // Windows-1250 bytes
    };
    const Case cases[] = {
        {{.code = DiagnosticCode::NotResourceStrings, .file = "/p/base/x.drc"}, "        Error reading file!       "},
        {{.code = DiagnosticCode::SetFileUnreadable, .file = "/p/ORVANTA/OUT/EDIT.CZE"},
         "        Error reading file /p/ORVANTA/OUT/EDIT.CZE !       "},
        {{.code = DiagnosticCode::NoMatchingFiles, .file = "/p/QL5/ENG/*.ENG"},
         "        No file matches /p/QL5/ENG/*.ENG !       "},
        {{.code = DiagnosticCode::TooManyLines, .file = "/p/QL5/ENG/A.ENG"},
         "Zbyt wiele linii w plikach (ponad 65535).\r\rToo many lines in the input files (more than 65535)."},
        {{.code = DiagnosticCode::LineCount, .file = "/p/ORVANTA/POL/EDIT.CZE", .count = 120, .expected = 118},
         "Niepoprawna ilo\x9C\xE6 linii pliku \"EDIT.CZE\"  120 zamiast 118\r\r"
         "Wrong lines number in file: \"EDIT.CZE\"  120 instead of 118"},
        {{.code = DiagnosticCode::Structure},
         "Niepoprawna struktura plik\xF3w.\r\rWrong structure of input files."},
        {{.code = DiagnosticCode::Structure, .file = "/p/QL5/POL/A.POL", .row = 3, .line = 4,
          .detail = "the destination text of row 3 stands on another line than its base text (A.ENG:3)"},
         "Niepoprawna struktura plik\xF3w.\r\rWrong structure of input files.\r\rA.POL:4: the destination text of "
         "row 3 stands on another line than its base text (A.ENG:3)"},
        {{.code = DiagnosticCode::Unplaced, .file = "/x/EDIT.CZE", .row = 4, .line = 4,
          .detail = "the line holds no quoted text and is not in its base line's form: the text of row 4 has no "
                    "place in it"},
         "EDIT.CZE:4: the line holds no quoted text and is not in its base line's form: the text of row 4 has no "
         "place in it; nothing was saved."},
        {{.code = DiagnosticCode::Refused, .file = "/p/big.drc", .line = 65540,
          .detail = "holds more than 65535 strings (string 65536 is on line 65540)"},
         "The file \"/p/big.drc\" holds more than 65535 strings (string 65536 is on line 65540); it was not read."},
        {{.code = DiagnosticCode::CannotOpen, .file = "/p/t.c", .detail = "line 4: no array"},
         "The file \"/p/t.c\" cannot be opened:\nline 4: no array"},
        {{.code = DiagnosticCode::SaveFailed, .file = "/p/dest/x.drc", .detail = "No space left"},
         "Error saving file \"/p/dest/x.drc\"."},
        {{.code = DiagnosticCode::IniSaveFailed, .file = "/p/menu.ini"}, "Unable to write to /p/menu.ini"},
    };
    for (const Case& c : cases) EXPECT_EQ(messageText(c.d), decodeBytes(c.text)) << c.text;
}

}  // namespace
}  // namespace tov::test
