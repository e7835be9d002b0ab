#pragma once

#include "modules/FileEncoding.h"
#include "modules/FileStatus.h"
#include "wizard/EntryCheck.h"
#include "wizard/Fields.h"
#include "wizard/PathCleanup.h"

#include <QList>
#include <QString>

#include <optional>

class ProfileSession;

// The three saves of the wizard. Each takes its values from the windows' controls as they
// stand and hands its writes, in their fixed order, to the session, whose commit() then
// replaces the output file once.
namespace Saves {

// The output file of a save: what the output path holder says at its start.
QString outputFile(Fields &fields);

// A save: its writes to the session, with the disc roots its paths are shortened against.
using Save = FileStatus (*)(Fields &, ProfileSession &, const PathCleanup::Roots &roots);
// Runs a save into outputFile: the save's writes, then the session's commit(), each piece of
// file work through longWork; Cancelled when the user stopped it before the file was replaced,
// and then nothing is written.
FileStatus run(Save save, Fields &fields, const QString &outputFile,
               const LongWork &longWork = runAtOnce);

// "次へ" on page 1: shortens page 1's paths, then writes names and paths of slots 1 to 7.
FileStatus pageOneSave(Fields &fields, ProfileSession &session, const PathCleanup::Roots &roots);

// "完了" on page 2: shortens page 2's paths, writes slots 8 to 17, slots 1 to 7 again, the
// do-not-run flag, and the comment dialog's title and comment.
FileStatus finishingSave(Fields &fields, ProfileSession &session, const PathCleanup::Roots &roots);

// "ＯＫ" in the comment dialog: writes the title, then the comment; every write is tried.
FileStatus commentSave(Fields &fields, ProfileSession &session, const PathCleanup::Roots &roots);

// A field about to be saved that holds characters the output file cannot store.
struct Unstorable
{
    Control field;
    QString description; // how the user knows the field, e.g. "ソフトの名前 3"
    QString characters;  // each offending character once
};

// What a save into outputFile looks at before it writes: the encoding the file stores its text
// in, and the roots its entries are checked against.
struct Outlook
{
    FileEncoding encoding;
    EntryCheck::Roots roots;
};
// Looked at through longWork, as it reads the file and lists the mounts; nothing when the user
// cancelled.
std::optional<Outlook> lookAhead(const QString &outputFile, const LongWork &longWork = runAtOnce);

// What each save would have to store as "?" in a file of encoding; checked before the save, so
// the user can edit.
QList<Unstorable> unstorableInPageOneSave(Fields &fields, FileEncoding encoding);
QList<Unstorable> unstorableInFinishingSave(Fields &fields, FileEncoding encoding);
QList<Unstorable> unstorableInCommentSave(Fields &fields, FileEncoding encoding);

} // namespace Saves
