#include "wizard/DiscFolder.h"

#include "modules/AtomicFile.h"

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
    // A save's own temporary file: removed when it goes out of scope, and recognised by the
    // next save should the program be killed before that.
    AtomicFile probe(QDir(folder).filePath(QStringLiteral("KORV.ini")));
    probe.open();
    FileStatus status = probe.status();
    status.fileName = folder;
    return status;
}
