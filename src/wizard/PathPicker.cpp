#include "wizard/PathPicker.h"

#include <QDir>

QStringList PathPicker::nameFilters()
{
    // The disc's own filter, "実行可能なファイル|*.EXE|すべてのファイル|*.*|", where "*.*" also
    // matches a name without a dot, such as README.
    return {QStringLiteral("実行可能なファイル (%1)").arg(executablePattern()),
            QStringLiteral("すべてのファイル (*)")};
}

void PathPicker::browse(Fields &fields, Control pathField, FileChooser &chooser)
{
    if (const std::optional<QString> file = chooser.openFile(nameFilters()))
        fields.setText(pathField, QDir::toNativeSeparators(*file));
}
