// Helpers shared by the firmware tests: a temporary folder and file access.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/text_file.h"
#include "tests/support/temp_folder.h"

namespace tov::fwtest {

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder : public tov::testing::TempFolder {
public:
    // Writes `bytes` to folder/rel, creating sub-folders.
    std::string write(const std::string& rel, const std::string& bytes) const
    {
        const std::filesystem::path p = path() + rel;
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
