// The demo file sets: every family opens its English set as base and its
// Polish set as destination without any error, and saves it back unchanged.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/firmware/firmware_sets.h"
#include "formats/firmware/firmware_test_util.h"

namespace tov {
namespace {

TEST(FirmwareDemo, EverySetOpensAsBaseAndDestination)
{
    const std::string demo = std::string(TOVRANA_DEMO_SOURCE_DIR) + "/";
    struct Case {
        std::uint8_t kind;
        const char* base;
        const char* dest;
        std::size_t files;
    };
    const std::vector<Case> cases = {
        {kOrvanta, "ORVANTA/ENG/EDIT.ENG", "ORVANTA/POL/EDIT.POL", 2},
        {kQL5, "QL5/ENG/LCD_IDLE.ENG", "QL5/POL/LCD_IDLE.POL", 2},
        {kQL10, "QL10/ENG/LCD_1.ENG", "QL10/POL/LCD_1.POL", 1},
        {kTelmo, "TELMO/ENG/Telmo.ENG", "TELMO/POL/Telmo.POL", 1},
    };
    EXPECT_TRUE(orvantaEntryVisible(demo));
    for (const auto& c : cases) {
        const FirmwareFamily& family = *firmwareFamily(c.kind);
        TextGrid translation(9, 50), work(11, 0);
        const FirmwareBaseOpen b = openFirmwareBase(translation, work, demo + c.base);
        ASSERT_TRUE(b.loaded()) << c.base;
        EXPECT_EQ(b.baseFiles.size(), c.files) << c.base;
        EXPECT_TRUE(b.readErrors.empty()) << c.base;
        EXPECT_GE(b.texts, 5) << c.base;

        const FirmwareDestinationOpen d =
            openFirmwareDestination(translation, work, family, b.baseFiles, demo + c.dest);
        ASSERT_TRUE(d.loaded()) << c.dest;
        EXPECT_TRUE(d.readErrors.empty()) << c.dest;
        EXPECT_EQ(d.structureFailureRow, 0) << c.dest;
        EXPECT_EQ(d.texts, b.texts) << c.dest;
        for (int row = 1; row <= b.texts; ++row) {
            // Translated texts fit the fixed length of their base texts.
            EXPECT_EQ(translation.cell(3, row), translation.cell(1, row)) << c.dest << " row " << row;
            EXPECT_NE(translation.cell(4, row), translation.cell(2, row)) << c.dest << " row " << row;
        }

        testing::TempFolder out;
        const FirmwareSave s =
            saveFirmwareDestination(translation, work, family, out / "SET.POL", BackupChoice::none());
        ASSERT_TRUE(s.ok()) << c.dest;
        ASSERT_EQ(s.files.size(), d.destFiles.size());
        for (std::size_t i = 0; i < s.files.size(); ++i)
            EXPECT_EQ(fwtest::readBytes(s.files[i]), fwtest::readBytes(d.destFiles[i])) << s.files[i];
    }
}

}  // namespace
}  // namespace tov
