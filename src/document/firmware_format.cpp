#include <filesystem>

#include "document/formats.h"
#include "formats/firmware/firmware_sets.h"
#include "formats/firmware/firmware_lines.h"
#include "support/convert.h"
#include "support/files.h"
#include "support/strutil.h"

namespace tov {

// Firmware file sets of the four families (firmwareFamilies()). The working
// table: the base lines (1) with their line numbers (0), the destination
// lines at the same indices (2), the base file names (4) and line counts (5),
// the base texts (6) and the destination texts as read (7).
//
// The files are read as views into their bytes, which the document keeps,
// and their texts go straight into the rows. The window keeps the lines in
// the working table too, as the save merges the texts into them; the texts
// of columns 6 and 7 are taken out of the lines only when the working table
// is shown.
class FirmwareFormat final : public Format {
public:
    explicit FirmwareFormat(SourceKind kind);
    FormatFamily family() const override { return FormatFamily::Firmware; }
    const FormatTraits& traits() const override { return firmwareTraits(); }
    std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const override;
    void reset() override;
    OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options) override;
    OpenResult openDestination(TranslationDocument& doc, const std::string& path, const OpenOptions& options) override;
    OpenResult reopen(TranslationDocument& doc, const std::string& base, const std::string& dest) override;
    bool openBaseKeepsDestination(const TranslationDocument&) const override { return true; }
    SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    SaveResult saveBlank(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    void clearDestination(TranslationDocument& doc) override;
    void prepareWorkingTable() const override;

    const FirmwareFamily& familyConstants() const;

protected:
    const TextGrid& workingGrid() const override { return working_; }
    RowNaming naming() const override { return RowNaming::Location; }

private:
    OpenResult openDestinationAs(TranslationDocument& doc, const FirmwareFamily& family, const std::string& path,
                                 const OpenOptions& options);
    // The files' lines are views into their bytes and their texts go
    // straight into the rows. With `lines` (the window) the lines are stored
    // in the working table for the save; without (the tool) no table is
    // built, and such a set cannot be saved.
    OpenResult readBaseRows(TranslationDocument& doc, const std::string& path, bool lines);
    OpenResult readDestinationRows(TranslationDocument& doc, const FirmwareFamily& family, const std::string& path,
                                   const OpenOptions& options, bool lines);
    // The lines of the files of a set go into working column `col` (1: the
    // base lines, with their numbers within their file in column 0; 2: the
    // destination lines), file after file, once the table is asked for: now
    // only its row count is set.
    void storeLines(int col, const std::vector<std::size_t>& counts);
    // Fills the columns that storeLines put off.
    void fillDueLines() const;

    mutable TextGrid working_;
    // What the save merges from: the base length (1), which marks a row
    // with a base text, the destination text (4), set just before, and the
    // line index (8) of each text. The texts themselves are in the rows.
    TextGrid table_;
    bool destinationLines_ = false;  // working column 2 holds the lines of a destination set
    // Read without the working table (the tool).
    bool withoutTable_ = false;
    // The lines of the base and of the destination set as read, one after
    // another: views into bytes the document keeps, held here too.
    std::vector<std::string_view> baseLines_, destLines_;
    std::vector<std::shared_ptr<const std::string>> baseBytes_, destBytes_;
    // Working columns 6 and 7 are still to be taken out of those lines.
    mutable bool baseTextsDue_ = false;
    mutable bool destTextsDue_ = false;
    // Working columns 0 and 1, and column 2, are still to be filled from
    // those lines (the base lines per file in baseCounts_).
    mutable bool baseLinesDue_ = false;
    mutable bool destLinesDue_ = false;
    std::vector<std::size_t> baseCounts_;
    // The table's base lengths and line indexes are still to be taken from
    // the rows (the save's first need of them).
    bool tableDue_ = false;
};

namespace {

constexpr int kWorkingColumns = 11;
constexpr int kWorkingRowsAtStart = 5;
constexpr int kTableColumns = tcol::kCount;

DialogStart fromFirmware(const FirmwareDialog& f)
{
    DialogStart d;
    d.folder = f.initialFolder;
    d.fileName = f.fileName;
    if (!f.filter.empty()) d.filter = f.filter;
    return d;
}

// Why a file of a set could not be read.
std::string unreadableReason(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec) ? "cannot be read" : "no such file";
}

// A destination line that can take no text, in the file of the destination set.
Diagnostic unplaced(const FirmwareUnplacedText& u, const TranslationDocument& doc, Severity severity)
{
    const std::vector<std::string>& files = doc.files.destFiles;
    return {.severity = severity,
            .code = DiagnosticCode::Unplaced,
            .file = u.file < files.size() ? files[u.file] : std::string(),
            .row = u.row,
            .line = u.line,
            .detail = u.what()};
}

void reportUnreadable(Diagnostics& out, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        out.push_back({.code = DiagnosticCode::SetFileUnreadable, .file = path, .detail = unreadableReason(path)});
}

}  // namespace

