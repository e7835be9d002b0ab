#pragma once

#include "modules/FileStatus.h"

#include <QString>

// Stand-ins for the platform's private-profile functions, which this platform lacks: the same
// reading and writing rules, carried out directly on the file's bytes. Each call is one read
// or one write on its own; a save of many keys goes through one ProfileSession instead.
namespace Module1 {

// Copies the value of key in section of fileName, cut to size - 1 bytes in the file's
// code page; defaultValue when the file, the section or the key is missing or unreadable.
QString GetPrivateProfileString(const QString &section, const QString &key,
                                const QString &defaultValue, int size, const QString &fileName);

// Sets key in section of fileName to value, adding the key or the section when missing.
// The file is replaced atomically; a failure comes back with its reason.
FileStatus WritePrivateProfileString(const QString &section, const QString &key,
                                     const QString &value, const QString &fileName);

} // namespace Module1
