// Helpers shared by the firmware tests: a temporary folder and file access.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/text_file.h"

namespace tov::fwtest {

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tovrana-fw-XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        const char* made = ::mkdtemp(buf.data());
        if (!made) ADD_FAILURE() << "mkdtemp failed";
        path_ = made ? std::string(made) + "/" : std::string();
    }
    ~TempFolder()
    {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with its closing "/".
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& rel) const { return path_ + rel; }

    // Writes `bytes` to folder/rel, creating sub-folders.
    std::string write(const std::string& rel, const std::string& bytes) const
    {
        const std::filesystem::path p = path_ + rel;
        std::filesystem::create_directories(p.parent_path());
        FILE* f = std::fopen(p.c_str(), "wb");
        if (!f) {
            ADD_FAILURE() << "cannot create " << p;
            return p.string();
        }
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return p.string();
    }

private:
    std::string path_;
};

inline std::string readBytes(const std::string& path)
{
    std::string data;
    EXPECT_TRUE(readFileBytes(path, data)) << path;
    return data;
}

// Lines joined with CR LF after each, as the program writes them.
inline std::string crlf(const std::vector<std::string>& lines) { return joinCrLf(lines); }

}  // namespace tov::fwtest
