#include "modules/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

// open(), removeLeftovers() and what they share; the rest is the system's, in
// AtomicFile_<system>.cpp.

namespace {

const QString kMark = QStringLiteral(".korvane-saving-");
constexpr int kRandomDigits = 16;

// ".KORV.ini.korvane-saving-": what every temporary file of fileName's saves starts with.
QString temporaryStart(const QFileInfo &file)
{
    return u'.' + file.fileName() + kMark;
}

// The process that made the temporary file called name, when name is one of ours.
std::optional<qint64> makerOf(QStringView name, QStringView start)
{
    if (!name.startsWith(start))
        return std::nullopt;
    const QStringView rest = name.sliced(start.size());
    const qsizetype dash = rest.indexOf(u'-');
    const QStringView pid = rest.left(dash);
    const QStringView random = rest.sliced(dash + 1);
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const bool digits = !pid.isEmpty() && std::all_of(pid.begin(), pid.end(), isDigit);
    const bool hex = random.size() == kRandomDigits &&
                     std::all_of(random.begin(), random.end(), [&isDigit](QChar c) {
                         return isDigit(c) || (c >= u'a' && c <= u'f');
                     });
    if (dash < 0 || !digits || !hex)
        return std::nullopt;
    return pid.toLongLong();
}

} // namespace

AtomicFile::AtomicFile(const QString &fileName, std::optional<quint32> permissions)
    : m_fileName(fileName), m_permissions(permissions), m_status{fileName}
{}

AtomicFile::~AtomicFile()
{
    closeTemporary();
    if (!m_temporary.isEmpty())
        QFile::remove(m_temporary);
}

bool AtomicFile::open(OpenMode mode)
{
    const QFileInfo file(m_fileName);
    // One number straight from the system: the global generator would first seed itself with
    // hundreds of them, a fifth of a millisecond before the first save or the start-up check.
    m_temporary = file.absolutePath() + u'/' + temporaryStart(file) +
                  QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid())
                      .arg(QRandomGenerator::system()->generate64(), kRandomDigits, 16,
                           QLatin1Char('0'));
    if (const std::optional<int> error = createTemporary()) {
        m_temporary.clear();
        if (!QFileInfo(file.absolutePath()).isDir()) {
            m_status =
                FileStatus::failed(m_fileName, FileProblem::FolderMissing, file.absolutePath());
            return false;
        }
        return fail(*error);
    }
    return QIODevice::open(mode);
}

void AtomicFile::removeLeftovers(const QString &fileName)
{
    const QFileInfo file(fileName);
    const QString start = temporaryStart(file);
    const QDir folder = file.absoluteDir();
    // Listed whole: the file's name could hold a name filter's wildcards.
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (const std::optional<qint64> maker = makerOf(name, start))
            removeIfAbandoned(folder.filePath(name), *maker);
    }
}

qint64 AtomicFile::readData(char *, qint64)
{
    return -1;
}

bool AtomicFile::fail(int error)
{
    if (m_status.ok())
        m_status = FileStatus::fromSystemError(m_fileName, error);
    return false;
}
