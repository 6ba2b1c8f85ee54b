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
    // Writes `bytes` to folder/rel, creating sub-folders; the full name.
    std::string write(const std::string& rel, const std::string& bytes) const { return put(rel, bytes); }
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
