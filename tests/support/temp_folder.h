// A temporary folder created for one test (or benchmark) and removed with
// everything in it. Every test that needs files of its own takes one of these;
// beside it the small file and text helpers the tests share.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/atomic_file.h"
#include "support/text_file.h"

namespace tov::testing {

// Every entry below `folder` (which ends with "/") by its relative name,
// with its bytes (a folder as "/"): equal snapshots mean nothing changed and
// nothing was left behind.
inline std::map<std::string, std::string> folderSnapshot(const std::string& folder)
{
    std::map<std::string, std::string> all;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        std::string bytes = "/";
        if (!e.is_directory()) readFileBytes(e.path().string(), bytes);
        all[e.path().string().substr(folder.size())] = bytes;
    }
    return all;
}

// The bytes of a file; empty when it cannot be read.
inline std::string readBytes(const std::string& path)
{
    std::string data;
    readFileBytes(path, data);
    return data;
}

// Lines each followed by CR LF, as the program writes them.
inline std::string crlf(const std::vector<std::string>& lines) { return joinCrLf(lines); }

// Where two large texts first differ (npos when equal), so that a failure
// names a place instead of printing whole files.
inline size_t firstDifference(const std::string& a, const std::string& b)
{
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return ia == a.end() && ib == b.end() ? std::string::npos : static_cast<size_t>(ia - a.begin());
}

// `text` with the first `from` replaced by `to`; throws (failing the test)
// when `from` is not there.
inline std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    if (at == std::string::npos) throw std::runtime_error("not in the text: " + from);
    return text.replace(at, from.size(), to);
}

class TempFolder {
public:
    TempFolder()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tovrana-test-XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
        path_ = std::string(buf.data()) + "/";
    }
    ~TempFolder()
    {
        // A test may have taken the folder's write permission away.
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with its closing "/".
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    // Writes a file, making the folders of a name like "a/b/c.txt" first;
    // returns its full name.
    std::string put(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories(std::filesystem::path(path_ + name).parent_path());
        if (!writeFileAtomic(path_ + name, bytes)) throw std::runtime_error("cannot write " + name);
        return path_ + name;
    }
    // The bytes of a file (a full name or one in the folder); empty when it cannot be read.
    std::string get(const std::string& name) const
    {
        std::string data;
        readFileBytes(name.starts_with('/') ? name : path_ + name, data);
        return data;
    }
    // Names of every entry, sorted.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // folderSnapshot() of this folder.
    std::map<std::string, std::string> snapshot() const { return folderSnapshot(path_); }

private:
    std::string path_;
};

}  // namespace tov::testing
