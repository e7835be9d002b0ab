#pragma once

#include "modules/FileStatus.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QMetaEnum>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// Settings files for the tests: a temporary folder with its KORV.ini, and file contents,
// written and read whole. Byte literals may hold NUL.
namespace TestFiles {

// A fresh temporary folder, and where its KORV.ini goes (not made yet).
struct Folder
{
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("KORV.ini"));
};

// The bytes of a string literal, embedded NUL bytes included.
template <std::size_t N> QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, qsizetype(N - 1));
}

// A UTF-16LE file's bytes: the byte order mark, then the units of text.
inline QByteArray utf16File(const QString &text)
{
    return QByteArray("\xFF\xFE") +
           QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

inline QByteArray utf8File(const QString &text)
{
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

inline void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    QCOMPARE(file.write(content), content.size());
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Lines of a settings file as the wizard writes them: CRLF after each.
inline QByteArray iniLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

// A section with the keys from first to last and the values given, empty beyond them.
inline QStringList iniSection(const QString &name, int first, int last,
                              const QHash<int, QString> &values = {})
{
    QStringList lines{QLatin1Char('[') + name + QLatin1Char(']')};
    for (int key = first; key <= last; ++key)
        lines.append(QStringLiteral("%1=%2").arg(key).arg(values.value(key)));
    return lines;
}

// What failed, for a failed check's message.
inline QByteArray describe(const FileStatus &status)
{
    return QByteArray(QMetaEnum::fromType<FileProblem>().valueToKey(int(status.problem))) + ' ' +
           status.fileName.toUtf8() + ' ' + status.detail.toUtf8();
}

} // namespace TestFiles
