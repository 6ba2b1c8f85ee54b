// The printf check against gettext's own: the same texts are written as a PO
// file and checked by "msgfmt --check-format"; every entry msgfmt rejects must
// be reported by the check, and the check reports nothing msgfmt accepts.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/checks/checks.h"
#include "support/strutil.h"
#include "tests/support/temp_folder.h"

namespace tov::checks {
namespace {

struct Entry {
    std::string base, dest;
};

// Every conversion against every other, at the end of a text (so that a lone
// "%" is one), and texts with two arguments in every order against each other.
std::vector<Entry> entries()
{
    const std::vector<std::string> single = {
        "%d", "%i", "%u", "%x", "%X", "%o", "%c", "%s", "%f", "%e", "%g", "%a", "%p", "%ld", "%lu", "%lld",
        "%hd", "%hhd", "%zu", "%jd", "%td", "%Lf", "%lf", "%ls", "%lc", "%-5.2f", "%-08.3lf", "%08lX", "%*d",
        "%.*f", "%1$s", "%1$d", "%%", "%%d", "%5%", "%", "% d", "%y", "%m", "%0$d", "x",
    };
    const std::vector<std::string> pairs = {
        "%s %d", "%d %s", "%1$s %2$d", "%2$d %1$s", "%1$s %1$s", "%s %s", "%s", "%2$d", "%1$s %d",
        "%*d", "%1$*2$d", "%2$*1$d", "%.*f %s", "%%d %d", "%d%%", "%d%", "%s %d %", "%1$s %3$d",
    };
    std::vector<Entry> out;
    for (const auto& b : single)
        for (const auto& d : single) out.push_back({"Value: " + b, "Wert: " + d});
    for (const auto& b : pairs)
        for (const auto& d : pairs) out.push_back({"File " + b + " done", "Plik " + d + " gotowy"});
    return out;
}

std::string poString(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

bool flagged(const Entry& e)
{
    for (const Finding& f : checkEntry({.format = FormatNotation::Printf}, e.base, e.dest))
        if (f.code == Code::Format && f.severity == Severity::Error) return true;
    return false;
}

TEST(ChecksMsgfmt, ReportsEveryEntryMsgfmtRejects)
{
    if (std::system("command -v msgfmt >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "msgfmt not found: install the package gettext to compare the printf check with it";

    // Entries are marked c-format where the base holds a "%", as the printf
    // check applies only there; msgfmt itself passes over a base that is no
    // valid format ("100%").
    const std::vector<Entry> all = entries();
    std::string po = "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=CP1250\\n\"\n";
    std::vector<int> entryOfLine(4, -1);  // lines 1 to 3: the header
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool format = contains(all[i].base, "%");
        po += "\n" + std::string(format ? "#, c-format\n" : "") + "msgctxt \"" + std::to_string(i) + "\"\nmsgid " +
              poString(all[i].base) + "\nmsgstr " + poString(all[i].dest) + "\n";
        entryOfLine.resize(entryOfLine.size() + (format ? 5 : 4), static_cast<int>(i));
    }
    testing::TempFolder dir;
    dir.put("checks.po", po);

    const std::string command = "msgfmt --check-format -o /dev/null '" + (dir / "checks.po") + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) output.append(buf, n);
    const int status = ::pclose(pipe);

    std::set<int> rejected;
    const std::string prefix = dir / "checks.po:";
    for (std::size_t at = output.find(prefix); at != std::string::npos; at = output.find(prefix, at + 1)) {
        const int line = std::atoi(output.c_str() + at + prefix.size());
        ASSERT_TRUE(line > 0 && line < static_cast<int>(entryOfLine.size())) << output.substr(at, 200);
        rejected.insert(entryOfLine[line]);
    }
    ASSERT_NE(status, 0);
    ASSERT_GT(rejected.size(), all.size() / 4) << output.substr(0, 2000);

    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(flagged(all[i]), rejected.count(static_cast<int>(i)) == 1)
            << (rejected.count(static_cast<int>(i)) ? "msgfmt rejects" : "msgfmt accepts") << " base \""
            << all[i].base << "\", dest \"" << all[i].dest << "\"";
    }
}

}  // namespace
}  // namespace tov::checks
