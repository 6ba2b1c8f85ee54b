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

    const FirmwareFamily& familyConstants() const;

protected:
    const TextGrid& workingGrid() const override { return working_; }
    RowNaming naming() const override { return RowNaming::Location; }

private:
    OpenResult openDestinationAs(TranslationDocument& doc, const FirmwareFamily& family, const std::string& path,
                                 const OpenOptions& options);
    // Without the working table (the tool): the files' lines are views into
    // their bytes, which the document keeps, and their texts go straight
    // into the rows; no table is built. Such a set cannot be saved.
    OpenResult readBaseRows(TranslationDocument& doc, const std::string& path);
    OpenResult readDestinationRows(TranslationDocument& doc, const FirmwareFamily& family, const std::string& path,
                                   const OpenOptions& options);

    TextGrid working_;
    // The table the firmware procedures fill and merge from: the row number
    // (0), base length (1), base text (2), destination length (3) and text
    // (4), the comments (5, 6) and the line index (8) of each text.
    TextGrid table_;
    bool destinationLines_ = false;  // working column 2 holds the lines of a destination set
    // Read without the working table: the base lines, one after another
    // (views into bytes the document keeps, held here too).
    bool withoutTable_ = false;
    std::vector<std::string_view> baseLines_;
    std::vector<std::shared_ptr<const std::string>> baseBytes_;
};

namespace {

constexpr int kWorkingColumns = 11;
constexpr int kWorkingRowsAtStart = 5;
constexpr int kTableColumns = tcol::kCount;
// Working-table column of the line counts of the base files.
constexpr int kLineCountColumn = 5;

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
}

namespace {

// The quoted text of a line as a text of a row: a view where it can be.
Text quotedText(std::string_view line)
{
    const std::optional<std::string_view> view = QuotedTextView(line);
    return view ? Text::borrowed(*view) : Text(QuotedText(line));
}

}  // namespace

OpenResult FirmwareFormat::readBaseRows(TranslationDocument& doc, const std::string& path)
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
    reset();
    withoutTable_ = true;

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
    for (std::size_t line = 0; line < baseLines_.size(); ++line) {
        Text text = quotedText(baseLines_[line]);
        if (text.empty()) continue;
        if (k == entries.size()) entries.emplace_back();
        Entry& e = entries[k++];
        e.base = std::move(text);
        e.baseComment = Text::borrowed(LineCommentView(baseLines_[line]));
        e.line = static_cast<std::uint32_t>(line);
        e.rule = fixedRuleFor(e.base);
        e.dest = fitText(e.rule, e.base, e.dest);
    }
    entries.resize(k);
    for (const auto& bytes : baseBytes_) doc.keep(bytes);
    r.ok = true;
    r.fileName = path;
    return r;
}

OpenResult FirmwareFormat::readDestinationRows(TranslationDocument& doc, const FirmwareFamily& family,
                                               const std::string& path, const OpenOptions& options)
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
    for (std::size_t line = 0; line < lines.size(); ++line) {
        Text text = quotedText(lines[line]);
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
    if (!options.workingTable) return readBaseRows(doc, path);
    OpenResult r;
    // A table of its own: rows of a larger set opened before must not stay
    // behind the new set's rows, where a save would merge them.
    TextGrid table(kTableColumns, 1);
    const FirmwareBaseOpen opened = openFirmwareBase(table, working_, path);
    if (opened.status == FirmwareBaseOpen::Status::NoFiles) {
        r.diagnostics.push_back({.code = DiagnosticCode::NoMatchingFiles, .file = opened.listed});
        return r;
    }
    if (opened.status == FirmwareBaseOpen::Status::TooManyLines) {
        r.diagnostics.push_back({.code = DiagnosticCode::TooManyLines, .file = path});
        return r;
    }
    reportUnreadable(r.diagnostics, opened.readErrors);
    table_ = std::move(table);
    withoutTable_ = false;
    baseLines_ = {};
    baseBytes_ = {};

    FileSet& files = doc.files;
    files.baseFiles = opened.baseFiles;
    files.lineCounts.clear();
    files.lineStarts.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < files.baseFiles.size(); ++i) {
        const auto n = static_cast<std::size_t>(nonNegativeNumber(working_.cell(kLineCountColumn, static_cast<int>(i))));
        files.lineStarts.push_back(start);
        files.lineCounts.push_back(n);
        start += n;
    }

    // The destination texts stay with their rows: another base language of
    // the same set keeps the translation.
    auto rebuild = doc.rebuild();
    std::vector<Entry>& entries = rebuild.entries();
    entries.resize(static_cast<std::size_t>(opened.texts));
    for (int k = 1; k <= opened.texts; ++k) {
        Entry& e = entries[static_cast<std::size_t>(k - 1)];
        e.base = table_.cell(tcol::kBase, k);
        e.baseComment = table_.cell(tcol::kBaseComment, k);
        e.line = static_cast<std::uint32_t>(nonNegativeNumber(table_.cell(tcol::kLineIndex, k)));
        e.rule = fixedRuleFor(e.base);
        e.dest = fitText(e.rule, e.base, e.dest);
    }
    r.ok = true;
    r.fileName = opened.baseFileName;
    return r;
}

