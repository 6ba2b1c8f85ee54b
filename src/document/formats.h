// The four format families, one source file each: what makeFormat and
// traitsOf are made of.
#pragma once

#include <memory>

#include "document/format.h"

namespace tov {

std::unique_ptr<Format> makeResourceStringFormat(SourceKind kind);
std::unique_ptr<Format> makeFirmwareFormat(SourceKind kind);
std::unique_ptr<Format> makeMenuIniFormat();
std::unique_ptr<Format> makeCArraysFormat(TempNamer* names);

const FormatTraits& resourceStringTraits();
const FormatTraits& firmwareTraits();
const FormatTraits& menuIniTraits();
const FormatTraits& cArraysTraits();

// A save that wrote nothing, as its result: `file` could not be copied to
// its dated backup (BackupFailed), or could not be written (`failed`).
void reportUnwritten(SaveResult& r, DiagnosticCode failed, const std::string& file, const std::string& error,
                     bool backupFailed);

}  // namespace tov
