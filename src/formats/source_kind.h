// The source kind: which format family the open base text belongs to.
#pragma once

#include <cstdint>
#include <string>

namespace tov {

enum SourceKind : std::uint8_t {
    kNone = 0,
    kKonfix = 1,
    kVigrex = 2,
    kOrvanta = 3,
    kKonfi10 = 4,
    kQL5 = 5,
    kQL10 = 10,
    kTelmo = 15,
    kMenuIni = 16,
    kCArrays = 17,
    kGenericDrc = 255,
};

constexpr bool isResourceStringKind(std::uint8_t k)
{
    return k == kKonfix || k == kVigrex || k == kKonfi10 || k == kGenericDrc;
}

constexpr bool isFirmwareKind(std::uint8_t k)
{
    return k == kOrvanta || k == kQL5 || k == kQL10 || k == kTelmo;
}

// The kind a file named on the command line opens as, told by its name: a
// ".drc" file (Konfix*, Vigrex*, Konfi10* as those kinds, any other as the
// generic one), a file in a language folder of a firmware family folder
// (ORVANTA/ENG/EDIT.ENG), a ".ini" file (menu texts) or a ".c" file. Case is
// ignored. kNone when the name does not tell; `path` should be absolute.
std::uint8_t sourceKindOfFile(const std::string& path);

// Translation-table columns.
namespace tcol {
constexpr int kNumber = 0;      // "No."
constexpr int kBaseLen = 1;     // "len"
constexpr int kBase = 2;        // base text
constexpr int kDestLen = 3;     // "len"
constexpr int kDest = 4;        // destination text
constexpr int kComment = 5;     // firmware: destination line comment
constexpr int kBaseComment = 6; // firmware: base line comment
constexpr int kPreview7 = 7;    // never written
constexpr int kLineIndex = 8;   // firmware: line index of the base line
constexpr int kCount = 9;
}  // namespace tcol

}  // namespace tov
