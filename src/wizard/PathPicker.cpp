#include "wizard/PathPicker.h"

#include "wizard/FileFilter.h"

#include <QDir>

QStringList PathPicker::nameFilters()
{
    return FileFilters::nameFilters(
        QStringLiteral("実行可能なファイル|*.EXE|すべてのファイル|*.*|"));
}

void PathPicker::browse(Fields &fields, Control pathField, FileChooser &chooser)
{
    if (const std::optional<QString> file = chooser.openFile(nameFilters()))
        fields.setText(pathField, QDir::toNativeSeparators(*file));
}
