#include <algorithm>
#include <memory>
#include <optional>

#include "document/formats.h"
#include "formats/menu_ini/menu_ini.h"
#include "support/profile.h"
#include "support/text_file.h"

namespace tov {

// Menu INI files: one section per language. The working table: base texts
// (1) and destination texts as read (2).
class MenuIniFormat final : public Format {
public:
    MenuIniFormat();
    FormatFamily family() const override { return FormatFamily::MenuIni; }
    const FormatTraits& traits() const override { return menuIniTraits(); }
    std::optional<DialogStart> dialog(DialogRole role, const DialogContext& context) const override;
    void reset() override;
    OpenResult openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options) override;
    SaveResult save(TranslationDocument& doc, const std::string& path, const SaveOptions& options) override;
    void chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest) override;
    std::string header(const TranslationDocument&, int) const override { return {}; }

    void prepareWorkingTable() const override;

protected:
    const TextGrid& workingGrid() const override { return working_; }
    RowNaming naming() const override { return RowNaming::Identifier; }

private:
    // The rows of the languages chosen, their texts views into the file's
    // bytes; the working table takes them once it is asked for.
    void showLanguages(TranslationDocument& doc, std::shared_ptr<const std::string> bytes,
                       const LanguageChoice& base, const LanguageChoice& dest);
    // Whether the rows are those of these languages as the open built them,
    // none of their texts edited since.
    bool showsAsOpened(const TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest) const;

    std::string path_;
    // The file's bytes as the open just read them, for the choice of
    // languages that follows at once; a later choice reads the file again.
    std::shared_ptr<const std::string> openedBytes_;
    // The texts of the rows shown, until the working table takes them.
    mutable std::vector<menu_ini::RowView> putOff_;
    mutable std::shared_ptr<const std::string> putOffBytes_;
    // The number of rows the open built.
    int openedRows_ = 0;
    mutable TextGrid working_;
};

namespace {

constexpr int kWorkingColumns = 11;
constexpr int kWorkingRowsAtStart = 5;
// The working table keeps at least this many rows in this mode.
constexpr int kWorkingRows = 500;

// A missing or unreadable file reads as a file without sections.
std::shared_ptr<const std::string> readFile(const std::string& path)
{
    auto bytes = std::make_shared<std::string>();
    if (!readFileBytes(path, *bytes)) bytes->clear();
    return bytes;
}

}  // namespace

MenuIniFormat::MenuIniFormat() : Format(kMenuIni)
{
    reset();
}

const FormatTraits& menuIniTraits()
{
    static constexpr FormatTraits traits{.rowLabel = RowLabel::Identifier,
                                         .lengthColumns = false,
                                         .languagePickers = true,
                                         .typedLanguage = true,
                                         .destinationFiles = false,
                                         .saveAsksForFile = false,
                                         .restoreWithoutBase = true,
                                         .baseLanguageKey = "l1",
                                         .destLanguageKey = "l2"};
    return traits;
}

std::unique_ptr<Format> makeMenuIniFormat()
{
    return std::make_unique<MenuIniFormat>();
}

std::optional<DialogStart> MenuIniFormat::dialog(DialogRole role, const DialogContext& c) const
{
    if (role != DialogRole::OpenBase) return std::nullopt;
    DialogStart d;
    d.filter = "ini|*.ini";
    d.folder = c.programFolder;
    d.fileName = "menu.ini";
    return d;
}

void MenuIniFormat::reset()
{
    path_.clear();
    openedBytes_.reset();
    putOff_.clear();
    putOffBytes_.reset();
    working_ = TextGrid(kWorkingColumns, kWorkingRowsAtStart);
}

OpenResult MenuIniFormat::openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options)
{
    path_ = path;
    openedBytes_ = readFile(path);
    doc.languages = menu_ini::languageSections(IniFileView(*openedBytes_));
    const int count = static_cast<int>(doc.languages.size());
    // The second and third language, where the file has them.
    auto choice = [&](int index) {
        return index < count ? LanguageChoice{index, doc.languages[static_cast<std::size_t>(index)]}
                             : LanguageChoice{};
    };
    if (options.languagesChosenNext) {
        // No rows until the languages are chosen.
        const LanguageChoice base = choice(1), dest = choice(2);
        doc.baseLanguage = base.index;
        doc.baseLanguageName = base.name;
        doc.destLanguage = dest.index;
        doc.destLanguageName = dest.name;
        doc.assign({});
        openedRows_ = -1;
    } else {
        showLanguages(doc, openedBytes_, choice(1), choice(2));
        openedRows_ = doc.size();
    }
    return {true, {}, path, {}};
}

