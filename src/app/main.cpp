// Starts the program: the main window, the working table window (whose
// creation reopens the last files) and the find dialog, then the event loop.
#include <QApplication>
#include <QFileInfo>

#include <csignal>

#include "support/strutil.h"
#include "workspace/codepage.h"
#include "workspace/qt_prompts.h"
#include "workspace/unit1.h"
#include "workspace/unit2.h"
#include "workspace/unit3.h"

int main(int argc, char* argv[])
{
    // A save beyond the file-size limit fails with EFBIG and is reported like
    // any other failed save, instead of ending the program with the edits.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orbika"));
    QApplication::setApplicationName(QStringLiteral("Tovra"));

    // The program folder is the executable's folder; the settings file is the
    // executable's name with the extension ".ini", beside it.
    const std::string exe = tov::pathFromQString(QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath());
    std::string folder = tov::folderPart(exe);
    const std::string ini = tov::changeExtension(exe, ".ini");

    tov::QtPrompts prompts;
    tov::TForm1 form1(folder, ini, prompts);
    tov::TForm2 form2(form1);
    // Hidden until Search > Find; the main window owns it.
    new tov::TForm3(form1);
    form1.show();
    return app.exec();
}
