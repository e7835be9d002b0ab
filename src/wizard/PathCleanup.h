#pragma once

#include "wizard/Fields.h"

#include <QString>

namespace PathCleanup {

// A path whose third character is "\" loses its first three characters (D:\GAME\RUN.EXE
// becomes GAME\RUN.EXE); anything else comes back unchanged. Applied once, never in a loop.
QString withoutDrivePrefix(const QString &path);

// Shortens a path field in place, so that the user sees what is saved.
void removeDrivePrefix(Fields &fields, Control pathField);

} // namespace PathCleanup
