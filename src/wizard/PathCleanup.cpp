#include "wizard/PathCleanup.h"

#include <QDir>

QString PathCleanup::withoutDrivePrefix(const QString &path)
{
    const bool drive = path.size() >= 3 && path[0].isLetter() && path[0].unicode() < 0x80 &&
                       path[1] == u':' && path[2] == u'\\';
    return drive ? path.mid(3) : path;
}

QStringList PathCleanup::discRoots(const QList<Volume> &volumes, const QString &outputFolder)
{
    QStringList roots;
    for (const Volume &volume : volumes) {
        if (volume.isRemovable())
            roots.append(volume.root);
    }
    if (!outputFolder.isEmpty()) {
        // A file browsed to through the folder's real path counts as well.
        roots.append(QDir::cleanPath(QDir(outputFolder).absolutePath()));
        const QString real = QDir(outputFolder).canonicalPath();
        if (!real.isEmpty() && !roots.contains(real))
            roots.append(real);
    }
    return roots;
}

QString PathCleanup::withoutDiscRoot(const QString &path, const QStringList &roots)
{
    // Cleaned, so that "//" or ".." cannot leave a piece of the root behind.
    const QString cleaned = QDir::cleanPath(path);
    const qsizetype index = Volumes::deepestContaining(roots, cleaned);
    if (index < 0)
        return path;
    const QString root = roots[index].endsWith(u'/') ? roots[index] : roots[index] + u'/';
    return cleaned.mid(root.size()).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString PathCleanup::shortened(const QString &path, const Roots &roots)
{
    const QString withoutDrive = withoutDrivePrefix(path);
    // Only an absolute path lies under a root; listing the volumes reads the whole mount table.
    return QDir::isAbsolutePath(withoutDrive) ? withoutDiscRoot(withoutDrive, roots())
                                              : withoutDrive;
}

void PathCleanup::removeDrivePrefix(Fields &fields, Control pathField, const Roots &roots)
{
    const QString path = fields.text(pathField);
    const QString saved = shortened(path, roots);
    if (saved != path)
        fields.setText(pathField, saved);
}
