// Lowers the largest file size this process may write, as a full disk would
// refuse a write (writes beyond it fail with EFBIG; SIGXFSZ is ignored
// meanwhile); restored when it goes out of scope.
#pragma once

#include <csignal>
#include <stdexcept>
#include <sys/resource.h>

namespace tov::testing {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes = 16)
    {
        if (::getrlimit(RLIMIT_FSIZE, &old_) != 0) throw std::runtime_error("getrlimit failed");
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, old_.rlim_max};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("setrlimit failed");
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*previous_)(int) = SIG_DFL;
};

}  // namespace tov::testing
