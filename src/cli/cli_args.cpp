#include "cli/cli_args.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "document/format.h"
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
                     [--strict] [--spell LANG [--dictionaries DIR]]
  tovrana-cli export --kind KIND BASE [DEST] [--base-lang NAME --dest-lang NAME] [-o FILE]
                     [--format tsv|xliff|po] [--source-language TAG] [--target-language TAG]
  tovrana-cli import --kind KIND BASE FILE [DEST] -o OUT [--base-lang NAME --dest-lang NAME]
                     [--force]
  tovrana-cli --help | --version

Opens a base text and its destination exactly as the Tovrana window does and
checks the translation, exports it as tab-separated text, XLIFF or PO, or
writes such a file back as the destination.

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
  The texts are also checked against their base texts (where the base
  uses what is checked):
    format           printf conversions (firmware, c) or format specifiers
                     (drc, menu-ini) that differ, or escapes such as \" \\ \n
                     counted differently (an error)
    blanks           blanks at the start or the end differ (a warning; the
                     blanks that pad a firmware text are not counted)
    punctuation      ":", "...", "?" or "!" at the end differs (a warning)
    accelerator      the number of "&" accelerators differs (a warning)
    spelling         --spell LANG: misspelled words of the destination texts,
                     DETAIL: word, word (a warning)
  --spell takes a language ("pl", "Polski") or a dictionary ("pl_PL") of
  DIR, by default /usr/share/hunspell (Debian's hunspell-* packages).
  Where anything is found, the summary line goes on with
    , format N, blanks N, punctuation N, accelerator N[, spelling N]
  "Base: B   Dest.: D" is the window's character count. --json prints the
  same as one JSON document (texts decoded from Windows-1250).

export
  --format tsv (the default): one line per table row: base text, TAB,
  destination text, CR LF; the bytes the window's "Export to text file"
  writes. --format xliff: XLIFF 1.2; --format po: a PO file; one unit per row
  with a base text, named by ID as check names it, with its length limit,
  texts in UTF-8. Their languages are told by the language names or the file
  names; --source-language and --target-language give them (tags such as en,
  pl) where they cannot be told. Standard output without -o.

import
  Reads FILE: XLIFF or PO (told by its content, else by its extension .xlf,
  .xliff, .po) or a TSV (the export's format).
  XLIFF and PO units come back to the rows of the same ID; rows without a
  unit stay as they are. One line is printed for each unit not applied:
  an ID no row has, a source text that is not the base text any more
  (applied with --force), a translation marked for review, or a character
  the code page cannot hold (U+NNNN); then the rest is written.
  In a TSV each line must begin with the base text of the same row and a
  TAB, and there must be one line per row; otherwise nothing is written.
  Writes the destination as "Save destination" does:
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
  0  no problem (check; warnings alone too, unless --strict), or done
  1  check found problems or format errors (or, with --strict, warnings);
     import refused a TSV that does not line up with the base, left units
     of an XLIFF or PO file out, or a file could not be written; export
     could not write -o
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

// A language tag as XLIFF and PO carry it: letters and digits in parts
// joined by "-" or "_" ("pl", "de-AT", "pt_BR"); an empty one is not given.
bool validLanguageTag(const std::string& tag)
{
    bool partEmpty = true;
    for (const char c : tag) {
        const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum && ((c != '-' && c != '_') || partEmpty)) return false;
        partEmpty = !alnum;
    }
    return !partEmpty || tag.empty();
}

// Ends the parse at once when --help or --version is met, as their answer
// does not depend on what follows.
struct ActionRequested {
    Arguments::Action action;
};

// The command line as CLI11 reads it: the three commands as sub-commands
// with the same options. The checks run in the order of the arguments, so
// that the first thing wrong is the one reported. Options are named in
// messages as the user wrote them, so each spelling is an option of its own
// ("-o" and "--output" fill one value).
class Parser {
public:
    Parser()
    {
        app_.set_help_flag();
        app_.allow_extras();
        app_.require_subcommand(0, 1);  // a second command name is a file name
        addAction(app_, "-h,--help", Arguments::Action::Help);
        addAction(app_, "--version", Arguments::Action::Version);
        for (const Command command : {Command::Check, Command::Export, Command::Import}) addCommand(command);
    }

    Arguments parse(std::vector<std::string> args)
    {
        if (args.empty()) argumentError("no command given");
        first_ = args.front();
        const std::string last = args.back();
        // CLI11 would take the next argument as the value of "--name=";
        // the value written is the empty one.
        for (size_t i = 0; i < args.size() && args[i] != "--"; ++i)
            if (args[i].size() > 3 && args[i].rfind("--", 0) == 0 && args[i].find('=') == args[i].size() - 1) {
                args[i].pop_back();
                args.insert(args.begin() + static_cast<std::ptrdiff_t>(++i), std::string());
            }
        std::reverse(args.begin(), args.end());  // CLI11 takes them from the back
        try {
            app_.parse(args);
        } catch (const ActionRequested& requested) {
            result_.action = requested.action;
            return result_;
        } catch (const CLI::ArgumentMismatch&) {
            // An option takes the argument after it, whatever it is: only the
            // last one can lack its value.
            stopAtUnknown(command());
            argumentError(last + " needs a value");
        } catch (const CLI::ParseError& e) {
            argumentError(e.what());
        }
        const CLI::App* app = command();
        stopAtUnknown(app);
        result_.options.command = commands_.at(app);
        return result_;
    }

    const std::vector<std::string>& files() const { return files_; }
    bool haveKind = false, haveBaseLang = false, haveDestLang = false, haveOut = false;
    bool haveSpell = false, haveDictionaries = false, haveFormat = false, haveSourceLanguage = false,
         haveTargetLanguage = false;

private:
    // The command being read; fails when the first argument names none.
    const CLI::App* command() const
    {
        const auto parsed = app_.get_subcommands();
        if (parsed.empty() || parsed.front()->get_name() != first_)
            argumentError("unknown command \"" + first_ + "\" (expected check, export or import)");
        return parsed.front();
    }

    // What CLI11 did not recognise before this point ends the command line there.
    void stopAtUnknown(const CLI::App* app) const
    {
        if (app == &app_) {
            if (!app_.remaining().empty()) command();
            return;
        }
        for (const std::string& extra : app->remaining())
            if (extra != "--") argumentError("unknown option \"" + extra + "\"");
    }

    void addAction(CLI::App& app, const std::string& names, Arguments::Action action)
    {
        app.add_flag_callback(names, [this, &app, action] {
               stopAtUnknown(&app);
               throw ActionRequested{action};
           })
            ->trigger_on_parse();
    }

    // An option with a value; `seen` is shared by the spellings of one option.
    void addValue(CLI::App& app, const std::string& name, std::string& target, bool& seen)
    {
        app.add_option_function<std::string>(name,
                                             [this, &app, name, &target, &seen](const std::string& value) {
                                                 stopAtUnknown(&app);
                                                 if (seen) argumentError(name + " given twice");
                                                 seen = true;
                                                 target = value;
                                             })
            ->trigger_on_parse();
    }

    void addCommand(Command command)
    {
        CLI::App& app = *app_.add_subcommand(commandName(command));
        commands_[&app] = command;
        app.set_help_flag();
        app.allow_extras();
        Options& o = result_.options;
        addAction(app, "-h,--help", Arguments::Action::Help);
        app.add_flag("--json", o.json);
        app.add_flag("--strict", o.strict);
        app.add_flag("--force", o.force);
        addValue(app, "--spell", o.spell, haveSpell);
        addValue(app, "--dictionaries", o.dictionaries, haveDictionaries);
        addValue(app, "--format", o.format, haveFormat);
        addValue(app, "--source-language", o.sourceLanguage, haveSourceLanguage);
        addValue(app, "--target-language", o.targetLanguage, haveTargetLanguage);
        addValue(app, "--kind", o.kindName, haveKind);
        addValue(app, "--base-lang", o.baseLang, haveBaseLang);
        addValue(app, "--dest-lang", o.destLang, haveDestLang);
        addValue(app, "-o", o.out, haveOut);
        addValue(app, "--output", o.out, haveOut);
        app.add_option("FILE", files_);
    }

    CLI::App app_{"", "tovrana-cli"};
    std::map<const CLI::App*, Command> commands_;
    std::string first_;
    Arguments result_;
    std::vector<std::string> files_;
};

}  // namespace

