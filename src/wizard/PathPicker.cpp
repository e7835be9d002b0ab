#include "wizard/PathPicker.h"

QStringList PathPicker::nameFilters()
{
    // The disc's own filter, "実行可能なファイル|*.EXE|すべてのファイル|*.*|", where names match
    // in any case and "*.*" also matches a name without a dot, such as README.
    return {QStringLiteral("実行可能なファイル (*.[Ee][Xx][Ee])"),
            QStringLiteral("すべてのファイル (*)")};
}

void PathPicker::browse(Fields &fields, Control pathField, FileChooser &chooser)
{
    if (const std::optional<QString> file = chooser.openFile(nameFilters()))
        fields.setText(pathField, *file);
}
