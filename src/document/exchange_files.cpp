#include "document/exchange_files.h"

#include "formats/checks/checks.h"
#include "support/cp1250.h"
#include "support/strutil.h"

namespace tov {

namespace {

// The rows of a document as the exchange sees them. The rows view the
// entries and the names held here; neither may change while they are used.
struct DocumentRows {
    std::vector<std::string> names;
    std::vector<Location> places;  // firmware: where each base text stands
    std::string referenceFile;     // any other kind: its one base file
    std::vector<exchange::Row> rows;

    DocumentRows(const TranslationDocument& doc, const std::string& original)
        : referenceFile(fileNamePart(original))
    {
        const bool located = doc.naming() == RowNaming::Location;
        const auto count = static_cast<std::size_t>(doc.size());
        names.reserve(count);
        if (located) places.reserve(count);
        for (int i = 0; i < doc.size(); ++i) {
            if (!located) {
                names.push_back(doc.rowName(i));
                continue;
            }
            const Location& at = places.emplace_back(doc.location(i));
            names.push_back(at.file + ":" + std::to_string(at.line));
        }
        rows.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const Entry& e = doc.entry(static_cast<int>(i));
            exchange::Row& r = rows.emplace_back();
            r.row = static_cast<int>(i) + 1;
            r.id = names[i];
            r.base = e.base;
            r.dest = e.dest;
            r.comment = e.baseComment;
            r.referenceFile = located ? std::string_view(places[i].file) : std::string_view(referenceFile);
            r.referenceLine = located ? places[i].line : 0;
            // Lengths count bytes, and every byte of the code page is one character.
            if (e.rule != LengthRule::None) r.width = {static_cast<int>(e.base.size()), e.rule == LengthRule::Fixed};
        }
    }
};

std::string tagOf(std::string_view name) { return exchange::guessLanguage(cp1250::toUtf8(name)); }

}  // namespace

ExchangeLanguages guessExchangeLanguages(const TranslationDocument& doc, const std::string& baseFile,
                                         const std::string& destFile)
{
    ExchangeLanguages l;
    // A file of every language names them; otherwise the file names tell.
    if (!doc.baseLanguageName.empty()) l.source = tagOf(doc.baseLanguageName);
    if (!doc.destLanguageName.empty()) l.target = tagOf(doc.destLanguageName);
    if (l.source.empty() && !baseFile.empty()) l.source = exchange::guessLanguage(baseFile);
    if (l.target.empty() && !destFile.empty()) l.target = exchange::guessLanguage(destFile);
    return l;
}

exchange::Written exportExchange(const TranslationDocument& doc, std::uint8_t kind, const ExchangeExport& request)
{
    const DocumentRows rows(doc, request.original);
    exchange::FileInfo info;
    info.original = std::string(fileNamePart(request.original));
    info.sourceLanguage = request.languages.source;
    info.targetLanguage = request.languages.target;
    info.notation = checks::forKind(kind).format;
    const exchange::File file = exchange::makeFile(rows.rows, info);
    return request.format == exchange::Format::Po ? exchange::writePo(file) : exchange::writeXliff(file);
}

ExchangeImport importExchange(const TranslationDocument& doc, std::string_view name, std::string bytes,
                              const exchange::ImportOptions& options)
{
    ExchangeImport result;
    result.format = exchange::detectFormat(name, bytes);
    if (result.format == exchange::Format::Tsv) {
        result.error = "neither an XLIFF nor a PO file";
        return result;
    }
    const exchange::ReadResult read = exchange::read(result.format, std::move(bytes));
    if (!read) {
        result.error = read.error;
        return result;
    }
    const DocumentRows rows(doc, {});
    result.report = exchange::matchImport(rows.rows, read.file, options);
    std::vector<std::pair<int, std::string>> texts;
    texts.reserve(result.report.edits.size());
    for (exchange::Edit& e : result.report.edits) texts.emplace_back(e.row - 1, std::move(e.text));
    result.report.edits.clear();
    auto edit = std::make_unique<SetDestinations>(doc, texts);
    if (!edit->empty()) result.edit = std::move(edit);
    return result;
}

}  // namespace tov
