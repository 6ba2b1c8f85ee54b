// File > "Export to XLIFF…", "Import XLIFF…", "Export to PO…", "Import PO…":
// the table sent to translators' tools and their files brought back, the
// same way the command-line tool's export and import take.
#include "document/exchange_files.h"
#include "support/atomic_file.h"
#include "support/strutil.h"
#include "support/text_file.h"
#include "workspace/codepage.h"
#include "workspace/unit1.h"

namespace tov {

namespace {

// At most this many problems of an import are listed in its message box.
constexpr std::size_t kListedProblems = 20;

const char* formatCaption(exchange::Format format) { return format == exchange::Format::Po ? "PO" : "XLIFF"; }

}  // namespace

DialogState& TForm1::exchangeDialog(exchange::Format format)
{
    DialogState& d = format == exchange::Format::Po ? PoDialog : XliffDialog;
    if (d.filter.isEmpty()) {
        const bool po = format == exchange::Format::Po;
        d.filter = po ? QStringLiteral("PO|*.po") : QStringLiteral("XLIFF|*.xlf");
        d.defaultExtension = po ? QStringLiteral("po") : QStringLiteral("xlf");
    }
    return d;
}

ExchangeLanguages TForm1::exchangeLanguages() const
{
    // What cannot be told from the languages or the file names is taken from
    // the settings file: [exchange] source=en, target=pl.
    ExchangeLanguages l = guessExchangeLanguages(document_, resolveName(baseFile), resolveName(destFile));
    if (l.source.empty()) l.source = settings_.read("exchange", "source");
    if (l.target.empty()) l.target = settings_.read("exchange", "target");
    return l;
}

void TForm1::ExportExchange(exchange::Format format)
{
    if (document_.empty()) {
        ShowMessage(MsgIcon::Information, "Open a base text first.");
        return;
    }
    DialogState& dialog = exchangeDialog(format);
    const std::string base = resolveName(baseFile);
    if (dialog.fileName.isEmpty() && !base.empty())
        dialog.fileName = pathToQString(folderPart(base) + fileNameWithoutExtension(base) + "." +
                                        pathFromQString(dialog.defaultExtension));
    const auto chosen = prompts().saveFile(this, dialog.request());
    if (!chosen) return;
    dialog.fileName = *chosen;
    const std::string name = pathFromQString(*chosen);

    ExchangeExport request;
    request.format = format;
    request.original = base;
    request.languages = exchangeLanguages();
    const exchange::Written written = exportExchange(document_, sourceKind, request);
    if (!written) {
        ShowMessage(MsgIcon::Error, std::string("The table cannot be exported as ") + formatCaption(format) + ": " +
                                        written.error);
        return;
    }
    // A failed write leaves an existing file as it was.
    if (!writeFileAtomic(name, written.bytes))
        prompts().message(this, MsgIcon::Error, pathToQString("Error saving file \"" + name + "\"."), Ok);
}

void TForm1::ImportExchange(exchange::Format format)
{
    if (document_.empty()) {
        ShowMessage(MsgIcon::Information, "Open a base text first.");
        return;
    }
    DialogState& dialog = exchangeDialog(format);
    const auto chosen = prompts().openFile(this, dialog.request());
    if (!chosen) return;
    dialog.fileName = *chosen;
    const std::string name = pathFromQString(*chosen);
    std::string bytes;
    if (!readFileBytes(name, bytes)) {
        prompts().message(this, MsgIcon::Error, pathToQString("File \"" + name + "\" cannot be read."), Ok);
        return;
    }
    ExchangeImport imported = importExchange(document_, name, std::move(bytes), {});
    if (!imported) {
        prompts().message(this, MsgIcon::Error,
                          pathToQString("File \"" + name + "\" cannot be read as " + formatCaption(format) + ": ") +
                              QString::fromStdString(imported.error),
                          Ok);
        return;
    }
    // Every row the file changes is one step, undone at once.
    const std::size_t applied = imported.edit ? imported.edit->changes().size() : 0;
    if (imported.edit) pushEdit(std::move(imported.edit));
    TableRefresh();

    const std::vector<exchange::Problem>& problems = imported.report.problems;
    if (problems.empty()) return;
    std::string text = std::to_string(applied) + (applied == 1 ? " row was" : " rows were") + " imported; " +
                       std::to_string(problems.size()) + (problems.size() == 1 ? " problem:\n" : " problems:\n");
    for (std::size_t i = 0; i < problems.size() && i < kListedProblems; ++i)
        text += "\n" + exchange::describe(problems[i]);
    if (problems.size() > kListedProblems)
        text += "\n... and " + std::to_string(problems.size() - kListedProblems) + " more.";
    ShowMessage(MsgIcon::Warning, text);
}

}  // namespace tov
