// Reading and writing whole text files as bytes.
//
// Every text file of the program is read with one line rule: a line ends at
// LF or at CR LF (the line end is not part of the line), a CR that is not
// followed by LF is dropped from the line, and a byte 26 (Ctrl+Z) ends the
// file. A line end at the very end of the data does not add an empty line.
// Lines written end with CR LF.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tov {

// Reads the whole file into `out`. False when it cannot be opened or read,
// or is not a regular file (a folder, a pipe, a device); `out` then holds
// what was read before the failure.
bool readFileBytes(const std::string& path, std::string& out);
// The same piece by piece, without holding the file: `sized(bytes)` once
// with the file's size before anything is read, then `take(piece)` for each
// piece in order.
bool readFilePieces(const std::string& path, const std::function<void(std::size_t)>& sized,
                    const std::function<void(std::string_view)>& take);

// Splits bytes into lines by the rule above. Empty data gives no line.
std::vector<std::string> splitLines(std::string_view data);

// The same for a table of texts the program wrote itself (the text export),
// whose texts may hold a byte 26 (a menu INI value can): only a byte 26 that
// is the last byte of the data ends it.
std::vector<std::string> splitTableLines(std::string_view data);

// Reads a file and splits it. False when the file cannot be opened or read;
// `lines` then holds the lines of what was read before the failure.
bool readLines(const std::string& path, std::vector<std::string>& lines);

// Each line followed by CR LF.
std::string joinCrLf(const std::vector<std::string>& lines);
void appendCrLfLine(std::string& out, std::string_view line);

}  // namespace tov
