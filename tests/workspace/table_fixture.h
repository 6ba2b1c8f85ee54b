// Tables filled by hand for every source kind, and the pixels and keys of the
// translation table.
#pragma once

#include <QTest>

#include "formats/source_kind.h"
#include "support/convert.h"
#include "tests/workspace/workspace_fixture.h"

namespace tov::test {

// One row of a table filled by hand.
struct Row {
    std::string base;
    std::string dest;
    std::string stored;  // the destination as last loaded or saved
};

class TableTest : public WorkspaceTest {
protected:
    StringGrid& grid() { return *form1->SG1; }

    // Shows rows of a kind as its reader would leave them: rows 1.. from
    // `rows` and empty rows up to `rowCount`, identifiers "ID_1", ..., the
    // length rule of the kind applied, firmware rows on lines 1, 2, ... .
    // The current cell is (1, 1).
    void fill(std::uint8_t kind, const std::vector<Row>& rows, int rowCount = 0)
    {
        const int n = std::max(rowCount, static_cast<int>(rows.size()) + 1);
        const FormatTraits& traits = traitsOf(kind);
        std::vector<Entry> entries;
        for (int r = 1; r < n; ++r) {
            const Row row = r - 1 < static_cast<int>(rows.size()) ? rows[r - 1] : Row{};
            Entry e;
            e.id = "ID_" + std::to_string(r);
            e.base = row.base;
            e.stored = row.stored;
            e.line = static_cast<std::uint32_t>(r);
            e.rule = traits.commentColumns ? fixedRuleFor(e.base)
                     : traits.lengthColumns ? LengthRule::AtMost
                                            : LengthRule::None;
            e.dest = fitToRule(e.rule, e.base, row.dest);
            entries.push_back(std::move(e));
        }
        form1->showRows(kind, std::move(entries));
        if (traits.languagePickers) {
            form1->ComboBox2->blockSignals(true);
            form1->ComboBox2->clear();
            form1->ComboBox2->addItems({"English", "Polski", "Deutsch"});
            form1->ComboBox2->setCurrentIndex(1);
            form1->ComboBox2->blockSignals(false);
        }
        form1->FormResize();
        grid().sync();
        grid().setCurrentCell(tcol::kBaseLen, 1);
        settle();
    }

    // The grid as it is on the screen, after it has caught up with its cells.
    QImage shot()
    {
        settle();
        QImage image = grid().grab().toImage();
        settle();
        return image;
    }
    // The painted area of a cell: its rectangle without the grid line.
    QRect painted(int c, int r)
    {
        const QRect rect = grid().cellRect(c, r);
        EXPECT_FALSE(rect.isEmpty()) << "cell " << c << "," << r << " is not in sight";
        return rect.adjusted(0, 0, -1, -1);
    }
    // The background of a cell: a point below its text and above its last
    // pixel row.
    QRgb background(const QImage& image, int c, int r)
    {
        const QRect rect = painted(c, r);
        return image.pixel(rect.center().x(), rect.bottom() - 2);
    }
    QRgb palette(QPalette::ColorRole role) { return grid().palette().color(QPalette::Active, role).rgb(); }

    // The widget that receives the keys now.
    QWidget* keyTarget()
    {
        QWidget* w = QApplication::focusWidget();
        EXPECT_NE(w, nullptr);
        return w ? w : &grid();
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(keyTarget(), k, mods);
        settle();
    }
    // Each key goes to the widget focused at that moment, as on a desktop.
    void type(const char* text)
    {
        for (const char* p = text; *p; ++p) {
            QTest::keyClick(keyTarget(), *p);
            settle();
        }
    }
    void click(int c, int r)
    {
        const QRect rect = grid().cellRect(c, r);
        ASSERT_FALSE(rect.isEmpty()) << "cell " << c << "," << r << " is not in sight";
        QWidget* vp = grid().viewport();
        QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, vp->mapFrom(&grid(), rect.center()));
        settle();
    }
    // Makes columns 6 to 8 visible beside narrower text columns.
    void narrowTextColumns()
    {
        for (int c : {tcol::kBase, tcol::kDest, tcol::kComment}) grid().setColWidth(c, 120);
        settle();
    }
};

inline const QRgb kChanged = qRgb(255, 157, 157);
inline const QRgb kMissing = qRgb(0, 255, 0);

}  // namespace tov::test
