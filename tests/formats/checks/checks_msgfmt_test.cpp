// The printf check against gettext's own: the same texts are written as a PO
// file and checked by "msgfmt --check-format"; every entry msgfmt rejects must
// be reported by the check, and the check reports nothing msgfmt accepts.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/checks/checks.h"
#include "tests/support/msgfmt_check.h"
#include "tests/support/temp_folder.h"

namespace tov::checks {
namespace {

bool flagged(const testing::FormatCase& e)
{
    for (const Finding& f : checkEntry({.format = FormatNotation::Printf}, e.base, e.dest))
        if (f.code == Code::Format && f.severity == Severity::Error) return true;
    return false;
}

TEST(ChecksMsgfmt, ReportsEveryEntryMsgfmtRejects)
{
    if (!testing::haveMsgfmt())
        GTEST_SKIP() << "msgfmt not found: install the package gettext to compare the printf check with it";

    const std::vector<testing::FormatCase> all = testing::formatCases();
    testing::TempFolder dir;
    std::string output;
    const std::set<int> rejected = testing::msgfmtRejects(all, "c-format", dir.path(), output);
    ASSERT_GT(rejected.size(), all.size() / 4) << output.substr(0, 2000);

    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(flagged(all[i]), rejected.count(static_cast<int>(i)) == 1)
            << (rejected.count(static_cast<int>(i)) ? "msgfmt rejects" : "msgfmt accepts") << " base \""
            << all[i].base << "\", dest \"" << all[i].dest << "\"";
    }
}

}  // namespace
}  // namespace tov::checks
