#include "OtherWizard.h"

#include "support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Whether another process holds the lock that every save holds on its temporary file.
bool isHeld(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool held = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

// A process number that has ended here.
qint64 endedProcess()
{
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ended.waitForFinished();
    return ended.processId() > 0 ? ended.processId() : 999999;
}

} // namespace

// The file is held by a process in a PID namespace of its own, as a wizard in a container
// holds it: the process number in its name has ended here.
struct OtherWizard::Holder
{
    QProcess process;
    int heldHere = -1;

    ~Holder()
    {
        process.kill();
        process.waitForFinished();
        if (heldHere >= 0)
            ::close(heldHere);
    }
};

OtherWizard::OtherWizard(const QString &folder) : m_holder(std::make_unique<Holder>())
{
    const QString name =
        QStringLiteral(".KORV.ini.korvane-saving-%1-0123456789abcdef").arg(endedProcess());
    const QString path = QDir(folder).filePath(name);
    TestFiles::writeFile(path, "[NAME]\r\n1=");
    QProcess &process = m_holder->process;
    process.start(QStringLiteral("unshare"),
                  {"--pid", "--fork", "--kill-child", "flock", path, "sleep", "3600"});
    QElapsedTimer waited;
    waited.start();
    while (!isHeld(path) && process.state() != QProcess::NotRunning && waited.elapsed() < 10'000)
        process.waitForFinished(20);
    if (!isHeld(path)) {
        qInfo("Skipped holding the other wizard's file in another PID namespace: unshare --pid "
              "was refused (%s). This process holds it instead.",
              process.readAllStandardError().trimmed().constData());
        m_holder->heldHere = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (m_holder->heldHere < 0 || flock(m_holder->heldHere, LOCK_EX | LOCK_NB) != 0)
            return;
    }
    m_fileName = name;
}

OtherWizard::~OtherWizard() = default;
