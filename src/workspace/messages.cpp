#include "workspace/messages.h"

#include <string>

#include "support/backup.h"
#include "workspace/codepage.h"

namespace tov {

namespace {

// The firmware messages are in Polish and English: a Polish paragraph, two
// carriage returns, the English paragraph.
std::string bilingual(const std::string& polish, const std::string& english)
{
    return polish + "\r\r" + english;
}

// A file's name without its folder.
std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

QString messageText(const Diagnostic& d)
{
    switch (d.code) {
    case DiagnosticCode::NotResourceStrings: return QStringLiteral("        Error reading file!       ");
    case DiagnosticCode::Refused:
        return pathToQString("The file \"" + d.file + "\" " + d.detail + "; it was not read.");
    case DiagnosticCode::SetFileUnreadable: return decodeBytes("        Error reading file " + d.file + " !       ");
    case DiagnosticCode::NoMatchingFiles: return decodeBytes("        No file matches " + d.file + " !       ");
    case DiagnosticCode::TooManyLines:
        return decodeBytes(bilingual("Zbyt wiele linii w plikach (ponad 65535).",
                                     "Too many lines in the input files (more than 65535)."));
    case DiagnosticCode::LineCount: {
        const std::string name = nameOf(d.file);
        const std::string n = std::to_string(d.count);
        const std::string e = std::to_string(d.expected);
        return decodeBytes(bilingual("Niepoprawna ilo\x9C\xE6 linii pliku \"" + name + "\"  " + n + " zamiast " + e,
                                     "Wrong lines number in file: \"" + name + "\"  " + n + " instead of " + e));
    }
    case DiagnosticCode::Structure: {
        // Where the sets part: the destination file and line, and the base text's place.
        std::string text = bilingual("Niepoprawna struktura plik\xF3w.", "Wrong structure of input files.");
        if (!d.file.empty()) text += "\r\r" + nameOf(d.file) + ":" + std::to_string(d.line) + ": " + d.detail;
        return decodeBytes(text);
    }
    case DiagnosticCode::Unplaced:
        return decodeBytes(nameOf(d.file) + ":" + std::to_string(d.line) + ": " + d.detail + "; nothing was saved.");
    case DiagnosticCode::CannotOpen:
        return QStringLiteral("The file \"%1\" cannot be opened:\n%2").arg(pathToQString(d.file), pathToQString(d.detail));
    case DiagnosticCode::SaveFailed: return pathToQString("Error saving file \"" + d.file + "\".");
    case DiagnosticCode::IniSaveFailed: return QStringLiteral("Unable to write to ") + pathToQString(d.file);
    case DiagnosticCode::BackupFailed: return pathToQString(backupFailureQuestion(d.file, d.detail));
    }
    return {};
}

}  // namespace tov
