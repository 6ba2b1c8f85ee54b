#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <cstring>

#include "formats/resource_strings/drc_scan.h"
#include "formats/resource_strings/drc_workflow.h"
#include "document/formats.h"
#include "support/files.h"
#include "support/line_views.h"
#include "support/memory.h"
#include "support/strutil.h"
#include "support/text_file.h"

namespace tov {

// Resource-string files (".drc"), the kinds 1, 2, 4 and 255 and every kind
// the program does not know. The working table: identifiers in column 0,
// base texts in 1, destination texts as last read or saved in 2, the base's
// entry lines in 10.
class ResourceStringFormat final : public Format {
public:
    explicit ResourceStringFormat(SourceKind kind);
    FormatFamily family() const override { return FormatFamily::ResourceStrings; }
    const FormatTraits& traits() const override { return resourceStringTraits(); }
    std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const override;
    void reset() override;
    OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options) override;
    OpenResult openDestination(TranslationDocument& doc, const std::string& path, const OpenOptions& options) override;
    OpenResult reopen(TranslationDocument& doc, const std::string& base, const std::string& dest) override;
    bool reopens(const std::string& storedBase) const override;
    bool openBaseKeepsDestination(const TranslationDocument& doc) const override;
    SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    SaveResult saveBlank(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    void clearDestination(TranslationDocument& doc) override;
    void prepareWorkingTable() const override;

protected:
    const TextGrid& workingGrid() const override { return working_; }
    RowNaming naming() const override { return RowNaming::Identifier; }

private:
    // The rows of the document from the working table; destination texts
    // from column 2 when `destinations`, else kept as the rows had them.
    void showRows(TranslationDocument& doc, bool destinations) const;
    // Without the working table: the base's entries become the rows, and a
    // destination's texts go straight into the rows of their identifiers.
    OpenResult readBaseRows(TranslationDocument& doc, const std::string& path);
    OpenResult readDestinationRows(TranslationDocument& doc, const std::string& path);
    // The start-up restore of two files read whole: the rows straight from
    // the files' bytes, the working table put off until it is asked for.
    // Nothing when the files need the readers' other ways (then nothing
    // changed).
    std::optional<OpenResult> reopenRows(TranslationDocument& doc, const std::string& base, const std::string& dest);

    // What the working table is built from when it is put off: the bytes of
    // both files as the restore left them (they do not change any more) and,
    // for each row, where its base entry line and its destination text stand
    // in them. Identifier and base text are taken from the entry line again,
    // so the table does not depend on what the rows hold by then.
    struct PutOffRow {
        std::uint32_t lineAt = 0, lineSize = 0;      // the trimmed base entry line
        std::uint32_t storedAt = 0, storedSize = 0;  // the destination text, unescaped where it stands
    };
    // A destination text that is no view into the file: the line had no
    // closing double quote.
    static constexpr std::uint32_t kWithoutClosingQuote = 0xFFFFFFFF;
    struct PutOff {
        std::vector<PutOffRow> rows;
        std::shared_ptr<const std::string> base, dest;
    };
    mutable TextGrid working_;
    mutable std::unique_ptr<PutOff> putOff_;
};

namespace {

constexpr int kWorkingColumns = 11;
constexpr int kWorkingRowsAtStart = 5;

DialogStart fromDrc(const DrcDialogStart& s)
{
    DialogStart d;
    d.folder = s.folder;
    d.fileName = s.fileName;
    return d;
}

// The save dialogs of the resource-string commands: extension "drc", no filter.
DialogStart drcSaveDialog(const std::string& folder, const std::string& fileName)
{
    DialogStart d;
    d.defaultExtension = "drc";
    d.filter = "";
    d.folder = folder;
    d.fileName = fileName;
    return d;
}

}  // namespace

ResourceStringFormat::ResourceStringFormat(SourceKind kind) : Format(kind)
{
    reset();
}

const FormatTraits& resourceStringTraits()
{
    static constexpr FormatTraits traits{.rowLabel = RowLabel::SpacedNumber, .identifierHint = true};
    return traits;
}

std::unique_ptr<Format> makeResourceStringFormat(SourceKind kind)
{
    return std::make_unique<ResourceStringFormat>(kind);
}

std::optional<DialogStart> ResourceStringFormat::dialog(DialogRole role, const DialogContext& c) const
{
    switch (role) {
    case DialogRole::OpenBase: return fromDrc(drcOpenBaseStart(kind(), c.programFolder));
    case DialogRole::OpenDestination: return fromDrc(drcOpenDestinationStart(kind(), c.programFolder));
    case DialogRole::UseFile: {
        // Nothing opened yet: there is nothing to take a destination for.
        const auto start = drcUseFileStart(kind(), c.programFolder);
        if (!start) return std::nullopt;
        return fromDrc(*start);
    }
    case DialogRole::Blank: {
        const DrcDialogStart blank = drcBlankStart(c.programFolder);
        return drcSaveDialog(blank.folder, blank.fileName);
    }
    case DialogRole::Save: break;
    }
    // The dialog opens on the current destination file; with none, in the
    // program folder.
    const std::string current = absolutePath(c.destFile, c.programFolder);
    return drcSaveDialog(current, current);
}

void ResourceStringFormat::reset()
{
    working_ = TextGrid(kWorkingColumns, kWorkingRowsAtStart);
    putOff_.reset();
}

void ResourceStringFormat::prepareWorkingTable() const
{
    if (!putOff_) return;
    const std::unique_ptr<PutOff> p = std::move(putOff_);
    // As the readers leave it after a restore: the base's rows with their
    // identifiers, texts and entry lines, the destination's texts, and
    // columns 3 to 5 empty. The last row first: each column grows once.
    working_.setRowCount(1);
    for (int c = 0; c <= 5; ++c) working_.clearColumn(c);
    const int last = static_cast<int>(p->rows.size());
    const std::string_view base = *p->base;
    const std::string_view dest = p->dest ? std::string_view(*p->dest) : std::string_view();
    auto fill = [&](int row, const PutOffRow& r) {
        drc::EntryLine line;
        drc::classify(base.substr(r.lineAt, r.lineSize), 0, line);
        for (int c = 3; c <= 5; ++c) working_.setCell(c, row, {});
        working_.setCell(kDrcIdColumn, row, std::string(line.identifier()));
        working_.setCell(kDrcEntryLineColumn, row, std::string(line.line));
        working_.setCell(kDrcBaseColumn, row, line.text());
        working_.setCell(kDrcDestColumn, row,
                         std::string(r.storedAt == kWithoutClosingQuote ? drc::kTextWithoutClosingQuote
                                                                        : dest.substr(r.storedAt, r.storedSize)));
    };
    if (last > 0) fill(last, p->rows.back());
    for (int row = 1; row < last; ++row) fill(row, p->rows[static_cast<std::size_t>(row - 1)]);
    if (last > 0) working_.setRowCount(last + 1);
}

void ResourceStringFormat::showRows(TranslationDocument& doc, bool destinations) const
{
    const auto rows = static_cast<std::size_t>(std::max(0, working_.rowCount() - 1));
    auto rebuild = doc.rebuild();
    std::vector<Entry>& entries = rebuild.entries();
    const bool keep = !destinations && entries.size() == rows;
    entries.resize(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        const int r = static_cast<int>(i) + 1;
        Entry& e = entries[i];
        e.id = working_.cell(kDrcIdColumn, r);
        e.base = working_.cell(kDrcBaseColumn, r);
        e.rule = LengthRule::AtMost;
        if (!keep) {
            e.stored = working_.cell(kDrcDestColumn, r);
            e.dest = e.stored;
        }
    }
}

namespace {

// Why a reader found no resource-string file: the file is not there or
// cannot be read (it may have gone while it was read), or it holds none.
std::string unreadReason(const std::string& path)
{
    std::string bytes;
    if (!readFileBytes(path, bytes)) {
        const int err = errno;
        return err == ENOENT ? "no such file" : std::string("cannot be read (") + std::strerror(err) + ")";
    }
    return "not a resource-string file (no STRINGTABLE line before its entries)";
}

// What a reader made of a file, as the result of an open.
OpenResult readResult(const DrcRead& read, const std::string& path)
{
    OpenResult r;
    r.ok = static_cast<bool>(read);
    if (read.refused())
        r.diagnostics.push_back({.code = DiagnosticCode::Refused, .file = path, .line = static_cast<int>(read.line),
                                 .detail = drcRefusalReason(read)});
    else if (!read)
        r.diagnostics.push_back({.code = DiagnosticCode::NotResourceStrings, .file = path, .detail = unreadReason(path)});
    return r;
}

}  // namespace

bool ResourceStringFormat::openBaseKeepsDestination(const TranslationDocument&) const
{
    prepareWorkingTable();
    return drcTableHoldsDestination(working_);
}

OpenResult ResourceStringFormat::openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options)
{
    if (!options.workingTable) return readBaseRows(doc, path);
    prepareWorkingTable();
    // Over the rows while they hold a destination (another language of the
    // same base), else anew: then the rows are those of this file only.
    const bool over = drcTableHoldsDestination(working_);
    const int rows = working_.rowCount();
    if (!over) working_.setRowCount(1);
    const DrcRead read = over ? ReadDrcColumn(kDrcBaseColumn, path, working_) : ReadDrcBase(path, working_);
    OpenResult r = readResult(read, path);
    // A file too large to be held whole changed nothing, and stays unnamed.
    if (read.refused()) {
        working_.setRowCount(rows);
        return r;
    }
    showRows(doc, !over);
    r.fileName = path;
    return r;
}

