// Fuzzes a whole firmware file set: the input is split into a base set and a
// destination set (at the first byte 0x1E) and each into files (at bytes
// 0x1D); the files are written into a temporary folder, opened as base and
// destination, their texts extracted, merged and saved (all or nothing, as
// every save), saved again over the first save's files with their backup
// copies, and the saved set is read back. The first byte picks the family.
// This is the target that goes through the files; the others fuzz the
// readers and writers in memory.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "formats/firmware/firmware_lines.h"
#include "formats/firmware/firmware_sets.h"
#include "support/convert.h"
#include "support/text_file.h"
#include "fuzz/fuzz_check.h"

namespace {

// The temporary folder of this run, removed when the fuzzer exits. (Held on
// the heap so that it outlives the exit handler that removes it.) In memory
// where the system offers it: the run goes through the program's file path,
// every save flushing its files and folder, without waiting for a disk.
const std::string& workFolder()
{
    static const std::string* folder = [] {
        const std::string parent =
            ::access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : std::filesystem::temp_directory_path().string();
        std::string tmpl = parent + "/tovrana-fuzz-fw-XXXXXX";
        check(::mkdtemp(tmpl.data()) != nullptr);
        auto* made = new std::string(tmpl + "/");
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(workFolder(), ec);
        });
        return made;
    }();
    return *folder;
}

std::vector<std::string_view> split(std::string_view s, char sep, std::size_t most)
{
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < most) {
        const std::size_t at = s.find(sep);
        if (at == std::string_view::npos) break;
        parts.push_back(s.substr(0, at));
        s.remove_prefix(at + 1);
    }
    parts.push_back(s);
    return parts;
}

void writeSet(const std::string& folder, const char* ext, const std::vector<std::string_view>& files)
{
    std::filesystem::create_directories(folder);
    for (std::size_t i = 0; i < files.size(); ++i) {
        FILE* f = std::fopen((folder + "F" + std::to_string(i) + ext).c_str(), "wb");
        check(f != nullptr);
        check(std::fwrite(files[i].data(), 1, files[i].size(), f) == files[i].size());
        check(std::fclose(f) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const auto& families = tov::firmwareFamilies();
    const tov::FirmwareFamily& family = families[data[0] % families.size()];
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto sets = split(input, '\x1e', 2);
    const auto baseFiles = split(sets[0], '\x1d', 4);
    const auto destFiles = split(sets.size() > 1 ? sets[1] : sets[0], '\x1d', 4);

    const std::string root = workFolder();
    std::error_code ec;
    for (const char* sub : {"ENG", "CZE", "OUT"}) std::filesystem::remove_all(root + sub, ec);
    writeSet(root + "ENG/", ".ENG", baseFiles);
    writeSet(root + "CZE/", ".CZE", destFiles);
    std::filesystem::create_directories(root + "OUT");

    tov::TextGrid translation(9, 50), work(11, 0);
    const tov::FirmwareBaseOpen base = tov::openFirmwareBase(translation, work, root + "ENG/F0.ENG");
    if (!base.loaded()) {
        check(base.status == tov::FirmwareBaseOpen::Status::TooManyLines);
        return 0;
    }
    check(base.baseFiles.size() == baseFiles.size());
    check(base.readErrors.empty());
    std::size_t sum = 0;
    for (std::size_t i = 0; i < base.baseFiles.size(); ++i)
        sum += static_cast<std::size_t>(tov::nonNegativeNumber(work.cell(5, static_cast<int>(i))));
    check(sum == base.lines);
    check(static_cast<std::size_t>(base.texts) <= base.lines);

    const tov::FirmwareDestinationOpen dest =
        tov::openFirmwareDestination(translation, work, family, base.baseFiles, root + "CZE/F0.CZE");
    if (!dest.loaded()) {
        check(family.lineCountCheck || dest.status == tov::FirmwareDestinationOpen::Status::TooManyLines);
        return 0;
    }
    // Base files without a destination file of the same name are reported.
    const std::size_t missing = baseFiles.size() > destFiles.size() ? baseFiles.size() - destFiles.size() : 0;
    check(dest.readErrors.size() == missing);
    check(dest.structureFailureRow >= 0 && dest.structureFailureRow <= dest.texts);

    const tov::FirmwareSave saved =
        tov::saveFirmwareDestination(translation, work, family, root + "OUT/X.OUT", tov::BackupChoice::none());
    if (!saved.unplaced.empty()) {
        // A text without a place in its line (one read from another line
        // than its base text's), or one whose quotes would move the end of
        // its line's quoted text, refuses the whole save: nothing is written.
        check(saved.files.empty());
        check(std::filesystem::is_empty(root + "OUT"));
        for (const auto& u : saved.unplaced) check(u.quoteBreaksLine || !translation.cell(4, u.row).empty());
        return 0;
    }
    check(saved.ok());
    check(saved.files.size() == base.baseFiles.size());
    for (std::size_t i = 0; i < saved.files.size(); ++i) {
        std::string bytes;
        check(tov::readFileBytes(saved.files[i], bytes));
        const auto expected = static_cast<std::size_t>(tov::nonNegativeNumber(work.cell(5, static_cast<int>(i))));
        std::size_t lines = 0;
        for (char c : bytes) lines += c == '\n';
        check(lines == expected);
    }

    // Saved again over itself (as after a refused backup), every file gets
    // the same bytes, after a backup copy of what the first save wrote.
    std::vector<std::string> first(saved.files.size());
    for (std::size_t i = 0; i < saved.files.size(); ++i) check(tov::readFileBytes(saved.files[i], first[i]));
    const tov::FirmwareSave again =
        tov::saveFirmwareDestination(translation, work, family, root + "OUT/X.OUT", tov::BackupChoice::dated());
    check(again.ok());
    check(again.backups.size() == saved.files.size());
    for (std::size_t i = 0; i < again.backups.size(); ++i) {
        std::string bytes;
        check(tov::readFileBytes(again.backups[i], bytes) && bytes == first[i]);
        check(tov::readFileBytes(saved.files[i], bytes) && bytes == first[i]);
    }

    // The saved set reads back with exactly the base's line counts.
    const tov::FirmwareDestinationOpen back = tov::openFirmwareDestination(
        translation, work, *tov::firmwareFamily(tov::kOrvanta), base.baseFiles, saved.destFileName);
    check(back.loaded());
    check(back.lines == base.lines);
    return 0;
}
