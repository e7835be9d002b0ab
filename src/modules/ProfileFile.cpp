#include "modules/ProfileFile.h"

#include "modules/SaveLeftovers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// More links than this in a row is a loop; the path is left for the write to fail on.
constexpr int kMaxLinkHops = 40;
// Enough of a file's start to tell its byte order mark (UTF-32's FF FE 00 00 included).
constexpr qint64 kByteOrderMarkProbe = 4;

// Why an existing path is no file to read or replace; empty for a regular file.
QString notARegularFile(const QFileInfo &info)
{
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります");
    if (info.exists() && !info.isFile())
        return QStringLiteral("普通のファイルではありません");
    return {};
}

// What keeps a file from being replaced that QSaveFile would not name clearly.
QString obstacleToSave(const QFileInfo &info)
{
    if (const QString reason = notARegularFile(info); !reason.isEmpty())
        return reason;
    // A file that exists has its folder: only a new file's folder needs looking at.
    if (!info.exists() && !QFileInfo(info.absolutePath()).isDir())
        return QStringLiteral("フォルダー「%1」がありません").arg(info.absolutePath());
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
    // Checked before opening: opening a FIFO for reading would block. Asked first, the type
    // takes one stat that also tells whether the file exists.
    if (const QString reason = notARegularFile(info); !reason.isEmpty())
        return {nullptr, reason};
    if (!info.exists())
        return {ProfileDocument::open(nullptr, {}), {}};
    auto file = std::make_unique<QFile>(fileName);
    // Unbuffered: the file is read in pieces of a megabyte, which a buffer would only copy.
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {nullptr, file->errorString()};
    const QByteArray head = file->read(kByteOrderMarkProbe);
    if (file->error() != QFileDevice::NoError)
        return {nullptr, file->errorString()};
    return {ProfileDocument::open(std::move(file), head), {}};
}

WriteStatus save(const QString &fileName, ProfileDocument &document)
{
    if (!document.isDirty()) {
        SaveLeftovers::remove(fileName);
        return {fileName, {}};
    }
    const QString obstacle = obstacleToSave(QFileInfo(fileName));
    if (!obstacle.isEmpty())
        return WriteStatus::failed(fileName, obstacle);
    const SaveLeftovers leftovers(fileName);
    QSaveFile out(fileName);
    // Unbuffered, so that a short write (full disk, size limit) shows at the write that
    // failed instead of being lost in a flush that commit() does not check.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteStatus::failed(fileName, out.errorString());
    if (const QString reason = document.render(out); !reason.isEmpty()) {
        out.cancelWriting();
        return WriteStatus::failed(fileName, reason);
    }
    if (!out.commit())
        return WriteStatus::failed(fileName, out.errorString());
    return {fileName, {}};
}

} // namespace ProfileFile
