// Runs the real tovrana-cli executable in a folder and collects what it
// printed and its exit status.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/text_file.h"
#include "tests/support/temp_folder.h"

namespace tov::clitest {

struct Result {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// Runs tovrana-cli with `args` in the folder `cwd`; standard output and error
// go into files beside it, named after `cwd` so that they stay out of it.
inline Result runCli(const std::string& cwd, const std::vector<std::string>& args)
{
    const std::string outFile = cwd.substr(0, cwd.size() - 1) + ".out";
    const std::string errFile = cwd.substr(0, cwd.size() - 1) + ".err";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::chdir(cwd.c_str()) != 0) ::_exit(127);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv;
        std::string program = TOVRANA_CLI;
        argv.push_back(program.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    Result r;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.status = WEXITSTATUS(status);
    readFileBytes(outFile, r.out);
    readFileBytes(errFile, r.err);
    std::filesystem::remove(outFile);
    std::filesystem::remove(errFile);
    return r;
}

// A temporary folder holding a copy of the demo samples (base/, dest/,
// ORVANTA/, QL5/, QL10/, TELMO/, menu.ini, texts.c).
class DemoFolder : public tov::testing::TempFolder {
public:
    DemoFolder()
    {
        std::filesystem::copy(TOVRANA_DEMO_SOURCE_DIR, path(), std::filesystem::copy_options::recursive);
    }
    Result run(const std::vector<std::string>& args) const { return runCli(path(), args); }
    void copy(const std::string& from, const std::string& to) const
    {
        std::filesystem::create_directories(std::filesystem::path(path() + to).parent_path());
        std::filesystem::copy_file(from, path() + to, std::filesystem::copy_options::overwrite_existing);
    }
    // Every file below the folder with its bytes, for "nothing was written".
    std::vector<std::pair<std::string, std::string>> snapshot() const
    {
        std::vector<std::pair<std::string, std::string>> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(path()))
            if (e.is_regular_file()) files.emplace_back(e.path().string(), get(e.path().string().substr(path().size())));
        std::sort(files.begin(), files.end());
        return files;
    }
};

}  // namespace tov::clitest
