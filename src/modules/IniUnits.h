#pragma once

#include "modules/Cp932.h"

#include <QString>

#include <string>
#include <string_view>

// The three ways a profile file stores its text, as the text model needs to know them:
// the unit type, which units begin a two-unit character (whose second unit is never
// structure and never case-folded), and the conversions to and from the program's strings.

// A file without a byte order mark: code page 932 bytes.
struct Cp932Units
{
    using Unit = char;
    static bool isLead(Unit u) { return Cp932::isLeadByte(uchar(u)); }
    static bool isTrail(Unit u) { return Cp932::isTrailByte(uchar(u)); }
    static std::string encode(const QString &text);
    // The value as the platform's ANSI reader returns it: cut to maxBytes of CP932.
    static QString read(std::string_view value, qsizetype maxBytes);
};

// A file that starts with EF BB BF: ASCII bytes never occur inside a UTF-8 sequence.
struct Utf8Units
{
    using Unit = char;
    static bool isLead(Unit) { return false; }
    static bool isTrail(Unit) { return false; }
    static std::string encode(const QString &text);
    static QString read(std::string_view value, qsizetype maxBytes);
};

// A file that starts with FF FE: little-endian UTF-16 code units, kept exactly.
struct Utf16Units
{
    using Unit = char16_t;
    static bool isLead(Unit) { return false; }
    static bool isTrail(Unit) { return false; }
    static std::u16string encode(const QString &text);
    static QString read(std::u16string_view value, qsizetype maxBytes);
};
