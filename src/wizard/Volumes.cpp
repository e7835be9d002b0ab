#include "wizard/Volumes.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

namespace {

// Kernel, memory and container file systems: no disc is ever on them. Fuse stays, as USB
// sticks formatted NTFS or exFAT are often mounted through it (fuseblk).
const QStringList kPseudoFileSystems{
    "autofs",  "binfmt_misc", "bpf",        "cgroup",     "cgroup2",         "configfs",
    "debugfs", "devpts",      "devtmpfs",   "efivarfs",   "fuse.gvfsd-fuse", "fuse.portal",
    "fusectl", "hugetlbfs",   "mqueue",     "nsfs",       "overlay",         "proc",
    "pstore",  "ramfs",       "rpc_pipefs", "securityfs", "squashfs",        "sysfs",
    "tmpfs",   "tracefs",
};

// Mount folders where desktops and users put discs, sticks and loop-mounted images.
const QStringList kRemovableMountFolders{"/media/", "/run/media/", "/mnt/"};
const QStringList kDiscFileSystems{"iso9660", "udf"};

Volumes::Source &installedSource()
{
    static Volumes::Source source;
    return source;
}

QString withTrailingSlash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// The root folder always stays, whatever it is: in a container it is an overlay.
bool isListed(const QString &root, const QString &fileSystemType)
{
    return root == u"/" || !kPseudoFileSystems.contains(fileSystemType);
}

// Qt's list of the mounted volumes, each with its label and file system type.
QList<Volume> fromStorage()
{
    QList<Volume> volumes;
    for (const QStorageInfo &info : QStorageInfo::mountedVolumes())
        volumes.append({info.rootPath(), info.name(), QString::fromLatin1(info.fileSystemType())});
    return volumes;
}

} // namespace

bool Volume::isRemovable() const
{
    return kDiscFileSystems.contains(fileSystemType) ||
           std::ranges::any_of(kRemovableMountFolders,
                               [this](const QString &folder) { return root.startsWith(folder); });
}

QString Volume::displayText() const
{
    return label.isEmpty() ? root : QStringLiteral("%1 — %2").arg(label, root);
}

QList<Volume> Volumes::mounted()
{
    const Source &source = installedSource();
    QList<Volume> volumes = source ? source() : fromStorage();
    for (Volume &volume : volumes)
        volume.root = withTrailingSlash(volume.root);
    volumes.removeIf(
        [](const Volume &volume) { return !isListed(volume.root, volume.fileSystemType); });
    return volumes;
}

void Volumes::setSource(Source source)
{
    installedSource() = std::move(source);
}

int Volumes::indexContaining(const QList<Volume> &volumes, const QString &path)
{
    QStringList roots;
    for (const Volume &volume : volumes)
        roots.append(volume.root);
    return int(deepestContaining(roots, path));
}

qsizetype Volumes::deepestContaining(const QStringList &roots, const QString &path)
{
    // A relative path names no place on a volume.
    if (!QDir::isAbsolutePath(path))
        return -1;
    const QString folder = withTrailingSlash(QDir::cleanPath(path));
    qsizetype deepest = -1;
    qsizetype deepestLength = 0;
    for (qsizetype i = 0; i < roots.size(); ++i) {
        const QString root = withTrailingSlash(roots[i]);
        if (folder.startsWith(root) && root.size() > deepestLength) {
            deepest = i;
            deepestLength = root.size();
        }
    }
    return deepest;
}
