// The message boxes of the window: what an open or a save found wrong, in
// the words the program has always used for it.
#pragma once

#include <QString>

#include "document/diagnostic.h"

namespace tov {

// The text of the error box for a diagnostic. File names are shown as the
// file system spells them; the firmware texts are Windows-1250.
QString messageText(const Diagnostic& d);

}  // namespace tov
