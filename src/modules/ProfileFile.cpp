#include "modules/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// More links than this in a row is a loop; the path is left for the write to fail on.
constexpr int kMaxLinkHops = 40;

// Why an existing path is no file to read or replace; empty for a regular file.
QString notARegularFile(const QFileInfo &info)
{
    if (info.isDir())
        return QStringLiteral("it is a folder");
    if (info.exists() && !info.isFile())
        return QStringLiteral("it is not a regular file");
    return {};
}

// What keeps a file from being replaced that QSaveFile would not name clearly.
QString obstacleToSave(const QFileInfo &info)
{
    if (const QString reason = notARegularFile(info); !reason.isEmpty())
        return reason;
    if (!QFileInfo(info.absolutePath()).isDir())
        return QStringLiteral("the folder %1 does not exist").arg(info.absolutePath());
    return {};
}

} // namespace

namespace ProfileFile {

QString resolvedPath(const QString &fileName)
{
    QFileInfo info(fileName);
    for (int hops = 0; info.isSymLink() && hops < kMaxLinkHops; ++hops)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

Loaded load(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        return {ProfileDocument::fromBytes({}), {}};
    // Checked before opening: opening a FIFO for reading would block.
    if (const QString reason = notARegularFile(info); !reason.isEmpty())
        return {nullptr, reason};
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {nullptr, file.errorString()};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {nullptr, file.errorString()};
    return {ProfileDocument::fromBytes(std::move(bytes)), {}};
}

WriteStatus save(const QString &fileName, const ProfileDocument &document)
{
    const QString obstacle = obstacleToSave(QFileInfo(fileName));
    if (!obstacle.isEmpty())
        return WriteStatus::failed(fileName, obstacle);
    QSaveFile out(fileName);
    // Unbuffered, so that a short write (full disk, size limit) shows at the write that
    // failed instead of being lost in a flush that commit() does not check.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteStatus::failed(fileName, out.errorString());
    if (!document.render(out)) {
        const QString reason = out.errorString();
        out.cancelWriting();
        return WriteStatus::failed(fileName, reason);
    }
    if (!out.commit())
        return WriteStatus::failed(fileName, out.errorString());
    return {fileName, {}};
}

} // namespace ProfileFile
