#pragma once

#include "modules/FileStatus.h"

#include <QString>

// The folder KORV.ini is written into, which becomes the root of the disc.
namespace DiscFolder {

// Why folder is no folder: it is not there (NotFound), or it is a file (NotAFolder).
FileProblem kindProblem(const QString &folder);

// Why KORV.ini cannot be written into folder: its kind, or the file system refuses a new file
// in it (tried by making one and removing it again, since mode bits do not stop root while a
// read-only mount does); ok when it can.
FileStatus check(const QString &folder);

} // namespace DiscFolder
