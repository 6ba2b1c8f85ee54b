// Where the window program keeps its settings file and its data folders
// (base/, dest/, the firmware family folders, menu.ini, *.c).
//
// A portable install keeps everything beside the executable. An installed
// program (its executable in a folder the user cannot write, or one that sits
// beside the shared data of the install) uses a folder of each user's own
// instead, made on the first start with the data folders and the sample files.
// The user can also name the folder on the command line.
#pragma once

#include <string>
#include <vector>

namespace tov {

enum class FolderMode {
    Portable,  // the executable's folder
    PerUser,   // $XDG_DATA_HOME/tovrana, by default ~/.local/share/tovrana
    Chosen,    // named with --folder
};

struct ProgramFolder {
    FolderMode mode = FolderMode::Portable;
    std::string folder;        // with its closing "/"
    std::string settingsFile;  // the executable's name with ".ini", in `folder`
    std::string samples;       // folder of the sample files a new folder gets ("/" at the end); empty: none
};

// What the per-user folder is made of; empty texts stand for unset variables.
struct UserEnvironment {
    std::string xdgDataHome;
    std::string home;
    // The process's own: $XDG_DATA_HOME, and $HOME or else the user's home
    // folder from the password database.
    static UserEnvironment current();
};

// Decides where the program folder is, without changing anything on disk.
// `executable` is the absolute path of the running program; `chosen` the
// folder named on the command line (empty: none), taken against `currentFolder`
// when relative. The per-user folder is left empty when there is no home folder.
ProgramFolder locateProgramFolder(const std::string& executable, const std::string& chosen,
                                  const UserEnvironment& env, const std::string& currentFolder);

// Makes a per-user or chosen program folder that does not exist yet: the
// folders above it, then the folder itself with `subfolders` and a copy of
// the sample files. It is filled under a temporary name beside it and renamed
// into place at the end, so that an interrupted first start leaves no half
// made folder behind. An existing folder is used as it is, and a portable one
// is never touched. Returns an empty text, or what went wrong.
std::string prepareProgramFolder(const ProgramFolder& where, const std::vector<std::string>& subfolders);

}  // namespace tov
