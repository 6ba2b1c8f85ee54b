// File-system helpers: existence, listings, folders and temporary names.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tov {

bool fileExists(const std::string& path);      // a regular file (links followed)
bool folderExists(const std::string& path);

// Case-insensitive wildcard match of a file name against a mask with "*" and "?"
// (as file names match on the desktop the program was designed for).
bool maskMatches(const std::string& name, const std::string& mask);

// Names (without folder) of every entry of `folder` that matches `mask`,
// without regard to case, folders left out, hidden files included.
// Sorted case-insensitively (ties broken by the bytes). A missing folder gives
// an empty list.
std::vector<std::string> listFolder(const std::string& folder, const std::string& mask);

// Finds an existing file whose name equals `name` without regard to case in
// `folder`; returns its full path, or folder + name when none exists.
std::string findFileNoCase(const std::string& folder, const std::string& name);

// Case-insensitive sort of file names (ties broken by the bytes).
void sortNamesNoCase(std::vector<std::string>& names);

// The system's folder for temporary files with its closing "/".
std::string tempFolder();

// A folder of its own under the system's temporary folder, named
// prefix + six random characters and readable by its owner only, for the
// temporary files of one window or one run of the tool. It goes, with
// everything in it, when this object goes (or at remove()), so that nothing
// is left behind, and what others left in the temporary folder never stands
// in the way of its names. While it lives it holds a lock on a file in it;
// a folder of the same prefix whose lock nobody holds was left by a program
// that was killed, and goes when the next such folder is made.
class PrivateTempFolder {
public:
    explicit PrivateTempFolder(const std::string& prefix);
    ~PrivateTempFolder() { remove(); }
    PrivateTempFolder(const PrivateTempFolder&) = delete;
    PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

    // The folder with its closing "/"; empty when it could not be made (or
    // was removed).
    const std::string& path() const { return path_; }
    // Removes the folder with everything in it now: before the program ends
    // without running its destructors.
    void remove();

private:
    std::string path_;
    int lock_ = -1;  // the open lock file, locked while the folder is in use
};

// Temporary file names "tmp<c>.<ext>" in a folder, with a counter cycling
// 0..500. Every 20th counter value (0 included) first deletes tmp<c>.<ext>
// and tmp<c>.mp3. Up to ten tries: a name is returned only after creating and
// deleting it succeeded; empty after ten failures.
class TempNamer {
public:
    explicit TempNamer(std::string folder = tempFolder()) : folder_(std::move(folder)) {}
    std::string next(const std::string& ext);
    std::uint16_t counter() const { return counter_; }

private:
    std::string folder_;
    std::uint16_t counter_ = 0;
};

// Program-relative name: when `path` begins with `programFolder` (which ends
// with "/"; byte comparison, case-sensitive) the result is "." followed by
// the rest of the path from the folder's closing "/": "./base/a.drc".
// Otherwise, or when either is longer than 255 bytes, `path` is returned.
std::string programRelativeName(const std::string& path, const std::string& programFolder);
// The inverse: "./x" and "." names are resolved against the program folder;
// other names are returned as they are.
std::string resolveProgramRelative(const std::string& path, const std::string& programFolder);
// An absolute form of `path`, relative names taken against `base` (a folder).
std::string absolutePath(const std::string& path, const std::string& base);

}  // namespace tov
