// INI files with the semantics of the desktop's private-profile routines:
// names compared without regard to ASCII case, values trimmed and unquoted,
// every line the program does not change kept byte for byte, a new key after
// the last key line of its section, a new section at the end of the file.
#pragma once

#include <string>
#include <string_view>
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

    void write(std::string_view section, std::string_view key, std::string_view value);
    void deleteKey(std::string_view section, std::string_view key);
    void deleteSection(std::string_view section);

private:
    struct Impl;
    // Implementation detail chosen by the engine (lines plus index).
    std::vector<std::string> lines_;  // each with its own line end, as read
    mutable bool indexValid_ = false;
    mutable std::vector<int> sectionStarts_;  // filled by the index builder
    friend struct Impl;
};

// One-key access that re-reads (and for writes rewrites, atomically) the file
// at every call, as the settings store requires.
std::string profileRead(const std::string& path, std::string_view section, std::string_view key);
WriteResult profileWrite(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view value);
WriteResult profileDeleteKey(const std::string& path, std::string_view section, std::string_view key);

}  // namespace tov
