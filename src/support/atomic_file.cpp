#include "support/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/text_file.h"

namespace tov {

struct FileSetWriter::Pending {
    std::string path;    // as the caller named it (messages, backup names)
    std::string target;  // the file finally replaced (symbolic links followed)
    std::string tmp;     // the temporary file, until it is renamed
    bool existed = false;
    mode_t mode = 0;
    uid_t uid = static_cast<uid_t>(-1);
    gid_t gid = static_cast<gid_t>(-1);
    dev_t dev = 0;
    ino_t ino = 0;
    std::string old;  // the replaced bytes, to put back (sets of several files)
};

namespace {

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

bool isAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Removes what a killed process of this program left in `folder`: our own
// temporary files that nobody has touched for kStaleTemporaryAge.
void removeStaleTemporaries(const std::string& folder)
{
    DIR* d = ::opendir(folder.c_str());
    if (!d) return;
    const std::time_t now = std::time(nullptr);
    while (const dirent* e = ::readdir(d)) {
        if (!isTemporaryName(e->d_name)) continue;
        const std::string path = folder + "/" + e->d_name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        if (st.st_mtime + kStaleTemporaryAge <= now) ::unlink(path.c_str());
    }
    ::closedir(d);
}

}  // namespace

bool isTemporaryName(std::string_view name)
{
    constexpr std::string_view tag = ".tovrana-";
    constexpr size_t random = 6;  // mkstemp's part
    if (name.size() < 2 + tag.size() + random || name.front() != '.') return false;
    if (!std::all_of(name.end() - random, name.end(), isAsciiAlnum)) return false;
    return name.substr(name.size() - random - tag.size(), tag.size()) == tag;
}

namespace detail {

std::string describe(const std::string& what, int err) { return what + ": " + std::strerror(err); }

std::string writeTemporary(const std::string& nearPath, std::string_view data, mode_t mode, uid_t uid, gid_t gid)
{
    return writeTemporary(nearPath, [data](ByteSink& sink) { sink.write(data); }, mode, uid, gid);
}

std::string writeTemporary(const std::string& nearPath, const ByteProducer& produce, mode_t mode, uid_t uid, gid_t gid)
{
    // The temporary name must itself be a valid name: a long name is
    // shortened in it (a file name holds at most 255 bytes).
    const std::string stem = nameOf(nearPath).substr(0, 200);
    std::string name = folderOf(nearPath) + "/." + stem + ".tovrana-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return {};

    auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(name.c_str());
        errno = err;
        return std::string();
    };
    if (::fchmod(fd, mode) != 0) return abandon(errno);
    // Keep the owner where we are allowed to (root saving a user's file).
    if (::fchown(fd, uid, gid) != 0) { /* not ours to change: keep ours */ }

    {
        ByteSink sink(fd);
        produce(sink);
        if (!sink.finish()) return abandon(errno);
    }
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) return abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(name.c_str());
        errno = err;
        return {};
    }
    return name;
}

