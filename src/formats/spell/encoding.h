// The way between the program's code page (Windows-1250) and the encoding
// a dictionary is written in (the SET line of its .aff file: "UTF-8",
// "ISO8859-2", "microsoft-cp1251", ...).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tov::spell {

// The encoding named by the SET line of the affix file at `affixFile`;
// "ISO8859-1", the default of the affix format, when there is none.
std::string affixEncoding(const std::string& affixFile);

class DictionaryEncoding {
public:
    // False (and the object unusable) when the system's converter does not
    // know the encoding.
    bool open(std::string_view encoding);
    const std::string& name() const { return name_; }

    // Appends the dictionary's bytes of a Windows-1250 text to `out`; false
    // when the dictionary's encoding cannot hold one of its characters (such a
    // word cannot be in the dictionary). A typographic apostrophe the encoding
    // lacks is given as "'".
    bool encode(std::string_view text, std::string& out) const;

    // The Windows-1250 bytes of a text in the dictionary's encoding; false when
    // it is malformed or holds a character Windows-1250 cannot hold (it is then
    // dropped by the caller, never written with a "?").
    bool decode(std::string_view dictText, std::string& out) const;

private:
    std::string name_;       // as the system's converter knows it
    bool utf8_ = false;
    // The dictionary's bytes of each Windows-1250 byte; empty: not held.
    std::array<std::string, 256> encoded_{};
};

}  // namespace tov::spell
