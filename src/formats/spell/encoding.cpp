#include "formats/spell/encoding.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

#include "support/cp1250.h"
#include "support/strutil.h"
#include "support/text_file.h"

namespace tov::spell {
namespace {

// The system converter's name of an encoding as the affix files write it.
std::string converterName(std::string_view set)
{
    std::string name = asciiUpper(trimControls(set));
    if (startsWith(name, "ISO8859")) return "ISO-8859" + name.substr(7);
    if (startsWith(name, "MICROSOFT-CP")) return "CP" + name.substr(12);
    if (name == "TIS620-2533") return "TIS-620";
    return name;
}

// Converts all of `in` with `cd`; false when a byte sequence is invalid or
// cannot be converted.
bool convert(iconv_t cd, std::string_view in, std::string& out)
{
    out.clear();
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[256];
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        // Counted irreversible conversions are characters replaced by the
        // converter's own choice, not the character itself.
        if (r != static_cast<std::size_t>(-1) && r > 0) return false;
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    if (iconv(cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1)) return false;
    out.append(buffer, dst - buffer);
    return true;
}

class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter()
    {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    bool operator()(std::string_view in, std::string& out) const { return convert(cd_, in, out); }

private:
    iconv_t cd_;
};

}  // namespace

std::string affixEncoding(const std::string& affixFile)
{
    std::vector<std::string> lines;
    readLines(affixFile, lines);
    for (const std::string& line : lines) {
        const std::string text = trimControls(line);
        if (startsWith(text, "SET") && text.size() > 3 && (text[3] == ' ' || text[3] == '\t'))
            return trimControls(std::string_view(text).substr(4));
    }
    return "ISO8859-1";
}

bool DictionaryEncoding::open(std::string_view encoding)
{
    name_ = converterName(encoding);
    utf8_ = name_ == "UTF-8" || name_ == "UTF8";
    if (utf8_) name_ = "UTF-8";
    const Converter toDict(name_, "UTF-8");
    if (!toDict.ok()) {
        encoded_.fill({});
        return false;
    }
    for (int b = 0; b < 256; ++b) {
        const std::string utf8 = cp1250::toUtf8(std::string(1, static_cast<char>(b)));
        std::string& e = encoded_[b];
        if (utf8_) {
            e = utf8;
        } else if (!toDict(utf8, e)) {
            e.clear();
        }
    }
    if (encoded_[0x92].empty()) encoded_[0x92] = "'";
    return true;
}

bool DictionaryEncoding::encode(std::string_view text, std::string& out) const
{
    for (char c : text) {
        const std::string& e = encoded_[static_cast<unsigned char>(c)];
        if (e.empty()) return false;
        out += e;
    }
    return true;
}

bool DictionaryEncoding::decode(std::string_view dictText, std::string& out) const
{
    std::string utf8;
    if (!utf8_) {
        const Converter toUtf8("UTF-8", name_);
        if (!toUtf8.ok() || !toUtf8(dictText, utf8)) return false;
        dictText = utf8;
    }
    std::vector<char32_t> unheld;
    return cp1250::fromUtf8(dictText, out, unheld) && unheld.empty();
}

}  // namespace tov::spell
