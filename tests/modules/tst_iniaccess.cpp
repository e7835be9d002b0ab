#include "ProfileTestSupport.h"

#include "modules/Module1.h"
#include "modules/Module2.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using ProfileTest::bytes;

// IniWrite and IniRead: what the wizard writes to its output file reads back from a disc.
class TestIniAccess : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readsBackWhatWasWritten_data();
    void readsBackWhatWasWritten();
    void secondRunUpdatesInPlace();
    void asksForPathsOnEveryCall();
    void writeWithoutOutputPathFails();
    void readStopsAtNul();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestIniAccess::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("KORV.ini"));
    QFile::remove(m_path);
    Module2::setOutputPathHolder([this] { return m_path; });
    Module2::setDriveDesignation([this] { return m_dir.path() + '/'; });
}

void TestIniAccess::cleanup()
{
    Module2::setOutputPathHolder(nullptr);
    Module2::setDriveDesignation(nullptr);
}

void TestIniAccess::readsBackWhatWasWritten_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    const QString a = QStringLiteral(u"ア");

    QTest::newRow("ASCII path") << "C:\\Program Files\\app.exe"
                                << "C:\\Program Files\\app.exe";
    QTest::newRow("Japanese with trail 5C")
        << QStringLiteral(u"ソフト表示　能力") << QStringLiteral(u"ソフト表示　能力");
    QTest::newRow("full-width spaces at the ends")
        << QStringLiteral(u"　名前　") << QStringLiteral(u"　名前　");
    QTest::newRow("half-width katakana") << QStringLiteral(u"ｿﾌﾄｳｪｱ") << QStringLiteral(u"ｿﾌﾄｳｪｱ");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("1500 ASCII bytes") << QString(1500, u'x') << QString(1023, u'x');
    QTest::newRow("1500 bytes of pairs") << a.repeated(750) << a.repeated(511);
    QTest::newRow("1023 bytes ending in a pair") << "x" + a.repeated(750) << "x" + a.repeated(511);
    QTest::newRow("line breaks and NUL") << QString::fromLatin1("a\r\nb\0c\rd", 8) << "a  bc d";
    QTest::newRow("emoji") << QStringLiteral(u"名\U0001F600") << QStringLiteral(u"名?");
    QTest::newRow("JIS forms") << QStringLiteral(u"1\u301C2\u22123")
                               << QStringLiteral(u"1\uFF5E2\uFF0D3");
}

void TestIniAccess::readsBackWhatWasWritten()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    ProfileTest::writeFile(m_path, "[NAME]\r\n1=old\r\n2=keep\r\n");
    const WriteStatus status = IniWrite("NAME", "1", value);
    QVERIFY2(status.ok(), qPrintable(status.reason));
    QCOMPARE(IniRead("NAME", "1"), expected);
    QCOMPARE(IniRead("NAME", "2"), "keep");
}

void TestIniAccess::secondRunUpdatesInPlace()
{
    auto run = [](const QString &changed) {
        Module1::ProfileBatch batch;
        for (int slot = 1; slot <= 17; ++slot) {
            const QString value = slot == 5 ? changed : QStringLiteral(u"項目%1").arg(slot);
            IniWrite("NAME", QString::number(slot), value);
            IniWrite("PATH", QString::number(slot), QStringLiteral("/disc/%1.exe").arg(slot));
        }
        IniWrite("TITLE", "1", QStringLiteral(u"題名"));
        return batch.commit().ok();
    };
    QVERIFY(run(QStringLiteral(u"一回目")));
    QByteArray expected = ProfileTest::readFile(m_path);
    QVERIFY(run(QStringLiteral(u"二回目")));
    expected.replace("5=\x88\xEA\x89\xF1\x96\xDA", "5=\x93\xF1\x89\xF1\x96\xDA");
    QCOMPARE(ProfileTest::readFile(m_path), expected);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"KORV.ini"});
    QCOMPARE(IniRead("name", "5"), QStringLiteral(u"二回目"));
}

void TestIniAccess::asksForPathsOnEveryCall()
{
    QString output = m_dir.filePath("first.ini");
    Module2::setOutputPathHolder([&output] { return output; });
    QVERIFY(IniWrite("NAME", "1", "a").ok());
    output = m_dir.filePath("second.ini");
    QVERIFY(IniWrite("NAME", "1", "b").ok());
    QCOMPARE(ProfileTest::readFile(m_dir.filePath("first.ini")), bytes("[NAME]\r\n1=a\r\n"));
    QCOMPARE(ProfileTest::readFile(m_dir.filePath("second.ini")), bytes("[NAME]\r\n1=b\r\n"));

    Module2::setDriveDesignation([] { return QStringLiteral("/media/disc/"); });
    QCOMPARE(Module2::sourceFileName(), "/media/disc/KORV.ini");
}

void TestIniAccess::writeWithoutOutputPathFails()
{
    Module2::setOutputPathHolder(nullptr);
    const bool existed = QFile::exists("KORV.ini");
    const WriteStatus status = IniWrite("NAME", "1", "a");
    QVERIFY(!status.ok());
    QVERIFY(!status.reason.isEmpty());
    QCOMPARE(QFile::exists("KORV.ini"), existed);
}

void TestIniAccess::readStopsAtNul()
{
    ProfileTest::writeFile(m_path, bytes("[NAME]\r\n1=ab\0cd\r\n"));
    QCOMPARE(IniRead("NAME", "1"), "ab");
    QCOMPARE(IniRead("NAME", "2"), "");
}

QTEST_GUILESS_MAIN(TestIniAccess)
#include "tst_iniaccess.moc"
