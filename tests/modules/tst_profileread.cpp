#include "support/TestFiles.h"

#include "modules/Cp932.h"
#include "support/Module1.h"

#include <QTemporaryDir>
#include <QTest>

using TestFiles::bytes;

// Reading values from a file's bytes: line ends, headers, names, values and the cut.
class TestProfileRead : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsValue_data();
    void readsValue();
    void cutsToBufferSize_data();
    void cutsToBufferSize();
    void findsEntriesAfterJunk_data();
    void findsEntriesAfterJunk();

private:
    QString read(const QString &section, const QString &key, int size = 1024) const
    {
        return Module1::GetPrivateProfileString(section, key, QStringLiteral("<default>"), size,
                                                m_path);
    }

    QTemporaryDir m_dir;
    QString m_path;
};

void TestProfileRead::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("KORV.ini"));
    QFile::remove(m_path);
}

void TestProfileRead::readsValue_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    const QString none = QStringLiteral("<default>");

    QTest::newRow("CRLF") << bytes("[NAME]\r\n1=abc\r\n") << "NAME"
                          << "1"
                          << "abc";
    QTest::newRow("LF only") << bytes("[NAME]\n1=abc\n2=def\n") << "NAME"
                             << "2"
                             << "def";
    QTest::newRow("CR only") << bytes("[NAME]\r1=abc\r2=def\r") << "NAME"
                             << "2"
                             << "def";
    QTest::newRow("no final line end") << bytes("[NAME]\r\n1=abc") << "NAME"
                                       << "1"
                                       << "abc";
    QTest::newRow("missing file") << QByteArray() << "NAME"
                                  << "1" << none;
    QTest::newRow("missing section") << bytes("[PATH]\r\n1=x\r\n") << "NAME"
                                     << "1" << none;
    QTest::newRow("missing key") << bytes("[NAME]\r\n1=x\r\n") << "NAME"
                                 << "2" << none;
    QTest::newRow("first of duplicate sections")
        << bytes("[NAME]\r\n1=a\r\n[NAME]\r\n1=b\r\n") << "NAME"
        << "1"
        << "a";
    QTest::newRow("only the first section is searched")
        << bytes("[NAME]\r\n1=a\r\n[NAME]\r\n2=b\r\n") << "NAME"
        << "2" << none;
    QTest::newRow("first of duplicate keys") << bytes("[NAME]\r\n1=a\r\n1=b\r\n") << "NAME"
                                             << "1"
                                             << "a";
    QTest::newRow("[ without ] is no header") << bytes("[NAME\r\n1=x\r\n") << "NAME"
                                              << "1" << none;
    QTest::newRow("[ without ] stays in its section") << bytes("[A]\r\n[B\r\nk=v\r\n") << "A"
                                                      << "k"
                                                      << "v";
    QTest::newRow("[ without ] is a key") << bytes("[A]\r\n[B\r\n") << "A"
                                          << "[B"
                                          << "";
    QTest::newRow("] as trail byte closes nothing") << bytes("[A]\r\n[B\x83]\r\nk=v\r\n") << "A"
                                                    << "k"
                                                    << "v";
    QTest::newRow("lower-case [name]") << bytes("[name]\r\n1=x\r\n") << "NAME"
                                       << "1"
                                       << "x";
    QTest::newRow("lower-case [path]") << bytes("[path]\r\n1=x\r\n") << "PATH"
                                       << "1"
                                       << "x";
    QTest::newRow("upper-case lookup of [NAME]") << bytes("[NAME]\r\nKey=x\r\n") << "name"
                                                 << "KEY"
                                                 << "x";
    QTest::newRow("trail byte is not case-folded")
        << bytes("[\x83\x41]\r\n1=x\r\n") << Cp932::decode("\x83\x61") << "1" << none;
    QTest::newRow("trail 5D in section name")
        << bytes("[\x83\x5D]\r\n1=x\r\n") << QStringLiteral(u"ゾ") << "1"
        << "x";
    QTest::newRow("trail 5C in key")
        << bytes("[A]\r\n\x83\x5C=x\r\n") << "A" << QStringLiteral(u"ソ") << "x";
    QTest::newRow("blanks around section name") << bytes(" \t[ \tNAME \t] \t\r\n1=x\r\n") << "NAME"
                                                << "1"
                                                << "x";
    QTest::newRow("blanks around key and value") << bytes("[A]\r\n \tk \t= \tx y \t\r\n") << "A"
                                                 << "k"
                                                 << "x y";
    QTest::newRow("full-width space is no blank") << bytes("[\x81\x40NAME]\r\n1=x\r\n") << "NAME"
                                                  << "1" << none;
    QTest::newRow("full-width space kept in value") << bytes("[A]\r\nk=\x81\x40x\r\n") << "A"
                                                    << "k" << QStringLiteral(u"\u3000x");
    QTest::newRow("double quotes") << bytes("[A]\r\nk= \"a b\" \r\n") << "A"
                                   << "k"
                                   << "a b";
    QTest::newRow("single quotes") << bytes("[A]\r\nk='a'\r\n") << "A"
                                   << "k"
                                   << "a";
    QTest::newRow("one pair only") << bytes("[A]\r\nk=\"\"a\"\"\r\n") << "A"
                                   << "k"
                                   << "\"a\"";
    QTest::newRow("unmatched quotes") << bytes("[A]\r\nk=\"a'\r\n") << "A"
                                      << "k"
                                      << "\"a'";
    QTest::newRow("lone quote") << bytes("[A]\r\nk=\"\r\n") << "A"
                                << "k"
                                << "\"";
    QTest::newRow("; is part of a key") << bytes("[A]\r\n;c=1\r\n") << "A"
                                        << ";c"
                                        << "1";
    QTest::newRow("; hides nothing") << bytes("[A]\r\n;c=1\r\n") << "A"
                                     << "c" << none;
    QTest::newRow("keys before any section") << bytes("1=x\r\n[A]\r\n") << "A"
                                             << "1" << none;
    QTest::newRow("key without =") << bytes("[A]\r\nflag\r\n") << "A"
                                   << "flag"
                                   << "";
    QTest::newRow("= in value") << bytes("[A]\r\nk=a=b\r\n") << "A"
                                << "k"
                                << "a=b";
    QTest::newRow("NUL in value") << bytes("[A]\r\nk=a\0b\r\n") << "A"
                                  << "k" << QString::fromLatin1("a\0b", 3);
    QTest::newRow("NUL in other line") << bytes("[A]\r\nx\0=1\r\nk=2\r\n") << "A"
                                       << "k"
                                       << "2";
    QTest::newRow("stray lead byte") << bytes("[A]\r\nk=a\x83 b\x80\r\n") << "A"
                                     << "k" << QStringLiteral(u"a\uFFFD b\u0080");
    QTest::newRow("bytes that start nothing")
        << bytes("[A]\r\nk=\x80\xA0\xFD\xFE\xFF\r\n") << "A"
        << "k" << QStringLiteral(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3");
    QTest::newRow("Ctrl-Z ends the file") << bytes("[memo]\r\nhitokoto=abc\x1A") << "memo"
                                          << "hitokoto"
                                          << "abc";
    QTest::newRow("VT, FF and Ctrl-Z are blanks")
        << bytes("[\x0B A \x0C]\r\n\x1A k \x0B=\x0C x \x1A\r\n") << "A"
        << "k"
        << "x";
    QTest::newRow("UTF-8 file") << TestFiles::utf8File(QStringLiteral(u"[NAME]\r\n1=ソフト\r\n"))
                                << "NAME"
                                << "1" << QStringLiteral(u"ソフト");
    QTest::newRow("UTF-8 emoji through CP932")
        << TestFiles::utf8File(QStringLiteral(u"[A]\nk=\U0001F600\n")) << "A"
        << "k"
        << "?";
    QTest::newRow("UTF-8 value starting with EF BB BF")
        << TestFiles::utf8File(QStringLiteral(u"[A]\r\nk=\uFEFFx\r\n")) << "A"
        << "k"
        << "?x";
    QTest::newRow("UTF-16LE file")
        << TestFiles::utf16File(QStringLiteral(u"[name]\r\n1=ソフト\r\n")) << "NAME"
        << "1" << QStringLiteral(u"ソフト");
    QTest::newRow("UTF-16LE odd last byte")
        << TestFiles::utf16File(QStringLiteral(u"[A]\nk=v")) + "x"
        << "A"
        << "k"
        << "v";
}

