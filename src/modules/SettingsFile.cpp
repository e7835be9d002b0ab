#include "modules/SettingsFile.h"

#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

constexpr QLatin1String kMark(".korvane-saving-");
// The random part of a temporary file's name, in hex digits.
constexpr int kRandomDigits = 16;

} // namespace

namespace SettingsFile {

QString temporaryName(const QString &name, qint64 process)
{
    return u'.' + name + kMark + QString::number(process) + u'-' +
           QString::number(QRandomGenerator::system()->generate64(), 16)
               .rightJustified(kRandomDigits, u'0');
}

bool isTemporaryOf(const QString &candidate, const QString &name)
{
    const QRegularExpression shape(
        QStringLiteral("^%1\\d+-[0-9a-f]{%2}$")
            .arg(QRegularExpression::escape(u'.' + name + kMark), QString::number(kRandomDigits)));
    return shape.match(candidate).hasMatch();
}

FileStatus unchangedSince(const Content &read, const Content &now, bool sameIdentity)
{
    if (now.status.problem == FileProblem::Cancelled)
        return now.status;
    const bool same = now.exists == read.exists && now.status.ok() &&
                      (!read.exists || (sameIdentity && now.bytes == read.bytes));
    return same ? FileStatus{now.status.fileName}
                : FileStatus::failed(now.status.fileName, FileProblem::ChangedMeanwhile);
}

} // namespace SettingsFile

FileStatus FileStatus::fromErrno(const QString &fileName, int error)
{
    for (const auto &[code, problem] : SettingsFile::systemReasons) {
        if (code == error)
            return failed(fileName, problem);
    }
    return failed(fileName, FileProblem::SystemError, QString::number(error));
}
