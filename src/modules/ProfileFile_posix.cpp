#include "modules/FileDescriptor.h"
#include "modules/FileIdentity.h"
#include "modules/ProfileFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileIdentity identityOf(const struct stat &info)
{
    return {true,
            quint64(info.st_dev),
            quint64(info.st_ino),
            qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
            quint32(info.st_mode & 07777)};
}

// Why an open file is no file to read or replace; None for a regular file.
FileProblem kindProblem(const struct stat &info)
{
    if (S_ISDIR(info.st_mode))
        return FileProblem::IsFolder;
    return S_ISREG(info.st_mode) ? FileProblem::None : FileProblem::NotRegularFile;
}

} // namespace

FileDescriptor::~FileDescriptor()
{
    if (m_handle != kNone)
        ::close(int(m_handle));
}

bool FileDescriptor::readAt(qint64 offset, void *data, qint64 size) const
{
    char *at = static_cast<char *>(data);
    while (size > 0) {
        const ssize_t got = ::pread(int(m_handle), at, size_t(size), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        at += got;
        offset += got;
        size -= got;
    }
    return true;
}

FileIdentity FileIdentity::ofPath(const QString &fileName)
{
    struct stat info
    {
    };
    return stat(QFile::encodeName(fileName).constData(), &info) == 0 ? identityOf(info)
                                                                     : FileIdentity();
}

ProfileFile::OpenedForReading ProfileFile::openForReading(const QString &fileName,
                                                          const LinkCheck &checkLink)
{
    const QByteArray path = QFile::encodeName(fileName);
    // Without blocking, so that a FIFO cannot hang the wizard before its type is known.
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.constData(), kFlags | (checkLink ? O_NOFOLLOW : 0));
    if (fd < 0 && errno == ELOOP && checkLink) {
        if (const FileProblem problem = checkLink(fileName); problem != FileProblem::None)
            return {{}, {}, FileStatus::failed(fileName, problem)};
        fd = ::open(path.constData(), kFlags);
    }
    if (fd < 0)
        return {{}, {}, FileStatus::fromSystemError(fileName, errno)};
    FileDescriptor file(fd);
    struct stat info
    {
    };
    if (fstat(fd, &info) != 0)
        return {{}, {}, FileStatus::failed(fileName, FileProblem::ReadFailed)};
    if (const FileProblem problem = kindProblem(info); problem != FileProblem::None)
        return {{}, {}, FileStatus::failed(fileName, problem)};
    return {std::move(file), identityOf(info), {fileName}};
}
