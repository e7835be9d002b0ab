#include "support/TestFiles.h"

#include "support/Module1.h"

#include <QTemporaryDir>
#include <QTest>

using TestFiles::bytes;

// Writing values into a file's bytes: where lines go, and that nothing else changes.
class TestProfileWrite : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writes_data();
    void writes();
    void keepsTheRest_data();
    void keepsTheRest();
    void sameValueLeavesFileAlone_data();
    void sameValueLeavesFileAlone();

private:
    void write(const QString &section, const QString &key, const QString &value)
    {
        const FileStatus status = Module1::WritePrivateProfileString(section, key, value, m_path);
        QVERIFY2(status.ok(), TestFiles::describe(status));
    }

    QTemporaryDir m_dir;
    QString m_path;
};

void TestProfileWrite::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("KORV.ini"));
    QFile::remove(m_path);
}

void TestProfileWrite::writes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file") << QByteArray() << "NAME"
                              << "1"
                              << "abc" << bytes("[NAME]\r\n1=abc\r\n");
    QTest::newRow("names as passed") << QByteArray() << "Name"
                                     << "Key"
                                     << "v" << bytes("[Name]\r\nKey=v\r\n");
    QTest::newRow("replace keeps key text and LF") << bytes("[NAME]\n Key = old\nx=1\n") << "NAME"
                                                   << "KEY"
                                                   << "new" << bytes("[NAME]\n Key =new\nx=1\n");
    QTest::newRow("replace in CR-only file") << bytes("[A]\rk=old\r") << "A"
                                             << "k"
                                             << "new" << bytes("[A]\rk=new\r");
    QTest::newRow("replace quoted value") << bytes("[A]\r\nk=\"old\"\r\n") << "A"
                                          << "k"
                                          << "new" << bytes("[A]\r\nk=new\r\n");
    QTest::newRow("line without =") << bytes("[A]\r\nflag\r\n") << "A"
                                    << "flag"
                                    << "1" << bytes("[A]\r\nflag=1\r\n");
    QTest::newRow("empty value") << bytes("[A]\r\nk=old\r\n") << "A"
                                 << "k"
                                 << "" << bytes("[A]\r\nk=\r\n");
    QTest::newRow("value starting with =") << bytes("[A]\r\nk=old\r\n") << "A"
                                           << "k"
                                           << "=x" << bytes("[A]\r\nk==x\r\n");
    QTest::newRow("first of duplicate sections") << bytes("[A]\r\nk=1\r\n[a]\r\nk=2\r\n") << "A"
                                                 << "k"
                                                 << "9" << bytes("[A]\r\nk=9\r\n[a]\r\nk=2\r\n");
    QTest::newRow("first of duplicate keys") << bytes("[A]\r\nk=1\r\nK=2\r\n") << "A"
                                             << "k"
                                             << "9" << bytes("[A]\r\nk=9\r\nK=2\r\n");
    QTest::newRow("lower-case [name]") << bytes("[name]\r\n1=x\r\n") << "NAME"
                                       << "1"
                                       << "y" << bytes("[name]\r\n1=y\r\n");
    QTest::newRow("key after last non-blank line")
        << bytes("[A]\r\nk=1\r\n \t\r\n\r\n[B]\r\n") << "A"
        << "j"
        << "2" << bytes("[A]\r\nk=1\r\nj=2\r\n \t\r\n\r\n[B]\r\n");
    QTest::newRow("key into empty section") << bytes("[A]\r\n[B]\r\n") << "A"
                                            << "j"
                                            << "2" << bytes("[A]\r\nj=2\r\n[B]\r\n");
    QTest::newRow("key after [ without ]") << bytes("[A]\n[B\n") << "A"
                                           << "j"
                                           << "2" << bytes("[A]\n[B\nj=2\r\n");
    QTest::newRow("key before a last line of Ctrl-Z") << bytes("[A]\r\nk=1\r\n\x1A") << "A"
                                                      << "j"
                                                      << "2" << bytes("[A]\r\nk=1\r\nj=2\r\n\x1A");
    QTest::newRow("key at end without line end") << bytes("[A]\r\nk=1") << "A"
                                                 << "j"
                                                 << "2" << bytes("[A]\r\nk=1\r\nj=2\r\n");
    QTest::newRow("section at end without line end")
        << bytes("[A]\r\nk=1") << "B"
        << "j"
        << "2" << bytes("[A]\r\nk=1\r\n[B]\r\nj=2\r\n");
    QTest::newRow("section after LF lines") << bytes("[A]\nk=1\n") << "B"
                                            << "j"
                                            << "2" << bytes("[A]\nk=1\n[B]\r\nj=2\r\n");
    QTest::newRow("keys before any section") << bytes("k=0\r\n") << "A"
                                             << "k"
                                             << "1" << bytes("k=0\r\n[A]\r\nk=1\r\n");
    QTest::newRow("CR, LF and NUL in value")
        << bytes("[A]\r\n") << "A"
        << "k" << QString::fromLatin1("a\r\nb\0c", 6) << bytes("[A]\r\nk=a  bc\r\n");
    QTest::newRow("unstorable characters")
        << bytes("[A]\r\n") << "A"
        << "k" << QStringLiteral(u"a\U0001F600b") << bytes("[A]\r\nk=a?b\r\n");
    QTest::newRow("JIS forms")
        << bytes("[A]\r\n") << "A"
        << "k" << QStringLiteral(u"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014")
        << bytes("[A]\r\nk=\x81\x60\x81\x61\x81\x7C\x81\x91\x81\x92\x81\xCA\x81\x5C\r\n");
    QTest::newRow("the lone bytes' own characters")
        << QByteArray() << "NAME"
        << "1" << QStringLiteral(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3")
        << bytes("[NAME]\r\n1=\x80\xA0\xFD\xFE\xFF\r\n");
    QTest::newRow("ソフト") << QByteArray() << "NAME"
                            << "1" << QStringLiteral(u"ソフト")
                            << bytes("[NAME]\r\n1=\x83\x5C\x83\x74\x83\x67\r\n");
    QTest::newRow("UTF-8 file stays UTF-8")
        << TestFiles::utf8File("[A]\r\nk=old\r\n") << "B"
        << "k" << QStringLiteral(u"ソ\U0001F600")
        << TestFiles::utf8File(QStringLiteral(u"[A]\r\nk=old\r\n[B]\r\nk=ソ\U0001F600\r\n"));
    QTest::newRow("UTF-16LE file stays UTF-16LE")
        << TestFiles::utf16File(QStringLiteral(u"[a]\nk=old\nx=") + QChar(0xD800) + "\n") << "A"
        << "k" << QStringLiteral(u"ソ")
        << TestFiles::utf16File(QStringLiteral(u"[a]\nk=ソ\nx=") + QChar(0xD800) + "\n");
    QTest::newRow("UTF-16LE odd last byte stays last")
        << TestFiles::utf16File("[A]\r\n") + "\x01"
        << "A"
        << "k"
        << "v" << TestFiles::utf16File("[A]\r\nk=v\r\n") + "\x01";
}

