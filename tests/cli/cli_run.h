// Runs the real tovrana-cli executable in a folder and collects what it
// printed and its exit status.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/text_file.h"
#include "tests/support/fault_injection.h"
#include "tests/support/temp_folder.h"

namespace tov::clitest {

struct Result {
    int status = -1;  // exit status; -1 when the program did not exit normally
    int signal = 0;   // the signal that ended it, if one did
    std::string out;
    std::string err;
};

// Faults the program is started under.
struct Faults {
    rlim_t fileSizeLimit = RLIM_INFINITY;  // as a full disk; SIGXFSZ is left to the program
    bool withoutFileOverride = false;      // root without its power over files
};

// Runs tovrana-cli with `args` in the folder `cwd` and collects what it
// printed (through pipes, which no file-size limit touches).
inline Result runCli(const std::string& cwd, const std::vector<std::string>& args, const Faults& faults = {})
{
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        if (::chdir(cwd.c_str()) != 0) ::_exit(127);
        if (faults.withoutFileOverride && !tov::testing::dropFileOverrideForExec()) {
            std::fputs("cannot drop root's file override\n", stderr);
            ::_exit(126);
        }
        if (faults.fileSizeLimit != RLIM_INFINITY) {
            const rlimit limit{faults.fileSizeLimit, faults.fileSizeLimit};
            std::signal(SIGXFSZ, SIG_DFL);
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(126);
        }
        std::vector<char*> argv;
        std::string program = TOVRANA_CLI;
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    Result r;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* into[2] = {&r.out, &r.err};
    for (int open = 2; open > 0;) {
        if (::poll(fds, 2, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buf[65536];
            const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                into[i]->append(buf, static_cast<size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid) {
        if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
    }
    return r;
}

using tov::testing::replaced;

// A temporary folder holding a copy of the demo samples (base/, dest/,
// ORVANTA/, QL5/, QL10/, TELMO/, menu.ini, texts.c).
class DemoFolder : public tov::testing::TempFolder {
public:
    DemoFolder()
    {
        std::filesystem::copy(TOVRANA_DEMO_SOURCE_DIR, path(), std::filesystem::copy_options::recursive);
    }
    Result run(const std::vector<std::string>& args, const Faults& faults = {}) const
    {
        return runCli(path(), args, faults);
    }
    void copy(const std::string& from, const std::string& to) const
    {
        std::filesystem::create_directories(std::filesystem::path(path() + to).parent_path());
        std::filesystem::copy_file(from, path() + to, std::filesystem::copy_options::overwrite_existing);
    }
};

}  // namespace tov::clitest
