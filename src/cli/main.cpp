// tovrana-cli: checks, exports and imports translations without the window,
// through the same readers, writers and rules.
#include <malloc.h>

#include <csignal>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_document.h"
#include "cli/cli_import.h"
#include "cli/cli_report.h"
#include "document/text_exchange.h"
#include "support/atomic_file.h"

namespace {

using namespace tov::cli;

bool writeOut(const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

// The process ends once the command is done: what the document holds is
// left for the system to take back at once, instead of being freed string by
// string. Only the C template's folder is removed. The document stays
// reachable, so that a leak checker does not take it for a leak.
void keepUntilExit(std::unique_ptr<Opened> opened)
{
    opened->tempFolder.reset();
    [[maybe_unused]] static Opened* volatile kept = nullptr;
    kept = opened.release();
}

int runCheck(const Options& o)
{
    auto opened = openDocument(o, OpenMode::Check);
    const CheckReport report = checkDocument(*opened);
    if (!writeOut(o.json ? reportJson(report, o, *opened) : reportText(report)))
        fail(kExitError, "cannot write to standard output");
    keepUntilExit(std::move(opened));
    return report.problems.empty() ? kExitOk : kExitProblems;
}

int runExport(const Options& o)
{
    auto opened = openDocument(o, OpenMode::Strict);
    std::string tsv;
    if (!tov::exportText(opened->doc, tsv)) fail(kExitProblems, o.base + ": more than 65535 rows to export");
    if (o.out.empty()) {
        if (!writeOut(tsv)) fail(kExitProblems, "cannot write to standard output");
        keepUntilExit(std::move(opened));
        return kExitOk;
    }
    const tov::WriteResult written = tov::writeFileAtomic(o.out, tsv);
    if (!written) fail(kExitProblems, o.out + ": cannot be written (" + written.error + ")");
    keepUntilExit(std::move(opened));
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv)
{
    // One run opens at most a few tens of megabytes and then ends: large
    // blocks come from the heap and freed memory stays with the process, so
    // that a buffer freed after reading is reused for the tables instead of
    // being returned to the system and faulted in again.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    mallopt(M_TOP_PAD, 16 << 20);
    // A write beyond the file-size limit fails with EFBIG and is reported like
    // any other failed write, instead of ending the process half-way.
    std::signal(SIGXFSZ, SIG_IGN);
    try {
        const Arguments args = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
        switch (args.action) {
        case Arguments::Action::Help: return writeOut(helpText()) ? kExitOk : kExitError;
        case Arguments::Action::Version: return writeOut(versionLine() + "\n") ? kExitOk : kExitError;
        case Arguments::Action::Run: break;
        }
        const Options& o = args.options;
        switch (o.command) {
        case Command::Check: return runCheck(o);
        case Command::Export: return runExport(o);
        case Command::Import: return runImport(o);
        }
    } catch (const Failure& f) {
        std::fprintf(stderr, "tovrana-cli: %s\n", f.message.c_str());
        return f.status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tovrana-cli: %s\n", e.what());
        return kExitError;
    }
    return kExitError;
}
