#include "wizard/PathCleanup.h"

#include <QDir>

QString PathCleanup::withoutDrivePrefix(const QString &path)
{
    // Only the third character is looked at: "D:\" and also "AB\" count as a prefix.
    return path.mid(2, 1) == QLatin1String("\\") ? path.mid(3) : path;
}

QString PathCleanup::withoutDiscRoot(const QString &path, const QList<Volume> &volumes)
{
    // Cleaned, so that "//" or ".." cannot leave a piece of the root behind.
    const QString cleaned = QDir::cleanPath(path);
    const int index = Volumes::indexContaining(volumes, cleaned);
    // Relative and Windows text lies on no volume; on a system volume the disc's root is
    // unknown. Both stay as typed.
    if (index < 0 || !volumes[index].isRemovable())
        return path;
    return cleaned.mid(volumes[index].root.size()).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

void PathCleanup::removeDrivePrefix(Fields &fields, Control pathField,
                                    const Volumes::Source &volumes)
{
    const QString path = fields.text(pathField);
    const QString withoutDrive = withoutDrivePrefix(path);
    // Only an absolute path lies on a volume; listing them reads the whole mount table.
    const QString shortened = QDir::isAbsolutePath(withoutDrive)
                                  ? withoutDiscRoot(withoutDrive, volumes())
                                  : withoutDrive;
    if (shortened != path)
        fields.setText(pathField, shortened);
}
