// tovrana-cli: checks, exports and imports translations without the window,
// through the same readers, writers and rules.
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
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

// The heap a run will fill, backed by large pages where the system offers
// them: a run touches a few times its inputs' size in fresh memory, and
// taking that in 4 KB pages costs more than reading the files. The block is
// freed at once and stays at the top of the heap (see the trim threshold),
// where the document's strings are then carved from.
void prepareHeap(const Options& o)
{
    std::size_t input = 0;
    for (const std::string* path : {&o.base, &o.dest, &o.tsv}) {
        struct stat st {};
        if (!path->empty() && ::stat(path->c_str(), &st) == 0 && S_ISREG(st.st_mode))
            input += static_cast<std::size_t>(st.st_size);
    }
    // A firmware set is named by one of its files: the others are not
    // counted, so the block is never smaller than the largest set needs. Only
    // the pages touched take memory.
    constexpr std::size_t kLargePage = 2u << 20;
    const std::size_t size = std::clamp<std::size_t>(input * 4, 64u << 20, 192u << 20);
    void* block = std::malloc(size);
    if (!block) return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(block) + kLargePage - 1) & ~(kLargePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + size) & ~(kLargePage - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    std::free(block);
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
        prepareHeap(o);
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
