// Every dialog and message box the commands show goes through this interface,
// so that the commands can be driven by tests that answer from a script.
#pragma once

#include <QFont>
#include <QString>
#include <optional>

class QWidget;

namespace tov {

enum class MsgIcon { Error, Information, Question, Warning };

// Buttons offered by a message box (combinable) and the answer given.
enum MsgButton : unsigned {
    Ok = 1,
    Yes = 2,
    No = 4,
    Cancel = 8,
};

// What a file dialog is set up with before it is shown.
struct FileDialogRequest {
    QString initialFolder;     // folder the dialog opens in (may be empty)
    QString fileName;          // offered file name; may hold a mask ("/x/base/Konfix*.drc")
    QString filter;            // "Caption|pattern" entries separated by "|" as the menus give them; may be empty
    QString defaultExtension;  // without or with a leading dot, as the command sets it; may be empty
    bool promptCreate = false; // save dialog: ask before creating a file that does not exist
};

class Prompts {
public:
    virtual ~Prompts() = default;
    // The chosen file name (full path), or nothing when cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // The chosen font, or nothing when cancelled.
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
    // Returns the button pressed (Cancel when the box was closed).
    virtual MsgButton message(QWidget* parent, MsgIcon icon, const QString& text, unsigned buttons) = 0;
    // Ends the process at once with the exit code, without any closing steps.
    virtual void terminate(int exitCode) = 0;
};

}  // namespace tov
