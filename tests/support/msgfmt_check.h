// Texts with format conversions, base against destination, and what gettext's
// "msgfmt --check-format" says of them: the yardstick of the format checks,
// used by the checks' own tests and by those of the command-line tool.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "support/strutil.h"

namespace tov::testing {

struct FormatCase {
    std::string base, dest;
};

// Every conversion against every other, at the end of a text (so that a lone
// "%" is one), and texts with two arguments in every order against each
// other: printf's (c-format), or a resource string's format specifiers
// (object-pascal-format). A specifier without an index after one with an
// index ("%0:s %d") is left out of the latter: the format function takes
// the argument after the indexed one, msgfmt counts it apart.
inline std::vector<FormatCase> formatCases(bool resourceStrings = false)
{
    const std::vector<std::string> single =
        resourceStrings
            ? std::vector<std::string>{"%d", "%u", "%x", "%e", "%f", "%g", "%n", "%m", "%p", "%s", "%0:s",
                                       "%1:d", "%-8.2f", "%*d", "%.*f", "%%", "%%d", "%", "%ld", "%y", "x"}
            : std::vector<std::string>{"%d", "%i", "%u", "%x", "%X", "%o", "%c", "%s", "%f", "%e", "%g",
                                       "%a", "%p", "%ld", "%lu", "%lld", "%hd", "%hhd", "%zu", "%jd", "%td",
                                       "%Lf", "%lf", "%ls", "%lc", "%-5.2f", "%-08.3lf", "%08lX", "%*d", "%.*f",
                                       "%1$s", "%1$d", "%%", "%%d", "%5%", "%", "% d", "%y", "%m", "%0$d", "x"};
    const std::vector<std::string> pairs =
        resourceStrings
            ? std::vector<std::string>{"%s %d", "%d %s", "%0:s %1:d", "%1:d %0:s", "%0:s %0:s", "%s %s", "%s",
                                       "%1:d", "%*d", "%%d %d", "%d%%", "%d%", "%0:s %2:d"}
            : std::vector<std::string>{"%s %d", "%d %s", "%1$s %2$d", "%2$d %1$s", "%1$s %1$s", "%s %s",
                                       "%s", "%2$d", "%1$s %d", "%*d", "%1$*2$d", "%2$*1$d", "%.*f %s",
                                       "%%d %d", "%d%%", "%d%", "%s %d %", "%1$s %3$d"};
    std::vector<FormatCase> out;
    for (const auto& b : single)
        for (const auto& d : single) out.push_back({"Value: " + b, "Wert: " + d});
    for (const auto& b : pairs)
        for (const auto& d : pairs) out.push_back({"File " + b + " done", "Plik " + d + " gotowy"});
    return out;
}

// The indices of the cases msgfmt rejects when they are given to it as a PO
// file with the flag ("c-format", "object-pascal-format") on every entry
// whose base holds a "%" (msgfmt itself passes over a base that is no valid
// format, such as "100%"). The PO file is written into `folder` (with its
// closing "/"); `log` receives what msgfmt printed.
inline std::set<int> msgfmtRejects(const std::vector<FormatCase>& cases, const std::string& flag,
                                   const std::string& folder, std::string& log)
{
    const auto quoted = [](const std::string& text) {
        std::string out = "\"";
        for (const char c : text) {
            if (c == '"' || c == '\\') out += '\\';
            out += c;
        }
        return out + "\"";
    };
    std::string po = "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=CP1250\\n\"\n";
    std::vector<int> caseOfLine(4, -1);  // lines 1 to 3: the header
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const bool format = contains(cases[i].base, "%");
        po += "\n" + (format ? "#, " + flag + "\n" : std::string()) + "msgctxt \"" + std::to_string(i) +
              "\"\nmsgid " + quoted(cases[i].base) + "\nmsgstr " + quoted(cases[i].dest) + "\n";
        caseOfLine.resize(caseOfLine.size() + (format ? 5 : 4), static_cast<int>(i));
    }
    const std::string file = folder + "checks.po";
    if (FILE* f = std::fopen(file.c_str(), "wb")) {
        std::fwrite(po.data(), 1, po.size(), f);
        std::fclose(f);
    }
    const std::string command = "msgfmt --check-format -o /dev/null '" + file + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {};
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) log.append(buf, n);
    ::pclose(pipe);

    std::set<int> rejected;
    const std::string prefix = file + ":";
    for (std::size_t at = log.find(prefix); at != std::string::npos; at = log.find(prefix, at + 1)) {
        const int line = std::atoi(log.c_str() + at + prefix.size());
        if (line > 0 && line < static_cast<int>(caseOfLine.size())) rejected.insert(caseOfLine[line]);
    }
    return rejected;
}

inline bool haveMsgfmt() { return std::system("command -v msgfmt >/dev/null 2>&1") == 0; }

}  // namespace tov::testing
