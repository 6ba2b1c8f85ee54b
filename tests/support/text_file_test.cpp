#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/line_views.h"
#include "support/text_file.h"
#include "temp_folder.h"

namespace tov {
namespace {

using Lines = std::vector<std::string>;

TEST(LineRule, SplitsAtLfAndCrLfDropsLoneCrStopsAtCtrlZ)
{
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\n\n", {"a", ""}},
        {"\n", {""}},
        {"a\rb\n", {"ab"}},
        {"a\r\r\nb", {"a", "b"}},
        {"a\r", {"a"}},
        {"x\ny\x1a", {"x", "y"}},
        {"a\x1a" "b\nc", {"a"}},
        {"\x1a\n", {}},
        {std::string("a\0b\n\xB9\xFF", 6), {std::string("a\0b", 3), "\xB9\xFF"}},
    };
    for (const auto& [data, lines] : cases) {
        EXPECT_EQ(splitLines(data), lines) << ::testing::PrintToString(data);
        // The same lines as views, closed up in a copy of the bytes.
        std::string bytes = data;
        const std::vector<std::string_view> views = lineViews(bytes);
        EXPECT_EQ(Lines(views.begin(), views.end()), lines) << ::testing::PrintToString(data);
        // The same lines however the bytes come in pieces: cut in two at
        // every place, and byte by byte.
        for (std::size_t cutAt = 0; cutAt <= data.size() + 1; ++cutAt) {
            LineCutter cutter;
            Lines cut;
            const auto take = [&cut](std::string_view line) { cut.emplace_back(line); };
            if (cutAt <= data.size()) {
                cutter.take(std::string_view(data).substr(0, cutAt), take);
                cutter.take(std::string_view(data).substr(cutAt), take);
            } else {
                for (const char c : data) cutter.take(std::string_view(&c, 1), take);
            }
            cutter.finish(take);
            EXPECT_EQ(cut, lines) << ::testing::PrintToString(data) << " cut at " << cutAt;
        }
    }
}

TEST(LineRule, WritesCrLf)
{
    EXPECT_EQ(joinCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
    EXPECT_EQ(joinCrLf({}), "");
    std::string out = "x";
    appendCrLfLine(out, "y");
    EXPECT_EQ(out, "xy\r\n");
}

TEST(LineRule, ReadsFiles)
{
    tov::testing::TempFolder dir;
    dir.put("a.txt", "one\r\ntwo\rX\nthree");
    Lines lines;
    EXPECT_TRUE(readLines(dir / "a.txt", lines));
    EXPECT_EQ(lines, (Lines {"one", "twoX", "three"}));
    EXPECT_FALSE(readLines(dir / "missing.txt", lines));
    EXPECT_TRUE(lines.empty());
    std::string bytes = "old";
    EXPECT_FALSE(readFileBytes(dir.path(), bytes));  // a folder
    EXPECT_TRUE(bytes.empty());
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    EXPECT_FALSE(readFileBytes(dir / "pipe", bytes));  // refused at once, never waits for a writer
    EXPECT_FALSE(readFileBytes("/dev/zero", bytes));
}

// Whole files come back byte for byte, whatever their size against the
// pieces a file is read in, and also where a file holds more than its size
// said when it was opened (a file of /proc says 0).
TEST(LineRule, ReadsWholeFilesOfAnySize)
{
    tov::testing::TempFolder dir;
    for (const std::size_t size : {0u, 1u, 4095u, 65536u, 65537u, 300001u}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
        const std::string path = dir.put("f" + std::to_string(size), bytes);
        std::string read = "old";
        EXPECT_TRUE(readFileBytes(path, read));
        EXPECT_TRUE(read == bytes) << size;
        std::string pieces;
        EXPECT_TRUE(readFilePieces(path, [](std::size_t) {}, [&](std::string_view p) { pieces += p; }));
        EXPECT_TRUE(pieces == bytes) << size;
    }
    std::string status;
    EXPECT_TRUE(readFileBytes("/proc/self/status", status));
    EXPECT_TRUE(status.starts_with("Name:") && status.ends_with("\n")) << status;
}

}  // namespace
}  // namespace tov
