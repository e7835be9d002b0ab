#include "wizard/DiscFolder.h"

#include "modules/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

FileProblem DiscFolder::kindProblem(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return FileProblem::NotFound;
    return info.isDir() ? FileProblem::None : FileProblem::NotAFolder;
}

FileStatus DiscFolder::check(const QString &folder)
{
    if (const FileProblem problem = kindProblem(folder); problem != FileProblem::None)
        return FileStatus::failed(folder, problem);
    FileStatus status =
        SettingsFile::checkWritable(QDir(folder).filePath(QStringLiteral("KORV.ini")));
    status.fileName = folder;
    return status;
}
