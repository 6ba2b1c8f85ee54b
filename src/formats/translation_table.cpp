#include "formats/translation_table.h"

#include "formats/source_kind.h"
#include "support/convert.h"

namespace tov {

void refreshTranslationTable(std::uint8_t kind, const TextGrid& w, TextGrid& t)
{
    if (kind == kCArrays) return;
    if (!isFirmwareKind(kind)) {
        if (kind != kMenuIni) t.setRowCount(w.rowCount());
        t.copyColumn(tcol::kBase, w, 1);
        t.copyColumn(tcol::kDest, w, 2);
        if (kind != kMenuIni) {
            const int rows = t.rowCount();
            for (int r = 1; r < rows; ++r) {
                t.setCell(tcol::kNumber, r, " " + std::to_string(r));
                t.setCell(tcol::kBaseLen, r, lengthText(t.cell(tcol::kBase, r).size()));
                t.setCell(tcol::kDestLen, r, lengthText(t.cell(tcol::kDest, r).size()));
            }
        }
    } else {
        t.setCell(tcol::kComment, 0, "comment");
    }
    t.setCell(tcol::kNumber, 0, "No.");
    t.setCell(tcol::kBaseLen, 0, "len");
    t.setCell(tcol::kDestLen, 0, "len");
}

CharacterCount countCharacters(const TextGrid& t)
{
    CharacterCount c;
    const int rows = t.rowCount();
    for (int r = 1; r < rows; ++r) {
        c.base += static_cast<std::uint32_t>(t.cell(tcol::kBase, r).size());
        c.dest += static_cast<std::uint32_t>(t.cell(tcol::kDest, r).size());
    }
    return c;
}

std::string characterCountText(const CharacterCount& count)
{
    return "Base: " + std::to_string(count.base) + "   Dest.: " + std::to_string(count.dest);
}

bool exportTable(const TextGrid& t, std::string& out)
{
    out.clear();
    const int rows = t.rowCount();
    if (rows - 1 > 65535) return false;
    size_t total = 0;
    for (int r = 1; r < rows; ++r) total += t.cell(tcol::kBase, r).size() + t.cell(tcol::kDest, r).size() + 3;
    out.reserve(total);
    for (int r = 1; r < rows; ++r) {
        out += t.cell(tcol::kBase, r);
        out += '\t';
        out += t.cell(tcol::kDest, r);
        out += "\r\n";
    }
    return true;
}

}  // namespace tov