void MenuIniFormat::chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest)
{
    if (openedBytes_) {
        std::shared_ptr<const std::string> bytes = std::move(openedBytes_);
        openedBytes_.reset();
        // The window chooses the languages right after the open, mostly the
        // ones the open has shown already: their rows stay as they are.
        if (showsAsOpened(doc, base, dest)) return;
        showLanguages(doc, std::move(bytes), base, dest);
    } else {
        showLanguages(doc, readFile(path_), base, dest);
    }
}

bool MenuIniFormat::showsAsOpened(const TranslationDocument& doc, const LanguageChoice& base,
                                  const LanguageChoice& dest) const
{
    // Rows with no changed text hold what the file holds for their languages.
    return doc.baseLanguage == base.index && doc.baseLanguageName == base.name && doc.destLanguage == dest.index &&
           doc.destLanguageName == dest.name && doc.size() == openedRows_ && doc.counts().changed == 0;
}

void MenuIniFormat::showLanguages(TranslationDocument& doc, std::shared_ptr<const std::string> bytes,
                                  const LanguageChoice& base, const LanguageChoice& dest)
{
    std::vector<menu_ini::RowView> rows = menu_ini::rowViews(IniFileView(*bytes), base.name, dest.name);
    doc.baseLanguage = base.index;
    doc.baseLanguageName = base.name;
    doc.destLanguage = dest.index;
    doc.destLanguageName = dest.name;
    {
        auto rebuild = doc.rebuild();
        std::vector<Entry>& entries = rebuild.entries();
        entries.clear();
        entries.resize(rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            Entry& e = entries[i];
            // The keys are the program's own, for as long as it runs.
            e.id = Text::borrowed(rows[i].key);
            e.base = Text::borrowed(rows[i].base);
            e.stored = Text::borrowed(rows[i].dest);
            e.dest = e.stored;
        }
        doc.keep(bytes);
    }
    working_.setRowCount(std::max(kWorkingRows, menu_ini::tableRowCount(rows.size())));
    putOff_ = std::move(rows);
    putOffBytes_ = std::move(bytes);
}

void MenuIniFormat::prepareWorkingTable() const
{
    if (!putOffBytes_) return;
    working_.clearColumn(1);
    working_.clearColumn(2);
    for (std::size_t i = putOff_.size(); i-- > 0;) {
        working_.setCell(1, static_cast<int>(i) + 1, std::string(putOff_[i].base));
        working_.setCell(2, static_cast<int>(i) + 1, std::string(putOff_[i].dest));
    }
    putOff_ = {};
    putOffBytes_.reset();
}

SaveResult MenuIniFormat::save(TranslationDocument& doc, const std::string& path, const SaveOptions& options)
{
    SaveResult r;
    openedBytes_.reset();  // the file changes
    std::vector<menu_ini::DestEntry> entries;
    entries.reserve(static_cast<std::size_t>(doc.size()));
    for (const Entry& e : doc.entries()) entries.emplace_back(e.id.str(), e.dest.str());
    std::vector<std::string> languages;
    const std::string& file = path.empty() ? path_ : path;
    const WriteResult written = menu_ini::saveDestination(file, doc.destLanguageName, entries, &languages, options.backup);
    // The languages chosen are remembered by their places in the file as
    // saved, so that a language typed in as a new section stays chosen.
    if (!written) languages = doc.languages;
    r.languages = std::pair(menu_ini::languageIndex(languages, doc.baseLanguageName),
                            menu_ini::languageIndex(languages, doc.destLanguageName));
    if (!written) {
        reportUnwritten(r, DiagnosticCode::IniSaveFailed, file, written.error, written.backupFailed);
        return r;
    }
    prepareWorkingTable();
    for (int i = 0; i < doc.size(); ++i) working_.setCell(2, i + 1, doc.entry(i).dest.str());
    doc.markSaved();
    doc.languages = std::move(languages);
    r.reopen = true;
    r.ok = true;
    r.files.push_back(file);
    return r;
}

}  // namespace tov
