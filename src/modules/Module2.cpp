#include "modules/Module2.h"

#include "modules/ProfileSession.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kReadBufferSize = 1024;

} // namespace

FileStatus IniWrite(ProfileSession &session, const QString &section, const QString &key,
                    const QString &value)
{
    return session.write(session.outputFile(), section, key, value);
}

QString IniRead(ProfileSession &session, const QString &section, const QString &key)
{
    const QString value =
        session.read(session.sourceFile(), section, key, kReadBufferSize - 1).value_or(QString());
    const qsizetype nul = value.indexOf(QChar(0));
    return nul < 0 ? value : value.left(nul);
}

QString Module2::sourceFileName(const QString &designation)
{
    const QString exact = designation + QStringLiteral("KORV.ini");
    if (designation.isEmpty() || QFileInfo::exists(exact))
        return exact;
    const QStringList matches =
        QDir(designation)
            .entryList({QStringLiteral("KORV.ini")}, QDir::Files | QDir::System | QDir::Hidden,
                       QDir::Name);
    return matches.isEmpty() ? exact : designation + matches.first();
}
