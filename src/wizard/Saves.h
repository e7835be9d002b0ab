#pragma once

#include "modules/FileStatus.h"
#include "wizard/Fields.h"

#include <QList>
#include <QString>

class ProfileSession;

// The three saves of the wizard. Each takes its values from the windows' controls as they
// stand and hands its writes, in their fixed order, to the session, whose commit() then
// replaces the output file once.
namespace Saves {

// The output file of a save: what the output path holder says at its start.
QString outputFile(Fields &fields);

using Save = FileStatus (*)(Fields &, ProfileSession &);
// Runs a save into outputFile: the save's writes, then the session's commit() through
// longWork; Cancelled when the user stopped it, and then nothing is written.
FileStatus run(Save save, Fields &fields, const QString &outputFile,
               const LongWork &longWork = runAtOnce);

// "次へ" on page 1: shortens page 1's paths, then writes names and paths of slots 1 to 7.
FileStatus pageOneSave(Fields &fields, ProfileSession &session);

// "完了" on page 2: shortens page 2's paths, writes slots 8 to 17, slots 1 to 7 again, the
// do-not-run flag, and the comment dialog's title and comment.
FileStatus finishingSave(Fields &fields, ProfileSession &session);

// "ＯＫ" in the comment dialog: writes the title, then the comment; every write is tried.
FileStatus commentSave(Fields &fields, ProfileSession &session);

// A field about to be saved that holds characters the output file cannot store.
struct Unstorable
{
    Control field;
    QString description; // how the user knows the field, e.g. "ソフトの名前 3"
    QString characters;  // each offending character once
};

// What each save would have to store as "?" in outputFile as it is now; checked before the
// save, so the user can edit.
QList<Unstorable> unstorableInPageOneSave(Fields &fields, const QString &outputFile);
QList<Unstorable> unstorableInFinishingSave(Fields &fields, const QString &outputFile);
QList<Unstorable> unstorableInCommentSave(Fields &fields, const QString &outputFile);

} // namespace Saves