Arguments parseArguments(const std::vector<std::string>& args)
{
    Parser parser;
    Arguments result = parser.parse(args);
    if (result.action != Arguments::Action::Run) return result;

    Options& o = result.options;
    const std::vector<std::string>& files = parser.files();
    const std::string cmd = commandName(o.command);
    if (!parser.haveKind) argumentError(cmd + ": --kind is missing (" + kindList() + ")");
    bool known = false;
    for (const KindName& k : kindNames())
        if (k.name == o.kindName) {
            o.kind = k.kind;
            known = true;
        }
    if (!known) argumentError("unknown kind \"" + o.kindName + "\" (expected " + kindList() + ")");

    const FormatTraits& traits = traitsOf(o.kind);
    const bool languages = traits.languagePickers;
    if (languages) {
        if (!parser.haveBaseLang) argumentError("--kind " + o.kindName + " needs --base-lang NAME");
        if (!parser.haveDestLang) argumentError("--kind " + o.kindName + " needs --dest-lang NAME");
        if (o.baseLang.empty() || o.destLang.empty()) argumentError("a language name is empty");
    } else if (parser.haveBaseLang || parser.haveDestLang) {
        argumentError("--base-lang and --dest-lang apply only to --kind menu-ini and c");
    }
    if (o.json && o.command != Command::Check) argumentError("--json applies only to check");
    if (o.strict && o.command != Command::Check) argumentError("--strict applies only to check");
    if (parser.haveSpell && o.command != Command::Check) argumentError("--spell applies only to check");
    if (parser.haveSpell && o.spell.empty()) argumentError("--spell: the language is empty");
    if (parser.haveDictionaries && !parser.haveSpell) argumentError("--dictionaries applies only with --spell");
    if (parser.haveDictionaries && o.dictionaries.empty()) argumentError("--dictionaries: the folder name is empty");
    if (parser.haveFormat && o.command != Command::Export) argumentError("--format applies only to export");
    if (o.format != "tsv" && o.format != "xliff" && o.format != "po")
        argumentError("unknown format \"" + o.format + "\" (expected tsv, xliff or po)");
    if ((parser.haveSourceLanguage || parser.haveTargetLanguage) && (o.command != Command::Export || o.format == "tsv"))
        argumentError("--source-language and --target-language apply only to export --format xliff or po");
    for (const std::string* tag : {&o.sourceLanguage, &o.targetLanguage})
        if (!validLanguageTag(*tag))
            argumentError("\"" + *tag + "\" is no language tag (letters, digits and \"-\", such as en, pl, de-AT)");
    if (o.force && o.command != Command::Import) argumentError("--force applies only to import");
    if (parser.haveOut && o.command == Command::Check) argumentError("-o does not apply to check");
    if (!parser.haveOut && o.command == Command::Import) argumentError("import: -o OUT is missing");
    if (parser.haveOut && o.out.empty()) argumentError("-o: the file name is empty");

    // Positional files: BASE [DEST], or BASE TSV [DEST] for import.
    const size_t required = o.command == Command::Import ? 2 : 1;
    const size_t allowed = required + (languages ? 0 : 1);
    if (files.size() < required)
        argumentError(cmd + ": " + (files.empty() ? "BASE" : "FILE") + " is missing");
    if (files.size() > allowed) {
        if (languages)
            argumentError("--kind " + o.kindName + " takes no DEST: the destination is the --dest-lang " +
                          (traits.typedLanguage ? "section" : "language") + " of BASE");
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
