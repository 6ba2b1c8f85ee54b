#include "workspace/messages.h"

#include <string>

#include "workspace/codepage.h"

namespace tov {

namespace {

// The firmware messages are in Polish and English: a Polish paragraph, two
// carriage returns, the English paragraph.
std::string bilingual(const std::string& polish, const std::string& english)
{
    return polish + "\r\r" + english;
}

}  // namespace

QString messageText(const Diagnostic& d)
{
    switch (d.code) {
    case DiagnosticCode::NotResourceStrings: return QStringLiteral("        Error reading file!       ");
    case DiagnosticCode::SetFileUnreadable: return decodeBytes("        Error reading file " + d.file + " !       ");
    case DiagnosticCode::NoMatchingFiles: return decodeBytes("        No file matches " + d.file + " !       ");
    case DiagnosticCode::TooManyLines:
        return decodeBytes(bilingual("Zbyt wiele linii w plikach (ponad 65535).",
                                     "Too many lines in the input files (more than 65535)."));
    case DiagnosticCode::LineCount: {
        const std::size_t slash = d.file.rfind('/');
        const std::string name = slash == std::string::npos ? d.file : d.file.substr(slash + 1);
        const std::string n = std::to_string(d.count);
        const std::string e = std::to_string(d.expected);
        return decodeBytes(bilingual("Niepoprawna ilo\x9C\xE6 linii pliku \"" + name + "\"  " + n + " zamiast " + e,
                                     "Wrong lines number in file: \"" + name + "\"  " + n + " instead of " + e));
    }
    case DiagnosticCode::Structure:
        return decodeBytes(bilingual("Niepoprawna struktura plik\xF3w.", "Wrong structure of input files."));
    case DiagnosticCode::CannotOpen:
        return QStringLiteral("The file \"%1\" cannot be opened:\n%2").arg(pathToQString(d.file), pathToQString(d.detail));
    case DiagnosticCode::SaveFailed: return pathToQString("Error saving file \"" + d.file + "\".");
    case DiagnosticCode::IniSaveFailed: return QStringLiteral("Unable to write to ") + pathToQString(d.file);
    }
    return {};
}

}  // namespace tov
