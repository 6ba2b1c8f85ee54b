#include "cli/cli_args.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "formats/source_kind.h"
#include "support/convert.h"

namespace tov::cli {

void fail(int status, std::string message) { throw Failure{status, std::move(message)}; }

void failInput(const std::string& file, const std::string& what) { fail(kExitError, file + ": " + what); }

const std::vector<KindName>& kindNames()
{
    // Every resource-string kind reads and writes alike: "drc" opens as the
    // generic one.
    static const std::vector<KindName> names = {
        {"drc", kGenericDrc}, {"orvanta", kOrvanta}, {"ql5", kQL5},      {"ql10", kQL10},
        {"telmo", kTelmo},    {"menu-ini", kMenuIni}, {"c", kCArrays},
    };
    return names;
}

std::string versionLine() { return "Tovrana v." + programVersionText(); }

std::string helpText()
{
    return R"(Usage:
  tovrana-cli check  --kind KIND BASE [DEST] [--base-lang NAME --dest-lang NAME] [--json]
  tovrana-cli export --kind KIND BASE [DEST] [--base-lang NAME --dest-lang NAME] [-o FILE]
  tovrana-cli import --kind KIND BASE TSV [DEST] -o OUT [--base-lang NAME --dest-lang NAME]
  tovrana-cli --help | --version

Opens a base text and its destination exactly as the Tovrana window does and
checks the translation, exports it as tab-separated text, or writes a
tab-separated file back as the destination.

KIND
  drc        resource-string file; DEST is the destination .drc file
  orvanta, ql5, ql10, telmo
             firmware text file set; BASE and DEST name any file of their
             sets (the set is every file of that folder with that extension)
  menu-ini   menu INI file; the languages are sections of BASE, chosen with
             --base-lang and --dest-lang (no DEST)
  c          C string-array file; the languages are chosen with --base-lang
             and --dest-lang (no DEST)

check
  One line per problem, then one summary line:
    row R: ID: PROBLEM[: DETAIL]
    file PATH: PROBLEM[: DETAIL]
    rows N, translated N, missing N, too long N, length differs N, structure N, line count N, unreadable N; Base: B   Dest.: D
  ID is the identifier (drc), FILE:LINE of the base text (firmware, line
  from 1), the text key (menu-ini) or the row number (c). PROBLEM is one of
    missing          empty destination text
    too long         longer than the base text (drc, c)       DETAIL: dest N, base N
    length differs   not as long as the base text (firmware)  DETAIL: dest N, base N
    structure        firmware destination text on another line than its base text
    line count       firmware file with another number of lines than its base file
                     DETAIL: dest N, base N
    unreadable file  a file of a firmware set that cannot be read
                     DETAIL: no such file, or cannot be read
  "Base: B   Dest.: D" is the window's character count. --json prints the
  same as one JSON document (texts decoded from Windows-1250).

export
  One line per table row: base text, TAB, destination text, CR LF; the bytes
  the window's "Export to text file" writes. Standard output without -o.

import
  Reads TSV (the export's format). Each line must begin with the base text of
  the same row and a TAB, and there must be one line per row; otherwise
  nothing is written. Writes the destination as "Save destination" does:
    drc        the file OUT (an existing OUT is first copied to a dated .bak)
    firmware   one file per base file in OUT's folder with OUT's extension,
               merged into the lines of DEST's set (the base set without DEST);
               all files or none, each one replaced after a dated .bak
    menu-ini   the --dest-lang section of the file OUT, after a dated .bak
    c          the file OUT from BASE's template, after a dated .bak
  A dated .bak is named OUT.YYYY.MM.DD.hh.mm.ss.bak (a second one within the
  same second OUT.YYYY.MM.DD.hh.mm.ss.1.bak); when it cannot be made, OUT is
  not written.

Exit status
  0  no problem (check), or done
  1  check found problems; import refused a TSV that does not line up with
     the base, or a file could not be written; export could not write -o
  2  wrong arguments, or an input file that cannot be read or opened
)";
}

namespace {

const char* commandName(Command c)
{
    switch (c) {
    case Command::Check: return "check";
    case Command::Export: return "export";
    case Command::Import: return "import";
    }
    return "";
}

std::string kindList()
{
    std::string list;
    const auto& names = kindNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) list += i + 1 == names.size() ? " or " : ", ";
        list += names[i].name;
    }
    return list;
}

void argumentError(const std::string& message) { fail(kExitError, message + " (try --help)"); }

}  // namespace

