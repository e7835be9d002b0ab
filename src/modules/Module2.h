#pragma once

#include "modules/FileStatus.h"

#include <QString>

class ProfileSession;

// The two settings procedures: every write and every read of the menu file goes through them,
// one key per call, on the session of the save or the import that makes them.

// Writes value under key in section of the session's output settings file.
FileStatus IniWrite(ProfileSession &session, const QString &section, const QString &key,
                    const QString &value);

// Reads key from section of the session's source settings file; the empty string when
// anything is missing or unreadable.
QString IniRead(ProfileSession &session, const QString &section, const QString &key);

namespace Module2 {

// The longest value IniRead hands back whole, in bytes of code page 932: the platform reads
// into a buffer of 1024 bytes, its closing NUL included.
constexpr qsizetype kLongestValue = 1023;

// The source settings file of a drive designation: "KORV.ini" right after it.
QString sourceFileName(const QString &designation);

// Discs read on case-sensitive systems often show that name as "korv.ini" or "KORV.INI": the
// file of the designation whose name matches it in another case; empty when there is none.
QString sourceFileInOtherCase(const QString &designation);

} // namespace Module2
