// The checks of a translated text against its base: each case gives the
// options (a source kind's, or one notation alone), both texts and every
// finding expected, as severity, code and detail.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "formats/checks/checks.h"
#include "formats/source_kind.h"

namespace tov::checks {
namespace {

const CheckOptions kPrintf{.format = FormatNotation::Printf};
const CheckOptions kResource{.format = FormatNotation::ResourceString};
const CheckOptions kCEscapes{.escapes = EscapeNotation::C};
const CheckOptions kResourceEscapes{.escapes = EscapeNotation::ResourceString};
const CheckOptions kDrc = forKind(kGenericDrc);
const CheckOptions kFirmware = forKind(kQL10);
const CheckOptions kMenu = forKind(kMenuIni);
const CheckOptions kC = forKind(kCArrays);

struct Case {
    const char* name;
    CheckOptions options;
    std::string base, dest;
    std::vector<std::string> expected;
};

void expectCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        for (const Finding& f : checkEntry(c.options, c.base, c.dest))
            lines.push_back(std::string(severityName(f.severity)) + " " + describe(f));
        EXPECT_EQ(lines, c.expected)
            << c.name << ": base \"" << c.base << "\", dest \"" << c.dest << "\"";
    }
}

TEST(Checks, PrintfConversions)
{
    expectCases({
        {"literal percent is no argument", kPrintf, "100%%d", "%d", {"error format: %d (argument 1) not in base"}},
        {"literal percent kept", kPrintf, "%%d done", "%%d fertig", {}},
        {"width, precision, flags change; l on a double is nothing", kPrintf, "%-08.3lf", "%8.2f", {}},
        {"double for an integer", kPrintf, "%-08.3lf", "%d", {"error format: argument 1 is %d, base %-08.3lf"}},
        {"numbered arguments reordered", kPrintf, "%1$s %2$d", "%2$d %1$s", {}},
        {"unnumbered arguments reordered", kPrintf, "%s: %d", "%d: %s",
         {"error format: argument 1 is %d, base %s; argument 2 is %s, base %d"}},
        {"numbered argument dropped", kPrintf, "%1$s %2$d", "%2$d", {"error format: dest lacks %1$s (argument 1)"}},
        {"base skipping argument 1 is no format", kPrintf, "%2$d", "%s", {}},
        {"numbered for unnumbered", kPrintf, "File %s", "Plik %1$s", {}},
        {"argument used twice", kPrintf, "%1$s %1$s", "%1$s", {}},
        {"numbered mixed with unnumbered", kPrintf, "%s %d", "%1$s %d",
         {"error format: numbered and unnumbered conversions mixed"}},
        {"second argument dropped", kPrintf, "%s of %s", "%s", {"error format: dest lacks %s (argument 2)"}},
        {"lone percent at the end", kPrintf, "Speed %d", "Speed %d%",
         {"error format: incomplete conversion \"%\" at the end"}},
        {"the base's own lone percent", kPrintf, "Speed %d%", "Tempo %d%", {}},
        {"unknown conversion", kPrintf, "%d files", "%d %y", {"error format: \"%y\" is no conversion"}},
        {"base without a conversion", kPrintf, "Done", "Fertig %s", {}},
        {"base whose percent begins no conversion", kPrintf, "100%", "100 %s", {}},
        {"long is not int", kPrintf, "%ld", "%d", {"error format: argument 1 is %d, base %ld"}},
        {"long unsigned, other digits", kPrintf, "%08lX", "%lu", {}},
        {"signed is not unsigned", kPrintf, "%u", "%d", {"error format: argument 1 is %d, base %u"}},
        {"same types, other letters", kPrintf, "%i %x %e %C", "%d %o %g %lc", {}},
        {"long double", kPrintf, "%Lf", "%f", {"error format: argument 1 is %f, base %Lf"}},
        {"size_t", kPrintf, "%zu", "%u", {"error format: argument 1 is %u, base %zu"}},
        {"character, pointer", kPrintf, "%c %p", "%d %s",
         {"error format: argument 1 is %d, base %c; argument 2 is %s, base %p"}},
        {"star width takes an argument", kPrintf, "%*d", "%d", {"error format: dest lacks %*d (argument 2)"}},
        {"star precision", kPrintf, "%.*f", "%.2f",
         {"error format: argument 1 is %.2f, base %.*f; dest lacks %.*f (argument 2)"}},
        {"numbered stars", kPrintf, "%1$*2$d", "%2$*1$d", {}},
        {"percent with a width, %m", kPrintf, "%d", "%5%%d%m", {}},
        {"at most four differences named", kPrintf, "%d %d %d %d %d %d", "none",
         {"error format: dest lacks %d (argument 1); dest lacks %d (argument 2); dest lacks %d (argument 3); "
          "dest lacks %d (argument 4); 2 more"}},
    });
}

