// Replacing files without ever leaving one half written or losing a version.
//
// The data goes into a temporary file in the target's folder, which is
// flushed, closed and then renamed over the target; the folder is flushed
// after the rename so that the new name survives a power cut. A failure at
// any point removes the temporary file and leaves the target exactly as it
// was. The new file keeps the old one's permission bits (a new file gets the
// usual 0666 minus the umask); a target reached through a symbolic link is
// replaced at the link's destination, so the link stays a link; a target
// that exists but is not a regular file (a folder, a device, a pipe) is
// refused, and so is a file of another user that we may not write (a
// read-only file is not taken over just because its folder is writable).
//
// Temporary files are named ".NAME.tovrana-XXXXXX" beside their target. One
// that a killed process left behind is removed by the next save into its
// folder once it is older than kStaleTemporaryAge.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "support/backup.h"

namespace tov {

struct WriteResult {
    bool ok = false;
    std::string error;  // short English reason when !ok (for logs and the command line)
    std::string failedPath;  // when !ok: the file (as named by the caller) that stopped the save
    // True when nothing was written because the dated backup copy of a file
    // to be replaced could not be made (`error` says why).
    bool backupFailed = false;
    std::vector<std::string> backups;  // the dated backup copies made
    explicit operator bool() const { return ok; }
};

// Takes a file's bytes piece by piece, as its writer makes them, and passes
// them on to the file whenever its buffer is full, so that a large file is
// never held whole. After a failed write it takes nothing more.
class ByteSink {
public:
    explicit ByteSink(int fd) : fd_(fd) {}
    ~ByteSink();
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    void write(std::string_view bytes)
    {
        if (bytes.size() <= capacity_ - used_) {
            if (!bytes.empty()) std::memcpy(buffer_ + used_, bytes.data(), bytes.size());
            used_ += bytes.size();
            return;
        }
        spill(bytes);
    }
    // Writes what the buffer still holds; false (errno set) when any write failed.
    bool finish();

private:
    void spill(std::string_view bytes);
    void writeOut(std::string_view bytes);

    int fd_;
    int error_ = 0;
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
};

// A file's bytes as its writer makes them: handed to the sink in order.
using ByteProducer = std::function<void(ByteSink&)>;

// Replaces (or creates) one file. With `backup.keep`, an existing file is
// first copied to a new dated backup name (see backup.h); when that copy
// cannot be made the file is left alone.
WriteResult writeFileAtomic(const std::string& path, std::string_view data, const BackupChoice& backup = {});
// The same with bytes made while they are written.
WriteResult writeFileAtomic(const std::string& path, const ByteProducer& produce, const BackupChoice& backup = {});

// Writes a set of files all or nothing: every file goes into its temporary
// file first (add), then the backup copies are made, then the files are put
// in place one after another (commit); when one of them cannot be put in
// place, the files already replaced get their old bytes back and the new
// ones are removed. A writer destroyed before commit removes its temporary
// files.
class FileSetWriter {
public:
    explicit FileSetWriter(BackupChoice backup = {});
    ~FileSetWriter();
    FileSetWriter(const FileSetWriter&) = delete;
    FileSetWriter& operator=(const FileSetWriter&) = delete;

    // Checks the target and writes `data` into a flushed temporary file
    // beside it. False after a failure (this one or an earlier one), which
    // result() then describes; nothing has been replaced yet.
    bool add(const std::string& path, std::string_view data);
    bool add(const std::string& path, const ByteProducer& produce);
    // Makes the backup copies and puts every file in place. Once only.
    WriteResult commit();
    const WriteResult& result() const { return result_; }

private:
    struct Pending;
    void abandon();
    bool fail(const std::string& path, int err);

    BackupChoice backup_;
    std::vector<Pending> pending_;
    std::vector<std::string> cleanedFolders_;
    WriteResult result_;
    bool failed_ = false;
    bool done_ = false;
};

// How old a temporary file of this program must be before a save into its
// folder removes it as the leftover of a killed process.
inline constexpr std::time_t kStaleTemporaryAge = 10 * 60;

// Whether `name` (without folder) is a temporary file name of this program.
bool isTemporaryName(std::string_view name);

// The pieces the saves are built of, shared with the dated backups.
namespace detail {

// Writes `data` into a new temporary file beside `nearPath` with the
// permission bits `mode` and, where allowed, the owner `uid`/`gid` (-1 keeps
// ours), flushed and closed. Returns its path, or an empty string with errno
// set (nothing left behind).
std::string writeTemporary(const std::string& nearPath, std::string_view data, mode_t mode,
                           uid_t uid = static_cast<uid_t>(-1), gid_t gid = static_cast<gid_t>(-1));
std::string writeTemporary(const std::string& nearPath, const ByteProducer& produce, mode_t mode,
                           uid_t uid = static_cast<uid_t>(-1), gid_t gid = static_cast<gid_t>(-1));
// Renames `from` to `to` unless `to` exists; 0 or an errno value (EEXIST
// when the name is taken).
int renameNoReplace(const std::string& from, const std::string& to);
// Flushes a folder's entries to the disk (errors are ignored: the rename
// they would report has already happened).
void syncFolder(const std::string& folder);
// "what: reason".
std::string describe(const std::string& what, int err);

}  // namespace detail

}  // namespace tov
