#pragma once

#include "wizard/Fields.h"
#include "wizard/Volumes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace PathCleanup {

// A path that starts with a drive designation, a letter, ":" and "\" (D:\GAME\RUN.EXE),
// loses those three characters; anything else comes back unchanged (JP\README.TXT stays).
// Applied once, never in a loop.
QString withoutDrivePrefix(const QString &path);

// The folders whose files are saved relative to them, because each becomes the root of a
// disc: the roots of the removable volumes, and the output folder, where the disc is put
// together.
QStringList discRoots(const QList<Volume> &volumes, const QString &outputFolder);

// A full path under one of roots becomes relative to the deepest of them, with "\"
// separators as the launcher on the disc expects (/media/cdrom/GAME/RUN.EXE becomes
// GAME\RUN.EXE); any other text comes back unchanged.
QString withoutDiscRoot(const QString &path, const QStringList &roots);

// What a save writes for path: without its drive prefix first, then without its disc root.
// roots is asked only for an absolute path.
using Roots = std::function<QStringList()>;
QString shortened(const QString &path, const Roots &roots);

// Shortens a path field in place, so that the user sees what is saved.
void removeDrivePrefix(Fields &fields, Control pathField, const Roots &roots);

} // namespace PathCleanup