TEST(Checks, ResourceStringSpecifiers)
{
    expectCases({
        {"index 0 is the first", kResource, "%0:s", "%s", {}},
        {"indexed, reordered", kResource, "%0:s %1:d", "%1:d %0:s", {}},
        {"other index", kResource, "%0:s", "%1:s",
         {"error format: dest lacks %0:s (argument 0); %1:s (argument 1) not in base"}},
        {"unindexed go on after an index", kResource, "%1:s %s %0:d", "%0:d %1:s %2:s", {}},
        {"unindexed, swapped", kResource, "%s %d", "%d %s",
         {"error format: argument 0 is %d, base %s; argument 1 is %s, base %d"}},
        {"same kind of value, other letter", kResource, "%d %.2f", "%x %.3n", {}},
        {"a set: repetitions are free", kResource, "%s %0:s", "%s", {}},
        {"star width", kResource, "%-8.*f", "%*.2f", {}},
        {"printf length modifier", kResource, "%s", "%ls",
         {"error format: \"%l\" is no conversion; dest lacks %s (argument 0)"}},
        {"printf numbering", kResource, "%s", "%1$s", {"error format: \"%1$\" is no conversion; dest lacks %s (argument 0)"}},
        {"upper-case letters", kResource, "%D %S", "%d %s", {}},
    });
}

TEST(Checks, Escapes)
{
    expectCases({
        {"escaped backslash before n is no line break", kCEscapes, "a\\\\nb", "a\\nb",
         {"error format: \\\\: dest 0, base 1; \\n: dest 1, base 0"}},
        {"the same escapes", kCEscapes, "Line\\n\\tx\\\\", "Zeile\\\\\\t\\n", {}},
        {"octal and hex of one byte", kCEscapes, "\\x1b[2J", "\\033[2J", {}},
        {"tab lost", kCEscapes, "Tab\\there", "Tab here", {"error format: \\t: dest 0, base 1"}},
        {"escape added where the base has some", kCEscapes, "a\\n", "\\ta\\n", {"error format: \\t: dest 1, base 0"}},
        {"escapes where the base has none", kCEscapes, "plain", "\\tplain", {}},
        {"lone backslash at the end", kCEscapes, "Path", "C:\\", {"error format: a lone \"\\\" at the end takes the closing quote"}},
        {"escaped backslash at the end", kCEscapes, "C:\\\\", "D:\\\\", {}},
        {"C counts escaped characters, taking every hex digit", kCEscapes, "Gr\\x00f6\\x00dfe", "Grosse",
         {"error format: \\xF6: dest 0, base 1; \\x0DFE: dest 0, base 1"}},
        {"resource strings do not", kResourceEscapes, "Gr\\x00f6\\x00dfe", "Grosse", {}},
        {"but count escaped control bytes", kResourceEscapes, "a\\x0009b", "ab", {"error format: \\x09: dest 0, base 1"}},
        {"line break pair", kResourceEscapes, "One\\r\\nTwo", "Eins\\nZwei", {"error format: \\r: dest 0, base 1"}},
    });
}

TEST(Checks, BlanksPunctuationAccelerators)
{
    expectCases({
        {"leading blank lost", kDrc, " Name", "Nazwa", {"warning blanks: at the start dest 0, base 1"}},
        {"trailing blank lost", kDrc, "Name ", "Nazwa", {"warning blanks: at the end dest 0, base 1"}},
        {"blanks added at both ends", kMenu, "Name", " Nazwa  ",
         {"warning blanks: at the start dest 1, base 0; at the end dest 2, base 0"}},
        {"firmware trailing blanks pad", kFirmware, "Ready   ", "Gotowy  ", {}},
        {"firmware leading blanks", kFirmware, "  Ready", "Gotowy", {"warning blanks: at the start dest 0, base 2"}},
        {"ellipsis lost", kDrc, "Save as...", "Zapisz jako", {"warning punctuation: base ends with \"...\", dest does not"}},
        {"ellipsis character", kDrc, "Open...", "Otw\xF3rz\x85", {}},
        {"colon before a blank", kDrc, "Name: ", "Nazwa:", {"warning blanks: at the end dest 0, base 1"}},
        {"other mark", kMenu, "Quit?", "Zako\xF1\x63zy\xE6!", {"warning punctuation: dest ends with \"!\", base with \"?\""}},
        {"mark added", kDrc, "Ready", "Gotowe!", {"warning punctuation: dest ends with \"!\", base does not"}},
        {"full stop is not checked", kDrc, "Ready", "Gotowe.", {}},
        {"mark before a closing line break", kC, "Error!\\n", "B\xB3\xB9\x64\\n", {"warning punctuation: base ends with \"!\", dest does not"}},
        {"an escaped backslash and n end the text", kC, "Dir:\\\\n", "Katalog\\\\n", {}},
        {"accelerator lost", kDrc, "&File", "Plik", {"warning accelerator: \"&\" dest 0, base 1"}},
        {"one more accelerator", kMenu, "&Open", "&Otw\xF3rz &plik", {"warning accelerator: \"&\" dest 2, base 1"}},
        {"literal ampersands", kDrc, "Save && exit, drag & drop", "Zapisz i wyjd\x9F", {}},
        {"no accelerators in firmware", kFirmware, "&File", "Plik", {}},
        {"every check at once", kC, " %d files: ", "%s plik\xF3w",
         {"error format: argument 1 is %s, base %d", "warning blanks: at the start dest 0, base 1; at the end dest 0, base 1",
          "warning punctuation: base ends with \":\", dest does not"}},
        {"untranslated", kC, " %d files: ", "", {}},
        {"no base", kC, "", "%s", {}},
        {"no kind, no checks", forKind(kNone), " %d &files: ", "%s", {}},
    });
}

}  // namespace
}  // namespace tov::checks
