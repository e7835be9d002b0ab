#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// A line of the kernel's table of what is mounted where.
struct MountEntry
{
    QString folder;         // where it is mounted, the kernel's escapes undone
    QString fileSystemType; // "ext4", "tmpfs", ...
};

// The kernel's mount table, /proc/self/mountinfo.
namespace MountTable {

// Its lines in its order; nothing when it cannot be read.
std::optional<QList<MountEntry>> read();
// One line's mount folder and file system type; nothing for what is no such line.
std::optional<MountEntry> parseLine(QByteArrayView line);

} // namespace MountTable
