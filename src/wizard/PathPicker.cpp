#include "wizard/PathPicker.h"

#include <QDir>
#include <QFileInfo>

QStringList PathPicker::nameFilters()
{
    // The disc's own filter, "実行可能なファイル|*.EXE|すべてのファイル|*.*|", where names match
    // in any case and "*.*" also matches a name without a dot, such as README.
    return {QStringLiteral("実行可能なファイル (%1)").arg(executablePattern()),
            QStringLiteral("すべてのファイル (*)")};
}

namespace {

QString startFolder(const QString &path, const QString &outputFolder)
{
    if (!path.isEmpty()) {
        // Paths on the disc are kept with backslashes.
        QString file = path;
        file.replace(u'\\', u'/');
        const QFileInfo folder(QFileInfo(QDir(outputFolder).absoluteFilePath(file)).absolutePath());
        if (folder.isDir())
            return folder.absoluteFilePath();
    }
    return outputFolder;
}

} // namespace

void PathPicker::browse(Fields &fields, Control pathField, FileChooser &chooser)
{
    const QString outputFolder = QFileInfo(fields.text(kOutputPathHolder)).absolutePath();
    if (const std::optional<QString> file =
            chooser.openFile(nameFilters(), startFolder(fields.text(pathField), outputFolder)))
        fields.setText(pathField, QDir::toNativeSeparators(*file));
}
