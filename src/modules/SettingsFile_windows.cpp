#include "modules/SettingsFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <windows.h>

#include <algorithm>
#include <utility>

// Windows can neither lock nor sync a folder: wizards on one folder exclude each other through
// a mutex named after it, and MOVEFILE_WRITE_THROUGH returns only once the rename is on the
// disk. A file open without FILE_SHARE_DELETE cannot be removed, which is how a live save keeps
// its temporary file from another wizard's clean-up.

namespace {

// How long a save waiting for another wizard's save waits before it looks for a cancel.
constexpr DWORD kLockRetryMs = 10;
// A file is read in steps of this, so that a cancel is seen between them.
constexpr DWORD kReadStep = 64 * 1024;
// How long a save tries to replace a file that a reader holds open (another wizard importing
// it, a virus scanner): Windows replaces no open file.
constexpr int kReplaceTries = 100;
// ERROR_DISK_QUOTA_EXCEEDED, which mingw-w64's headers lack.
constexpr DWORD kDiskQuotaExceeded = 1295;

struct CloseHandleOf
{
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// An open handle of the system's, closed when it goes; empty when the system gave none.
using Handle = std::unique_ptr<void, CloseHandleOf>;

Handle owned(HANDLE handle)
{
    return Handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::wstring nativeName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName).toStdWString();
}

// Opened to be read, as other programs may go on reading, writing, renaming or removing it. A
// folder opens too, so that it can be told apart.
Handle openShared(const QString &fileName)
{
    return owned(CreateFileW(nativeName(fileName).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// The path the system opened a file under, links and junctions resolved.
QString finalPath(HANDLE file)
{
    wchar_t path[MAX_PATH * 4];
    const DWORD size = GetFinalPathNameByHandleW(file, path, DWORD(std::size(path)), 0);
    return size > 0 && size < std::size(path) ? QString::fromWCharArray(path, int(size))
                                              : QString();
}

bool sameFile(const BY_HANDLE_FILE_INFORMATION &a, const BY_HANDLE_FILE_INFORMATION &b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

// Reads the open file whole into bytes, or says why not.
FileStatus readWhole(const QString &fileName, HANDLE file, const std::atomic<bool> &cancelled,
                     QByteArray &bytes, BY_HANDLE_FILE_INFORMATION &info)
{
    // A pipe or a device has no file information to ask for.
    if (GetFileType(file) != FILE_TYPE_DISK)
        return FileStatus::failed(fileName, FileProblem::NotRegularFile);
    if (!GetFileInformationByHandle(file, &info))
        return FileStatus::fromErrno(fileName, int(GetLastError()));
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileStatus::failed(fileName, FileProblem::IsFolder);
    if (info.nFileSizeHigh != 0 || info.nFileSizeLow > SettingsFile::kMaxBytes)
        return SettingsFile::tooLarge(fileName);
    // One byte more than the limit shows a file that grew past it.
    bytes.resize(SettingsFile::kMaxBytes + 1);
    qsizetype size = 0;
    while (size < bytes.size()) {
        if (cancelled.load(std::memory_order_relaxed))
            return FileStatus::failed(fileName, FileProblem::Cancelled);
        DWORD got = 0;
        if (!ReadFile(file, bytes.data() + size, std::min(DWORD(bytes.size() - size), kReadStep),
                      &got, nullptr))
            return FileStatus::fromErrno(fileName, int(GetLastError()));
        if (got == 0)
            break;
        size += got;
    }
    bytes.truncate(size);
    return size > SettingsFile::kMaxBytes ? SettingsFile::tooLarge(fileName) : FileStatus{fileName};
}

// Reads fileName; when confined, only a file really in the folder its name is in.
SettingsFile::Content readFile(const QString &fileName, const std::atomic<bool> &cancelled,
                               BY_HANDLE_FILE_INFORMATION &info, bool confined = false)
{
    SettingsFile::Content content;
    const Handle file = openShared(fileName);
    const DWORD error = file ? ERROR_SUCCESS : GetLastError();
    content.exists = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    if (!file && content.exists) {
        content.status = FileStatus::fromErrno(fileName, int(error));
    } else if (file && confined) {
        const Handle folder = openShared(QFileInfo(fileName).absolutePath());
        const QString inside = finalPath(folder.get());
        if (inside.isEmpty() ||
            !finalPath(file.get()).startsWith(inside.endsWith(u'\\') ? inside : inside + u'\\'))
            content.status = FileStatus::failed(fileName, FileProblem::LinkLeavesVolume);
    }
    if (file && content.status.ok())
        content.status = readWhole(fileName, file.get(), cancelled, content.bytes, info);
    content.status.fileName = fileName;
    if (!content.status.ok())
        content.bytes.clear();
    return content;
}

// The reason of each system error a read or a save can meet; any other is told by its number.
constexpr SettingsFile::SystemReason kReasons[] = {
    {ERROR_FILE_NOT_FOUND, FileProblem::NotFound},
    {ERROR_PATH_NOT_FOUND, FileProblem::NotFound},
    {ERROR_DIRECTORY, FileProblem::NotAFolder},
    {ERROR_BAD_PIPE, FileProblem::NotRegularFile},
    {ERROR_WRITE_PROTECT, FileProblem::ReadOnlyFileSystem},
    {ERROR_ACCESS_DENIED, FileProblem::AccessDenied},
    {ERROR_PRIVILEGE_NOT_HELD, FileProblem::NotPermitted},
    {ERROR_DISK_FULL, FileProblem::DiskFull},
    {ERROR_HANDLE_DISK_FULL, FileProblem::DiskFull},
    {kDiskQuotaExceeded, FileProblem::QuotaExceeded},
    {ERROR_FILE_TOO_LARGE, FileProblem::FileTooLarge},
    {ERROR_CRC, FileProblem::DiskError},
    {ERROR_READ_FAULT, FileProblem::DiskError},
    {ERROR_WRITE_FAULT, FileProblem::DiskError},
    {ERROR_SECTOR_NOT_FOUND, FileProblem::DiskError},
    {ERROR_NOT_READY, FileProblem::DiskError},
    {ERROR_GEN_FAILURE, FileProblem::DiskError},
    {ERROR_FILENAME_EXCED_RANGE, FileProblem::PathTooLong},
    {ERROR_CANT_RESOLVE_FILENAME, FileProblem::TooManyLinks},
    {ERROR_TOO_MANY_OPEN_FILES, FileProblem::TooManyOpenFiles},
    {ERROR_NOT_ENOUGH_MEMORY, FileProblem::OutOfMemory},
    {ERROR_OUTOFMEMORY, FileProblem::OutOfMemory},
    {ERROR_SHARING_VIOLATION, FileProblem::Busy},
    {ERROR_LOCK_VIOLATION, FileProblem::Busy},
    {ERROR_BAD_NETPATH, FileProblem::NetworkFailed},
    {ERROR_NETNAME_DELETED, FileProblem::NetworkFailed},
    {ERROR_UNEXP_NET_ERR, FileProblem::NetworkFailed},
    {ERROR_SEM_TIMEOUT, FileProblem::NetworkFailed},
};

} // namespace

namespace SettingsFile {

const std::span<const SystemReason> systemReasons = kReasons;

Content read(const QString &fileName, const std::atomic<bool> &cancelled, bool confined)
{
    BY_HANDLE_FILE_INFORMATION opened{};
    return readFile(fileName, cancelled, opened, confined);
}

struct Save::Private
{
    Private(const QString &file, const std::atomic<bool> &cancel)
        : fileName(file), folderPath(QFileInfo(file).absolutePath()),
          name(QFileInfo(file).fileName()), cancelled(cancel)
    {}

    ~Private()
    {
        temporary.reset();
        if (!temporaryPath.isEmpty())
            DeleteFileW(nativeName(temporaryPath).c_str());
        if (mutex)
            ReleaseMutex(mutex.get());
    }

    QString fileName;
    QString folderPath;
    QString name;
    const std::atomic<bool> &cancelled;
    Handle mutex;
    Content read;
    BY_HANDLE_FILE_INFORMATION readInfo{};
    QString temporaryPath;
    Handle temporary;

    bool isCancelled() const { return cancelled.load(std::memory_order_relaxed); }
    FileStatus failed(DWORD error) const { return FileStatus::fromErrno(fileName, int(error)); }
    FileStatus failed(FileProblem problem) const { return FileStatus::failed(fileName, problem); }

    FileStatus checkFolder() const
    {
        const DWORD attributes = GetFileAttributesW(nativeName(folderPath).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return FileStatus::failed(fileName, FileProblem::FolderMissing, folderPath);
            return failed(error);
        }
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? FileStatus{fileName}
                                                     : failed(FileProblem::NotAFolder);
    }

    // A new temporary file, held open without FILE_SHARE_DELETE for as long as it lives. It
    // keeps the file's hidden and system marks.
    FileStatus createTemporary()
    {
        const QString made = QDir(folderPath).filePath(temporaryName(name, GetCurrentProcessId()));
        const DWORD kept = read.exists ? readInfo.dwFileAttributes &
                                             (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)
                                       : 0;
        temporary =
            owned(CreateFileW(nativeName(made).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!temporary)
            return failed(GetLastError());
        temporaryPath = made;
        return {fileName};
    }

    // Named after the folder's real path, so that every name of it meets the same mutex. A
    // wizard killed while holding it leaves it abandoned, and the next one takes it.
    FileStatus lockFolder()
    {
        const Handle folder = openShared(folderPath);
        const QString real = folder ? finalPath(folder.get()) : QString();
        const QByteArray key =
            QCryptographicHash::hash((real.isEmpty() ? folderPath : real).toLower().toUtf8(),
                                     QCryptographicHash::Sha256)
                .toHex();
        const QString mutexName = QStringLiteral("Local\\korvane-wizard-") + QLatin1String(key);
        mutex = Handle(CreateMutexW(nullptr, FALSE, mutexName.toStdWString().c_str()));
        if (!mutex)
            return failed(GetLastError());
        while (WaitForSingleObject(mutex.get(), kLockRetryMs) == WAIT_TIMEOUT) {
            if (isCancelled()) {
                mutex.reset();
                return failed(FileProblem::Cancelled);
            }
        }
        return {fileName};
    }

    // A leftover is removed only when no process holds it: a live save holds its temporary
    // file open without FILE_SHARE_DELETE, so that removing it fails.
    void removeLeftovers() const
    {
        const QDir folder(folderPath);
        const QStringList leftovers = folder.entryList(
            {u'.' + name + u'*'}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
        for (const QString &leftover : leftovers) {
            if (isTemporaryOf(leftover, name))
                DeleteFileW(nativeName(folder.filePath(leftover)).c_str());
        }
    }

    // Whether the file is still the one read, holding the same bytes.
    FileStatus checkUnchanged()
    {
        BY_HANDLE_FILE_INFORMATION info{};
        const Content now = readFile(fileName, cancelled, info);
        return unchangedSince(read, now, sameFile(info, readInfo));
    }
};

Save::Save(const QString &fileName, const std::atomic<bool> &cancelled)
    : d(std::make_unique<Private>(fileName, cancelled))
{}

Save::~Save() = default;

Content Save::lockAndRead()
{
    if (const FileStatus folder = d->checkFolder(); !folder.ok())
        return {folder, false, {}};
    if (const FileStatus locked = d->lockFolder(); !locked.ok())
        return {locked, false, {}};
    d->removeLeftovers();
    d->read = readFile(d->fileName, d->cancelled, d->readInfo);
    // Checked here, as a rename replaces a read-only file all the same on some systems.
    if (d->read.exists && d->read.status.ok() &&
        (d->readInfo.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        d->read.status = d->failed(FileProblem::ReadOnlyFile);
    return d->read;
}

FileStatus Save::write(const QByteArray &bytes)
{
    if (bytes.size() > kMaxBytes)
        return tooLarge(d->fileName);
    if (const FileStatus created = d->createTemporary(); !created.ok())
        return created;
    DWORD written = 0;
    if (!WriteFile(d->temporary.get(), bytes.constData(), DWORD(bytes.size()), &written, nullptr))
        return d->failed(GetLastError());
    if (written != DWORD(bytes.size()))
        return d->failed(ERROR_WRITE_FAULT);
    return FlushFileBuffers(d->temporary.get()) ? FileStatus{d->fileName}
                                                : d->failed(GetLastError());
}

FileStatus Save::replace(const std::function<void()> &afterRename)
{
    if (const FileStatus unchanged = d->checkUnchanged(); !unchanged.ok())
        return unchanged;
    // An open file cannot be renamed over another; the folder's mutex keeps the clean-up of
    // other wizards away until the rename is done.
    d->temporary.reset();
    for (int tries = 1;
         !MoveFileExW(nativeName(d->temporaryPath).c_str(), nativeName(d->fileName).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
         ++tries) {
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
            tries == kReplaceTries || d->isCancelled())
            return d->failed(error);
        Sleep(kLockRetryMs);
    }
    d->temporaryPath.clear();
    afterRename();
    return {d->fileName};
}

FileStatus checkWritable(const QString &fileName)
{
    const std::atomic<bool> never = false;
    Save probe(fileName, never);
    const FileStatus folder = probe.d->checkFolder();
    return folder.ok() ? probe.d->createTemporary() : folder;
}

} // namespace SettingsFile
