#pragma once

#include "modules/FileStatus.h"

#include <QString>

// The folder KORV.ini is written into, which becomes the root of the disc.
namespace DiscFolder {

// Why KORV.ini cannot be written into folder: it is not there (NotFound), it is a file
// (NotAFolder), or the file system refuses a new file in it (tried by making one and removing
// it again, since mode bits do not stop root while a read-only mount does); ok when it can.
FileStatus check(const QString &folder);

} // namespace DiscFolder