void TestProfileRead::readsValue()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    if (!file.isNull())
        TestFiles::writeFile(m_path, file);
    QCOMPARE(read(section, key), expected);
}

void TestProfileRead::cutsToBufferSize_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("expected");
    const QByteArray head = bytes("[A]\r\nk=");
    const QString a = QStringLiteral(u"あ");

    QTest::newRow("1500 bytes") << head + QByteArray(1500, 'x') << 1024 << QString(1023, u'x');
    QTest::newRow("pair across the end dropped")
        << head + QByteArray(1022, 'x') + "\x82\xA0" << 1024 << QString(1022, u'x');
    QTest::newRow("pair up to the end kept")
        << head + QByteArray(1021, 'x') + "\x82\xA0" << 1024 << QString(1021, u'x') + a;
    QTest::newRow("trail 5C across the end") << head + "x" + QByteArray("\x83\x5C").repeated(600)
                                             << 1024 << "x" + QStringLiteral(u"ソ").repeated(511);
    QTest::newRow("small buffer") << head + "abcdef" << 4 << "abc";
    QTest::newRow("buffer of one") << head + "abcdef" << 1 << "";
    QTest::newRow("UTF-16 cut in CP932 bytes")
        << TestFiles::utf16File("[A]\r\nk=x" + a.repeated(600)) << 1024 << "x" + a.repeated(511);
    QTest::newRow("100 kB line") << head + QByteArray(100000, 'y') + "\r\nj=1" << 1024
                                 << QString(1023, u'y');
}

void TestProfileRead::cutsToBufferSize()
{
    QFETCH(QByteArray, file);
    QFETCH(int, size);
    QFETCH(QString, expected);
    TestFiles::writeFile(m_path, file);
    QCOMPARE(read("A", "k", size), expected);
}

void TestProfileRead::findsEntriesAfterJunk_data()
{
    QTest::addColumn<QByteArray>("junk");

    // Every byte value; after a line break or blank never a "[", so no header hides in it.
    QByteArray binary(1 << 19, Qt::Uninitialized);
    for (qsizetype i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7 + 3) & 0xFF);
    QTest::newRow("binary junk") << binary;
    QTest::newRow("a 100 kB line") << QByteArray(100000, '[') + "\r\n";
    // Up to the limit of what is read.
    QTest::newRow("a megabyte of lines")
        << QByteArray("junk=\x83\x5C\x83\x5D [x] ;\r\n").repeated(((1 << 20) - 64) / 17);
}

void TestProfileRead::findsEntriesAfterJunk()
{
    QFETCH(QByteArray, junk);
    TestFiles::writeFile(m_path, junk + "\r\n[NAME]\r\n1=first\r\n[PATH]\r\n17=last");
    QCOMPARE(read("NAME", "1"), "first");
    QCOMPARE(read("PATH", "17"), "last");
}

QTEST_GUILESS_MAIN(TestProfileRead)
#include "tst_profileread.moc"
