#include "modules/FileStatus.h"

#include <windows.h>

namespace {

// ERROR_DISK_QUOTA_EXCEEDED, which mingw-w64's headers lack.
constexpr DWORD kDiskQuotaExceeded = 1295;

// The system's own words for error, in the system's language.
QString systemWords(DWORD error)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString words = QString::fromWCharArray(text, int(length)).trimmed();
    LocalFree(text);
    return words.isEmpty() ? QStringLiteral("エラー %1").arg(error) : words;
}

} // namespace

FileStatus FileStatus::fromSystemError(const QString &fileName, int code)
{
    switch (const auto error = DWORD(code)) {
    case ERROR_SUCCESS:
        return {fileName};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return failed(fileName, FileProblem::NotFound);
    case ERROR_DIRECTORY:
        return failed(fileName, FileProblem::NotAFolder);
    case ERROR_WRITE_PROTECT:
        return failed(fileName, FileProblem::ReadOnlyFileSystem);
    case ERROR_ACCESS_DENIED:
        return failed(fileName, FileProblem::AccessDenied);
    case ERROR_PRIVILEGE_NOT_HELD:
        return failed(fileName, FileProblem::NotPermitted);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return failed(fileName, FileProblem::DiskFull);
    case kDiskQuotaExceeded:
        return failed(fileName, FileProblem::QuotaExceeded);
    case ERROR_FILE_TOO_LARGE:
        return failed(fileName, FileProblem::FileTooLarge);
    default:
        return failed(fileName, FileProblem::SystemError, systemWords(error));
    }
}
