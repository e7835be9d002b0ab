#include "modules/AtomicFile.h"

#include <QDir>

#include <windows.h>

// Windows has no folder to sync: MOVEFILE_WRITE_THROUGH returns only once the rename is on the
// disk. A file held open without FILE_SHARE_DELETE cannot be removed, which is how a save keeps
// its temporary file from another wizard's clean-up.

namespace {

HANDLE handleOf(qintptr handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

std::wstring nativeName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName).toStdWString();
}

} // namespace

std::optional<int> AtomicFile::createTemporary()
{
    const HANDLE file = CreateFileW(nativeName(m_temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return int(GetLastError());
    m_handle = qintptr(file);
    return std::nullopt;
}

void AtomicFile::closeTemporary()
{
    if (m_handle != -1)
        CloseHandle(handleOf(m_handle));
    m_handle = -1;
}

bool AtomicFile::sync()
{
    QIODevice::close();
    DWORD error = FlushFileBuffers(handleOf(m_handle)) ? ERROR_SUCCESS : GetLastError();
    if (!CloseHandle(handleOf(m_handle)) && error == ERROR_SUCCESS)
        error = GetLastError();
    m_handle = -1;
    return error == ERROR_SUCCESS || fail(int(error));
}

bool AtomicFile::replace()
{
    if (!MoveFileExW(nativeName(m_temporary).c_str(), nativeName(m_fileName).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(int(GetLastError()));
    m_temporary.clear();
    return true;
}

// Whoever made it: a save that still runs holds it open, and then it cannot be removed.
void AtomicFile::removeIfAbandoned(const QString &path, qint64)
{
    DeleteFileW(nativeName(path).c_str());
}

qint64 AtomicFile::writeData(const char *data, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        DWORD n = 0;
        const DWORD chunk = DWORD(std::min<qint64>(size - written, 1 << 30));
        if (!WriteFile(handleOf(m_handle), data + written, chunk, &n, nullptr) || n == 0) {
            fail(int(n == 0 ? ERROR_WRITE_FAULT : GetLastError()));
            return -1;
        }
        written += n;
    }
    return written;
}
