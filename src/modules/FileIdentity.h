#pragma once

#include <QString>
#include <QtGlobal>

// What tells whether a file is still the one that was read: the file itself (device and
// inode; volume serial number and file index on Windows), its size and the time of its last
// change.
struct FileIdentity
{
    bool exists = false;
    quint64 device = 0;
    quint64 file = 0;
    qint64 size = 0;
    qint64 modified = 0;     // in the system's own unit and epoch
    quint32 permissions = 0; // what a file that replaces it keeps; no part of its identity

    // The file that the name leads to now; exists is false when there is none.
    static FileIdentity ofPath(const QString &fileName);

    bool operator==(const FileIdentity &other) const
    {
        return exists == other.exists &&
               (!exists || (device == other.device && file == other.file && size == other.size &&
                            modified == other.modified));
    }
};
