#include "support/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/text_file.h"

namespace tov {

namespace {

WriteResult fail(const std::string& what, int err)
{
    WriteResult r;
    r.error = what + ": " + std::strerror(err);
    return r;
}

// Follows a chain of symbolic links to the path that is finally written.
// A dangling link resolves to the path it points to (the file is created there).
bool resolveTarget(const std::string& path, std::string& target)
{
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) return true;  // does not exist yet
        if (!S_ISLNK(st.st_mode)) return true;
        std::vector<char> buf(PATH_MAX + 1);
        const ssize_t n = ::readlink(target.c_str(), buf.data(), buf.size() - 1);
        if (n < 0) return false;
        std::string link(buf.data(), static_cast<size_t>(n));
        if (!link.empty() && link[0] == '/') {
            target = link;
        } else {
            const size_t slash = target.rfind('/');
            target = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + link;
        }
    }
    errno = ELOOP;
    return false;
}

std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t currentUmask()
{
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

}  // namespace

WriteResult writeFileAtomic(const std::string& path, std::string_view data)
{
    if (path.empty()) return fail("empty file name", ENOENT);
    std::string target;
    if (!resolveTarget(path, target)) return fail(path, errno);

    mode_t mode = 0666 & ~currentUmask();
    bool exists = false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return fail(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        mode = st.st_mode & 07777;
        exists = true;
    }

    // The temporary name must itself be a valid name: a long target name is
    // shortened in it (a file name holds at most 255 bytes).
    const std::string stem = nameOf(target).substr(0, 200);
    std::string tmpl = folderOf(target) + "/." + stem + ".tovrana-XXXXXX";
    std::vector<char> tmpPath(tmpl.begin(), tmpl.end());
    tmpPath.push_back('\0');
    const int fd = ::mkstemp(tmpPath.data());
    if (fd < 0) return fail(path, errno);
    const std::string tmp(tmpPath.data());

    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(tmp.c_str());
        return fail(path, err);
    };

    if (::fchmod(fd, mode) != 0) return abandon(errno);
    if (exists) {
        // Keep the owner where we are allowed to (root saving a user's file).
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) { /* not ours to change: keep ours */ }
    }

    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return abandon(errno);
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) return abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail(path, err);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail(path, err);
    }
    WriteResult ok;
    ok.ok = true;
    return ok;
}

WriteResult copyFileAtomic(const std::string& from, const std::string& to)
{
    std::string data;
    if (!readFileBytes(from, data)) return fail(from, errno ? errno : EIO);
    return writeFileAtomic(to, data);
}

}  // namespace tov
