// INI files with the semantics of the desktop's private-profile routines:
// names compared without regard to ASCII case, values trimmed and unquoted,
// every line the program does not change kept byte for byte, a new key after
// the last key line of its section, a new section at the end of the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "support/atomic_file.h"

namespace tov {

// An INI file held in memory as its original lines (with their own line
// ends). Reads are served from an index, so a lookup costs no scan of the
// file; edits are applied in memory and written once.
class IniDocument {
public:
    IniDocument() = default;
    static IniDocument fromBytes(std::string data);
    // A missing or unreadable file gives an empty document and false.
    static bool load(const std::string& path, IniDocument& doc);

    std::string toBytes() const;
    WriteResult save(const std::string& path) const;  // atomic

    // Value of the first key of the first section of that name; `def` when missing.
    std::string read(std::string_view section, std::string_view key, std::string_view def = {}) const;
    bool hasKey(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;

    // Section names in file order, duplicates included.
    std::vector<std::string> sections() const;
    // Key names of the first section of that name, in file order, duplicates included.
    std::vector<std::string> keys(std::string_view section) const;

    // Replaces the first key of that name in place (the line keeps its own
    // line end and the name its spelling), or adds "key=value" CR LF after
    // the last key line of the section, or appends a new section. A line
    // break cannot be stored in an INI line: section, key and value are cut
    // at their first CR or LF, so that a write never creates other lines.
    void write(std::string_view section, std::string_view key, std::string_view value);
    // Removes the line of the first key of that name; nothing when missing.
    void deleteKey(std::string_view section, std::string_view key);
    // Removes the first section of that name: its header and every line up
    // to the next header.
    void deleteSection(std::string_view section);

private:
    friend class IniFileView;
    enum class Kind : std::uint8_t { Blank, Comment, Header, Key, Other };
    // One line of the file with its own line end. Lines form a doubly linked
    // list in file order, so that inserting or removing a line costs nothing
    // however long the file is; removed lines stay in the vector, unlinked.
    struct Line {
        std::string text;
        int prev = -1;
        int next = -1;
        Kind kind = Kind::Other;
        bool alive = true;
    };
    struct Section {
        std::string name;  // trimmed, spelled as the file spells it
        int header = -1;   // line of the header
        int lastKey = -1;  // last key line of the section, -1 when it has none
        bool alive = true;
        // Lower-cased key name -> its key lines in file order.
        std::unordered_map<std::string, std::vector<int>> keys;
    };

    static Kind classify(std::string_view content, std::string_view* name, std::string_view* value);
    void parse(std::string_view data);
    int appendLine(std::string text, Kind kind);
    int insertAfter(int after, std::string text, Kind kind);
    void unlink(int line);
    void ensureLineEnd(int line);
    const Section* findSection(std::string_view name) const;
    Section* findSection(std::string_view name);
    int findKey(const Section& s, std::string_view key) const;

    std::vector<Line> lines_;
    int head_ = -1;
    int tail_ = -1;
    std::vector<Section> sections_;  // file order, removed ones kept (not alive)
    // Lower-cased section name -> alive sections of that name in file order.
    std::unordered_map<std::string, std::vector<int>> sectionIndex_;
};

// A file read for the values of a few of its sections by the rules of
// IniDocument, without a copy of its lines: names and values are views into
// the bytes given, which must stay as they are while it is used.
class IniFileView {
public:
    explicit IniFileView(std::string_view data);

    // Section names in file order, duplicates included (IniDocument::sections).
    std::vector<std::string_view> sections() const;
    // Calls `f(name, value)` for every key line of the first section of that
    // name, in file order, the value as IniDocument::read gives it; false
    // when the file has no such section.
    bool forEachKey(std::string_view section,
                    const std::function<void(std::string_view name, std::string_view value)>& f) const;

private:
    struct Section {
        std::string_view name;
        std::string lowered;
        std::size_t begin = 0;  // the first byte after its header line
        std::size_t end = 0;    // where the next header line starts
    };
    std::string_view data_;
    std::vector<Section> sections_;
};

// One-key access that re-reads (and for writes rewrites, atomically) the file
// at every call, as the settings store requires. A missing file reads as
// empty and is created by a write. A file that exists but cannot be read is
// never overwritten: the write fails instead. A write that changes nothing
// leaves the file alone.
std::string profileRead(const std::string& path, std::string_view section, std::string_view key);
WriteResult profileWrite(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view value);
WriteResult profileDeleteKey(const std::string& path, std::string_view section, std::string_view key);
// Several edits of one file in one pass: reads the file (the same rules as
// above), lets `edit` change the document and writes it once, atomically,
// when its bytes changed (after a dated backup copy of the file when
// `backup` asks for one).
WriteResult profileEdit(const std::string& path, const std::function<void(IniDocument&)>& edit,
                        const BackupChoice& backup = {});

}  // namespace tov
