#include "modules/FileDescriptor.h"
#include "modules/FileIdentity.h"
#include "modules/ProfileFile.h"

#include <QDir>

#include <windows.h>

namespace {

HANDLE handleOf(qintptr handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

std::wstring nativeName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName).toStdWString();
}

// Opened for reading only what it is, as other programs may go on reading, writing, renaming
// or removing it. A folder opens too, so that it can be told apart.
HANDLE openShared(const QString &fileName, DWORD access, DWORD flags)
{
    return CreateFileW(nativeName(fileName).c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION &info)
{
    return {true,
            info.dwVolumeSerialNumber,
            (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
            qint64((quint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow),
            qint64((quint64(info.ftLastWriteTime.dwHighDateTime) << 32) |
                   info.ftLastWriteTime.dwLowDateTime),
            0};
}

// Why an open file is no file to read or replace; None for a file on a disk.
FileProblem kindProblem(HANDLE file, const BY_HANDLE_FILE_INFORMATION &info)
{
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileProblem::IsFolder;
    return GetFileType(file) == FILE_TYPE_DISK ? FileProblem::None : FileProblem::NotRegularFile;
}

bool isLink(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

} // namespace

FileDescriptor::~FileDescriptor()
{
    if (m_handle != kNone)
        CloseHandle(handleOf(m_handle));
}

bool FileDescriptor::readAt(qint64 offset, void *data, qint64 size) const
{
    char *at = static_cast<char *>(data);
    while (size > 0) {
        OVERLAPPED place{};
        place.Offset = DWORD(offset);
        place.OffsetHigh = DWORD(quint64(offset) >> 32);
        DWORD got = 0;
        const DWORD wanted = DWORD(std::min<qint64>(size, 1 << 30));
        if (!ReadFile(handleOf(m_handle), at, wanted, &got, &place) || got == 0)
            return false;
        at += got;
        offset += got;
        size -= got;
    }
    return true;
}

FileIdentity FileIdentity::ofPath(const QString &fileName)
{
    const FileDescriptor file{qintptr(openShared(fileName, FILE_READ_ATTRIBUTES, 0))};
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(handleOf(file.handle()), &info) ? identityOf(info)
                                                                      : FileIdentity();
}

ProfileFile::OpenedForReading ProfileFile::openForReading(const QString &fileName,
                                                          const LinkCheck &checkLink)
{
    // A link (a symbolic link or a junction) is opened itself first when it is to be checked.
    HANDLE handle = openShared(fileName, GENERIC_READ, checkLink ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    if (handle != INVALID_HANDLE_VALUE && checkLink && isLink(handle)) {
        CloseHandle(handle);
        if (const FileProblem problem = checkLink(fileName); problem != FileProblem::None)
            return {{}, {}, FileStatus::failed(fileName, problem)};
        handle = openShared(fileName, GENERIC_READ, 0);
    }
    if (handle == INVALID_HANDLE_VALUE)
        return {{}, {}, FileStatus::fromSystemError(fileName, int(GetLastError()))};
    FileDescriptor file{qintptr(handle)};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info))
        return {{}, {}, FileStatus::failed(fileName, FileProblem::ReadFailed)};
    if (const FileProblem problem = kindProblem(handle, info); problem != FileProblem::None)
        return {{}, {}, FileStatus::failed(fileName, problem)};
    return {std::move(file), identityOf(info), {fileName}};
}
