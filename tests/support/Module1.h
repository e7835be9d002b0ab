#pragma once

#include "modules/ProfileSession.h"

#include <QString>

// The platform's private-profile functions, as the tests use them: one read or one write of
// one file on its own, each through a session of its own.
namespace Module1 {

// The value of key in section of fileName, cut to size - 1 bytes in the file's code page;
// defaultValue when the file, the section or the key is missing or unreadable.
inline QString GetPrivateProfileString(const QString &section, const QString &key,
                                       const QString &defaultValue, int size,
                                       const QString &fileName)
{
    ProfileSession session({{}, fileName});
    return session.read(section, key, qMax(size - 1, 0)).value_or(defaultValue);
}

// Sets key in section of fileName to value; a failure comes back with its reason.
inline FileStatus WritePrivateProfileString(const QString &section, const QString &key,
                                            const QString &value, const QString &fileName)
{
    ProfileSession session({fileName, {}});
    if (const FileStatus held = session.write(section, key, value); !held.ok())
        return held;
    return session.commit();
}

} // namespace Module1