FirmwareFormat::FirmwareFormat(SourceKind kind) : Format(kind)
{
    reset();
}

const FirmwareFamily& FirmwareFormat::familyConstants() const
{
    const FirmwareFamily* f = firmwareFamily(kind());
    return f ? *f : firmwareFamilies()[0];
}

const FormatTraits& firmwareTraits()
{
    static constexpr FormatTraits traits{.rowLabel = RowLabel::Number,
                                         .commentColumns = true,
                                         .lineGaps = true,
                                         .wideCommentLayout = true,
                                         .previewComments = true,
                                         .promptBeforeEveryOpen = true,
                                         .clearAllOnKindChange = true,
                                         .cancelKeepsKind = true};
    return traits;
}

std::unique_ptr<Format> makeFirmwareFormat(SourceKind kind)
{
    return std::make_unique<FirmwareFormat>(kind);
}

std::optional<DialogStart> FirmwareFormat::dialog(DialogRole role, const DialogContext& c) const
{
    const FirmwareFamily& family = familyConstants();
    switch (role) {
    case DialogRole::OpenBase: return fromFirmware(firmwareBaseDialog(family, c.programFolder));
    case DialogRole::OpenDestination:
        return fromFirmware(firmwareDestinationDialog(family, c.programFolder, kFirmwareOutSuffix));
    case DialogRole::UseFile: return fromFirmware(firmwareDestinationDialog(family, c.programFolder, ""));
    case DialogRole::Blank:
    case DialogRole::Save: break;
    }
    DialogStart d = fromFirmware(
        firmwareSaveDialog(family, c.programFolder, resolveProgramRelative(c.destFile, c.programFolder),
                           c.programFolder));
    d.defaultExtension = "";
    return d;
}

void FirmwareFormat::reset()
{
    working_ = TextGrid(kWorkingColumns, kWorkingRowsAtStart);
    table_ = TextGrid(kTableColumns, 1);
    destinationLines_ = false;
    withoutTable_ = false;
    baseLines_ = {};
    baseBytes_ = {};
    destLines_ = {};
    destBytes_ = {};
    baseTextsDue_ = destTextsDue_ = false;
    baseLinesDue_ = destLinesDue_ = tableDue_ = false;
    baseCounts_ = {};
}

void FirmwareFormat::prepareWorkingTable() const
{
    fillDueLines();
    // The texts of the lines in order, from row 1, as the readers extract them.
    auto extract = [this](int col, const std::vector<std::string_view>& lines) {
        working_.clearColumn(col);
        int k = 0;
        for (const std::string_view line : lines) {
            std::string text = QuotedText(line);
            if (!text.empty()) working_.setCell(col, ++k, std::move(text));
        }
    };
    if (baseTextsDue_) extract(wcol::kBaseTexts, baseLines_);
    if (destTextsDue_) extract(wcol::kDestTexts, destLines_);
    baseTextsDue_ = destTextsDue_ = false;
}

void FirmwareFormat::storeLines(int col, const std::vector<std::size_t>& counts)
{
    // The readers refuse a set of more lines than the table has rows, so
    // every line has its row.
    std::size_t total = 0;
    for (const std::size_t n : counts) total += n;
    if (!counts.empty()) working_.setRowCount(static_cast<int>(std::max<std::size_t>(total, 1)));
    if (col == wcol::kBaseLines) {
        baseCounts_ = counts;
        baseLinesDue_ = true;
    } else {
        destLinesDue_ = true;
    }
}

