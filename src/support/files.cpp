#include "support/files.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
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

PrivateTempFolder::PrivateTempFolder(const std::string& prefix)
{
    const std::string folder = tempFolder();
    if (folder.empty()) return;
    std::string pattern = folder + prefix + "XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern + "/";
}

void PrivateTempFolder::remove()
{
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
    path_.clear();
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
