// A translation document sent to translators' tools as XLIFF or PO, and
// their files brought back into it: the one way the window's commands and
// the command-line tool take.
//
// A row goes out under the name the check gives it (identifier, FILE:LINE,
// key or row number), with its base text as the source, its destination as
// the target, a firmware comment as the note and the length its rule allows
// as the width; it comes back by that name only, never by position.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "document/edits.h"
#include "formats/exchange/rows.h"

namespace tov {

// The language tags of an exchange file ("en", "pl"); empty where unknown.
struct ExchangeLanguages {
    std::string source;
    std::string target;
};

// The tags as far as what is open tells them: the language names of a menu
// INI or C file, else the base and destination file names ("Konfix_en.drc",
// "ORVANTA/POL/EDIT.POL").
ExchangeLanguages guessExchangeLanguages(const TranslationDocument& doc, const std::string& baseFile,
                                         const std::string& destFile);

struct ExchangeExport {
    exchange::Format format = exchange::Format::Xliff;  // Xliff or Po
    std::string original;                               // the base file's name, as it is to be shown
    ExchangeLanguages languages;
};

// The bytes of the exchange file of every row; `error` when it cannot be
// written (a text the format cannot carry).
exchange::Written exportExchange(const TranslationDocument& doc, std::uint8_t kind, const ExchangeExport& request);

struct ExchangeImport {
    std::string error;  // the file cannot be read as its format: nothing to apply
    exchange::Format format = exchange::Format::Tsv;
    // The rows' new destination texts as one step (null when none changes).
    std::unique_ptr<SetDestinations> edit;
    exchange::ImportReport report;  // what was applied, what not and why
    explicit operator bool() const { return error.empty(); }
};

// Reads an XLIFF or PO file (told by its content, else by `name`) and
// matches its units to the rows of `doc`; a tab-separated file is refused
// here (its rows go by position: importText()).
ExchangeImport importExchange(const TranslationDocument& doc, std::string_view name, std::string bytes,
                              const exchange::ImportOptions& options);

}  // namespace tov
