#include "formats/source_kind.h"

#include <utility>

#include "formats/firmware/firmware_sets.h"
#include "support/files.h"
#include "support/strutil.h"

static_assert(tov::isResourceStringKind(255) && !tov::isResourceStringKind(3));
static_assert(tov::isFirmwareKind(15) && !tov::isFirmwareKind(16));

namespace tov {

std::uint8_t sourceKindOfFile(const std::string& path)
{
    const std::string name = fileNamePart(path);
    const std::string ext = extensionPart(name);
    if (equalsNoCase(ext, ".drc")) {
        for (const auto& [mask, kind] : {std::pair{"Konfix*.drc", kKonfix}, std::pair{"Vigrex*.drc", kVigrex},
                                         std::pair{"Konfi10*.drc", kKonfi10}})
            if (maskMatches(name, mask)) return kind;
        return kGenericDrc;
    }
    if (equalsNoCase(ext, ".ini")) return kMenuIni;
    if (equalsNoCase(ext, ".c")) return kCArrays;
    // FAMILY/LANGUAGE/NAME: the family folder is the one above the file's.
    const auto up = [](const std::string& p) {
        const std::string folder = folderPart(p);
        return folder.empty() ? folder : folder.substr(0, folder.size() - 1);
    };
    const std::string family = fileNamePart(up(up(path)));
    for (const FirmwareFamily& f : firmwareFamilies())
        if (!family.empty() && equalsNoCase(family, f.folder)) return f.kind;
    return kNone;
}

}  // namespace tov
