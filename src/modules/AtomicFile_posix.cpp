#include "modules/AtomicFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Some file systems cannot sync a folder and say so: nothing is lost there by going on.
    const bool synced = fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

} // namespace

std::optional<int> AtomicFile::createTemporary()
{
    const int fd = ::open(QFile::encodeName(m_temporary).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    m_handle = fd;
    if (m_permissions)
        fchmod(fd, mode_t(*m_permissions));
    return std::nullopt;
}

void AtomicFile::closeTemporary()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
    m_handle = -1;
}

bool AtomicFile::sync()
{
    QIODevice::close();
    int error = fsync(int(m_handle)) == 0 ? 0 : errno;
    if (::close(int(m_handle)) != 0 && error == 0)
        error = errno;
    m_handle = -1;
    return error == 0 || fail(error);
}

bool AtomicFile::replace()
{
    if (::rename(QFile::encodeName(m_temporary).constData(),
                 QFile::encodeName(m_fileName).constData()) != 0)
        return fail(errno);
    m_temporary.clear();
    return syncFolder(QFile::encodeName(QFileInfo(m_fileName).absolutePath())) || fail(errno);
}

void AtomicFile::removeIfAbandoned(const QString &path, qint64 maker)
{
    const bool ended = maker == QCoreApplication::applicationPid() ||
                       (kill(pid_t(maker), 0) != 0 && errno == ESRCH);
    if (ended)
        ::unlink(QFile::encodeName(path).constData());
}

qint64 AtomicFile::writeData(const char *data, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        const ssize_t n = ::write(int(m_handle), data + written, size_t(size - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(n < 0 ? errno : EIO);
            return -1;
        }
        written += n;
    }
    return written;
}
