#include "modules/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// What the system tells of a file: its kind, size, owner, mode, device and inode.
using Stat = struct stat;

// How often a save waiting for another wizard's save looks again, and whether it was cancelled.
constexpr int kLockRetryMs = 10;
// A file is read in steps of this, so that a cancel is seen between them.
constexpr qsizetype kReadStep = 64 * 1024;

// An open file of the system's, closed when it goes.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Reads the open file whole into bytes, or says why not.
FileStatus readWhole(const QString &fileName, int fd, const std::atomic<bool> &cancelled,
                     QByteArray &bytes, Stat &info)
{
    if (fstat(fd, &info) != 0)
        return FileStatus::fromErrno(fileName, errno);
    if (!S_ISREG(info.st_mode))
        return FileStatus::failed(fileName, S_ISDIR(info.st_mode) ? FileProblem::IsFolder
                                                                  : FileProblem::NotRegularFile);
    if (info.st_size > SettingsFile::kMaxBytes)
        return SettingsFile::tooLarge(fileName);
    // One byte more than the limit shows a file that grew past it.
    bytes.resize(info.st_size + 1);
    qsizetype size = 0;
    while (size <= SettingsFile::kMaxBytes) {
        if (cancelled.load(std::memory_order_relaxed))
            return FileStatus::failed(fileName, FileProblem::Cancelled);
        if (size == bytes.size())
            bytes.resize(std::min<qsizetype>(size * 2, SettingsFile::kMaxBytes + 1));
        const ssize_t got =
            ::read(fd, bytes.data() + size, size_t(std::min(bytes.size() - size, kReadStep)));
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            return FileStatus::fromErrno(fileName, errno);
        size += std::max<ssize_t>(got, 0);
    }
    bytes.truncate(size);
    return size > SettingsFile::kMaxBytes ? SettingsFile::tooLarge(fileName) : FileStatus{fileName};
}

// The path the system opened fd under, as /proc tells it.
QByteArray realPath(int fd)
{
    QByteArray path(PATH_MAX, '\0');
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t size = readlink(link.constData(), path.data(), path.size());
    return size > 0 && size < path.size() ? path.first(size) : QByteArray();
}

// Whether the opened file is really in the opened folder: what was checked is what is read.
bool isInside(int file, int folder)
{
    const QByteArray real = realPath(file);
    const QByteArray inside = realPath(folder);
    return !real.isEmpty() && !inside.isEmpty() &&
           real.startsWith(inside.endsWith('/') ? inside : inside + '/');
}