void TestProfileWrite::writes()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    if (!before.isNull())
        TestFiles::writeFile(m_path, before);
    write(section, key, value);
    QCOMPARE(TestFiles::readFile(m_path), after);
}

void TestProfileWrite::keepsTheRest_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("tail");

    QTest::newRow("other sections and unknown keys")
        << bytes("[OTHER]\r\nzz=1\r\n[NAME]\r\nx=y\r\n1=") << bytes("\r\n2=b\r\n[PATH]\r\n1=c\r\n");
    QTest::newRow("comments and blank lines")
        << bytes(";c\r\n\r\n[NAME]\r\n; note\r\n\r\n1=") << bytes("\r\n\r\n;end\r\n");
    QTest::newRow("LF-only and CR-only line ends")
        << bytes("[X]\nk=v\r[NAME]\n1=") << bytes("\n2=\r3=\n");
    QTest::newRow("bytes that are not CP932")
        << bytes("\x80\xA0\xFD\xFE\xFF\r\n[NAME]\r\n1=") << bytes("\r\n2=\x83\r\n\x85\x40=\xFF");
    QTest::newRow("NEC and IBM duplicates")
        << bytes("[\xED\x40]\r\n\xFA\x5C=\x87\x54\r\n[NAME]\r\n1=")
        << bytes("\r\n2=\xFA\x4A\xEE\xEF");
    QTest::newRow("trail bytes 5C and 5D")
        << bytes("[\x83\x5D]\r\n\x83\x5C=\x95\x5C\r\n[NAME]\r\n1=") << bytes("\r\n[\x83\x5C]\r\n");
    QTest::newRow("NUL bytes") << bytes("\0\r\n[NAME]\r\nk=\0\r\n1=") << bytes("\r\n\0=\0");
    QTest::newRow("blanks and quotes")
        << bytes("  [ NAME ]  \r\n 2 = \"a\" \r\n1=") << bytes("\r\n 3 = 'b' \r\n");
}

void TestProfileWrite::keepsTheRest()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, tail);
    TestFiles::writeFile(m_path, head + "old" + tail);
    write("NAME", "1", "new");
    QCOMPARE(TestFiles::readFile(m_path), head + "new" + tail);
}

void TestProfileWrite::sameValueLeavesFileAlone_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << bytes("[NAME]\r\n1=abc\r\n") << "abc";
    QTest::newRow("blanks and quotes around it") << bytes("[NAME]\n 1 = \"abc\" \n") << "abc";
    QTest::newRow("empty value without =") << bytes("[NAME]\r\n1") << "";
    QTest::newRow("CP932 with duplicates elsewhere")
        << bytes("[NAME]\r\n1=\x83\x5C\r\n2=\xED\x40") << QStringLiteral(u"ソ");
}

void TestProfileWrite::sameValueLeavesFileAlone()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, value);
    TestFiles::writeFile(m_path, file);
    write("NAME", "1", value);
    QCOMPARE(TestFiles::readFile(m_path), file);
}

QTEST_GUILESS_MAIN(TestProfileWrite)
#include "tst_profilewrite.moc"
