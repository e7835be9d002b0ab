#include "modules/Module2.h"

#include "modules/ProfileSession.h"

#include <QDir>

#include <algorithm>

namespace {

const QString kSourceName = QStringLiteral("KORV.ini");

} // namespace

FileStatus IniWrite(ProfileSession &session, const QString &section, const QString &key,
                    const QString &value)
{
    return session.write(section, key, value);
}

QString IniRead(ProfileSession &session, const QString &section, const QString &key)
{
    QString value = session.read(section, key, Module2::kLongestValue).value_or(QString());
    // The value comes through a C string: it ends at its first NUL.
    value.truncate(std::find(value.cbegin(), value.cend(), QChar(0)) - value.cbegin());
    return value;
}

QString Module2::sourceFileName(const QString &designation)
{
    return designation + kSourceName;
}

QString Module2::sourceFileInOtherCase(const QString &designation)
{
    if (designation.isEmpty())
        return {};
    const QStringList matches =
        QDir(designation)
            .entryList({kSourceName}, QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    const auto other = std::find_if(matches.begin(), matches.end(),
                                    [](const QString &name) { return name != kSourceName; });
    return other == matches.end() ? QString() : designation + *other;
}
