#include "support/files.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/strutil.h"

namespace tov {

bool fileExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool matchFrom(const char* n, const char* m)
{
    // Iterative wildcard match with backtracking to the last "*".
    const char* starM = nullptr;
    const char* starN = nullptr;
    while (*n) {
        if (*m == '*') {
            starM = m++;
            starN = n;
        } else if (*m == '?' || (*m && lower(*m) == lower(*n))) {
            ++m;
            ++n;
        } else if (starM) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (*m == '*') ++m;
    return *m == '\0';
}

}  // namespace

bool maskMatches(const std::string& name, const std::string& mask)
{
    return matchFrom(name.c_str(), mask.c_str());
}

void sortNamesNoCase(std::vector<std::string>& names)
{
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = asciiLower(a), lb = asciiLower(b);
        if (la != lb) return la < lb;
        return a < b;
    });
}

std::vector<std::string> listFolder(const std::string& folder, const std::string& mask)
{
    std::vector<std::string> names;
    std::string dir = folder.empty() ? std::string(".") : folder;
    DIR* d = ::opendir(dir.c_str());
    if (!d) return names;
    if (dir.back() != '/') dir.push_back('/');
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        if (!maskMatches(name, mask)) continue;
        struct stat st {};
        if (::stat((dir + name).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
        names.push_back(name);
    }
    ::closedir(d);
    sortNamesNoCase(names);
    return names;
}

std::string findFileNoCase(const std::string& folder, const std::string& name)
{
    std::string dir = folder;
    if (!dir.empty() && dir.back() != '/') dir.push_back('/');
    if (fileExists(dir + name)) return dir + name;
    for (const auto& n : listFolder(folder, "*"))
        if (equalsNoCase(n, name)) return dir + n;
    return dir + name;
}

std::string tempFolder()
{
    const char* t = std::getenv("TMPDIR");
    std::string dir = (t && *t) ? t : "/tmp";
    if (dir.size() >= 260) return {};
    if (dir.back() != '/') dir.push_back('/');
    return dir;
}

namespace {

constexpr const char* kLockName = ".lock";

// Removes the folders prefix + six characters in `folder` (the user's own,
// not links) whose lock file nobody holds: their program ended without
// removing them (it was killed). A folder without a lock file is not one of
// ours and stays.
void removeAbandonedFolders(const std::string& folder, const std::string& prefix)
{
    DIR* d = ::opendir(folder.c_str());
    if (!d) return;
    std::vector<std::string> abandoned;
    while (const dirent* e = ::readdir(d)) {
        const std::string_view name = e->d_name;
        if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix) continue;
        const std::string dir = folder + std::string(name);
        struct stat st {};
        if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) continue;
        const int fd = ::open((dir + "/" + kLockName).c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) abandoned.push_back(dir);
        ::close(fd);
    }
    ::closedir(d);
    for (const std::string& dir : abandoned) {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
}

}  // namespace

PrivateTempFolder::PrivateTempFolder(const std::string& prefix)
{
    const std::string folder = tempFolder();
    if (folder.empty()) return;
    removeAbandonedFolders(folder, prefix);
    std::string pattern = folder + prefix + "XXXXXX";
    if (!::mkdtemp(pattern.data())) return;
    path_ = pattern + "/";
    // The lock is taken before the file gets the name others look for, so
    // that no one finds the folder unlocked while it is being set up.
    const std::string unnamed = path_ + "lock.new";
    lock_ = ::open(unnamed.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (lock_ >= 0 && (::flock(lock_, LOCK_EX | LOCK_NB) != 0 ||
                       ::rename(unnamed.c_str(), (path_ + kLockName).c_str()) != 0)) {
        ::close(lock_);
        lock_ = -1;
        ::unlink(unnamed.c_str());
    }
}

void PrivateTempFolder::remove()
{
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    path_.clear();
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
}

std::string TempNamer::next(const std::string& ext)
{
    if (folder_.empty()) return {};
    if (counter_ % 20 == 0) {
        const std::string stem = folder_ + "tmp" + std::to_string(counter_);
        ::unlink((stem + "." + ext).c_str());
        ::unlink((stem + ".mp3").c_str());
    }
    for (int tries = 0; tries < 10; ++tries) {
        const std::string name = folder_ + "tmp" + std::to_string(counter_) + "." + ext;
        counter_ = counter_ >= 500 ? 0 : static_cast<std::uint16_t>(counter_ + 1);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) continue;
        ::close(fd);
        if (::unlink(name.c_str()) == 0) return name;
    }
    return {};
}

std::string programRelativeName(const std::string& path, const std::string& programFolder)
{
    if (programFolder.empty() || programFolder.back() != '/' || programFolder.size() > 255 || path.size() > 255)
        return path;
    if (path.compare(0, programFolder.size(), programFolder) != 0) return path;
    return "." + path.substr(programFolder.size() - 1);
}

std::string resolveProgramRelative(const std::string& path, const std::string& programFolder)
{
    if (path == ".") return programFolder;
    if (startsWith(path, "./")) return programFolder + path.substr(2);
    return path;
}

std::string absolutePath(const std::string& path, const std::string& base)
{
    if (path.empty() || path[0] == '/') return path;
    std::string b = base;
    if (!b.empty() && b.back() != '/') b.push_back('/');
    if (startsWith(path, "./")) return b + path.substr(2);
    return b + path;
}

}  // namespace tov
