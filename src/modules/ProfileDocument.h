#pragma once

#include "modules/FileEncoding.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// One settings file's bytes, read and written by the rules of the platform's profile
// functions. Its text is kept as units: each byte of a code page 932 or UTF-8 file as one
// unit (U+0000 to U+00FF), the code units of a UTF-16LE file as they are. A write changes only
// the units of its value, key or section, so every other byte comes out as it went in.
class ProfileDocument
{
public:
    struct Write
    {
        QString section;
        QString key;
        QString value;
    };

    // The document of a file's bytes: UTF-8 or UTF-16LE after that byte order mark, code
    // page 932 otherwise.
    explicit ProfileDocument(const QByteArray &bytes = {});

    FileEncoding encoding() const { return m_encoding; }

    // Whether text is nothing but what reading trims around names and values.
    static bool isBlank(QStringView text);

    // The value of key in the first section called section, cut to maxBytes of code page 932
    // as the platform's ANSI reader hands it over; nothing when the section or key is missing.
    std::optional<QString> value(const QString &section, const QString &key,
                                 qsizetype maxBytes) const;

    // Makes writes, each key written once: where its first write puts it, with the value of
    // its last. A value that reads back as the file's value leaves the line as it is.
    void write(const std::vector<Write> &writes);

    // Whether a write changed anything.
    bool isChanged() const { return m_changed; }

    // The file's bytes as they are now.
    QByteArray bytes() const;

private:
    struct Line
    {
        qsizetype start;
        qsizetype contentEnd;
        qsizetype end; // after its line break
    };
    // Where a key's value is: [value, end) of its line.
    struct KeyLine
    {
        qsizetype value;
        qsizetype end;
        bool hasEquals;
    };
    struct Section
    {
        qsizetype insertAt; // just after the section's last non-blank line
        std::optional<KeyLine> key;
    };

    QString units(const QString &text) const;
    QString decoded(QStringView valueUnits, qsizetype maxBytes) const;
    bool isPair(QStringView text, qsizetype at) const;
    bool sameName(QStringView a, QStringView b) const;
    const std::vector<Line> &lines() const;
    std::optional<QStringView> headerName(QStringView content) const;
    std::optional<Section> find(QStringView section, QStringView key) const;
    void writeOne(const Write &write);

    FileEncoding m_encoding = FileEncoding::Cp932;
    QByteArray m_byteOrderMark;
    QString m_text;
    QByteArray m_oddByte; // the last byte of a UTF-16LE file of odd size, kept last
    bool m_changed = false;
    // The lines of m_text, found once after each change: lookups come one key at a time.
    mutable std::vector<Line> m_lines;
    mutable bool m_linesFound = false;
};
