#include "modules/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kMark[] = ".korvane-saving-";
constexpr int kRandomDigits = 16;

// ".KORV.ini.korvane-saving-": what every temporary file of fileName's saves starts with.
QByteArray temporaryStart(const QFileInfo &file)
{
    return '.' + QFile::encodeName(file.fileName()) + kMark;
}

// The process that made the temporary file called name, when name is one of ours.
std::optional<pid_t> makerOf(const QByteArray &name, const QByteArray &start)
{
    if (!name.startsWith(start))
        return std::nullopt;
    const QByteArray rest = name.mid(start.size());
    const qsizetype dash = rest.indexOf('-');
    const QByteArray pid = rest.left(dash);
    const QByteArray random = rest.mid(dash + 1);
    const bool digits = !pid.isEmpty() && std::all_of(pid.begin(), pid.end(), ::isdigit);
    const bool hex = random.size() == kRandomDigits &&
                     std::all_of(random.begin(), random.end(),
                                 [](char c) { return ::isdigit(c) || (c >= 'a' && c <= 'f'); });
    if (dash < 0 || !digits || !hex)
        return std::nullopt;
    return pid_t(pid.toLong());
}

bool hasEnded(pid_t process)
{
    return process == getpid() || (kill(process, 0) != 0 && errno == ESRCH);
}

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

AtomicFile::AtomicFile(const QString &fileName, std::optional<mode_t> permissions)
    : m_fileName(fileName), m_permissions(permissions), m_status{fileName}
{}

AtomicFile::~AtomicFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
}

bool AtomicFile::open(OpenMode mode)
{
    const QFileInfo file(m_fileName);
    // One number straight from the system: the global generator would first seed itself with
    // hundreds of them, a fifth of a millisecond before the first save or the start-up check.
    m_temporary =
        file.absolutePath() + u'/' + QFile::decodeName(temporaryStart(file)) +
        QStringLiteral("%1-%2").arg(getpid()).arg(QRandomGenerator::system()->generate64(),
                                                  kRandomDigits, 16, QLatin1Char('0'));
    m_fd = ::open(QFile::encodeName(m_temporary).constData(),
                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        const int error = errno;
        m_temporary.clear();
        if (error == ENOENT && !QFileInfo(file.absolutePath()).isDir()) {
            m_status =
                FileStatus::failed(m_fileName, FileProblem::FolderMissing, file.absolutePath());
            return false;
        }
        return fail(error);
    }
    if (m_permissions)
        fchmod(m_fd, *m_permissions);
    return QIODevice::open(mode);
}

bool AtomicFile::sync()
{
    QIODevice::close();
    int error = fsync(m_fd) == 0 ? 0 : errno;
    if (::close(m_fd) != 0 && error == 0)
        error = errno;
    m_fd = -1;
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

void AtomicFile::removeLeftovers(const QString &fileName)
{
    const QFileInfo file(fileName);
    const QByteArray folder = QFile::encodeName(file.absolutePath());
    const QByteArray start = temporaryStart(file);
    DIR *dir = opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (const std::optional<pid_t> maker = makerOf(name, start); maker && hasEnded(*maker))
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

qint64 AtomicFile::readData(char *, qint64)
{
    return -1;
}

qint64 AtomicFile::writeData(const char *data, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        const ssize_t n = ::write(m_fd, data + written, size_t(size - written));
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

bool AtomicFile::fail(int error)
{
    if (m_status.ok())
        m_status = FileStatus::fromErrno(m_fileName, error);
    return false;
}
