// Runs the window tests headless, with the per-user settings (window
// placement) in a temporary folder so no real user's configuration is touched.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "tests/workspace/headless.h"

int main(int argc, char** argv)
{
    std::unique_ptr<QTemporaryDir> config(tov::test::prepareHeadless());
    setenv("LANG", "C.UTF-8", 1);
    // The windows check spelling with the tiny dictionaries of the tests.
    setenv("DICPATH", TOVRANA_SPELL_DATA_DIR, 1);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Orbika"));
    QApplication::setApplicationName(QStringLiteral("Tovra"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