OpenResult ResourceStringFormat::openDestination(TranslationDocument& doc, const std::string& path,
                                                 const OpenOptions& options)
{
    if (!options.workingTable) return readDestinationRows(doc, path);
    prepareWorkingTable();
    const DrcRead read = openDrcDestination(path, working_);
    // The texts as read become the destination of every row.
    showRows(doc, true);
    OpenResult r = readResult(read, path);
    r.fileName = path;
    return r;
}

OpenResult ResourceStringFormat::reopen(TranslationDocument& doc, const std::string& base, const std::string& dest)
{
    prepareWorkingTable();
    if (std::optional<OpenResult> read = reopenRows(doc, base, dest)) return *read;
    const int rows = working_.rowCount();
    working_.setRowCount(1);
    std::string failed = base;
    const DrcRead read = reopenDrcFiles(base, dest, working_, &failed);
    if (read.refused() && failed == base) working_.setRowCount(rows);
    else showRows(doc, true);
    OpenResult r = readResult(read, failed);
    r.fileName = base;
    return r;
}

OpenResult ResourceStringFormat::readBaseRows(TranslationDocument& doc, const std::string& path)
{
    // The rows view the file's bytes, which the document keeps: texts are
    // unescaped where they stand, identifiers taken as they are. The entries
    // are taken one line after the other, without a list of the lines.
    auto data = std::make_shared<std::string>();
    const bool readAll = readFileBytes(path, *data);
    std::vector<Entry> entries;
    // At most one row a line, and no more than a file may hold.
    const auto lines = static_cast<std::size_t>(std::count(data->begin(), data->end(), '\n')) + 1;
    entries.reserve(std::min(lines, static_cast<std::size_t>(kDrcMaxEntries)));
    const drc::BaseEntries found = drc::scanBaseEntries(*data, [&entries, &data](const drc::EntryLine& line) {
        Entry& e = entries.emplace_back();
        // An identifier that runs into the text is taken before the text is
        // unescaped over it.
        e.id = line.identifierOverlapsText() ? Text(line.identifier()) : Text::borrowed(line.identifier());
        e.base = Text::borrowed(line.textInPlace(*data));
        e.rule = LengthRule::AtMost;
    });
    DrcRead read;
    read.status = found.status;
    read.line = found.line;
    // A file too large to be held whole changes nothing, and stays unnamed.
    if (read.refused()) return readResult(read, path);
    doc.keep(std::move(data));
    doc.assign(std::move(entries));
    if (!readAll) read.status = DrcRead::Status::NoHeader;
    OpenResult r = readResult(read, path);
    r.fileName = path;
    return r;
}

