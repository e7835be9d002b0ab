#include "modules/SettingsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr char kMark[] = ".korvane-saving-";
constexpr int kRandomDigits = 16;
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

// Without blocking, so that a FIFO cannot hang the reader before its type is known.
Descriptor openForReading(int folder, const QByteArray &name)
{
    return Descriptor(::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
}

// Why the name could not be opened: a socket is no file, whatever the system calls it.
FileStatus openFailure(const QString &fileName, int folder, const QByteArray &name, int error)
{
    struct stat info
    {
    };
    if (error == ENXIO && fstatat(folder, name.constData(), &info, 0) == 0 &&
        !S_ISREG(info.st_mode))
        return FileStatus::failed(fileName, FileProblem::NotRegularFile);
    return FileStatus::fromErrno(fileName, error);
}

// Reads the open file whole into content, or says why not.
void readWhole(const QString &fileName, int fd, const std::atomic<bool> &cancelled,
               SettingsFile::Content &content, struct stat &info)
{
    content.exists = true;
    if (fstat(fd, &info) != 0) {
        content.status = FileStatus::fromErrno(fileName, errno);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        content.status = FileStatus::failed(fileName, folder ? FileProblem::IsFolder
                                                             : FileProblem::NotRegularFile);
        return;
    }
    QByteArray &bytes = content.bytes;
    // One byte more than the limit shows a file that grew past it.
    bytes.resize(std::min<qint64>(info.st_size, SettingsFile::kMaxBytes) + 1);
    qsizetype size = 0;
    while (info.st_size <= SettingsFile::kMaxBytes && size <= SettingsFile::kMaxBytes) {
        if (cancelled.load(std::memory_order_relaxed)) {
            content.status = FileStatus::failed(fileName, FileProblem::Cancelled);
            return;
        }
        if (size == bytes.size())
            bytes.resize(std::min<qsizetype>(size * 2, SettingsFile::kMaxBytes + 1));
        const ssize_t got =
            ::read(fd, bytes.data() + size, size_t(std::min(bytes.size() - size, kReadStep)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            content.status = FileStatus::fromErrno(fileName, errno);
            return;
        }
        if (got == 0)
            break;
        size += got;
    }
    if (info.st_size > SettingsFile::kMaxBytes || size > SettingsFile::kMaxBytes)
        content.status = SettingsFile::tooLarge(fileName);
    bytes.resize(content.status.ok() ? size : 0);
}

// The path the system opened fd under, as /proc tells it: what was checked is what is read.
QByteArray realPath(int fd)
{
    QByteArray path(PATH_MAX, '\0');
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t size = readlink(link.constData(), path.data(), path.size());
    return size > 0 && size < path.size() ? path.first(size) : QByteArray();
}

// Whether name is the temporary file of a save of the file whose name is base:
// ".<base>.korvane-saving-<digits>-<16 hex digits>".
bool isTemporaryOf(const QByteArray &name, const QByteArray &base)
{
    const QByteArray start = '.' + base + kMark;
    if (!name.startsWith(start))
        return false;
    const QByteArray rest = name.sliced(start.size());
    const qsizetype dash = rest.indexOf('-');
    const QByteArray process = rest.first(std::max<qsizetype>(dash, 0));
    const QByteArray random = rest.sliced(dash + 1);
    return dash > 0 && std::all_of(process.begin(), process.end(), ::isdigit) &&
           random.size() == kRandomDigits && std::all_of(random.begin(), random.end(), [](char c) {
               return ::isdigit(c) || (c >= 'a' && c <= 'f');
           });
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

FileStatus FileStatus::fromErrno(const QString &fileName, int error)
{
    switch (error) {
    case 0:
        return {fileName};
    case ENOENT:
        return failed(fileName, FileProblem::NotFound);
    case EISDIR:
        return failed(fileName, FileProblem::IsFolder);
    case ENOTDIR:
        return failed(fileName, FileProblem::NotAFolder);
    case ENXIO:
    case ENODEV:
        return failed(fileName, FileProblem::NotRegularFile);
    case EROFS:
        return failed(fileName, FileProblem::ReadOnlyFileSystem);
    case EACCES:
        return failed(fileName, FileProblem::AccessDenied);
    case EPERM:
        return failed(fileName, FileProblem::NotPermitted);
    case ENOSPC:
        return failed(fileName, FileProblem::DiskFull);
    case EDQUOT:
        return failed(fileName, FileProblem::QuotaExceeded);
    case EFBIG:
        return failed(fileName, FileProblem::FileTooLarge);
    case EIO:
        return failed(fileName, FileProblem::DiskError);
    case ENAMETOOLONG:
        return failed(fileName, FileProblem::PathTooLong);
    case ELOOP:
        return failed(fileName, FileProblem::TooManyLinks);
    case EMFILE:
    case ENFILE:
        return failed(fileName, FileProblem::TooManyOpenFiles);
    case ENOMEM:
        return failed(fileName, FileProblem::OutOfMemory);
    case EBUSY:
    case ETXTBSY:
        return failed(fileName, FileProblem::Busy);
    case ESTALE:
    case ENOTCONN:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ECONNABORTED:
    case ECONNRESET:
    case ECOMM:
        return failed(fileName, FileProblem::NetworkFailed);
    default:
        return failed(fileName, FileProblem::SystemError, QString::number(error));
    }
}

namespace SettingsFile {

Content read(const QString &fileName, const std::atomic<bool> &cancelled, bool confined)
{
    Content content;
    const QFileInfo info(fileName);
    const Descriptor folder(::open(QFile::encodeName(info.absolutePath()).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const Descriptor file = folder.isOpen()
                                ? openForReading(folder.get(), QFile::encodeName(info.fileName()))
                                : Descriptor();
    if (!file.isOpen()) {
        const int error = errno;
        if (error != ENOENT)
            content.status =
                folder.isOpen()
                    ? openFailure(fileName, folder.get(), QFile::encodeName(info.fileName()), error)
                    : FileStatus::fromErrno(fileName, error);
        return content;
    }
    if (confined) {
        const QByteArray real = realPath(file.get());
        const QByteArray inside = realPath(folder.get());
        if (real.isEmpty() || inside.isEmpty() ||
            !real.startsWith(inside.endsWith('/') ? inside : inside + '/')) {
            content.status = FileStatus::failed(fileName, FileProblem::LinkLeavesVolume);
            return content;
        }
    }
    struct stat opened
    {
    };
    readWhole(fileName, file.get(), cancelled, content, opened);
    return content;
}

struct Save::Private
{
    QString fileName;
    QByteArray folderPath;
    QByteArray name;
    const std::atomic<bool> &cancelled;
    Descriptor folder;
    Content read;
    struct stat readInfo
    {
    };
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
        const QByteArray made = '.' + name + kMark + QByteArray::number(getpid()) + '-' +
                                QByteArray::number(QRandomGenerator::system()->generate64(), 16)
                                    .rightJustified(kRandomDigits, '0');
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
            if (!isTemporaryOf(entry->d_name, name))
                continue;
            const Descriptor leftover(::openat(folder.get(), entry->d_name,
                                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            struct stat held
            {
            }, named{};
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
        const Descriptor now = openForReading(folder.get(), name);
        if (!now.isOpen())
            return errno == ENOENT ? (read.exists ? failed(FileProblem::ChangedMeanwhile)
                                                  : FileStatus{fileName})
                                   : failed(errno);
        Content again;
        struct stat info
        {
        };
        readWhole(fileName, now.get(), cancelled, again, info);
        if (again.status.problem == FileProblem::Cancelled)
            return again.status;
        const bool same = read.exists && again.status.ok() && sameFile(info, readInfo) &&
                          again.bytes == read.bytes;
        return same ? FileStatus{fileName} : failed(FileProblem::ChangedMeanwhile);
    }
};

Save::Save(const QString &fileName, const std::atomic<bool> &cancelled)
    : d(new Private{fileName,
                    QFile::encodeName(QFileInfo(fileName).absolutePath()),
                    QFile::encodeName(QFileInfo(fileName).fileName()),
                    cancelled,
                    Descriptor(),
                    {},
                    {},
                    {},
                    Descriptor()})
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
    const Descriptor file = openForReading(d->folder.get(), d->name);
    if (!file.isOpen()) {
        if (errno != ENOENT)
            d->read.status = openFailure(d->fileName, d->folder.get(), d->name, errno);
        return d->read;
    }
    readWhole(d->fileName, file.get(), d->cancelled, d->read, d->readInfo);
    if (d->read.status.ok() && d->isReadOnly())
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
