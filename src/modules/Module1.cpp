#include "modules/Module1.h"

#include "modules/ProfileSession.h"

namespace Module1 {

QString GetPrivateProfileString(const QString &section, const QString &key,
                                const QString &defaultValue, int size, const QString &fileName)
{
    ProfileSession session({}, {{section}, {key}});
    return session.read(fileName, section, key, qMax(size - 1, 0)).value_or(defaultValue);
}

FileStatus WritePrivateProfileString(const QString &section, const QString &key,
                                     const QString &value, const QString &fileName)
{
    ProfileSession session;
    if (const FileStatus held = session.write(fileName, section, key, value); !held.ok())
        return held;
    return session.commit();
}

} // namespace Module1
