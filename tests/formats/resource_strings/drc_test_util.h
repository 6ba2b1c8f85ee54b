// Temporary folders and whole-file helpers for the resource-string tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace tov::testing {

// A temporary folder, named without its closing "/".
class TempDir {
public:
    std::string path() const { return folder_.path().substr(0, folder_.path().size() - 1); }
    std::string file(const std::string& name) const { return folder_ / name; }

private:
    TempFolder folder_;
};

inline void writeBytes(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
    ASSERT_TRUE(out.good()) << path;
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tov::testing
