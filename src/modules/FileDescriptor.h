#pragma once

#include <QtGlobal>

#include <utility>

// An open file of the system's (a descriptor; a handle on Windows), closed when it goes; read
// at given places, so that no read needs a seek of its own.
class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(qintptr handle) : m_handle(handle) {}
    FileDescriptor(FileDescriptor &&other) noexcept : m_handle(std::exchange(other.m_handle, kNone))
    {}
    FileDescriptor &operator=(FileDescriptor &&other) noexcept
    {
        std::swap(m_handle, other.m_handle);
        return *this;
    }
    ~FileDescriptor();

    qintptr handle() const { return m_handle; }
    // Reads size bytes from offset on into data; false when fewer could be read.
    bool readAt(qint64 offset, void *data, qint64 size) const;

private:
    // -1 is no descriptor, and INVALID_HANDLE_VALUE on Windows.
    static constexpr qintptr kNone = -1;
    qintptr m_handle = kNone;
};
