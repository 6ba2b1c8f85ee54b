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

protected:
    const TextGrid& workingGrid() const override { return working_; }
    RowNaming naming() const override { return RowNaming::Identifier; }

private:
    // The rows of the languages chosen, from the file as `ini` holds it.
    void showLanguages(TranslationDocument& doc, const IniDocument& ini, const LanguageChoice& base,
                       const LanguageChoice& dest);
    // The same without the working table, the texts views into the file's
    // bytes (the tool).
    void showLanguages(TranslationDocument& doc, std::shared_ptr<const std::string> bytes,
                       const LanguageChoice& base, const LanguageChoice& dest);
    // Whether the rows are those of these languages as the open built them,
    // none of their texts edited since.
    bool showsAsOpened(const TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest) const;

    std::string path_;
    // The file as the open just read it, for the choice of languages that
    // follows at once; a later choice reads the file again.
    std::optional<IniDocument> opened_;
    // The same for an open without the working table: the file's bytes.
    std::shared_ptr<const std::string> openedBytes_;
    // The number of rows the open built.
    int openedRows_ = 0;
    TextGrid working_;
};

namespace {

constexpr int kWorkingColumns = 11;
constexpr int kWorkingRowsAtStart = 5;
// The working table keeps at least this many rows in this mode.
constexpr int kWorkingRows = 500;

// A missing or unreadable file reads as a file without sections.
IniDocument readFile(const std::string& path)
{
    IniDocument ini;
    IniDocument::load(path, ini);
    return ini;
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
    opened_.reset();
    openedBytes_.reset();
    working_ = TextGrid(kWorkingColumns, kWorkingRowsAtStart);
}

OpenResult MenuIniFormat::openBase(TranslationDocument& doc, const std::string& path, const OpenOptions& options)
{
    path_ = path;
    opened_.reset();
    openedBytes_.reset();
    if (options.workingTable) {
        opened_ = readFile(path);
        doc.languages = menu_ini::languageSections(*opened_);
    } else {
        // A missing or unreadable file reads as a file without sections.
        auto bytes = std::make_shared<std::string>();
        if (!readFileBytes(path, *bytes)) bytes->clear();
        doc.languages = menu_ini::languageSections(IniFileView(*bytes));
        openedBytes_ = std::move(bytes);
    }
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
        if (opened_) showLanguages(doc, *opened_, choice(1), choice(2));
        else showLanguages(doc, openedBytes_, choice(1), choice(2));
        openedRows_ = doc.size();
    }
    return {true, {}, path, {}};
}

void MenuIniFormat::chooseLanguages(TranslationDocument& doc, const LanguageChoice& base, const LanguageChoice& dest)
{
    if (opened_ || openedBytes_) {
        const std::optional<IniDocument> ini = std::move(opened_);
        const std::shared_ptr<const std::string> bytes = std::move(openedBytes_);
        opened_.reset();
        openedBytes_.reset();
        // The window chooses the languages right after the open, mostly the
        // ones the open has shown already: their rows stay as they are.
        if (showsAsOpened(doc, base, dest)) return;
        if (ini) showLanguages(doc, *ini, base, dest);
        else showLanguages(doc, bytes, base, dest);
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

void MenuIniFormat::showLanguages(TranslationDocument& doc, const IniDocument& ini, const LanguageChoice& base,
                                  const LanguageChoice& dest)
{
    std::vector<menu_ini::Row> rows = menu_ini::baseRows(ini, base.name);
    menu_ini::loadDestTexts(ini, dest.name, rows);
    doc.baseLanguage = base.index;
    doc.baseLanguageName = base.name;
    doc.destLanguage = dest.index;
    doc.destLanguageName = dest.name;

    working_.setRowCount(std::max(kWorkingRows, menu_ini::tableRowCount(rows.size())));
    working_.clearColumn(1);
    working_.clearColumn(2);
    std::vector<Entry> entries(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        Entry& e = entries[i];
        e.id = std::move(rows[i].key);
        e.base = std::move(rows[i].base);
        e.stored = std::move(rows[i].dest);
        e.dest = e.stored;
        working_.setCell(1, static_cast<int>(i) + 1, e.base.str());
        working_.setCell(2, static_cast<int>(i) + 1, e.stored.str());
    }
    doc.assign(std::move(entries));
}

void MenuIniFormat::showLanguages(TranslationDocument& doc, std::shared_ptr<const std::string> bytes,
                                  const LanguageChoice& base, const LanguageChoice& dest)
{
    const std::vector<menu_ini::RowView> rows = menu_ini::rowViews(IniFileView(*bytes), base.name, dest.name);
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
        doc.keep(std::move(bytes));
    }
}

SaveResult MenuIniFormat::save(TranslationDocument& doc, const std::string& path, const SaveOptions& options)
{
    SaveResult r;
    opened_.reset();  // the file changes
    openedBytes_.reset();
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
    for (int i = 0; i < doc.size(); ++i) working_.setCell(2, i + 1, doc.entry(i).dest.str());
    doc.markSaved();
    doc.languages = std::move(languages);
    r.reopen = true;
    r.ok = true;
    r.files.push_back(file);
    return r;
}

}  // namespace tov
