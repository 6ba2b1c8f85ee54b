// Fuzzes the checks of a translation against its base on arbitrary bytes,
// under the checks of every family. The input is a base text, a LF and a
// destination text (the whole input is both when there is no LF).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/checks/checks.h"
#include "formats/source_kind.h"
#include "fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t lf = input.find('\n');
    const std::string_view base = lf == std::string_view::npos ? input : input.substr(0, lf);
    const std::string_view dest = lf == std::string_view::npos ? input : input.substr(lf + 1);

    for (std::uint8_t kind : {tov::kGenericDrc, tov::kOrvanta, tov::kMenuIni, tov::kCArrays}) {
        const tov::checks::CheckOptions options = tov::checks::forKind(kind);
        // A text never differs from itself.
        check(tov::checks::checkEntry(options, base, base).empty());
        const tov::checks::Findings found = tov::checks::checkEntry(options, base, dest);
        check(found.size() <= 5);
        for (const auto& f : found) check(!f.detail.empty());
    }
    return 0;
}
