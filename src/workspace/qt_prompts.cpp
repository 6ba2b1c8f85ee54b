#include "workspace/qt_prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <cstdio>
#include <unistd.h>

namespace tov {

QString qtNameFilters(const QString& filter)
{
    if (filter.isEmpty()) return {};
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;"));
}

namespace {

bool hasMask(const QString& name)
{
    return name.contains('*') || name.contains('?');
}

// Sets a dialog up from a request: a file name holding a mask lists the
// files it matches; a plain name is offered in the name field.
void prepare(QFileDialog& dlg, const FileDialogRequest& request)
{
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    QString folder = request.initialFolder;
    QString name = request.fileName;
    QStringList filters;
    if (hasMask(name)) {
        const QFileInfo fi(name);
        if (name.contains('/')) folder = fi.path();
        filters << QStringLiteral("%1 (%1)").arg(fi.fileName());
        name.clear();
    }
    const QString given = qtNameFilters(request.filter);
    if (!given.isEmpty()) filters << given.split(QStringLiteral(";;"));
    filters << QObject::tr("All files (*)");
    dlg.setNameFilters(filters);
    if (!folder.isEmpty()) dlg.setDirectory(folder);
    if (!name.isEmpty()) {
        const QFileInfo fi(name);
        if (fi.isAbsolute() && folder.isEmpty()) dlg.setDirectory(fi.path());
        dlg.selectFile(fi.isAbsolute() ? name : fi.fileName());
    }
    QString ext = request.defaultExtension;
    while (ext.startsWith('*') || ext.startsWith('.')) ext.remove(0, 1);
    if (!ext.isEmpty()) dlg.setDefaultSuffix(ext);
}

}  // namespace

std::optional<QString> QtPrompts::openFile(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dlg(parent, QObject::tr("Open"));
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    prepare(dlg, request);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().first();
}

std::optional<QString> QtPrompts::saveFile(QWidget* parent, const FileDialogRequest& request)
{
    for (;;) {
        QFileDialog dlg(parent, QObject::tr("Save As"));
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        // Overwriting is the commands' business: they keep a dated backup.
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
        prepare(dlg, request);
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
        const QString chosen = dlg.selectedFiles().first();
        if (!request.promptCreate || QFileInfo::exists(chosen)) return chosen;
        const auto answer = QMessageBox::question(
            parent, QObject::tr("Save As"),
            QObject::tr("%1\nThis file does not exist.\nDo you want to create it?").arg(QFileInfo(chosen).fileName()),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) return chosen;
    }
}

std::optional<QFont> QtPrompts::chooseFont(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, parent);
    if (!ok) return std::nullopt;
    return f;
}

MsgButton QtPrompts::message(QWidget* parent, MsgIcon icon, const QString& text, unsigned buttons)
{
    // The box's icon and title for each MsgIcon, in the enumeration's order.
    static const struct {
        QMessageBox::Icon icon;
        const char* title;
    } looks[] = {{QMessageBox::Critical, "Error"},
                 {QMessageBox::Information, "Information"},
                 {QMessageBox::Question, "Confirm"},
                 {QMessageBox::Warning, "Warning"}};
    QMessageBox box(parent);
    const auto& look = looks[static_cast<int>(icon)];
    box.setIcon(look.icon);
    box.setWindowTitle(QObject::tr(look.title));
    // The texts keep their own runs of blanks and carriage returns.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    QMessageBox::StandardButtons std;
    if (buttons & Ok) std |= QMessageBox::Ok;
    if (buttons & Yes) std |= QMessageBox::Yes;
    if (buttons & No) std |= QMessageBox::No;
    if (buttons & Cancel) std |= QMessageBox::Cancel;
    box.setStandardButtons(std);
    switch (box.exec()) {
    case QMessageBox::Ok: return Ok;
    case QMessageBox::Yes: return Yes;
    case QMessageBox::No: return No;
    default: return Cancel;
    }
}

void QtPrompts::terminate(int exitCode)
{
    std::fflush(nullptr);
    ::_exit(exitCode);
}

}  // namespace tov
