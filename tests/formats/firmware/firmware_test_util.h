// Helpers shared by the firmware tests: file access.
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

inline std::string readBytes(const std::string& path)
{
    std::string data;
    EXPECT_TRUE(readFileBytes(path, data)) << path;
    return data;
}

using tov::testing::crlf;

}  // namespace tov::fwtest
