#include "document/format.h"

#include "document/formats.h"

namespace tov {

FormatFamily familyOf(std::uint8_t kind)
{
    if (isFirmwareKind(kind)) return FormatFamily::Firmware;
    if (kind == kMenuIni) return FormatFamily::MenuIni;
    if (kind == kCArrays) return FormatFamily::CArrays;
    return FormatFamily::ResourceStrings;
}

std::unique_ptr<Format> makeFormat(std::uint8_t kind, FormatEnvironment environment)
{
    switch (familyOf(kind)) {
    case FormatFamily::Firmware: return makeFirmwareFormat(static_cast<SourceKind>(kind));
    case FormatFamily::MenuIni: return makeMenuIniFormat();
    case FormatFamily::CArrays: return makeCArraysFormat(environment.tempNames);
    case FormatFamily::ResourceStrings: break;
    }
    return makeResourceStringFormat(static_cast<SourceKind>(kind));
}

const FormatTraits& traitsOf(std::uint8_t kind)
{
    switch (familyOf(kind)) {
    case FormatFamily::Firmware: return firmwareTraits();
    case FormatFamily::MenuIni: return menuIniTraits();
    case FormatFamily::CArrays: return cArraysTraits();
    case FormatFamily::ResourceStrings: break;
    }
    return resourceStringTraits();
}

void reportUnwritten(SaveResult& r, DiagnosticCode failed, const std::string& file, const std::string& error,
                     bool backupFailed)
{
    r.ok = false;
    r.backupFailed = backupFailed;
    r.diagnostics.push_back({.code = backupFailed ? DiagnosticCode::BackupFailed : failed, .file = file, .detail = error});
}

OpenResult Format::openDestination(TranslationDocument&, const std::string&, const OpenOptions&)
{
    // The family has no destination files of its own.
    return {};
}

OpenResult Format::reopen(TranslationDocument& doc, const std::string& base, const std::string&)
{
    return openBase(doc, base);
}

bool Format::reopens(const std::string&) const
{
    return true;
}

bool Format::openBaseKeepsDestination(const TranslationDocument&) const
{
    return false;
}

SaveResult Format::saveBlank(TranslationDocument& doc, const std::string& path, const SaveOptions& options)
{
    return save(doc, path, options);
}

void Format::clearDestination(TranslationDocument& doc)
{
    doc.clearDestination();
}

void Format::chooseLanguages(TranslationDocument&, const LanguageChoice&, const LanguageChoice&)
{
}

std::string Format::header(const TranslationDocument&, int) const
{
    return {};
}

}  // namespace tov
