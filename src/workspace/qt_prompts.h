// The real dialogs and message boxes.
#pragma once

#include "workspace/prompts.h"

namespace tov {

class QtPrompts : public Prompts {
public:
    std::optional<QString> openFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QString> saveFile(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    MsgButton message(QWidget* parent, MsgIcon icon, const QString& text, unsigned buttons) override;
    void terminate(int exitCode) override;
};

// "Caption|pattern|Caption|pattern" as the menus give filters, in Qt's form
// "Caption (pattern);;Caption (pattern)".
QString qtNameFilters(const QString& filter);

}  // namespace tov
