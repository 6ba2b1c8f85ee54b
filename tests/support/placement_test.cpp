#include <gtest/gtest.h>

#include <climits>

#include "support/placement.h"

namespace tov {
namespace {

TEST(Placement, RecordIsFourLittleEndianIntegers)
{
    const WindowRect r {1, -1, 256, 0x01020304};
    const std::string bytes = encodePlacement(r);
    EXPECT_EQ(bytes, std::string("\x01\0\0\0\xFF\xFF\xFF\xFF\0\x01\0\0\x04\x03\x02\x01", 16));
    EXPECT_EQ(decodePlacement(bytes), r);
    for (size_t n : {0, 4, 15, 17, 32}) EXPECT_FALSE(decodePlacement(std::string(n, '\x01')).has_value()) << n;
}

TEST(Placement, KeyPerProgramFolder)
{
    EXPECT_EQ(placementKey("/home/u/Tr/"), "Software/Orbika/Tovra/_home_u_Tr_/p");
    EXPECT_EQ(placementKey("/opt/t\xB9-1.0/"), "Software/Orbika/Tovra/_opt_t__1_0_/p");
    EXPECT_NE(placementKey("/a/"), placementKey("/b/"));
    EXPECT_EQ(placementKey("/" + std::string(254, 'a')).size(), 22u + 255u + 2u);
    EXPECT_EQ(placementKey("/" + std::string(255, 'a')), "");
}

TEST(Placement, RestoreKeepsOnScreenRecordsAndCentresOthers)
{
    const WindowRect desktop {0, 0, 1280, 1024};
    const WindowRect design {10, 10, 500, 400};
    struct Case {
        const char* what;
        std::optional<WindowRect> stored;
        WindowRect current;
        WindowRect desktop;
        WindowRect expected;
    };
    const Case cases[] = {
        {"on screen", WindowRect {100, 100, 800, 600}, design, desktop, {100, 100, 800, 600}},
        {"top above the desktop", WindowRect {100, -5, 800, 600}, design, desktop, {240, 212, 500, 400}},
        {"left near the right edge", WindowRect {1270, 100, 800, 600}, design, desktop, {240, 212, 500, 400}},
        {"left at the last position", WindowRect {1255, 999, 800, 600}, design, desktop, {1255, 999, 800, 600}},
        {"top near the bottom", WindowRect {0, 1000, 800, 600}, design, desktop, {240, 212, 500, 400}},
        {"left of the desktop", WindowRect {-1, 0, 800, 600}, design, desktop, {240, 212, 500, 400}},
        {"wider than the desktop", WindowRect {-10, -10, 2000, 1100}, design, desktop, {0, 0, 500, 400}},
        {"missing record", std::nullopt, design, desktop, design},
        {"record adding up to 0", WindowRect {-100, 100, 0, 0}, design, desktop, design},
        {"missing record, design placement off screen", std::nullopt, {-50, 10, 500, 400}, desktop,
         {390, 312, 500, 400}},
        {"desktop reaching left of 0", WindowRect {-500, 10, 800, 600}, design, {-1280, 0, 2560, 1024},
         {-500, 10, 800, 600}},
        {"centred on a desktop reaching left of 0", WindowRect {-1300, 10, 800, 600}, design,
         {-1280, 0, 2560, 1024}, {-400, 212, 500, 400}},
        {"desktop reaching above 0", WindowRect {10, -500, 800, 600}, design, {0, -1080, 1920, 2160},
         {10, -500, 800, 600}},
        {"damaged record", WindowRect {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, design, desktop, {0, 0, 500, 400}},
    };
    for (const auto& c : cases) EXPECT_EQ(restorePlacement(c.stored, c.current, c.desktop), c.expected) << c.what;
}

}  // namespace
}  // namespace tov
