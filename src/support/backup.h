// Dated backup copies: before a save replaces a file, the file is copied to
// its name + "." + stamp + ".bak" beside it, where the stamp is the local
// date and time, year first, 24-hour clock, zero-padded, with "." between the
// digit groups (texts.drc.2026.07.12.14.03.05.bak), so that the copies of a
// file sort in time order. A backup never replaces any file: when the name
// is taken (a second save within the same second), the next free one of
// texts.drc.2026.07.12.14.03.05.1.bak, ....2.bak, ... is used. Every save of
// the window and the command-line tool makes its copies here.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace tov {

// What a save does with the files it replaces.
struct BackupChoice {
    bool keep = false;     // make a dated backup copy of every file replaced
    std::time_t when = 0;  // the moment the copies are named after; 0: the time of the save
    static BackupChoice none() { return {}; }
    static BackupChoice dated(std::time_t when = 0) { return {true, when}; }
};

// "YYYY.MM.DD.HH.MM.SS" of `when` in local time.
std::string backupStamp(std::time_t when);

// path + "." + stamp + ".bak" with every byte of the stamp that is not a
// digit replaced by "."; an index above 0 comes before ".bak": path.STAMP.1.bak.
std::string backupName(const std::string& path, std::string_view stamp, unsigned index = 0);

struct BackupResult {
    bool ok = false;
    std::string path;   // the copy made
    std::string error;  // "name: reason" when !ok
    explicit operator bool() const { return ok; }
};

// Copies the existing file `path` to the first free one of its dated backup
// names for `when` (0: now), through a flushed temporary file that is
// renamed only onto a name that does not exist. The copy keeps the file's
// permission bits and, where allowed, its owner. Fails, leaving nothing
// behind, when `path` cannot be read or the copy cannot be written.
BackupResult makeDatedBackup(const std::string& path, std::time_t when = 0);

// The question the window asks when a save could not make its backup copy.
std::string backupFailureQuestion(const std::string& path, const std::string& error);

}  // namespace tov
