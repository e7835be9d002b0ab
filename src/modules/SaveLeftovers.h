#pragma once

#include <QString>

// Where the file system lacks unnamed files (FAT, NFS, older overlay mounts), QSaveFile
// writes into "<name>.XXXXXX" (six letters) beside the file, and a save killed midway leaves
// that file behind for good. While a save runs, a note beside the file lists the names of
// that shape that were there before it; the next save that finds the note removes the
// others. Names are compared whole, so a user's "KORV.ini.backup" is never touched.
class SaveLeftovers
{
public:
    // Removes what a killed save of fileName left behind, if one was killed.
    static void remove(const QString &fileName);

    // Cleans up after a killed save of fileName, then notes what is there now.
    explicit SaveLeftovers(const QString &fileName);
    // The save is over, whichever way: its note goes.
    ~SaveLeftovers();
    SaveLeftovers(const SaveLeftovers &) = delete;
    SaveLeftovers &operator=(const SaveLeftovers &) = delete;

private:
    QString m_note;
};
