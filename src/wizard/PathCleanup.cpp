#include "wizard/PathCleanup.h"

QString PathCleanup::withoutDrivePrefix(const QString &path)
{
    // Only the third character is looked at: "D:\" and also "AB\" count as a prefix.
    return path.mid(2, 1) == QLatin1String("\\") ? path.mid(3) : path;
}

void PathCleanup::removeDrivePrefix(Fields &fields, Control pathField)
{
    const QString path = fields.text(pathField);
    const QString shortened = withoutDrivePrefix(path);
    if (shortened != path)
        fields.setText(pathField, shortened);
}
