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
        {{Severity::Error, DiagnosticCode::NotResourceStrings, "/p/base/x.drc"}, "        Error reading file!       "},
        {{Severity::Error, DiagnosticCode::SetFileUnreadable, "/p/ORVANTA/OUT/EDIT.CZE"},
         "        Error reading file /p/ORVANTA/OUT/EDIT.CZE !       "},
        {{Severity::Error, DiagnosticCode::NoMatchingFiles, "/p/QL5/ENG/*.ENG"},
         "        No file matches /p/QL5/ENG/*.ENG !       "},
        {{Severity::Error, DiagnosticCode::TooManyLines, "/p/QL5/ENG/A.ENG"},
         "Zbyt wiele linii w plikach (ponad 65535).\r\rToo many lines in the input files (more than 65535)."},
        {{Severity::Error, DiagnosticCode::LineCount, "/p/ORVANTA/POL/EDIT.CZE", 0, 120, 118},
         "Niepoprawna ilo\x9C\xE6 linii pliku \"EDIT.CZE\"  120 zamiast 118\r\r"
         "Wrong lines number in file: \"EDIT.CZE\"  120 instead of 118"},
        {{Severity::Error, DiagnosticCode::Structure, "/p/QL5/POL/A.POL", 3},
         "Niepoprawna struktura plik\xF3w.\r\rWrong structure of input files."},
        {{Severity::Error, DiagnosticCode::CannotOpen, "/p/t.c", 0, 0, 0, "line 4: no array"},
         "The file \"/p/t.c\" cannot be opened:\nline 4: no array"},
        {{Severity::Error, DiagnosticCode::SaveFailed, "/p/dest/x.drc", 0, 0, 0, "No space left"},
         "Error saving file \"/p/dest/x.drc\"."},
        {{Severity::Error, DiagnosticCode::IniSaveFailed, "/p/menu.ini"}, "Unable to write to /p/menu.ini"},
    };
    for (const Case& c : cases) EXPECT_EQ(messageText(c.d), decodeBytes(c.text)) << c.text;
}

}  // namespace
}  // namespace tov::test
