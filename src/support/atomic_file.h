// Replacing a file without ever leaving it half written.
//
// The data goes into a temporary file in the target's folder, which is
// flushed, closed and then renamed over the target. A failure at any point
// removes the temporary file and leaves the target exactly as it was. The
// new file keeps the old one's permission bits (a new file gets the usual
// 0666 minus the umask); a target reached through a symbolic link is replaced
// at the link's destination, so the link stays a link; a target that exists
// but is not a regular file (a folder, a device, a pipe) is refused.
#pragma once

#include <string>
#include <string_view>

namespace tov {

struct WriteResult {
    bool ok = false;
    std::string error;  // short English reason when !ok (for logs and the command line)
    explicit operator bool() const { return ok; }
};

WriteResult writeFileAtomic(const std::string& path, std::string_view data);

// Copies `from` over `to` through writeFileAtomic (used for backup copies).
WriteResult copyFileAtomic(const std::string& from, const std::string& to);

}  // namespace tov
