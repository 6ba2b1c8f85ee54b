// The translation document: one entry per row, and what the file set and its
// languages need beside them. The window's translation table and the
// command-line tool both read it; the formats (format.h) fill it and write it
// back; edits (edits.h) change it.
//
// Rows are numbered from 0 here (index); the table shows index + 1, below
// its header row.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/entry.h"
#include "formats/checks/checks.h"

namespace tov {

// How a row is named to the user: the check's lines, the export formats.
enum class RowNaming : std::uint8_t {
    Identifier,  // the entry's id (resource strings, menu INI keys)
    Location,    // FILE:LINE of the base text (firmware sets)
    Number,      // the row number (C string arrays)
};

// The files of a firmware set.
struct FileSet {
    std::vector<std::string> baseFiles;   // names without folder, in list order
    std::vector<std::size_t> lineCounts;  // lines of each base file
    std::vector<std::size_t> lineStarts;  // line index of the first line of each base file
    std::vector<std::string> destFiles;   // full paths read, in base-list order
};

// The base file name and the line (from 1) of a firmware line index.
struct Location {
    std::string file;
    int line = 0;
};

// Sums over every row, kept as rows change so that they cost nothing to ask.
struct Counts {
    int rows = 0;
    int translated = 0;     // rows with a destination text
    int missing = 0;
    int changed = 0;
    int tooLong = 0;
    int lengthDiffers = 0;
    int structure = 0;
    int formatErrors = 0;   // rows whose text checks found an error
    int checkWarnings = 0;  // rows whose text checks found only warnings
    std::uint64_t baseCharacters = 0;
    std::uint64_t destCharacters = 0;
};

// "Base: b   Dest.: d": the character count of the window and of the check.
std::string characterCountText(std::uint64_t base, std::uint64_t dest);

class TranslationDocument {
public:
    explicit TranslationDocument(RowNaming naming = RowNaming::Identifier) : naming_(naming) {}

    RowNaming naming() const { return naming_; }

    int size() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    const Entry& entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
    const std::vector<Entry>& entries() const { return entries_; }

    // Nothing opened: no row, no file, no language. The observer stays.
    void reset(RowNaming naming);
    // Replaces every row (a file was opened) and recounts.
    void assign(std::vector<Entry> entries);
    // Takes everything of `other` (a document read apart, of another
    // family); the observer stays.
    void adopt(TranslationDocument&& other);
    // Gives the rows to a format that rebuilds them in place; the document is
    // recounted and its views told when the returned guard goes.
    class Rebuild {
    public:
        explicit Rebuild(TranslationDocument& d) : doc_(d) {}
        ~Rebuild() { doc_.recount(); }
        Rebuild(const Rebuild&) = delete;
        Rebuild& operator=(const Rebuild&) = delete;
        std::vector<Entry>& entries() { return doc_.entries_; }

    private:
        TranslationDocument& doc_;
    };
    Rebuild rebuild() { return Rebuild(*this); }

    // The destination text of a row, its rule applied; false when nothing changed.
    bool setDestination(int index, std::string_view text);
    // A base text typed by the user (C string arrays show it until the next
    // language change; it is never saved).
    void setBase(int index, std::string text);
    // Every destination text becomes the stored one (it was just written).
    void markSaved();
    // Empties every destination text, stored text and destination comment.
    void clearDestination();

    // What is wrong with a row: entryProblems and the text checks' marks.
    Problems problems(int index) const
    {
        return entryProblems(entry(index)) | checkMarks_[static_cast<std::size_t>(index)];
    }
    // Keeps the bytes of a file read once, which rows view (Text::borrowed),
    // for as long as any row views them; they do not change any more. Bytes
    // that no row views are let go when the rows are recounted. Bytes kept
    // already are kept once.
    void keep(std::shared_ptr<const std::string> bytes)
    {
        for (const auto& k : kept_)
            if (k == bytes) return;
        kept_.push_back(std::move(bytes));
    }
    std::size_t keptBuffers() const { return kept_.size(); }

    // The text checks of the document's kind (checks::forKind); the rows are
    // checked again. A document starts without checks.
    void setCheckOptions(const checks::CheckOptions& options);
    const checks::CheckOptions& checkOptions() const { return checkOptions_; }
    // What the text checks find in a row's destination text against its
    // base (nothing for a row without a destination text).
    checks::Findings findings(int index) const;
    // The same for the destination as its file holds it (the stored text).
    checks::Findings storedFindings(int index) const;
    const Counts& counts() const { return counts_; }

    // How the check and the exchange formats name a row.
    std::string rowName(int index) const;
    // Firmware: where the base text of a row stands.
    Location location(int index) const;

    FileSet files;
    // The languages of a menu INI or C file, and the two chosen (-1: none;
    // a menu INI destination may be a typed name that is not in the list).
    std::vector<std::string> languages;
    int baseLanguage = -1;
    int destLanguage = -1;
    std::string baseLanguageName;
    std::string destLanguageName;
    // The row (from 1) from which a firmware destination no longer matched
    // its base: its texts were read up to that row only. 0: none.
    int structureFailureRow = 0;

    // Told after every change; a view schedules its update there.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    std::uint64_t generation() const { return generation_; }

private:
    void recount();
    // Lets go of the kept bytes that no row views any more.
    void dropUnviewed();
    void count(std::size_t index, int sign);
    // The kFormat / kCheckWarning marks of a row, from its destination text
    // (both in the low byte).
    std::uint8_t checkMarks(const Entry& e) const;
    void changed()
    {
        ++generation_;
        if (observer_) observer_();
    }

    RowNaming naming_;
    std::vector<Entry> entries_;
    std::vector<std::shared_ptr<const std::string>> kept_;
    Counts counts_;
    checks::CheckOptions checkOptions_;
    // The text checks' marks of each row, kept with the rows: painting, the
    // next row that needs work and the counts ask for them at no cost.
    std::vector<std::uint8_t> checkMarks_;
    std::function<void()> observer_;
    std::uint64_t generation_ = 0;
};

}  // namespace tov
