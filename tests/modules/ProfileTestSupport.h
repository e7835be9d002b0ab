#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// File contents for the profile tests: byte literals may hold NUL, and files are written and
// read whole.
namespace ProfileTest {

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

} // namespace ProfileTest
