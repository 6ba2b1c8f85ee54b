#include "support/backup.h"

#include <cerrno>
#include <cstdio>

#include <sys/stat.h>
#include <unistd.h>

#include "support/atomic_file.h"
#include "support/text_file.h"

namespace tov {

namespace {

// More backups than this of one file within one second mean something is
// wrong; the save then stops instead of searching on.
constexpr unsigned kMostBackupsPerStamp = 1000;

BackupResult failed(const std::string& what, int err)
{
    BackupResult r;
    r.error = detail::describe(what, err);
    return r;
}

}  // namespace

std::string backupStamp(std::time_t when)
{
    std::tm tm {};
    ::localtime_r(&when, &tm);
    char text[64];
    std::snprintf(text, sizeof text, "%04d.%02d.%02d.%02d.%02d.%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

std::string backupName(const std::string& path, std::string_view stamp, unsigned index)
{
    std::string name = path + ".";
    for (char c : stamp) name.push_back(c >= '0' && c <= '9' ? c : '.');
    if (index > 0) name += "." + std::to_string(index);
    return name + ".bak";
}

BackupResult makeDatedBackup(const std::string& path, std::time_t when)
{
    const std::string stamp = backupStamp(when ? when : std::time(nullptr));
    std::string bytes;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return failed(path, errno);
    if (!readFileBytes(path, bytes)) return failed(path, errno ? errno : EIO);

    const std::string tmp = detail::writeTemporary(path, bytes, st.st_mode & 07777, st.st_uid, st.st_gid);
    if (tmp.empty()) return failed(backupName(path, stamp), errno);

    for (unsigned index = 0; index < kMostBackupsPerStamp; ++index) {
        const std::string name = backupName(path, stamp, index);
        const int err = detail::renameNoReplace(tmp, name);
        if (err == EEXIST) continue;
        if (err != 0) {
            ::unlink(tmp.c_str());
            return failed(name, err);
        }
        BackupResult r;
        r.ok = true;
        r.path = name;
        return r;
    }
    ::unlink(tmp.c_str());
    return failed(backupName(path, stamp), EEXIST);
}

std::string backupFailureQuestion(const std::string& path, const std::string& error)
{
    return "The backup copy of \"" + path + "\" could not be made:\r" + error +
           "\r\rSave without a backup copy?";
}

}  // namespace tov
