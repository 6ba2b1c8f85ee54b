#include "support/program_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "support/files.h"
#include "support/strutil.h"

namespace fs = std::filesystem;

namespace tov {

namespace {

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/') folder.push_back('/');
    return folder;
}

std::string withoutSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The parent of a folder written with its closing "/": "/usr/bin/" -> "/usr/".
std::string parentFolder(const std::string& folder)
{
    return folderPart(withoutSlash(folder));
}

}  // namespace

UserEnvironment UserEnvironment::current()
{
    UserEnvironment env{environment("XDG_DATA_HOME"), environment("HOME")};
    if (env.home.empty())
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) env.home = pw->pw_dir;
    return env;
}

ProgramFolder locateProgramFolder(const std::string& executable, const std::string& chosen,
                                  const UserEnvironment& env, const std::string& currentFolder)
{
    ProgramFolder where;
    const std::string exeFolder = folderPart(executable);
    const std::string settingsName = fileNamePart(changeExtension(executable, ".ini"));
    // An install puts the shared data beside the folder of the executable:
    // /usr/bin/tovrana with /usr/share/tovrana/.
    const std::string sharedData = parentFolder(exeFolder) + "share/tovrana/";
    if (folderExists(sharedData + "demo")) where.samples = sharedData + "demo/";

    if (!chosen.empty()) {
        where.mode = FolderMode::Chosen;
        where.folder = withSlash(fs::path(absolutePath(chosen, currentFolder)).lexically_normal().string());
    } else if (fileExists(exeFolder + settingsName) ||
               (::access(exeFolder.c_str(), W_OK) == 0 && !folderExists(sharedData))) {
        // A folder with its settings file stays portable even when it cannot
        // be written, and so does a writable one that is not an install.
        where.mode = FolderMode::Portable;
        where.folder = exeFolder;
    } else {
        where.mode = FolderMode::PerUser;
        // A relative $XDG_DATA_HOME is to be ignored, as an unset one.
        std::string data = env.xdgDataHome;
        if (data.empty() || data.front() != '/') data = env.home.empty() ? "" : withSlash(env.home) + ".local/share";
        if (!data.empty()) where.folder = withSlash(data) + "tovrana/";
    }
    if (!where.folder.empty()) where.settingsFile = where.folder + settingsName;
    return where;
}

std::string prepareProgramFolder(const ProgramFolder& where, const std::vector<std::string>& subfolders)
{
    if (where.mode == FolderMode::Portable) return {};
    if (where.folder.empty()) return "there is no home folder to keep it in";
    const std::string target = withoutSlash(where.folder);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) return {};
    if (fs::exists(status)) return "it exists and is not a folder";

    fs::create_directories(fs::path(target).parent_path(), ec);
    if (ec) return ec.message();
    const std::string staging = target + ".new-" + std::to_string(::getpid());
    fs::remove_all(staging, ec);
    const auto fail = [&](const std::error_code& error) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        return error.message();
    };
    if (!fs::create_directory(staging, ec)) return fail(ec ? ec : std::make_error_code(std::errc::file_exists));
    if (!where.samples.empty()) {
        fs::copy(where.samples, staging, fs::copy_options::recursive, ec);
        if (ec) return fail(ec);
    }
    for (const std::string& sub : subfolders) {
        fs::create_directories(staging + "/" + sub, ec);
        if (ec) return fail(ec);
    }
    fs::rename(staging, target, ec);
    if (ec) {
        // Another start of the program made it meanwhile: use that one.
        const std::error_code renameError = ec;
        if (fs::is_directory(target, ec)) {
            fail(renameError);
            return {};
        }
        return fail(renameError);
    }
    return {};
}

}  // namespace tov