int renameNoReplace(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    // A file system without that kind of rename: a hard link never replaces
    // anything either.
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace detail

// ---------------------------------------------------------------------------

namespace {
// Pieces are gathered up to this size before they are written.
constexpr std::size_t kSinkBuffer = 256 * 1024;
}  // namespace

ByteSink::~ByteSink() { delete[] buffer_; }

void ByteSink::writeOut(std::string_view bytes)
{
    while (!bytes.empty() && error_ == 0) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno != EINTR) error_ = errno;
            continue;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void ByteSink::spill(std::string_view bytes)
{
    if (error_ != 0) return;
    writeOut({buffer_, used_});
    used_ = 0;
    // A piece as large as the buffer goes to the file as it is.
    if (bytes.size() >= kSinkBuffer) {
        writeOut(bytes);
        return;
    }
    if (!buffer_) {
        buffer_ = new char[kSinkBuffer];
        capacity_ = kSinkBuffer;
    }
    std::memcpy(buffer_, bytes.data(), bytes.size());
    used_ = bytes.size();
}

bool ByteSink::finish()
{
    writeOut({buffer_, used_});
    used_ = 0;
    if (error_ == 0) return true;
    errno = error_;
    return false;
}

FileSetWriter::FileSetWriter(BackupChoice backup) : backup_(backup) {}

FileSetWriter::~FileSetWriter() { abandon(); }

bool FileSetWriter::fail(const std::string& path, int err)
{
    failed_ = true;
    result_.ok = false;
    result_.error = detail::describe(path, err);
    result_.failedPath = path;
    return false;
}

void FileSetWriter::abandon()
{
    for (Pending& p : pending_) {
        if (!p.tmp.empty()) ::unlink(p.tmp.c_str());
        p.tmp.clear();
    }
}

bool FileSetWriter::add(const std::string& path, std::string_view data)
{
    return add(path, [data](ByteSink& sink) { sink.write(data); });
}

bool FileSetWriter::add(const std::string& path, const ByteProducer& produce)
{
    if (failed_) return false;
    if (done_) return fail(path, EALREADY);
    if (path.empty()) return fail("empty file name", ENOENT);
    Pending p;
    p.path = path;
    if (!resolveTarget(path, p.target)) return fail(path, errno);

    p.mode = 0666 & ~currentUmask();
    struct stat st {};
    if (::stat(p.target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return fail(path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        // A file of someone else that we may not write is not ours to replace,
        // even where the folder would let us.
        if (st.st_uid != ::geteuid() && ::faccessat(AT_FDCWD, p.target.c_str(), W_OK, AT_EACCESS) != 0)
            return fail(path, errno);
        p.existed = true;
        p.mode = st.st_mode & 07777;
        p.uid = st.st_uid;
        p.gid = st.st_gid;
        p.dev = st.st_dev;
        p.ino = st.st_ino;
    }
    for (const Pending& q : pending_) {
        if (q.target == p.target || (p.existed && q.existed && q.dev == p.dev && q.ino == p.ino)) {
            failed_ = true;
            result_.error = path + ": the same file twice in one save";
            result_.failedPath = path;
            return false;
        }
    }

    const std::string folder = folderOf(p.target);
    if (std::find(cleanedFolders_.begin(), cleanedFolders_.end(), folder) == cleanedFolders_.end()) {
        removeStaleTemporaries(folder);
        cleanedFolders_.push_back(folder);
    }
    p.tmp = detail::writeTemporary(p.target, produce, p.mode, p.existed ? p.uid : static_cast<uid_t>(-1),
                                   p.existed ? p.gid : static_cast<gid_t>(-1));
    if (p.tmp.empty()) return fail(path, errno);
    pending_.push_back(std::move(p));
    return true;
}

WriteResult FileSetWriter::commit()
{
    if (done_ && !failed_) return result_;
    done_ = true;
    if (failed_) {
        abandon();
        return result_;
    }
    auto removeBackups = [this] {
        for (const std::string& b : result_.backups) ::unlink(b.c_str());
        result_.backups.clear();
    };

    for (Pending& p : pending_) {
        struct stat st {};
        p.existed = ::stat(p.target.c_str(), &st) == 0;
        if (p.existed && !S_ISREG(st.st_mode)) {
            fail(p.path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
            abandon();
            return result_;
        }
    }

    if (backup_.keep) {
        const std::time_t when = backup_.when ? backup_.when : std::time(nullptr);
        for (const Pending& p : pending_) {
            if (!p.existed) continue;
            const BackupResult b = makeDatedBackup(p.path, when);
            if (!b) {
                failed_ = true;
                result_.backupFailed = true;
                result_.error = b.error;
                result_.failedPath = p.path;
                removeBackups();
                abandon();
                return result_;
            }
            result_.backups.push_back(b.path);
        }
    }

    // What each target holds now, to be put back should a later file of the
    // set fail (a single file is replaced in one step).
    if (pending_.size() > 1) {
        for (Pending& p : pending_) {
            if (!p.existed || readFileBytes(p.target, p.old)) continue;
            fail(p.path, errno ? errno : EIO);
            removeBackups();
            abandon();
            return result_;
        }
    }

    for (size_t i = 0; i < pending_.size(); ++i) {
        Pending& p = pending_[i];
        if (::rename(p.tmp.c_str(), p.target.c_str()) == 0) {
            p.tmp.clear();
            continue;
        }
        fail(p.path, errno);
        abandon();
        // Put back what this save replaced, newest first.
        bool restored = true;
        for (size_t j = i; j-- > 0;) {
            const Pending& q = pending_[j];
            if (!q.existed) {
                restored = ::unlink(q.target.c_str()) == 0 && restored;
                continue;
            }
            const std::string tmp = detail::writeTemporary(q.target, q.old, q.mode, q.uid, q.gid);
            if (tmp.empty() || ::rename(tmp.c_str(), q.target.c_str()) != 0) {
                if (!tmp.empty()) ::unlink(tmp.c_str());
                restored = false;
                result_.error += "; " + q.path + " could not be put back";
            }
        }
        // The backups are the only copy of an old file that could not be put back.
        if (restored) removeBackups();
        return result_;
    }

    std::vector<std::string> folders;
    for (const Pending& p : pending_) folders.push_back(folderOf(p.target));
    for (const std::string& b : result_.backups) folders.push_back(folderOf(b));
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    for (const std::string& f : folders) detail::syncFolder(f);
    result_.ok = true;
    return result_;
}

WriteResult writeFileAtomic(const std::string& path, std::string_view data, const BackupChoice& backup)
{
    return writeFileAtomic(path, [data](ByteSink& sink) { sink.write(data); }, backup);
}

WriteResult writeFileAtomic(const std::string& path, const ByteProducer& produce, const BackupChoice& backup)
{
    FileSetWriter writer(backup);
    writer.add(path, produce);
    return writer.commit();
}

}  // namespace tov
