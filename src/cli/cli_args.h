// The command line of tovrana-cli: subcommands, options and their checks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tov::cli {

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitProblems = 1;  // check: problems found; import: refused or not written;
                                         // export: output not written
inline constexpr int kExitError = 2;     // wrong arguments, or an input that cannot be read

// Ends the command with one line on standard error and an exit status.
struct Failure {
    int status = kExitError;
    std::string message;  // without the program name and the line end
};
[[noreturn]] void fail(int status, std::string message);
// "<file>: <what is wrong>", exit status 2.
[[noreturn]] void failInput(const std::string& file, const std::string& what);

enum class Command { Check, Export, Import };

struct Options {
    Command command = Command::Check;
    std::string kindName;    // as given: "drc", "orvanta", ...
    std::uint8_t kind = 0;   // the source kind it stands for
    std::string base;
    std::string tsv;         // import only: the file to import (TSV, XLIFF or PO)
    std::string dest;        // empty when not given
    std::string baseLang;    // menu-ini and c
    std::string destLang;
    std::string out;         // -o; empty when not given
    bool json = false;
    // check
    bool strict = false;       // warnings make the exit status 1 too
    std::string spell;         // --spell: the language or dictionary the destination texts are spelled in
    std::string dictionaries;  // --dictionaries: where the dictionaries are (default the system's)
    // export
    std::string format = "tsv";  // tsv, xliff or po
    std::string sourceLanguage;  // language tags of an XLIFF or PO file, where given
    std::string targetLanguage;
    // import
    bool force = false;  // rows whose source text is not the base any more are applied too
};

struct Arguments {
    enum class Action { Run, Help, Version } action = Action::Run;
    Options options;
};

// Parses and checks the arguments after the program name; calls fail() with
// status 2 for anything wrong.
Arguments parseArguments(const std::vector<std::string>& args);

// The usage text printed by --help.
std::string helpText();
// "Tovrana v.1.01.012"
std::string versionLine();

// The kind names, and the source kind each one opens with.
struct KindName {
    std::string_view name;
    std::uint8_t kind;
};
const std::vector<KindName>& kindNames();

// Every input file named on the command line must be an existing regular file
// that can be opened for reading; otherwise fails with status 2 naming it.
void requireReadableFile(const std::string& path);

}  // namespace tov::cli
