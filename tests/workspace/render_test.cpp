#include <QComboBox>

#include "tests/workspace/table_fixture.h"

namespace tov::test {
namespace {

using Render = TableTest;

std::string kindName(std::uint8_t kind)
{
    return "kind " + std::to_string(kind);
}

TEST_F(Render, DestinationCellsShowMissingChangedOrStoredPerKind)
{
    start();
    enum Look { White, Changed, Missing };
    struct Case {
        const char* name;
        Row row;
        Look look;
    };
    // Resource strings, menu INI and C arrays share the rules.
    const Case common[] = {
        {"equal to the stored text", {"Open", "Otwórz", "Otwórz"}, White},
        {"edited", {"Open", "Otwórz!", "Otwórz"}, Changed},
        {"empty, stored empty too", {"Open", "", ""}, Missing},
        {"emptied", {"Open", "", "Otwórz"}, Missing},
    };
    for (std::uint8_t kind : {kKonfix, kVigrex, kKonfi10, kGenericDrc, kMenuIni, kCArrays}) {
        std::vector<Row> rows;
        for (const Case& c : common) rows.push_back(c.row);
        fill(kind, rows);
        const QImage image = shot();
        for (size_t i = 0; i < std::size(common); ++i) {
            SCOPED_TRACE(kindName(kind) + ": " + common[i].name);
            const QRgb want = common[i].look == White     ? palette(QPalette::Base)
                                : common[i].look == Changed ? kChanged
                                                            : kMissing;
            EXPECT_EQ(background(image, tcol::kDest, static_cast<int>(i) + 1), want);
        }
    }

    // Firmware: an empty text is padded and shows white; a text typed where
    // nothing is stored is an edit.
    const Case firmware[] = {
        {"empty, nothing stored", {"Menu", "", ""}, White},
        {"typed, nothing stored", {"Menu", "Tryb", ""}, Changed},
        {"equal to the stored text", {"Menu", "Tryb", "Tryb"}, White},
        {"differs from the stored text", {"Menu", "Tryb", "Menu"}, Changed},
        {"equal once padded", {"Menu", "Ty", "Ty  "}, White},
        {"stored short in its file", {"Menu", "Ty", "Ty"}, White},
    };
    for (std::uint8_t kind : {kOrvanta, kQL5, kQL10, kTelmo}) {
        std::vector<Row> rows;
        for (const Case& c : firmware) rows.push_back(c.row);
        fill(kind, rows);
        const QImage image = shot();
        for (size_t i = 0; i < std::size(firmware); ++i) {
            SCOPED_TRACE(kindName(kind) + ": " + firmware[i].name);
            const QRgb want = firmware[i].look == Changed ? kChanged : palette(QPalette::Base);
            EXPECT_EQ(background(image, tcol::kDest, static_cast<int>(i) + 1), want);
        }
    }
}

TEST_F(Render, DestinationLengthIsMarkedWhenItDoesNotFitTheBase)
{
    start();
    // Destination length 12 and 8 against a base length of 10. A firmware
    // text always has the length of its base: its length is never marked.
    struct Case {
        std::uint8_t kind;
        bool longMarked;
    };
    const Case cases[] = {
        {kKonfix, true},   {kVigrex, true}, {kKonfi10, true}, {kGenericDrc, true}, {kCArrays, true},
        {kMenuIni, false}, {kOrvanta, false}, {kQL5, false},  {kQL10, false},      {kTelmo, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(kindName(c.kind));
        fill(c.kind, {{std::string(10, 'b'), std::string(12, 'd'), ""},
                      {std::string(10, 'b'), std::string(8, 'd'), ""},
                      {std::string(10, 'b'), std::string(10, 'd'), ""}});
        const QImage image = shot();
        const QRgb face = palette(QPalette::Button);
        EXPECT_EQ(background(image, tcol::kDestLen, 1), c.longMarked ? kChanged : face);
        EXPECT_EQ(background(image, tcol::kDestLen, 2), face);
        EXPECT_EQ(background(image, tcol::kDestLen, 3), face);
        // The other number columns and the base text stay grey.
        EXPECT_EQ(background(image, tcol::kBaseLen, 2), face);
        EXPECT_EQ(background(image, tcol::kBase, 2), face);
        EXPECT_EQ(background(image, tcol::kNumber, 2), face);
    }
}

TEST_F(Render, CurrentTextCellIsHighlightedFocusedOrNot)
{
    start();
    fill(kKonfix, {{"Open", "", "x"}, {"Close", "Zamknij", "Zamknij"}, {"Save", "", ""}});
    const QRgb highlight = palette(QPalette::Highlight);

    // The base cell, focused.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 2));
    ASSERT_TRUE(grid().gridHasFocus());
    QImage image = shot();
    EXPECT_EQ(background(image, tcol::kBase, 2), highlight);
    EXPECT_EQ(background(image, tcol::kBase, 1), palette(QPalette::Button));

    // An empty destination: the editor covers the cell, its frame shows the
    // selection colour rather than the missing colour.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kDest, 1));
    image = shot();
    const QRect rect = painted(tcol::kDest, 1);
    EXPECT_EQ(image.pixel(rect.left(), rect.center().y()), highlight);
    EXPECT_EQ(background(image, tcol::kDest, 3), kMissing);

    // The current base length cell has no highlight of its own.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kBaseLen, 2));
    image = shot();
    EXPECT_EQ(background(image, tcol::kBaseLen, 2), palette(QPalette::Button));

    // Unfocused, the default drawing shows the current cell as selected.
    ASSERT_TRUE(grid().setCurrentCell(tcol::kDest, 3));
    form1->BitBtn2->setFocus();
    settle();
    ASSERT_FALSE(grid().gridHasFocus());
    image = shot();
    EXPECT_EQ(background(image, tcol::kDest, 3), highlight);
}

TEST_F(Render, FirmwareTextsShowAtTheLengthOfTheirBaseAndPaintingWritesNothing)
{
    start();
    fill(kTelmo, {{"12345678", "ABCDEFGHIJ", ""},
                  {"12345678", "ABC", ""},
                  {"", "gone", ""},
                  {std::string(300, 'b'), std::string(280, 'd'), ""}});
    // Every row obeys the rule, whether it was ever shown or not.
    EXPECT_EQ(cell(tcol::kDest, 1), "ABCDEFGH");
    EXPECT_EQ(cell(tcol::kDestLen, 1), " 8");
    EXPECT_EQ(cell(tcol::kDest, 2), "ABC     ");
    EXPECT_EQ(cell(tcol::kDestLen, 2), " 8");
    EXPECT_EQ(cell(tcol::kDest, 3), "");
    EXPECT_EQ(cell(tcol::kDestLen, 3), " 0");
    // A base text longer than a firmware file can hold leaves the
    // destination as typed.
    EXPECT_EQ(cell(tcol::kDest, 4), std::string(280, 'd'));
    EXPECT_EQ(cell(tcol::kDestLen, 4), " 280");

    // Painting, focused or not, with the editor open or not, writes nothing.
    const auto generation = doc().generation();
    ASSERT_TRUE(grid().setCurrentCell(tcol::kDest, 1));
    shot();
    form1->BitBtn2->setFocus();
    shot();
    grid().setFocus();
    shot();
    EXPECT_EQ(doc().generation(), generation);
}

TEST_F(Render, ATypedBaseTextStaysOnlyInTheCMode)
{
    start();
    for (std::uint8_t kind : {kKonfix, kGenericDrc, kMenuIni, kOrvanta, kCArrays}) {
        SCOPED_TRACE(kindName(kind));
        fill(kind, {{"Open", "", ""}, {"Close", "", ""}});
        // Typed into the base cell by hand.
        ASSERT_TRUE(grid().setCurrentCell(tcol::kBase, 2));
        type("zz");
        EXPECT_TRUE(grid().isEditorOpen());
        shot();
        if (kind == kCArrays) {
            EXPECT_EQ(cell(tcol::kBase, 2), "zz");
            EXPECT_EQ(cell(tcol::kBaseLen, 2), " 2");
        } else {
            EXPECT_EQ(cell(tcol::kBase, 2), "Close");
            // The open editor shows the text put back.
            EXPECT_EQ(grid().editor()->text(), QStringLiteral("Close"));
        }
        key(Qt::Key_Escape);
        EXPECT_FALSE(form1->edited());
    }
}

TEST_F(Render, GapLinesSeparateFirmwareLinesThatDoNotFollowEachOther)
{
    start();
    // Rows 1..6 hold lines 3, 4, 5, 9, 10 and 70000 (beyond the file model).
    std::vector<Entry> rows;
    for (std::uint32_t line : {3u, 4u, 5u, 9u, 10u, 70000u}) {
        Entry e;
        e.base = "text";
        e.line = line;
        rows.push_back(e);
    }
    form1->showRows(kOrvanta, rows);
    narrowTextColumns();
    const QImage image = shot();
    const QRgb shadow = palette(QPalette::Dark);
    auto top = [&](int c, int r) {
        const QRect rect = painted(c, r);
        return image.pixel(rect.center().x(), rect.top());
    };
    auto bottom = [&](int c, int r) {
        const QRect rect = painted(c, r);
        return image.pixel(rect.center().x(), rect.bottom());
    };
    for (int c = 1; c <= 5; ++c) {
        SCOPED_TRACE("column " + std::to_string(c));
        EXPECT_NE(bottom(c, 2), shadow);  // 4 then 5
        EXPECT_NE(top(c, 3), shadow);
        EXPECT_EQ(bottom(c, 3), shadow);  // 5 then 9
        EXPECT_EQ(top(c, 4), shadow);
        EXPECT_NE(bottom(c, 4), shadow);  // 9 then 10
        EXPECT_EQ(bottom(c, 5), shadow);  // 10 then 70000
        EXPECT_EQ(top(c, 6), shadow);
        EXPECT_EQ(bottom(c, 6), shadow);  // the last row: nothing follows
        EXPECT_NE(top(c, 1), shadow);     // row 1 has no line of its own
    }
    // Not in the number column nor right of the comment, where the cells
    // keep the default look.
    EXPECT_NE(bottom(tcol::kNumber, 3), shadow);
    EXPECT_NE(bottom(6, 3), shadow);
    EXPECT_NE(top(6, 4), shadow);
    EXPECT_EQ(background(image, tcol::kComment, 2), palette(QPalette::Button));
    for (int c = 6; c <= 8; ++c) EXPECT_EQ(background(image, c, 2), palette(QPalette::Base)) << c;

    // Resource strings have no gap lines whatever lines their rows name.
    form1->showRows(kKonfix, rows);
    narrowTextColumns();
    const QImage plain = shot();
    const QRect rect = painted(tcol::kBase, 3);
    EXPECT_NE(plain.pixel(rect.center().x(), rect.bottom()), shadow);
}

TEST_F(Render, PickersSitOverTheBaseAndDestinationHeadersInThePickerModes)
{
    start();
    for (std::uint8_t kind : {kMenuIni, kCArrays, kKonfix, kQL5, kNone}) {
        SCOPED_TRACE(kindName(kind));
        fill(kind, {{"a", "b", "b"}});
        shot();
        const bool shown = kind == kMenuIni || kind == kCArrays;
        EXPECT_EQ(form1->ComboBox1->isVisible(), shown);
        EXPECT_EQ(form1->ComboBox2->isVisible(), shown);
        if (!shown) continue;
        auto headerLeft = [&](int c) { return grid().mapTo(grid().parentWidget(), grid().cellRect(c, 0).topLeft()); };
        EXPECT_EQ(form1->ComboBox1->x(), headerLeft(tcol::kBase).x() + 2);
        EXPECT_EQ(form1->ComboBox2->x(), headerLeft(tcol::kDest).x() + 2);
        EXPECT_EQ(form1->ComboBox1->y(), grid().y() + 2);
        // They follow a column that moves.
        grid().setColWidth(tcol::kBaseLen, 80);
        shot();
        EXPECT_EQ(form1->ComboBox1->x(), headerLeft(tcol::kBase).x() + 2);
        EXPECT_EQ(form1->ComboBox2->x(), headerLeft(tcol::kDest).x() + 2);
        grid().setColWidth(tcol::kBaseLen, 30);
    }
}

}  // namespace
}  // namespace tov::test