void FirmwareFormat::fillDueLines() const
{
    // The last row first: each column grows once.
    if (baseLinesDue_) {
        baseLinesDue_ = false;
        auto fill = [this](std::size_t row, std::size_t inFile) {
            working_.setCell(0, static_cast<int>(row), std::to_string(inFile));
            working_.setCell(wcol::kBaseLines, static_cast<int>(row), std::string(baseLines_[row]));
        };
        const std::size_t total = baseLines_.size();
        for (auto n = baseCounts_.rbegin(); n != baseCounts_.rend(); ++n)
            if (*n > 0) {
                fill(total - 1, *n - 1);
                break;
            }
        std::size_t row = 0;
        for (const std::size_t n : baseCounts_)
            for (std::size_t i = 0; i < n; ++i) fill(row++, i);
    }
    if (destLinesDue_) {
        destLinesDue_ = false;
        auto fill = [this](std::size_t row) {
            working_.setCell(wcol::kDestLines, static_cast<int>(row), std::string(destLines_[row]));
        };
        const std::size_t total = destLines_.size();
        if (total > 0) fill(total - 1);
        for (std::size_t row = 0; row + 1 < total; ++row) fill(row);
    }
}

namespace {

// The quoted texts of the lines of a set as texts of rows: views into the
// lines where they read as they stand; the others, whose apostrophe runs
// collapse, are gathered in one buffer that the document keeps, and become
// views into it once it has stopped growing (place()).
class LineTexts {
public:
    // The text of `line` for row `row` (from 0); empty when it has none.
    Text read(std::string_view line, std::size_t row)
    {
        const std::size_t at = collapsed_->size();
        if (const std::optional<std::string_view> view = QuotedTextView(line, *collapsed_)) return Text::borrowed(*view);
        pending_.push_back({row, at, collapsed_->size() - at});
        // A stand-in until place(): not empty, as the text is not.
        return Text::borrowed(kPending);
    }
    // Puts the gathered texts into `member` of their rows (those beyond
    // `rows` are gone) and hands the buffer to `doc`.
    void place(std::vector<Entry>& entries, Text Entry::*member, TranslationDocument& doc)
    {
        const std::string_view all = *collapsed_;
        for (const Pending& p : pending_)
            if (p.row < entries.size()) entries[p.row].*member = Text::borrowed(all.substr(p.at, p.size));
        if (!collapsed_->empty()) doc.keep(collapsed_);
    }

private:
    static constexpr std::string_view kPending = "?";
    struct Pending {
        std::size_t row, at, size;
    };
    std::shared_ptr<std::string> collapsed_ = std::make_shared<std::string>();
    std::vector<Pending> pending_;
};

}  // namespace