OpenResult ResourceStringFormat::readDestinationRows(TranslationDocument& doc, const std::string& path)
{
    // The file is read piece by piece and only its texts are kept, unescaped
    // where they stand and then copied into blocks that the rows view and
    // the document keeps; a block is never outgrown, so a view into it never
    // moves (a text longer than a block is the row's own).
    constexpr std::size_t kBlock = 256 * 1024;
    std::vector<std::shared_ptr<std::string>> blocks;
    auto keepText = [&blocks](std::string_view text) {
        if (text.size() > kBlock) return Text(text);
        if (blocks.empty() || blocks.back()->size() + text.size() > blocks.back()->capacity()) {
            blocks.push_back(std::make_shared<std::string>());
            blocks.back()->reserve(kBlock);
        }
        std::string& block = *blocks.back();
        const std::size_t start = block.size();
        block.append(text);
        return Text::borrowed(std::string_view(block).substr(start));
    };
    DrcRead read;
    {
        auto rebuild = doc.rebuild();
        std::vector<Entry>& entries = rebuild.entries();
        // Built at the first line of the body: a file without one fills nothing.
        std::optional<drc::IdentifierIndex> rowsOf;
        std::optional<drc::IdentifierMerge> merge;
        drc::BodyLines body;
        std::size_t index = 0;
        LineCutter cut;
        auto takeLine = [&](std::string_view bodyLine) {
            const std::size_t at = index++;
            // Every byte 0xA0 (no-break space) is a blank (the header's
            // marker holds none).
            std::string& buffer = cut.buffer();
            char* const bytes = buffer.data() + (bodyLine.data() - buffer.data());
            std::replace(bytes, bytes + bodyLine.size(), '\xA0', ' ');
            if (!body.take(bodyLine)) return;
            if (!merge) {
                rowsOf.emplace(static_cast<int>(entries.size()) + 1, [&entries](int row) -> std::string_view {
                    return entries[static_cast<std::size_t>(row - 1)].id;
                });
                merge.emplace(*rowsOf);
            }
            // A later line that fills a row again wins.
            drc::EntryLine line;
            if (const int row = merge->rowOf(bodyLine, at, line))
                entries[static_cast<std::size_t>(row - 1)].stored = keepText(line.textInPlace(buffer));
        };
        const bool readAll = readFilePieces(
            path, [](std::size_t) {}, [&](std::string_view piece) { cut.take(piece, takeLine); });
        cut.finish(takeLine);
        if (body.any() && readAll) read.status = DrcRead::Status::Read;
        // The texts as read become the destination of every row.
        for (Entry& e : entries) e.dest = e.stored;
        for (auto& block : blocks) doc.keep(std::move(block));
    }
    OpenResult r = readResult(read, path);
    r.fileName = path;
    return r;
}

