// A program folder for the tests of the save commands: the C templates go to
// a temporary folder inside it, and the current folder that a save changes is
// put back at the end.
#pragma once

#include <QDir>

#include "tests/workspace/workspace_fixture.h"

namespace tov::test {

class SaveTest : public WorkspaceTest {
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        oldTmp_ = qgetenv("TMPDIR");
        QDir().mkpath(path("tmp"));
        qputenv("TMPDIR", QByteArray::fromStdString(folder + "tmp/"));
    }
    void TearDown() override
    {
        WorkspaceTest::TearDown();
        qputenv("TMPDIR", oldTmp_);
        QDir::setCurrent(QDir::tempPath());  // the saves make the program folder current
    }

private:
    QByteArray oldTmp_;
};

}  // namespace tov::test
