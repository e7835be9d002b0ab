#pragma once

#include "modules/WriteStatus.h"

#include <QString>
#include <functional>

// The two settings procedures: every write and every read of the menu file goes through them.

// Writes value under key in section of the output settings file, whose path is taken from
// the output path holder on every call.
WriteStatus IniWrite(const QString &section, const QString &key, const QString &value);

// Reads key from section of the source settings file (the drive designation followed by
// "KORV.ini"); the empty string when anything is missing or unreadable.
QString IniRead(const QString &section, const QString &key);

namespace Module2 {

using PathSource = std::function<QString()>;

// Where IniWrite finds the output path: page 1's hidden Label5 once the window exists.
void setOutputPathHolder(PathSource holder);
// Where IniRead finds the drive designation: the root of the volume chosen in Drive1.
void setDriveDesignation(PathSource designation);

QString outputFileName();
QString sourceFileName();

} // namespace Module2