OpenResult FirmwareFormat::readBaseRows(TranslationDocument& doc, const std::string& path, bool lines)
{
    OpenResult r;
    const std::string folder = folderPart(path);
    const std::string mask = "*" + extensionPart(fileNamePart(path));
    std::vector<std::string> names = listFolder(folder, mask);
    if (names.empty()) {
        r.diagnostics.push_back({.code = DiagnosticCode::NoMatchingFiles, .file = folder + mask});
        return r;
    }
    // Every file is read before anything changes: a set that cannot be held
    // is refused as it is.
    std::vector<FirmwareFileViews> read;
    read.reserve(names.size());
    std::vector<std::string> unreadable;
    std::size_t total = 0;
    for (const std::string& name : names) {
        read.push_back(ReadFirmwareFileViews(folder + name));
        if (!read.back().ok) unreadable.push_back(folder + name);
        total += read.back().lines.size();
    }
    if (total > kFirmwareMaxLines) {
        r.diagnostics.push_back({.code = DiagnosticCode::TooManyLines, .file = path});
        return r;
    }
    reportUnreadable(r.diagnostics, unreadable);
    if (lines) {
        // The destination lines stay: another base language of the same set
        // keeps its templates. Lines of a larger set still put off go into
        // the table first: the rows beyond this set keep them, as if they
        // had been stored at once.
        if (baseLinesDue_ && baseLines_.size() > total) fillDueLines();
        table_ = TextGrid(kTableColumns, 1);
        tableDue_ = true;
        withoutTable_ = false;
        baseLines_.clear();
        baseBytes_.clear();
    } else {
        reset();
        withoutTable_ = true;
    }

    FileSet& files = doc.files;
    files.baseFiles = std::move(names);
    files.lineCounts.clear();
    files.lineStarts.clear();
    baseLines_.reserve(total);
    for (FirmwareFileViews& file : read) {
        files.lineStarts.push_back(baseLines_.size());
        files.lineCounts.push_back(file.lines.size());
        baseLines_.insert(baseLines_.end(), file.lines.begin(), file.lines.end());
        baseBytes_.push_back(std::move(file.bytes));
    }

    // The destination texts stay with their rows: another base language of
    // the same set keeps the translation.
    auto rebuild = doc.rebuild();
    std::vector<Entry>& entries = rebuild.entries();
    std::size_t k = 0;
    LineTexts texts;
    for (std::size_t line = 0; line < baseLines_.size(); ++line) {
        Text text = texts.read(baseLines_[line], k);
        if (text.empty()) continue;
        if (k == entries.size()) entries.emplace_back();
        Entry& e = entries[k++];
        e.base = std::move(text);
        e.baseComment = Text::borrowed(LineCommentView(baseLines_[line]));
        e.line = static_cast<std::uint32_t>(line);
    }
    entries.resize(k);
    texts.place(entries, &Entry::base, doc);
    for (Entry& e : entries) {
        e.rule = fixedRuleFor(e.base);
        e.dest = fitText(e.rule, e.base, e.dest);
    }
    for (const auto& bytes : baseBytes_) doc.keep(bytes);
    r.ok = true;
    r.fileName = path;
    if (!lines) return r;

    // The working table as the save needs it: the file names, no name below
    // them (the save writes a file per name up to the first empty one), the
    // lines and their counts.
    const int fileCount = static_cast<int>(files.baseFiles.size());
    if (working_.rowCount() < fileCount) working_.setRowCount(fileCount);
    for (int i = 0; i < fileCount; ++i) working_.setCell(wcol::kFileNames, i, files.baseFiles[static_cast<std::size_t>(i)]);
    for (int i = fileCount;
         !working_.cell(wcol::kFileNames, i).empty() || !working_.cell(wcol::kLineCounts, i).empty(); ++i) {
        working_.setCell(wcol::kFileNames, i, std::string());
        working_.setCell(wcol::kLineCounts, i, std::string());
    }
    storeLines(wcol::kBaseLines, files.lineCounts);
    for (int i = 0; i < fileCount; ++i)
        working_.setCell(wcol::kLineCounts, i, std::to_string(files.lineCounts[static_cast<std::size_t>(i)]));
    if (working_.rowCount() <= static_cast<int>(k)) working_.setRowCount(static_cast<int>(k) + 1);
    baseTextsDue_ = true;
    table_.setRowCount(static_cast<int>(k) + 1);
    return r;
}

