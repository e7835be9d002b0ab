#pragma once

#include "wizard/Fields.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// What will not work on the disc in the entries a save is about to write, found before it
// writes them, so that the author can mend it first.
namespace EntryCheck {
Q_NAMESPACE

// Where the paths a save writes lead.
struct Roots
{
    // What the save removes from the start of a full path (PathCleanup::discRoots: the output
    // folder, the removable volumes); a full path under none of them stays full.
    QStringList discRoots;
    // The folder that becomes the disc: the output folder, unless that is the program's own,
    // where KORV.ini waits to be copied to a disc the wizard does not know, or is not there.
    // Empty then.
    QString discFolder;
};

// The roots of a save into outputFile, with the volumes mounted now.
Roots rootsFor(const QString &outputFile);

enum class Fault {
    AbsolutePath,    // a full path, which the launcher cannot find on the disc
    FileMissing,     // nothing of that name under the disc's root
    NameWithoutPath, // a button that runs nothing
    PathWithoutName, // a button without a caption
    MenuNotShown,    // slot 2's name is empty, so the launcher runs slot 1 and shows no menu
    NameTooLong,     // longer than the launcher reads back
    PathTooLong,
    LauncherMissing, // no KORVANE.EXE in the disc folder
};
Q_ENUM_NS(Fault)

struct Problem
{
    Fault fault;
    int slot;                     // 0 for the disc as a whole
    std::optional<Control> field; // where the author mends it
    QString path;                 // the path as the save writes it
    QString root;                 // the folder it was looked for in
};

// "次へ": slots 1 to 7, in slot order.
QList<Problem> inPageOneSave(Fields &fields, const Roots &roots);
// "完了": slots 8 to 17, then 1 to 7, as the save writes them, then the disc folder.
QList<Problem> inFinishingSave(Fields &fields, const Roots &roots);

} // namespace EntryCheck
