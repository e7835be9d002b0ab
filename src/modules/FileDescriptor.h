#pragma once

#include <QtGlobal>

#include <cerrno>
#include <unistd.h>
#include <utility>

// An open file of the system's, closed when it goes; read at given places, so that no read
// needs a seek of its own.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    // Reads size bytes from offset on into data; false when fewer could be read.
    bool readAt(qint64 offset, void *data, qint64 size) const
    {
        char *at = static_cast<char *>(data);
        while (size > 0) {
            const ssize_t got = ::pread(m_fd, at, size_t(size), off_t(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            at += got;
            offset += got;
            size -= got;
        }
        return true;
    }

private:
    int m_fd = -1;
};
