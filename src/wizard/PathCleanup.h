#pragma once

#include "wizard/Fields.h"
#include "wizard/Volumes.h"

#include <QList>
#include <QString>

namespace PathCleanup {

// A path whose third character is "\" loses its first three characters (D:\GAME\RUN.EXE
// becomes GAME\RUN.EXE); anything else comes back unchanged. Applied once, never in a loop.
QString withoutDrivePrefix(const QString &path);

// A full path on a removable or disc volume becomes relative to that volume's root, with "\"
// separators as the launcher on the disc expects (/media/cdrom/GAME/RUN.EXE becomes
// GAME\RUN.EXE); a path on a system volume and any other text come back unchanged.
QString withoutDiscRoot(const QString &path, const QList<Volume> &volumes);

// Shortens a path field in place, drive prefix first, then the disc root of the mounted
// volumes, so that the user sees what is saved. volumes is asked only for an absolute path.
void removeDrivePrefix(Fields &fields, Control pathField, const Volumes::Source &volumes);

} // namespace PathCleanup