OpenResult FirmwareFormat::readDestinationRows(TranslationDocument& doc, const FirmwareFamily& family,
                                               const std::string& path, const OpenOptions& options, bool keepLines)
{
    OpenResult r;
    const FileSet& files = doc.files;
    std::vector<FirmwareFileViews> read;
    read.reserve(files.baseFiles.size());
    std::vector<std::string> destFiles;
    std::vector<std::string> unreadable;
    std::vector<std::size_t> lineCounts;
    std::optional<Diagnostic> lineCountFailure;
    std::size_t total = 0;
    for (std::size_t i = 0; i < files.baseFiles.size(); ++i) {
        const std::string file = firmwareSetFile(path, files.baseFiles[i]);
        read.push_back(ReadFirmwareFileViews(file));
        destFiles.push_back(file);
        if (!read.back().ok) unreadable.push_back(file);
        const std::size_t n = read.back().lines.size();
        lineCounts.push_back(n);
        const std::size_t expected = i < files.lineCounts.size() ? files.lineCounts[i] : 0;
        if (family.lineCountCheck && !options.check && n != expected) {
            // The set does not fit its base: the family ends the program on it.
            lineCountFailure = Diagnostic{.code = DiagnosticCode::LineCount, .file = file, .count = n,
                                          .expected = expected, .fatal = true};
            break;
        }
        total += n;
    }
    reportUnreadable(r.diagnostics, unreadable);
    if (lineCountFailure) {
        r.diagnostics.push_back(*lineCountFailure);
        return r;
    }
    if (total > kFirmwareMaxLines) {
        r.diagnostics.push_back({.code = DiagnosticCode::TooManyLines, .file = path});
        return r;
    }
    if (options.check) {
        for (std::size_t i = 0; i < lineCounts.size() && i < files.lineCounts.size(); ++i) {
            if (lineCounts[i] != files.lineCounts[i])
                r.diagnostics.push_back({.severity = Severity::Warning,
                                         .code = DiagnosticCode::LineCount,
                                         .file = destFiles[i],
                                         .count = lineCounts[i],
                                         .expected = files.lineCounts[i]});
        }
    }
    std::vector<std::string_view> lines;
    lines.reserve(total);
    for (const FirmwareFileViews& file : read) lines.insert(lines.end(), file.lines.begin(), file.lines.end());
    doc.files.destFiles = destFiles;
    destinationLines_ = true;

    auto rebuild = doc.rebuild();
    std::vector<Entry>& entries = rebuild.entries();
    // The texts of the destination lines fill the rows in order, as long as
    // each stands on the line of its row's base text; the first that does not
    // (or that has no row) is where the sets part, and the texts stop there.
    std::size_t k = 0;
    int failure = 0;
    std::size_t failureLine = 0;
    LineTexts texts;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        Text text = texts.read(lines[line], k);
        if (text.empty()) continue;
        ++k;
        if (k <= entries.size()) {
            Entry& e = entries[k - 1];
            e.stored = std::move(text);
            e.destComment = Text::borrowed(LineCommentView(lines[line]));
        }
        if (k > entries.size() || entries[k - 1].line != line) {
            failure = static_cast<int>(k);
            failureLine = line;
            if (k <= entries.size()) entries[k - 1].destComment.clear();
            break;
        }
    }
    texts.place(entries, &Entry::stored, doc);
    const std::size_t filled = failure ? static_cast<std::size_t>(failure) : k;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Entry& e = entries[i];
        if (i >= filled) {
            e.stored.clear();
            e.destComment.clear();
        }
        e.dest = fitText(e.rule, e.base, e.stored);
        e.structure = static_cast<int>(i) + 1 == failure;
    }
    doc.structureFailureRow = failure;
    for (const FirmwareFileViews& file : read) doc.keep(file.bytes);
    if (keepLines) {
        if (destLinesDue_ && destLines_.size() > lines.size()) fillDueLines();
        storeLines(wcol::kDestLines, lineCounts);
        // Without a failure every text of the set has a row.
        if (!failure && working_.rowCount() <= static_cast<int>(k)) working_.setRowCount(static_cast<int>(k) + 1);
        destLines_ = lines;
        destBytes_.clear();
        for (const FirmwareFileViews& file : read) destBytes_.push_back(file.bytes);
        destTextsDue_ = true;
    }

    if (failure) {
        FirmwareStructureFailure f;
        f.row = failure;
        const auto [destFile, destLine] = firmwareFileAndLine(lineCounts, failureLine);
        if (destFile < destFiles.size()) f.destPath = destFiles[destFile];
        f.destLine = destLine;
        if (static_cast<std::size_t>(failure) <= entries.size()) {
            const auto [baseFile, baseLine] = firmwareFileAndLine(files.lineCounts, entries[failure - 1].line);
            if (baseFile < files.baseFiles.size()) f.baseFile = files.baseFiles[baseFile];
            f.baseLine = baseLine;
        }
        r.diagnostics.push_back(
            {.code = DiagnosticCode::Structure, .file = f.destPath, .row = f.row, .line = f.destLine, .detail = f.what()});
    } else if (options.check) {
        // The lines that could take no text, whatever is typed.
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::size_t at = entries[i].line;
            const std::string_view dest = at < lines.size() ? lines[at] : std::string_view();
            const std::string_view base = at < baseLines_.size() ? baseLines_[at] : std::string_view();
            if (MergeTextIntoDestLine("x", dest, base)) continue;
            const auto [file, inFile] = firmwareFileAndLine(files.lineCounts, at);
            r.diagnostics.push_back(unplaced({static_cast<int>(i) + 1, file, inFile}, doc, Severity::Warning));
        }
    }
    r.ok = true;
    r.fileName = path;
    return r;
}

