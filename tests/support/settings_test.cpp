#include <gtest/gtest.h>

#include "support/settings.h"
#include "temp_folder.h"

namespace tov {
namespace {

using tov::testing::TempFolder;

FontRecord font(int charset, std::uint32_t color, int height, std::string name, int pitch, int size, bool bold,
                bool italic)
{
    return FontRecord {charset, color, height, std::move(name), pitch, size, bold, italic};
}

TEST(Settings, LoadFontAppliesAValidSection)
{
    const FontRecord design;
    struct Case {
        const char* what;
        std::string file;
        FontRecord expected;
    };
    const std::string all = "Charset=186\r\nColor=0000FF\r\nHeight=-99\r\nName=Arial\r\nPitch=2\r\nSize=12\r\n";
    const Case cases[] = {
        {"no Valid key", "[bfont]\r\n" + all, design},
        {"Valid 0", "[bfont]\r\nValid=0\r\n" + all, design},
        {"Valid 11", "[bfont]\r\nValid=11\r\n" + all, design},
        {"other section", "[dfont]\r\nValid=1\r\n" + all, design},
        {"full section, missing styles give bold and italic", "[bfont]\r\nValid=1\r\n" + all,
         font(186, 255, -16, "Arial", 2, 12, true, true)},
        {"styles 0", "[bfont]\r\nValid = 1\r\n" + all + "fsBold=0\r\nfsItalic=0\r\n",
         font(186, 255, -16, "Arial", 2, 12, false, false)},
        {"style other than 0", "[BFONT]\r\nvalid=1\r\n" + all + "fsBold=yes\r\nfsItalic= 0 \r\n",
         font(186, 255, -16, "Arial", 2, 12, true, false)},
        {"eight colour digits read as black, negative size as 0",
         "[bfont]\r\nValid=1\r\nCharset=-5\r\nColor=FF000008\r\nName=Courier New\r\nSize=-3\r\nfsBold=0\r\n",
         font(-5, 0, 0, "Courier New", 0, 0, false, true)},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        dir.put("t.ini", c.file);
        FontRecord f;
        Settings(dir / "t.ini").loadFont("bfont", f);
        EXPECT_EQ(f, c.expected) << c.what;
    }
}

TEST(Settings, StoreFontWritesNineKeysInOrderAndReadsBack)
{
    TempFolder dir;
    const Settings s(dir / "t.ini");
    s.storeFont("bfont", FontRecord {});
    EXPECT_EQ(dir.get("t.ini"),
              "[bfont]\r\nValid=1\r\nCharset=238\r\nColor=FF000008\r\nHeight=-15\r\nName=Courier New\r\n"
              "Pitch=0\r\nSize=11\r\nfsBold=0\r\nfsItalic=0\r\n");

    const FontRecord chosen = font(238, 0x123456, -16, "Tahoma \xB9", 1, 12, true, false);
    s.storeFont("dfont", chosen);
    s.storeFont("bfont", font(0, 0x80, -13, "Arial", 2, 10, false, true));
    FontRecord loaded;
    s.loadFont("dfont", loaded);
    EXPECT_EQ(loaded, chosen);
    s.loadFont("bfont", loaded);
    EXPECT_EQ(loaded, font(0, 0x80, -13, "Arial", 2, 10, false, true));
}

TEST(Settings, HeightFollowsThePointSize)
{
    const std::pair<int, int> cases[] = {{11, -15}, {10, -13}, {12, -16}, {9, -12}, {8, -11}, {0, 0}, {72, -96}};
    for (const auto& [points, height] : cases) EXPECT_EQ(heightForSize(points), height) << points;
}

TEST(Settings, SourceKindAndPlainKeys)
{
    const std::pair<const char*, int> kinds[] = {
        {"", 0}, {"fm=16", 16}, {"fm=255", 255}, {"fm=256", 0}, {"fm=-3", 0}, {"fm=abc", 0}, {"fm=17x", 17},
        {"fm=$11", 17},
    };
    for (const auto& [line, kind] : kinds) {
        TempFolder dir;
        dir.put("t.ini", std::string("[files]\r\n") + line + "\r\n");
        EXPECT_EQ(Settings(dir / "t.ini").sourceKind(), kind) << line;
    }

    TempFolder dir;
    const Settings s(dir / "t.ini");
    EXPECT_EQ(s.sourceKind(), 0);  // no file at all
    s.setFile("bfile", "./base/a.drc");
    s.setFile("fm", "1");
    EXPECT_EQ(s.file("bfile"), "./base/a.drc");
    EXPECT_EQ(s.sourceKind(), 1);
    EXPECT_EQ(s.read("files", "dfile"), "");
}

TEST(Settings, GarbageFileReadsAsEmptyAndKeepsItsBytes)
{
    TempFolder dir;
    std::string garbage;
    for (int i = 0; i < 3000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
    garbage += std::string(70000, 'x') + "=" + std::string(10, '\0');
    dir.put("t.ini", garbage);
    const Settings s(dir / "t.ini");
    FontRecord f;
    s.loadFont("bfont", f);
    EXPECT_EQ(f, FontRecord {});
    EXPECT_EQ(s.read("files", "bfile"), "");
    s.setFile("fm", "3");
    EXPECT_EQ(s.sourceKind(), 3);
    const std::string after = dir.get("t.ini");
    ASSERT_GE(after.size(), garbage.size());
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
}

}  // namespace
}  // namespace tov
