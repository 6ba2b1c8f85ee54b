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

}  // namespace tov
