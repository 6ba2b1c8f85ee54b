#include "formats/source_kind.h"

static_assert(tov::isResourceStringKind(255) && !tov::isResourceStringKind(3));
static_assert(tov::isFirmwareKind(15) && !tov::isFirmwareKind(16));
