#include "wizard/DiscFolder.h"

#include "modules/AtomicFile.h"

#include <QDir>
#include <QFileInfo>

FileStatus DiscFolder::check(const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists())
        return FileStatus::failed(folder, FileProblem::NotFound);
    if (!info.isDir())
        return FileStatus::failed(folder, FileProblem::NotAFolder);
    // A save's own temporary file: removed when it goes out of scope, and recognised by the
    // next save should the program be killed before that.
    AtomicFile probe(QDir(folder).filePath(QStringLiteral("KORV.ini")));
    probe.open();
    FileStatus status = probe.status();
    status.fileName = folder;
    return status;
}
