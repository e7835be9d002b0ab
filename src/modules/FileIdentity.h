#pragma once

#include <QFile>
#include <QString>

#include <sys/stat.h>

// What tells whether a file is still the one that was read: the file itself (device and
// inode), its size and the time of its last change.
struct FileIdentity
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    mode_t permissions = 0; // what a file that replaces it keeps; no part of its identity

    static FileIdentity of(const struct stat &info)
    {
        return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_mode & 07777};
    }
    // The file that the name leads to now; exists is false when there is none.
    static FileIdentity ofPath(const QString &fileName)
    {
        struct stat info
        {
        };
        return stat(QFile::encodeName(fileName).constData(), &info) == 0 ? of(info)
                                                                         : FileIdentity();
    }

    bool operator==(const FileIdentity &other) const
    {
        return exists == other.exists &&
               (!exists || (device == other.device && inode == other.inode && size == other.size &&
                            modified.tv_sec == other.modified.tv_sec &&
                            modified.tv_nsec == other.modified.tv_nsec));
    }
};
