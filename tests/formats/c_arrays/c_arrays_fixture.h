// Shared helpers of the C string-array tests: a temporary folder per test and
// files given as lists of lines.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/text_file.h"
#include "support/files.h"
#include "support/text_grid.h"
#include "tests/support/temp_folder.h"

namespace tov {

class CArraysTest : public ::testing::Test {
public:
    std::string path(const std::string& name) const { return dir_ + name; }
    std::string writeFile(const std::string& name, const std::string& bytes) const { return folder_.put(name, bytes); }
    std::string readFile(const std::string& file) const { return testing::readBytes(file); }

    testing::TempFolder folder_;
    std::string dir_ = folder_.path();
};

// Rows 0 .. rowCount - 1 of columns 0 .. cols - 1, cells joined by "|".
inline std::vector<std::string> dumpRows(const TextGrid& g, int cols)
{
    std::vector<std::string> rows;
    for (int r = 0; r < g.rowCount(); ++r) {
        std::string line;
        for (int c = 0; c < cols; ++c) line += (c ? "|" : "") + g.cell(c, r);
        rows.push_back(line);
    }
    return rows;
}

}  // namespace tov
