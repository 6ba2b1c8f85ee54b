// tovrana-cli: checks, exports and imports translations without the window,
// through the same readers, writers and rules.
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/cli_document.h"
#include "cli/cli_import.h"
#include "cli/cli_report.h"
#include "document/exchange_files.h"
#include "document/format.h"
#include "document/text_exchange.h"
#include "support/atomic_file.h"
#include "support/program_folder.h"

#if defined(__SANITIZE_ADDRESS__)
#define TOVRANA_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TOVRANA_LEAK_CHECKED 1
#endif
#endif
#ifdef TOVRANA_LEAK_CHECKED
// The document is kept until the process ends (keepUntilExit), and its rows
// hold their texts' pointers on 4-byte boundaries (document/text.h): the
// leak checker is to look for pointers there too.
extern "C" const char* __lsan_default_options()
{
    return "use_unaligned=1";
}
#endif

namespace {

using namespace tov::cli;

bool writeOut(const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

// The program folder the window would use, for the personal word lists
// kept there; nothing is made.
std::string programFolder()
{
    std::error_code ec;
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    const std::string cwd = std::filesystem::current_path(ec).string();
    return tov::locateProgramFolder(exe, {}, tov::UserEnvironment::current(), cwd).folder;
}

// The checker of --spell: a dictionary named by its code ("pl_PL") or one
// for the language named ("pl", "Polski").
std::optional<tov::spell::SpellChecker> openSpelling(const Options& o)
{
    if (o.spell.empty()) return std::nullopt;
    const std::string folder =
        o.dictionaries.empty() ? std::string(tov::spell::kSystemDictionaryFolder) : o.dictionaries;
    const auto dictionaries = tov::spell::installedDictionaries(folder);
    const tov::spell::Dictionary* d = tov::spell::findDictionary(dictionaries, o.spell);
    if (!d) d = tov::spell::dictionaryForLanguage(dictionaries, tov::spell::languageOfName(o.spell));
    if (!d)
        fail(kExitError, "--spell " + o.spell + ": no dictionary for it in " + folder +
                             " (Debian packages hunspell-pl, hunspell-de-de, ...)");
    std::string error;
    auto checker = tov::spell::SpellChecker::open(*d, programFolder(), &error);
    if (!checker) failInput(d->affixFile, "cannot be read as a dictionary (" + error + ")");
    return checker;
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
    const std::optional<tov::spell::SpellChecker> spelling = openSpelling(o);
    auto opened = openDocument(o, OpenMode::Check);
    const CheckReport report =
        checkDocument(*opened, {tov::checks::forKind(o.kind), spelling ? &*spelling : nullptr});
    if (!writeOut(o.json ? reportJson(report, o, *opened) : reportText(report)))
        fail(kExitError, "cannot write to standard output");
    keepUntilExit(std::move(opened));
    return report.errors || (o.strict && report.warnings) ? kExitProblems : kExitOk;
}

// The language tags of an XLIFF or PO file: as given, else as the open
// files tell them; one that cannot be told has to be given.
tov::ExchangeLanguages exchangeLanguages(const Options& o, const Opened& d)
{
    tov::ExchangeLanguages l = tov::guessExchangeLanguages(d.doc, o.base, o.dest);
    if (!o.sourceLanguage.empty()) l.source = o.sourceLanguage;
    if (!o.targetLanguage.empty()) l.target = o.targetLanguage;
    const char* unknown = l.source.empty() ? "source" : l.target.empty() ? "target" : nullptr;
    if (unknown)
        fail(kExitError, std::string("the ") + unknown + " language cannot be told from " +
                             (d.doc.languages.empty() ? "the file names" : "the language names") + ": give --" +
                             unknown + "-language TAG (for example " + (l.source.empty() ? "en" : "pl") + ")");
    return l;
}

// The export's bytes as they are made, piece by piece, to standard output or
// into the atomic temporary file of -o FILE, never held whole; a failed
// write leaves the old FILE as it was.
void writeExport(const Options& o, const tov::ByteProducer& produce)
{
    if (o.out.empty()) {
        tov::ByteSink sink(STDOUT_FILENO);
        produce(sink);
        if (!sink.finish()) fail(kExitProblems, "cannot write to standard output");
        return;
    }
    const tov::WriteResult written = tov::writeFileAtomic(o.out, produce);
    if (!written) fail(kExitProblems, o.out + ": cannot be written (" + written.error + ")");
}

int runExport(const Options& o)
{
    auto opened = openDocument(o, OpenMode::Strict);
    if (o.format == "tsv") {
        const tov::TranslationDocument& doc = opened->doc;
        if (doc.size() > tov::kMaxTextRows) fail(kExitProblems, o.base + ": more than 65535 rows to export");
        writeExport(o, [&doc](tov::ByteSink& sink) {
            tov::exportText(doc, sink);
        });
    } else {
        tov::ExchangeExport request;
        request.format = o.format == "po" ? tov::exchange::Format::Po : tov::exchange::Format::Xliff;
        request.original = o.base;
        request.languages = exchangeLanguages(o, *opened);
        const tov::exchange::Written written = tov::exportExchange(opened->doc, o.kind, request);
        if (!written) fail(kExitProblems, o.base + ": cannot be exported as " + o.format + ": " + written.error);
        writeExport(o, [&written](tov::ByteSink& sink) { sink.write(written.bytes); });
    }
    keepUntilExit(std::move(opened));
    return kExitOk;
}

// The heap a run of resource strings will fill, backed by large pages where
// the system offers them: such a run touches a few times its inputs' size in
// fresh memory, and taking that in 4 KB pages costs more than reading the
// files. The block is freed at once and stays at the top of the heap (see the
// trim threshold), where the document's rows are then carved from. The other
// families touch their memory more sparsely: there a large page counts whole
// for the few bytes used in it, and costs more memory than it saves time.
void prepareHeap(const Options& o)
{
    if (tov::familyOf(o.kind) != tov::FormatFamily::ResourceStrings) return;
    std::size_t input = 0;
    for (const std::string* path : {&o.base, &o.dest, &o.tsv}) {
        struct stat st {};
        if (!path->empty() && ::stat(path->c_str(), &st) == 0 && S_ISREG(st.st_mode))
            input += static_cast<std::size_t>(st.st_size);
    }
    // Only the pages touched take memory.
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
