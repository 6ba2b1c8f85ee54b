#include "formats/translation_table.h"

#include <algorithm>

#include "formats/source_kind.h"
#include "support/convert.h"
#include "support/text_file.h"

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

ImportedTexts importTable(const TextGrid& t, std::string_view tsv)
{
    ImportedTexts result;
    const std::vector<std::string> lines = splitTableLines(tsv);
    const int rows = t.rowCount() - 1;
    const int given = static_cast<int>(lines.size());
    auto refuse = [&](int row, std::string why) {
        result.row = row;
        result.error = std::move(why);
        result.dest.clear();
        return result;
    };
    result.dest.reserve(static_cast<size_t>(std::max(rows, 0)));
    for (int r = 1; r <= given; ++r) {
        const std::string_view line = lines[static_cast<size_t>(r - 1)];
        if (r > rows)
            return refuse(r, "line " + std::to_string(r) + " has no row: the base has " +
                                 std::to_string(std::max(rows, 0)) + " rows");
        const std::string& base = t.cell(tcol::kBase, r);
        if (line.size() <= base.size() || line.compare(0, base.size(), base) != 0 || line[base.size()] != '\t')
            return refuse(r, "row " + std::to_string(r) + ": line " + std::to_string(r) +
                                 " does not begin with the base text of row " + std::to_string(r) +
                                 " and a TAB");
        result.dest.emplace_back(line.substr(base.size() + 1));
    }
    if (given < rows)
        return refuse(given + 1, "row " + std::to_string(given + 1) + ": no line (the file has " +
                                     std::to_string(given) + " lines, the base " + std::to_string(rows) +
                                     " rows)");
    result.ok = true;
    return result;
}

bool firmwareTextEdited(std::string_view dest, std::string_view stored)
{
    if (stored.empty()) return dest.find_first_not_of(' ') != std::string_view::npos;
    return dest != stored;
}

TextProblem destinationProblem(std::uint8_t kind, std::string_view base, std::string_view dest)
{
    if (isFirmwareKind(kind)) {
        if (dest.empty() && !base.empty()) return TextProblem::Missing;
        return dest.size() != base.size() ? TextProblem::LengthDiffers : TextProblem::None;
    }
    if (dest.empty()) return TextProblem::Missing;
    if (kind != kMenuIni && dest.size() > base.size()) return TextProblem::TooLong;
    return TextProblem::None;
}

}  // namespace tov
