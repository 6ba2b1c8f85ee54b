#include <gtest/gtest.h>

#include "formats/source_kind.h"

namespace tov {
namespace {

TEST(SourceKind, OfAFileNamedOnTheCommandLine)
{
    const std::pair<const char*, std::uint8_t> cases[] = {
        {"/w/base/Konfix_en.drc", kKonfix},
        {"/w/konfix.DRC", kKonfix},
        {"/w/base/Vigrex_en.drc", kVigrex},
        {"/w/base/Konfi10_en.drc", kKonfi10},
        {"/w/other.drc", kGenericDrc},
        {"/w/ORVANTA/ENG/EDIT.ENG", kOrvanta},
        {"/w/orvanta/POL/MENU.POL", kOrvanta},
        {"/w/QL5/ENG/LCD_IDLE.ENG", kQL5},
        {"/w/QL10/OUT/LCD_1.CZE", kQL10},
        {"/w/TELMO/ENG/Telmo.ENG", kTelmo},
        {"/w/menu.ini", kMenuIni},
        {"/w/ORVANTA/ENG/menu.INI", kMenuIni},  // the name decides before the folder
        {"/w/texts.c", kCArrays},
        {"/w/texts.cpp", kNone},
        {"/w/ORVANTA/EDIT.ENG", kNone},  // a family folder holds language folders
        {"/w/notes.txt", kNone},
        {"EDIT.ENG", kNone},
        {"/ENG/EDIT.ENG", kNone},
    };
    for (const auto& [path, kind] : cases) EXPECT_EQ(sourceKindOfFile(path), kind) << path;
}

}  // namespace
}  // namespace tov