namespace {

// A text of an entry line as a row holds it: a view into the line, or into
// `arena` where it had to be unescaped (while the arena's room lasts: a view
// into it must never move), else a text of its own.
Text entryText(const drc::EntryLine& line, std::string& arena, BackAhead& back)
{
    if (const std::optional<std::string_view> view = line.textView()) return Text::borrowed(*view);
    // The text is never longer than its line.
    const std::size_t at = arena.size();
    if (line.line.size() > arena.capacity() - at) return Text(line.text());
    back(arena.data(), at, arena.capacity());
    line.appendText(arena);
    return Text::borrowed(std::string_view(arena).substr(at));
}

// Where a view stands in `bytes`.
std::uint32_t offsetIn(std::string_view view, const std::string& bytes)
{
    return static_cast<std::uint32_t>(view.data() - bytes.data());
}

}  // namespace

std::optional<OpenResult> ResourceStringFormat::reopenRows(TranslationDocument& doc, const std::string& base,
                                                           const std::string& dest)
{
    // Offsets into the files are kept in 32 bits; larger files take the
    // readers' way.
    constexpr std::size_t kMostBytes = kWithoutClosingQuote - 1;
    auto baseBytes = std::make_shared<std::string>();
    if (!readFileBytes(base, *baseBytes) || baseBytes->size() > kMostBytes) return std::nullopt;
    std::shared_ptr<std::string> destBytes;
    if (!dest.empty() && fileExists(dest)) {
        destBytes = std::make_shared<std::string>();
        if (!readFileBytes(dest, *destBytes) || destBytes->size() > kMostBytes) return std::nullopt;
    }
    // The rows are built straight from the lines as they come, each once;
    // the texts to unescape go into the arena (never longer than the file
    // they come from), the rest are views into the base's bytes, which keep
    // their entry lines as they are for the working table.
    auto arena = std::make_shared<std::string>();
    arena->reserve(baseBytes->size());
    const auto lines = static_cast<std::size_t>(std::count(baseBytes->begin(), baseBytes->end(), '\n')) + 1;
    const std::size_t most = std::min(lines, static_cast<std::size_t>(kDrcMaxEntries));
    std::vector<Entry> entries;
    entries.reserve(most);
    auto putOff = std::make_unique<PutOff>();
    putOff->rows.reserve(most);
    BackAhead backEntries, backRows, backArena;
    const drc::BaseEntries found = drc::scanBaseEntries(*baseBytes, [&](const drc::EntryLine& line) {
        backEntries(entries.data(), entries.size() * sizeof(Entry), entries.capacity() * sizeof(Entry));
        backRows(putOff->rows.data(), putOff->rows.size() * sizeof(PutOffRow), putOff->rows.capacity() * sizeof(PutOffRow));
        Entry& e = entries.emplace_back();
        e.id = Text::borrowed(line.identifier());
        e.base = entryText(line, *arena, backArena);
        e.rule = LengthRule::AtMost;
        putOff->rows.push_back({.lineAt = offsetIn(line.line, *baseBytes),
                                .lineSize = static_cast<std::uint32_t>(line.line.size())});
    });
    if (found.status != DrcRead::Status::Read) return std::nullopt;
    if (destBytes) {
        // The destination's texts are unescaped where they stand: a later
        // line that fills a row again wins.
        std::string& bytes = *destBytes;
        const drc::IdentifierIndex rowsOf(static_cast<int>(entries.size()) + 1, [&entries](int row) -> std::string_view {
            return entries[static_cast<std::size_t>(row - 1)].id;
        });
        drc::IdentifierMerge merge(rowsOf);
        const bool body = drc::forEachBodyLine(bytes, [&](std::string_view bodyLine, std::size_t at) {
            // Every byte 0xA0 (no-break space) is a blank (the header's
            // marker holds none).
            char* const first = bytes.data() + offsetIn(bodyLine, bytes);
            std::replace(first, first + bodyLine.size(), '\xA0', ' ');
            drc::EntryLine line;
            const int row = merge.rowOf(bodyLine, at, line);
            if (row == 0) return;
            const std::string_view text = line.textInPlace(bytes);
            PutOffRow& kept = putOff->rows[static_cast<std::size_t>(row - 1)];
            const std::less<const char*> before;
            const bool inFile = !before(text.data(), bytes.data()) && !before(bytes.data() + bytes.size(), text.data());
            kept.storedAt = inFile ? offsetIn(text, bytes) : kWithoutClosingQuote;
            kept.storedSize = static_cast<std::uint32_t>(text.size());
            Entry& e = entries[static_cast<std::size_t>(row - 1)];
            e.stored = Text::borrowed(text);
            e.dest = e.stored;
        });
        // A destination without a body takes the readers' way, which says so.
        if (!body) return std::nullopt;
    }
    putOff->base = baseBytes;
    putOff->dest = destBytes;
    doc.keep(std::move(baseBytes));
    if (destBytes) doc.keep(std::move(destBytes));
    doc.keep(std::move(arena));
    doc.assign(std::move(entries));
    putOff_ = std::move(putOff);
    OpenResult r;
    r.ok = true;
    r.fileName = base;
    return r;
}