OpenResult FirmwareFormat::openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options)
{
    return readBaseRows(doc, path, options.workingTable);
}

OpenResult FirmwareFormat::openDestination(TranslationDocument& doc, const std::string& path,
                                           const OpenOptions& options)
{
    return openDestinationAs(doc, familyConstants(), path, options);
}

OpenResult FirmwareFormat::openDestinationAs(TranslationDocument& doc, const FirmwareFamily& constants,
                                             const std::string& path, const OpenOptions& options)
{
    return readDestinationRows(doc, constants, path, options, !withoutTable_);
}

OpenResult FirmwareFormat::reopen(TranslationDocument& doc, const std::string& base, const std::string& dest)
{
    OpenResult r = openBase(doc, base, {});
    if (!r.ok || dest.empty() || !fileExists(dest)) return r;
    // The kinds 3, 5 and 10 are reopened with the Orvanta openers (its
    // line-count check included), 15 with the TELMO ones.
    OpenResult d = openDestinationAs(doc, firmwareRestoreFamily(kind()), dest, {});
    r.diagnostics.insert(r.diagnostics.end(), d.diagnostics.begin(), d.diagnostics.end());
    return r;
}

SaveResult FirmwareFormat::save(TranslationDocument& doc, const std::string& path, const SaveOptions& options)
{
    SaveResult r;
    // The texts are merged into the lines of the working table: a set read
    // without it has none to merge into, and nothing is written.
    if (withoutTable_) {
        reportUnwritten(r, DiagnosticCode::SaveFailed, path, "the file set was read without its lines", false);
        return r;
    }
    // Without a destination set, the base set's lines are the templates the
    // texts are merged into.
    fillDueLines();
    if (!destinationLines_) working_.copyColumn(2, working_, 1);
    if (tableDue_) {
        // A row's base text and line do not change after its set is read.
        tableDue_ = false;
        for (int i = doc.size() - 1; i >= 0; --i) {
            table_.setCell(tcol::kBaseLen, i + 1, lengthText(doc.entry(i).base.size()));
            table_.setCell(tcol::kLineIndex, i + 1, std::to_string(doc.entry(i).line));
        }
    }
    for (int i = 0; i < doc.size(); ++i) table_.setCell(tcol::kDest, i + 1, doc.entry(i).dest.str());
    const FirmwareFamily& family = familyConstants();
    const FirmwareSave saved = saveFirmwareDestination(table_, working_, family, path, options.backup);
    // A text without a place in its line refused the whole save.
    for (const FirmwareUnplacedText& u : saved.unplaced) r.diagnostics.push_back(unplaced(u, doc, Severity::Error));
    if (!saved.unplaced.empty()) return r;
    destinationLines_ = true;
    // A set is saved all or nothing: the file that stopped it is named, and
    // nothing is recorded.
    if (!saved.ok()) {
        const FirmwareWriteFailure& f = saved.failures.front();
        reportUnwritten(r, DiagnosticCode::SaveFailed, f.path, f.error, saved.backupFailed);
        return r;
    }
    // Without a base set there was nothing to write.
    if (saved.files.empty()) return r;
    r.files = saved.files;
    r.ok = true;
    r.destFile = saved.destFileName;
    if (!options.readBack) {
        doc.markSaved();
        return r;
    }
    // The texts as the files now hold them become the stored ones.
    OpenResult back = openDestinationAs(doc, family, saved.destFileName, {});
    r.diagnostics.insert(r.diagnostics.end(), back.diagnostics.begin(), back.diagnostics.end());
    return r;
}

SaveResult FirmwareFormat::saveBlank(TranslationDocument& doc, const std::string& path, const SaveOptions& options)
{
    {
        auto rebuild = doc.rebuild();
        for (Entry& e : rebuild.entries()) e.destComment.clear();
    }
    return save(doc, path, options);
}

void FirmwareFormat::clearDestination(TranslationDocument& doc)
{
    reset();
    clearDocument(doc);
}

}  // namespace tov
