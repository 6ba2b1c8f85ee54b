// Starts the program: finds (or makes) the program folder, then the main
// window, the working table window (whose creation reopens the last files, or
// opens the file named on the command line) and the find dialog, then the
// event loop.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "formats/firmware/firmware_sets.h"
#include "formats/source_kind.h"
#include "support/convert.h"
#include "support/program_folder.h"
#include "support/strutil.h"
#include "workspace/codepage.h"
#include "workspace/qt_prompts.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"
#include "workspace/unit3.h"

namespace {

constexpr const char* kHelp = R"(Usage:
  tovrana [--folder DIR] [FILE]
  tovrana --help | --version

Opens the Tovrana window, in which a base text is translated row by row into
a destination text that is saved back in the base's format.

FILE
  Opened as the base text instead of the files of the last session, when its
  kind is clear from its name: a .drc file (resource strings), a file of a
  language folder of a firmware family folder (ORVANTA, QL5, QL10, TELMO, for
  example ORVANTA/ENG/EDIT.ENG), a .ini file (menu texts) or a .c file (C
  string arrays).

Program folder
  The settings file tovrana.ini and the folders base, dest, ORVANTA, QL5,
  QL10 and TELMO are kept in the program folder:
  --folder DIR  DIR; a folder that does not exist yet is made with those
                folders and the sample files
  Without --folder, the folder of the executable when it holds tovrana.ini
  or the user can write to it (a portable install; a folder beside the
  install's shared data does not count), else the per-user folder
  $XDG_DATA_HOME/tovrana (by default ~/.local/share/tovrana), made on the
  first start with those folders and the sample files.
)";

// The data folders every new program folder gets.
std::vector<std::string> programSubfolders()
{
    std::vector<std::string> folders = {"base", "dest"};
    for (const tov::FirmwareFamily& family : tov::firmwareFamilies())
        folders.push_back(std::string(family.folder) + "/OUT");
    return folders;
}

int commandLineError(const QString& what)
{
    std::fprintf(stderr, "tovrana: %s (try --help)\n", what.toLocal8Bit().constData());
    return 2;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Answered before the application starts, so that they need no display.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") return std::fputs(kHelp, stdout) < 0 ? 1 : 0;
        if (arg == "--version") return std::printf("Tovrana v.%s\n", tov::programVersionText().c_str()) < 0 ? 1 : 0;
    }

    // A save beyond the file-size limit fails with EFBIG and is reported like
    // any other failed save, instead of ending the program with the edits.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orbika"));
    QApplication::setApplicationName(QStringLiteral("Tovra"));

    // Qt has taken its own options (-platform, -style, ...) out of the list.
    QCommandLineParser parser;
    const QCommandLineOption folderOption(QStringLiteral("folder"), QString(), QStringLiteral("DIR"));
    parser.addOption(folderOption);
    if (!parser.parse(QApplication::arguments())) return commandLineError(parser.errorText());
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) return commandLineError(QStringLiteral("more than one FILE given"));
    if (parser.isSet(folderOption) && parser.value(folderOption).isEmpty())
        return commandLineError(QStringLiteral("--folder: the folder name is empty"));

    tov::QtPrompts prompts;
    const std::string exe =
        tov::pathFromQString(QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath());
    const tov::ProgramFolder where =
        tov::locateProgramFolder(exe, tov::pathFromQString(parser.value(folderOption)),
                                 tov::UserEnvironment::current(), tov::pathFromQString(QDir::currentPath()));
    if (const std::string error = tov::prepareProgramFolder(where, programSubfolders()); !error.empty()) {
        const QString text = QStringLiteral("The program folder \"%1\" cannot be created:\n%2")
                                 .arg(tov::pathToQString(where.folder), QString::fromStdString(error));
        std::fprintf(stderr, "tovrana: %s\n", text.toLocal8Bit().constData());
        prompts.message(nullptr, tov::MsgIcon::Error, text, tov::Ok);
        return 1;
    }

    // A file named on the command line replaces the last session's files,
    // once it is known to be one the program can open.
    std::string startFile;
    std::uint8_t startKind = tov::kNone;
    QString startError;
    if (!files.isEmpty()) {
        const QFileInfo info(files.front());
        startFile = tov::pathFromQString(info.absoluteFilePath());
        if (!info.isFile())
            startError = QStringLiteral("no such file");
        else if ((startKind = tov::sourceKindOfFile(startFile)) == tov::kNone)
            startError = QStringLiteral(
                "its kind is not clear from its name (a .drc file, a file of a firmware family folder, "
                "a .ini or a .c file); open it with File > Open base text");
    }

    tov::TForm1 form1(where.folder, where.settingsFile, prompts);
    if (startKind != tov::kNone) form1.sourceKind = tov::kNone;  // nothing of the last session is reopened
    tov::TForm2 form2(form1);
    // Hidden until Search > Find; the main window owns it.
    new tov::TForm3(form1);
    if (startKind != tov::kNone)
        form1.OpenBaseCommand(startKind, startFile);
    else if (!startError.isEmpty())
        prompts.message(&form1, tov::MsgIcon::Error,
                        QStringLiteral("The file \"%1\" cannot be opened:\n%2").arg(files.front(), startError),
                        tov::Ok);
    form1.show();
    return app.exec();
}
