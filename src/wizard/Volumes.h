#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// A mounted volume a disc can be on, as the drive list shows it.
struct Volume
{
    QString root;           // the mount folder or the drive ("D:/"), ending in "/"
    QString label;          // the volume's name, may be empty
    QString fileSystemType; // "iso9660", "udf", "ext4", ...

    // A disc, a loop-mounted image or a stick: where a path's root is the disc root.
    bool isRemovable() const;
    // What the drive list shows: the label first when there is one, then the root, as the
    // system writes it ("D:\" on Windows).
    QString displayText() const;
};

namespace Volumes {

using Source = std::function<QList<Volume>()>;

// The mounted volumes, pseudo file systems left out; from QStorageInfo unless a test
// installed its own source.
QList<Volume> mounted();
void setSource(Source source);

// The volume holding path (the deepest root that contains it); -1 when none does.
int indexContaining(const QList<Volume> &volumes, const QString &path);
// The deepest of the folders roots that contains path; -1 when none does or path is relative.
qsizetype deepestContaining(const QStringList &roots, const QString &path);

} // namespace Volumes
