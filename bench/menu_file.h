// The menu file the INI benchmarks work on: one section per language, each
// with every text key (1,503), in a scratch folder removed at the end.
#pragma once

#include <string>
#include <vector>

#include "formats/menu_ini/menu_ini.h"
#include "support/atomic_file.h"
#include "tests/support/temp_folder.h"

namespace tov::bench {

inline std::string menuFile(const std::vector<std::string>& languages)
{
    std::string out = "; menu texts\r\n[LANGUAGES]\r\ncount=4\r\n\r\n";
    for (const std::string& lang : languages) {
        out += "[" + lang + "]\r\ntitle=Menu\r\n";
        for (const auto& k : menu_ini::textKeys()) out += k + "=Menu text " + k + " in " + lang + " \xB9\xEA\r\n";
        out += "\r\n";
    }
    return out;
}

struct ScratchMenuFile {
    testing::TempFolder dir;
    std::string file;
    explicit ScratchMenuFile(const std::vector<std::string>& languages)
    {
        file = dir.put("menu.ini", menuFile(languages));
    }
};

}  // namespace tov::bench
