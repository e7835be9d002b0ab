#include "modules/FileStatus.h"

#include <cerrno>
#include <cstring>

FileStatus FileStatus::fromSystemError(const QString &fileName, int error)
{
    switch (error) {
    case 0:
        return {fileName};
    case ENOENT:
        return failed(fileName, FileProblem::NotFound);
    case EISDIR:
        return failed(fileName, FileProblem::IsFolder);
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
    default:
        return failed(fileName, FileProblem::SystemError,
                      QString::fromLocal8Bit(std::strerror(error)));
    }
}
