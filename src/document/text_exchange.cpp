#include "document/text_exchange.h"

#include <algorithm>

#include "support/text_file.h"

namespace tov {

namespace {

template <class Write>
void writeRows(const TranslationDocument& doc, Write write)
{
    for (const Entry& e : doc.entries()) {
        write(e.base);
        write("\t");
        write(e.dest);
        write("\r\n");
    }
}

}  // namespace

bool exportText(const TranslationDocument& doc, std::string& out)
{
    out.clear();
    if (doc.size() > kMaxTextRows) return false;
    std::size_t total = 0;
    for (const Entry& e : doc.entries()) total += e.base.size() + e.dest.size() + 3;
    out.reserve(total);
    writeRows(doc, [&out](std::string_view piece) { out += piece; });
    return true;
}

bool exportText(const TranslationDocument& doc, ByteSink& sink)
{
    if (doc.size() > kMaxTextRows) return false;
    writeRows(doc, [&sink](std::string_view piece) { sink.write(piece); });
    return true;
}

ImportedTexts importText(const TranslationDocument& doc, std::string_view tsv)
{
    ImportedTexts result;
    const std::vector<std::string> lines = splitTableLines(tsv);
    const int rows = doc.size();
    const int given = static_cast<int>(lines.size());
    auto refuse = [&](int row, std::string why) {
        result.row = row;
        result.error = std::move(why);
        result.dest.clear();
        return result;
    };
    result.dest.reserve(static_cast<std::size_t>(rows));
    for (int r = 1; r <= given; ++r) {
        const std::string_view line = lines[static_cast<std::size_t>(r - 1)];
        if (r > rows)
            return refuse(r, "line " + std::to_string(r) + " has no row: the base has " + std::to_string(rows) +
                                 " rows");
        const std::string_view base = doc.entry(r - 1).base;
        if (line.size() <= base.size() || line.compare(0, base.size(), base) != 0 || line[base.size()] != '\t')
            return refuse(r, "row " + std::to_string(r) + ": line " + std::to_string(r) +
                                 " does not begin with the base text of row " + std::to_string(r) + " and a TAB");
        result.dest.emplace_back(line.substr(base.size() + 1));
    }
    if (given < rows)
        return refuse(given + 1, "row " + std::to_string(given + 1) + ": no line (the file has " +
                                     std::to_string(given) + " lines, the base " + std::to_string(rows) + " rows)");
    result.ok = true;
    return result;
}

}  // namespace tov
