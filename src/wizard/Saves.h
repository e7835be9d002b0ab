#pragma once

#include "modules/WriteStatus.h"
#include "wizard/Fields.h"

#include <QList>
#include <QString>

// The three saves of the wizard. Each takes its values from the windows' controls as they
// stand, writes its keys in a fixed order and replaces the output file once.
namespace Saves {

// "次へ" on page 1: shortens page 1's paths, then writes names and paths of slots 1 to 7.
WriteStatus pageOneSave(Fields &fields);

// "完了" on page 2: shortens page 2's paths, writes slots 8 to 17, slots 1 to 7 again, the
// do-not-run flag, and an empty title or comment of the comment dialog.
WriteStatus finishingSave(Fields &fields);

// "ＯＫ" in the comment dialog: writes the title, then the comment; every write is tried.
WriteStatus commentSave(Fields &fields);

// A field about to be saved that holds characters the settings file cannot store.
struct Unstorable
{
    Control field;
    QString description; // how the user knows the field, e.g. "ソフトの名前 3"
    QString characters;  // each offending character once
};

// What each save would have to store as "?"; checked before the save, so the user can edit.
QList<Unstorable> unstorableInPageOneSave(Fields &fields);
QList<Unstorable> unstorableInFinishingSave(Fields &fields);
QList<Unstorable> unstorableInCommentSave(Fields &fields);

} // namespace Saves
