#pragma once

#include "modules/FileStatus.h"
#include "wizard/Fields.h"

// "読み込み！" on page 1: reading back the menu file of a disc made earlier.
namespace Import {

// Replaces the name and path of all seventeen slots, and the comment dialog's title and
// comment, with what the source settings file of the drive Drive1 shows holds, empty where it
// holds nothing; the do-not-run box and the output file stay as they are. The file is found,
// opened, checked and read through longWork, then the fields are filled at once. A file that
// is missing, not a regular file, a link to a file outside its volume, larger than a settings
// file can be or unreadable, or a reading that was cancelled, changes no field and comes back
// as the failure; the file read is its fileName either way.
FileStatus fromSourceFile(Fields &fields, const LongWork &longWork = runAtOnce);

// The same from the KORV.ini of designation, a drive's root or a folder, ending in "/".
FileStatus fromFolder(Fields &fields, const QString &designation,
                      const LongWork &longWork = runAtOnce);

} // namespace Import