Arguments parseArguments(const std::vector<std::string>& args)
{
    Arguments result;
    if (args.empty()) argumentError("no command given");
    const std::string& first = args[0];
    if (first == "--help" || first == "-h") {
        result.action = Arguments::Action::Help;
        return result;
    }
    if (first == "--version") {
        result.action = Arguments::Action::Version;
        return result;
    }
    Options& o = result.options;
    if (first == "check")
        o.command = Command::Check;
    else if (first == "export")
        o.command = Command::Export;
    else if (first == "import")
        o.command = Command::Import;
    else
        argumentError("unknown command \"" + first + "\" (expected check, export or import)");

    bool haveKind = false, haveBaseLang = false, haveDestLang = false, haveOut = false;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            files.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "--help" || a == "-h") {
            result.action = Arguments::Action::Help;
            return result;
        }
        if (a == "--json") {
            o.json = true;
            continue;
        }
        // Options with a value: "--name VALUE" or "--name=VALUE".
        std::string name = a, value;
        bool inlineValue = false;
        if (const size_t eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            inlineValue = true;
        }
        std::string* target = nullptr;
        bool* seen = nullptr;
        if (name == "--kind") {
            target = &o.kindName;
            seen = &haveKind;
        } else if (name == "--base-lang") {
            target = &o.baseLang;
            seen = &haveBaseLang;
        } else if (name == "--dest-lang") {
            target = &o.destLang;
            seen = &haveDestLang;
        } else if (name == "-o" || name == "--output") {
            target = &o.out;
            seen = &haveOut;
        } else {
            argumentError("unknown option \"" + a + "\"");
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) argumentError(name + " needs a value");
            value = args[++i];
        }
        if (*seen) argumentError(name + " given twice");
        *seen = true;
        *target = value;
    }

    const std::string cmd = commandName(o.command);
    if (!haveKind) argumentError(cmd + ": --kind is missing (" + kindList() + ")");
    bool known = false;
    for (const KindName& k : kindNames())
        if (k.name == o.kindName) {
            o.kind = k.kind;
            known = true;
        }
    if (!known) argumentError("unknown kind \"" + o.kindName + "\" (expected " + kindList() + ")");

    const bool languages = o.kind == kMenuIni || o.kind == kCArrays;
    if (languages) {
        if (!haveBaseLang) argumentError("--kind " + o.kindName + " needs --base-lang NAME");
        if (!haveDestLang) argumentError("--kind " + o.kindName + " needs --dest-lang NAME");
        if (o.baseLang.empty() || o.destLang.empty()) argumentError("a language name is empty");
    } else if (haveBaseLang || haveDestLang) {
        argumentError("--base-lang and --dest-lang apply only to --kind menu-ini and c");
    }
    if (o.json && o.command != Command::Check) argumentError("--json applies only to check");
    if (haveOut && o.command == Command::Check) argumentError("-o does not apply to check");
    if (!haveOut && o.command == Command::Import) argumentError("import: -o OUT is missing");
    if (haveOut && o.out.empty()) argumentError("-o: the file name is empty");

    // Positional files: BASE [DEST], or BASE TSV [DEST] for import.
    const size_t required = o.command == Command::Import ? 2 : 1;
    const size_t allowed = required + (languages ? 0 : 1);
    if (files.size() < required)
        argumentError(cmd + ": " + (files.empty() ? "BASE" : "TSV") + " is missing");
    if (files.size() > allowed) {
        if (languages)
            argumentError("--kind " + o.kindName + " takes no DEST: the destination is the --dest-lang " +
                          (o.kind == kMenuIni ? "section" : "language") + " of BASE");
        argumentError(cmd + ": too many files (\"" + files[allowed] + "\")");
    }
    for (const std::string& f : files)
        if (f.empty()) argumentError("a file name is empty");
    o.base = files[0];
    if (o.command == Command::Import) o.tsv = files[1];
    if (files.size() > required) o.dest = files[required];
    return result;
}

void requireReadableFile(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        failInput(path, err == ENOENT ? "no such file" : std::string("cannot be read (") + std::strerror(err) + ")");
    }
    if (S_ISDIR(st.st_mode)) failInput(path, "is a folder, not a file");
    if (!S_ISREG(st.st_mode)) failInput(path, "is not a regular file");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) failInput(path, std::string("cannot be read (") + std::strerror(errno) + ")");
    ::close(fd);
}

}  // namespace tov::cli
