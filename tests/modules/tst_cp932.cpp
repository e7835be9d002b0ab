#include "modules/Cp932.h"

#include <QTest>

// The code page 932 conversions on their own: the bytes Windows uses where ICU's table
// differs, visible decoding of bad bytes, "?" for what CP932 cannot hold.
class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void encode_data();
    void encode();
    void unstorableCharacters_data();
    void unstorableCharacters();
    void cut_data();
    void cut();
};

void TestCp932::decode_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<QString>("expected");

    QTest::newRow("control codes ICU rotates")
        << QByteArray("1a1c7f") << QStringLiteral("\x1A\x1C\x7F");
    QTest::newRow("half-width katakana")
        << QByteArray("b1dfa1") << QStringLiteral(u"\uFF71\uFF9F\uFF61");
    QTest::newRow("trail byte 5C") << QByteArray("835c83748367") << QStringLiteral(u"ソフト");
    QTest::newRow("trail byte 5D") << QByteArray("835d") << QStringLiteral(u"ゾ");
    QTest::newRow("NUL kept") << QByteArray("410042") << QString::fromLatin1("A\0B", 3);
    QTest::newRow("lone lead byte at end") << QByteArray("4183") << QStringLiteral(u"A\uFFFD");
    QTest::newRow("lead byte before a space")
        << QByteArray("832041") << QStringLiteral(u"\uFFFD A");
    QTest::newRow("lead byte before LF") << QByteArray("830a") << QStringLiteral(u"\uFFFD\n");
    QTest::newRow("lead byte before 7F") << QByteArray("837f") << QStringLiteral(u"\uFFFD\x7F");
    QTest::newRow("bytes that start nothing, as the platform reads them")
        << QByteArray("80a0fdfeff41") << QStringLiteral(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3A");
    QTest::newRow("unmapped pair is one character")
        << QByteArray("854041") << QStringLiteral(u"\uFFFDA");
    QTest::newRow("NEC and IBM duplicates")
        << QByteArray("ed40fa5c") << QStringLiteral(u"\u7E8A\u7E8A");
}

void TestCp932::decode()
{
    QFETCH(QByteArray, hex);
    QFETCH(QString, expected);
    QCOMPARE(Cp932::decode(QByteArray::fromHex(hex)), expected);
}

void TestCp932::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("hex");

    QTest::newRow("control codes ICU rotates")
        << QStringLiteral("\x1A\x1C\x7F") << QByteArray("1a1c7f");
    QTest::newRow("ソフト") << QStringLiteral(u"ソフト") << QByteArray("835c83748367");
    QTest::newRow("half-width katakana") << QStringLiteral(u"\uFF71\uFF9F") << QByteArray("b1df");
    QTest::newRow("NEC special character") << QStringLiteral(u"\u2460") << QByteArray("8740");
    QTest::newRow("IBM extension") << QStringLiteral(u"\u7E8A") << QByteArray("fa5c");
    QTest::newRow("WAVE DASH") << QStringLiteral(u"\u301C") << QByteArray("8160");
    QTest::newRow("FULLWIDTH TILDE") << QStringLiteral(u"\uFF5E") << QByteArray("8160");
    QTest::newRow("DOUBLE VERTICAL LINE") << QStringLiteral(u"\u2016") << QByteArray("8161");
    QTest::newRow("MINUS SIGN") << QStringLiteral(u"\u2212") << QByteArray("817c");
    QTest::newRow("CENT SIGN") << QStringLiteral(u"\u00A2") << QByteArray("8191");
    QTest::newRow("POUND SIGN") << QStringLiteral(u"\u00A3") << QByteArray("8192");
    QTest::newRow("NOT SIGN") << QStringLiteral(u"\u00AC") << QByteArray("81ca");
    QTest::newRow("EM DASH") << QStringLiteral(u"\u2014") << QByteArray("815c");
    QTest::newRow("emoji") << QStringLiteral(u"a\U0001F600b") << QByteArray("613f62");
    QTest::newRow("rare CJK outside the BMP") << QStringLiteral(u"\U0002000B") << QByteArray("3f");
    QTest::newRow("lone surrogate") << QStringLiteral(u"a") + QChar(0xD800) << QByteArray("613f");
    QTest::newRow("YEN SIGN") << QStringLiteral(u"\u00A5") << QByteArray("3f");
    QTest::newRow("REPLACEMENT CHARACTER") << QStringLiteral(u"\uFFFD") << QByteArray("3f");
    QTest::newRow("the lone bytes' own characters")
        << QStringLiteral(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3") << QByteArray("80a0fdfeff");
}

void TestCp932::encode()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, hex);
    QCOMPARE(Cp932::encode(text).toHex(), hex);
}

void TestCp932::unstorableCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("all storable") << QStringLiteral(u"ソフトabcｱ") << QString();
    QTest::newRow("JIS forms are storable")
        << QStringLiteral(u"\u301C\u2016\u2212\u00A2\u00A3\u00AC\u2014") << QString();
    QTest::newRow("each once, pair whole")
        << QStringLiteral(u"\U0001F600a\U0001F600") << QStringLiteral(u"\U0001F600");
    QTest::newRow("order of appearance") << QStringLiteral(u"\U0002000Bx\U0001F600\U0002000B")
                                         << QStringLiteral(u"\U0002000B\U0001F600");
    QTest::newRow("lone surrogates") << QString(QChar(0xDC00)) + QStringLiteral(u"\U0001F600")
                                     << QString(QChar(0xDC00)) + QStringLiteral(u"\U0001F600");
    QTest::newRow("yen sign") << QStringLiteral(u"\u00A5100") << QStringLiteral(u"\u00A5");
}

void TestCp932::unstorableCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Cp932::unstorableCharacters(text), expected);
}

void TestCp932::cut_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QByteArray>("expectedHex");

    QTest::newRow("fits") << QByteArray("414243") << 3 << QByteArray("414243");
    QTest::newRow("single bytes") << QByteArray("414243") << 2 << QByteArray("4142");
    QTest::newRow("pair not split") << QByteArray("418341") << 2 << QByteArray("41");
    QTest::newRow("pair that fits") << QByteArray("418341") << 3 << QByteArray("418341");
    QTest::newRow("trail 5C goes with its lead")
        << QByteArray("835c835c") << 3 << QByteArray("835c");
    QTest::newRow("lead before a space is single") << QByteArray("832041") << 1 << QByteArray("83");
    QTest::newRow("nothing") << QByteArray("8341") << 0 << QByteArray();
}

void TestCp932::cut()
{
    QFETCH(QByteArray, hex);
    QFETCH(int, maxBytes);
    QFETCH(QByteArray, expectedHex);
    const QByteArray bytes = QByteArray::fromHex(hex);
    QCOMPARE(Cp932::cut(bytes, maxBytes).toByteArray().toHex(), expectedHex);
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