OpenResult FirmwareFormat::openDestination(TranslationDocument& doc, const std::string& path,
                                           const OpenOptions& options)
{
    return openDestinationAs(doc, familyConstants(), path, options);
}

OpenResult FirmwareFormat::openDestinationAs(TranslationDocument& doc, const FirmwareFamily& constants,
                                             const std::string& path, const OpenOptions& options)
{
    if (withoutTable_) return readDestinationRows(doc, constants, path, options);
    OpenResult r;
    FirmwareFamily family = constants;
    if (options.check) family.lineCountCheck = false;
    const FirmwareDestinationOpen opened = openFirmwareDestination(table_, working_, family, doc.files.baseFiles, path);
    reportUnreadable(r.diagnostics, opened.readErrors);
    switch (opened.status) {
    case FirmwareDestinationOpen::Status::LineCountFailure: {
        const FirmwareLineCountFailure& f = *opened.lineCount;
        // The set does not fit its base: the family ends the program on it.
        r.diagnostics.push_back({.code = DiagnosticCode::LineCount, .file = f.path, .count = f.lines, .expected = f.expected, .fatal = true});
        return r;
    }
    case FirmwareDestinationOpen::Status::TooManyLines:
        r.diagnostics.push_back({.code = DiagnosticCode::TooManyLines, .file = path});
        return r;
    case FirmwareDestinationOpen::Status::Loaded: break;
    }
    if (options.check) {
        for (std::size_t i = 0; i < opened.lineCounts.size() && i < doc.files.lineCounts.size(); ++i) {
            if (opened.lineCounts[i] != doc.files.lineCounts[i])
                r.diagnostics.push_back({.severity = Severity::Warning,
                                         .code = DiagnosticCode::LineCount,
                                         .file = opened.destFiles[i],
                                         .count = opened.lineCounts[i],
                                         .expected = doc.files.lineCounts[i]});
        }
    }
    doc.files.destFiles = opened.destFiles;
    destinationLines_ = true;

    // Where the sets part: the destination file and line, and the row (a row
    // beyond the base's texts when the base has no text for it).
    const int failure = opened.structureFailureRow;
    if (const auto& f = opened.structureFailure)
        r.diagnostics.push_back({.code = DiagnosticCode::Structure, .file = f->destPath, .row = f->row,
                                 .line = f->destLine, .detail = f->what()});
    else if (options.check)
        for (const FirmwareUnplacedText& u : firmwareLinesWithoutPlace(table_, working_))
            r.diagnostics.push_back(unplaced(u, doc, Severity::Warning));
    doc.structureFailureRow = failure;
    {
        auto rebuild = doc.rebuild();
        std::vector<Entry>& entries = rebuild.entries();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const int k = static_cast<int>(i) + 1;
            Entry& e = entries[i];
            e.stored = table_.cell(tcol::kDest, k);
            e.dest = e.stored;
            e.dest = fitText(e.rule, e.base, e.dest);
            e.destComment = table_.cell(tcol::kComment, k);
            e.structure = k == failure;
        }
    }
    r.ok = true;
    r.fileName = opened.destFileName;
    return r;
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
    if (!destinationLines_) working_.copyColumn(2, working_, 1);
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
