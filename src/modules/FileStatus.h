#pragma once

#include <QObject>
#include <QString>

namespace Files {
Q_NAMESPACE

// Why a settings file could not be read or written. The windows put each into words; the
// operations and the tests only compare them.
enum class Problem {
    None,
    NoFileName,         // no output file was given
    NameMissing,        // a blank section or key name
    NameBreaksLine,     // CR, LF or NUL in a section or key name
    NameHasDelimiter,   // "]" in a section name or "=" in a key name
    NotFound,           // the file is not there
    IsFolder,           // a folder has the file's name
    NotAFolder,         // a folder was asked for and this is a file
    NotRegularFile,     // a device, a FIFO, a socket
    LinkLeavesVolume,   // a link to a file outside the volume it is on
    FolderMissing,      // detail: the folder
    ReadFailed,         // the file could not be read to its end
    ReadOnlyFile,       // the user made the file read-only
    ChangedMeanwhile,   // another program changed the file while it was being saved
    ReadOnlyFileSystem, // EROFS
    AccessDenied,       // EACCES
    NotPermitted,       // EPERM
    DiskFull,           // ENOSPC
    QuotaExceeded,      // EDQUOT
    FileTooLarge,       // over the settings file's limit, or the system's (EFBIG)
    DiskError,          // EIO: the medium or its drive failed
    PathTooLong,        // ENAMETOOLONG
    TooManyLinks,       // ELOOP
    TooManyOpenFiles,   // EMFILE, ENFILE
    OutOfMemory,        // ENOMEM
    Busy,               // EBUSY, ETXTBSY
    NetworkFailed,      // a shared folder that cannot be reached
    Cancelled,          // the user stopped it
    SystemError,        // any other: detail holds the system's error number
};
Q_ENUM_NS(Problem)

} // namespace Files

using FileProblem = Files::Problem;

// The outcome of reading or writing one settings file.
struct FileStatus
{
    QString fileName = {};
    FileProblem problem = FileProblem::None;
    QString detail = {};

    bool ok() const { return problem == FileProblem::None; }
    static FileStatus failed(const QString &fileName, FileProblem problem,
                             const QString &detail = {})
    {
        return {fileName, problem, detail};
    }
    // The failure that the system's error number stands for, for fileName.
    static FileStatus fromErrno(const QString &fileName, int error);
};
