#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Apart from TestFiles.h, which the tests on Windows include too: sockets in folders are POSIX's.
namespace TestFiles {

// A socket bound at path, as a program that listens there leaves it.
inline bool bindSocket(const QString &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

} // namespace TestFiles
