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

namespace tov {

class CArraysTest : public ::testing::Test {
public:
    void SetUp() override
    {
        std::string tmpl = ::testing::TempDir() + "carrays-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl + "/";
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    std::string path(const std::string& name) const { return dir_ + name; }
    std::string writeFile(const std::string& name, const std::string& bytes) const
    {
        FILE* f = std::fopen(path(name).c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        }
        return path(name);
    }
    std::string readFile(const std::string& file) const
    {
        std::string bytes;
        readFileBytes(file, bytes);
        return bytes;
    }

    std::string dir_;
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
