#include "modules/ProfileFile.h"

#include "modules/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// More links than this in a row is a loop; the path is left for the write to fail on.
constexpr int kMaxLinkHops = 40;
// Enough of a file's start to tell its byte order mark (UTF-32's FF FE 00 00 included).
constexpr qint64 kByteOrderMarkProbe = 4;
// A file this small is read whole at once: its lookups read nothing more.
constexpr qint64 kWholeFileBytes = 1 << 20;

// Why an open file is no file to read or replace; None for a regular file.
FileProblem kindProblem(const struct stat &info)
{
    if (S_ISDIR(info.st_mode))
        return FileProblem::IsFolder;
    return S_ISREG(info.st_mode) ? FileProblem::None : FileProblem::NotRegularFile;
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

Loaded load(const QString &fileName, const std::atomic<bool> &cancelled,
            const ExpectedNames &expected, const LinkCheck &checkLink)
{
    const QByteArray path = QFile::encodeName(fileName);
    // Without blocking, so that a FIFO cannot hang the wizard before its type is known.
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.constData(), kFlags | (checkLink ? O_NOFOLLOW : 0));
    if (fd < 0 && errno == ELOOP && checkLink) {
        if (const FileProblem problem = checkLink(fileName); problem != FileProblem::None)
            return {nullptr, FileStatus::failed(fileName, problem)};
        fd = ::open(path.constData(), kFlags);
    }
    if (fd < 0 && errno == ENOENT)
        return {ProfileDocument::open({}, cancelled, expected), {fileName}};
    if (fd < 0)
        return {nullptr, FileStatus::fromErrno(fileName, errno)};
    struct stat info
    {
    };
    const FileProblem problem = fstat(fd, &info) == 0 ? kindProblem(info) : FileProblem::ReadFailed;
    OpenedFile opened{FileDescriptor(fd), FileIdentity::of(info), {}};
    if (problem != FileProblem::None)
        return {nullptr, FileStatus::failed(fileName, problem)};
    opened.start.resize(info.st_size <= kWholeFileBytes ? info.st_size : kByteOrderMarkProbe);
    if (!opened.file.readAt(0, opened.start.data(), opened.start.size()))
        return {nullptr, FileStatus::failed(fileName, FileProblem::ReadFailed)};
    return {ProfileDocument::open(std::move(opened), cancelled, expected), {fileName}};
}

FileStatus save(const QString &fileName, ProfileDocument &document,
                const std::function<bool()> &goOn)
{
    AtomicFile::removeLeftovers(fileName);
    if (!document.isDirty())
        return {fileName};
    const FileIdentity &old = document.identity();
    AtomicFile out(fileName, old.exists ? std::optional(old.permissions) : std::nullopt);
    if (!out.open())
        return out.status();
    if (!document.render(out)) {
        const FileProblem problem = document.readProblem();
        return problem != FileProblem::None ? FileStatus::failed(fileName, problem) : out.status();
    }
    if (!out.sync())
        return out.status();
    if (!goOn())
        return FileStatus::failed(fileName, FileProblem::Cancelled);
    if (!(FileIdentity::ofPath(fileName) == document.identity()))
        return FileStatus::failed(fileName, FileProblem::ChangedMeanwhile);
    if (!out.replace())
        return out.status();
    return {fileName};
}

} // namespace ProfileFile