bool ResourceStringFormat::reopens(const std::string& storedBase) const
{
    // A name of another program's file is not reopened under these kinds.
    if (kind() == kKonfix) return contains(storedBase, "Konfix");
    if (kind() == kVigrex) return contains(storedBase, "Vigrex");
    return true;
}

SaveResult ResourceStringFormat::save(TranslationDocument& doc, const std::string& path, const SaveOptions& options)
{
    prepareWorkingTable();
    SaveResult r;
    r.destFile = path;
    // The entries are what is written: their identifiers and destinations.
    working_.setRowCount(doc.size() + 1);
    for (int i = 0; i < doc.size(); ++i) {
        working_.setCell(kDrcIdColumn, i + 1, doc.entry(i).id.str());
        working_.setCell(kDrcDestColumn, i + 1, doc.entry(i).dest.str());
    }
    const WriteResult written = saveDrcDestination(path, working_, options.backup);
    if (!written) {
        // The stored texts stay what the file still holds.
        for (int i = 0; i < doc.size(); ++i) working_.setCell(kDrcDestColumn, i + 1, doc.entry(i).stored.str());
        reportUnwritten(r, DiagnosticCode::SaveFailed, path, written.error, written.backupFailed);
        return r;
    }
    doc.markSaved();
    r.ok = true;
    r.files.push_back(path);
    return r;
}

SaveResult ResourceStringFormat::saveBlank(TranslationDocument& doc, const std::string& path,
                                           const SaveOptions& options)
{
    prepareWorkingTable();
    SaveResult r;
    r.destFile = path;
    const WriteResult written = writeBlankDrcDestination(path, working_, options.backup);
    showRows(doc, true);
    if (!written) {
        reportUnwritten(r, DiagnosticCode::SaveFailed, path, written.error, written.backupFailed);
        return r;
    }
    r.ok = true;
    r.files.push_back(path);
    return r;
}

void ResourceStringFormat::clearDestination(TranslationDocument& doc)
{
    prepareWorkingTable();
    working_.clearColumn(kDrcDestColumn);
    doc.clearDestination();
}

}  // namespace tov