bool sameFile(const Stat &a, const Stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Reads the file called name in folder. Without blocking, so that a FIFO cannot hang the
// reader before its type is known; when confined, only a file really in that folder.
SettingsFile::Content readAt(const QString &fileName, int folder, const QByteArray &name,
                             const std::atomic<bool> &cancelled, Stat &info, bool confined = false)
{
    SettingsFile::Content content;
    const Descriptor file(::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    content.exists = file.isOpen() || errno != ENOENT;
    if (!file.isOpen() && content.exists) {
        // A socket is no file, whatever the system calls it.
        const bool socket = errno == ENXIO && fstatat(folder, name.constData(), &info, 0) == 0;
        content.status = socket ? FileStatus::failed(fileName, FileProblem::NotRegularFile)
                                : FileStatus::fromErrno(fileName, errno);
    } else if (file.isOpen() && confined && !isInside(file.get(), folder)) {
        content.status = FileStatus::failed(fileName, FileProblem::LinkLeavesVolume);
    } else if (file.isOpen()) {
        content.status = readWhole(fileName, file.get(), cancelled, content.bytes, info);
    }
    content.status.fileName = fileName;
    if (!content.status.ok())
        content.bytes.clear();
    return content;
}

// The reason of each error number a read or a save can meet; any other is told by its number.
constexpr SettingsFile::SystemReason kReasons[] = {
    {ENOENT, FileProblem::NotFound},
    {EISDIR, FileProblem::IsFolder},
    {ENOTDIR, FileProblem::NotAFolder},
    {ENXIO, FileProblem::NotRegularFile},
    {ENODEV, FileProblem::NotRegularFile},
    {EROFS, FileProblem::ReadOnlyFileSystem},
    {EACCES, FileProblem::AccessDenied},
    {EPERM, FileProblem::NotPermitted},
    {ENOSPC, FileProblem::DiskFull},
    {EDQUOT, FileProblem::QuotaExceeded},
    {EFBIG, FileProblem::FileTooLarge},
    {EIO, FileProblem::DiskError},
    {ENAMETOOLONG, FileProblem::PathTooLong},
    {ELOOP, FileProblem::TooManyLinks},
    {EMFILE, FileProblem::TooManyOpenFiles},
    {ENFILE, FileProblem::TooManyOpenFiles},
    {ENOMEM, FileProblem::OutOfMemory},
    {EBUSY, FileProblem::Busy},
    {ETXTBSY, FileProblem::Busy},
    {ESTALE, FileProblem::NetworkFailed},
    {ENOTCONN, FileProblem::NetworkFailed},
    {ETIMEDOUT, FileProblem::NetworkFailed},
    {EHOSTDOWN, FileProblem::NetworkFailed},
    {ECOMM, FileProblem::NetworkFailed},
};

} // namespace

namespace SettingsFile {

const std::span<const SystemReason> systemReasons = kReasons;

Content read(const QString &fileName, const std::atomic<bool> &cancelled, bool confined)
{
    const QFileInfo info(fileName);
    const Descriptor folder(::open(QFile::encodeName(info.absolutePath()).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen())
        return {errno == ENOENT ? FileStatus{fileName} : FileStatus::fromErrno(fileName, errno),
                false,
                {}};
    Stat opened{};
    return readAt(fileName, folder.get(), QFile::encodeName(info.fileName()), cancelled, opened,
                  confined);
}

struct Save::Private
{
    Private(const QString &file, const std::atomic<bool> &cancel)
        : fileName(file), folderPath(QFile::encodeName(QFileInfo(file).absolutePath())),
          name(QFile::encodeName(QFileInfo(file).fileName())), cancelled(cancel)
    {}

    QString fileName;
    QByteArray folderPath;
    QByteArray name;
    const std::atomic<bool> &cancelled;
    Descriptor folder;
    Content read;
    Stat readInfo{};
    QByteArray temporaryName;
    Descriptor temporary;

    bool isCancelled() const { return cancelled.load(std::memory_order_relaxed); }
    FileStatus failed(int error) const { return FileStatus::fromErrno(fileName, error); }
    FileStatus failed(FileProblem problem) const { return FileStatus::failed(fileName, problem); }

    FileStatus openFolder()
    {
        folder = Descriptor(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.isOpen())
            return {fileName};
        if (errno == ENOENT)
            return FileStatus::failed(fileName, FileProblem::FolderMissing,
                                      QFile::decodeName(folderPath));
        return failed(errno);
    }

    // A new temporary file, locked for as long as it lives.
    FileStatus createTemporary()
    {
        const QByteArray made =
            QFile::encodeName(SettingsFile::temporaryName(QFile::decodeName(name), getpid()));
        temporary = Descriptor(::openat(folder.get(), made.constData(),
                                        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!temporary.isOpen())
            return failed(errno);
        temporaryName = made;
        // Taken at once: nobody else knows the file yet.
        flock(temporary.get(), LOCK_EX | LOCK_NB);
        return {fileName};
    }

    // No lock file: whatever is left in the folder ends up on the disc. A file system that
    // cannot lock at all is saved to without.
    FileStatus lockFolder()
    {
        while (flock(folder.get(), LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR)
                return {fileName};
            if (isCancelled())
                return failed(FileProblem::Cancelled);
            QThread::msleep(kLockRetryMs);
        }
        return {fileName};
    }

    // A leftover is removed only when no process holds it: every save holds a lock on its own
    // temporary file while it lives, whatever process or container it runs in.
    void removeLeftovers()
    {
        DIR *dir = fdopendir(::dup(folder.get()));
        if (!dir)
            return;
        while (const dirent *entry = readdir(dir)) {
            if (!SettingsFile::isTemporaryOf(QFile::decodeName(entry->d_name),
                                             QFile::decodeName(name)))
                continue;
            const Descriptor leftover(::openat(folder.get(), entry->d_name,
                                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            Stat held{}, named{};
            if (leftover.isOpen() && flock(leftover.get(), LOCK_EX | LOCK_NB) == 0 &&
                fstat(leftover.get(), &held) == 0 &&
                fstatat(folder.get(), entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
                sameFile(held, named))
                unlinkat(folder.get(), entry->d_name, 0);
        }
        closedir(dir);
    }

    // Whether the user took the write permission away: a save by rename would not need it.
    bool isReadOnly() const
    {
        return (readInfo.st_mode & 0222) == 0 ||
               (faccessat(folder.get(), name.constData(), W_OK, AT_EACCESS) != 0 &&
                errno == EACCES);
    }

    // Whether the file is still the one read, holding the same bytes.
    FileStatus checkUnchanged()
    {
        Stat info{};
        const Content now = readAt(fileName, folder.get(), name, cancelled, info);
        return unchangedSince(read, now, sameFile(info, readInfo));
    }
};

Save::Save(const QString &fileName, const std::atomic<bool> &cancelled)
    : d(std::make_unique<Private>(fileName, cancelled))
{}

Save::~Save()
{
    if (!d->temporaryName.isEmpty())
        unlinkat(d->folder.get(), d->temporaryName.constData(), 0);
}

Content Save::lockAndRead()
{
    if (const FileStatus opened = d->openFolder(); !opened.ok())
        return {opened, false, {}};
    if (const FileStatus locked = d->lockFolder(); !locked.ok())
        return {locked, false, {}};
    d->removeLeftovers();
    d->read = readAt(d->fileName, d->folder.get(), d->name, d->cancelled, d->readInfo);
    if (d->read.exists && d->read.status.ok() && d->isReadOnly())
        d->read.status = d->failed(FileProblem::ReadOnlyFile);
    return d->read;
}

FileStatus Save::write(const QByteArray &bytes)
{
    if (bytes.size() > kMaxBytes)
        return tooLarge(d->fileName);
    if (const FileStatus created = d->createTemporary(); !created.ok())
        return created;
    const int fd = d->temporary.get();
    // The owner first: a change of owner drops the set-id bits of the mode.
    if (d->read.exists && geteuid() == 0 && fchown(fd, d->readInfo.st_uid, d->readInfo.st_gid) != 0)
        return d->failed(errno);
    if (d->read.exists && fchmod(fd, d->readInfo.st_mode & 07777) != 0)
        return d->failed(errno);
    for (qsizetype written = 0; written < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return d->failed(n < 0 ? errno : EIO);
        written += n;
    }
    return fsync(fd) == 0 ? FileStatus{d->fileName} : d->failed(errno);
}

FileStatus Save::replace(const std::function<void()> &afterRename)
{
    if (const FileStatus unchanged = d->checkUnchanged(); !unchanged.ok())
        return unchanged;
    if (renameat(d->folder.get(), d->temporaryName.constData(), d->folder.get(),
                 d->name.constData()) != 0)
        return d->failed(errno);
    d->temporaryName.clear();
    afterRename();
    // Some file systems cannot sync a folder and say so: nothing is lost there by going on.
    if (fsync(d->folder.get()) != 0 && errno != EINVAL)
        return d->failed(errno);
    return {d->fileName};
}

FileStatus checkWritable(const QString &fileName)
{
    const std::atomic<bool> never = false;
    Save probe(fileName, never);
    const FileStatus opened = probe.d->openFolder();
    return opened.ok() ? probe.d->createTemporary() : opened;
}

} // namespace SettingsFile
