#include "support/TestFiles.h"

#include "modules/Module2.h"
#include "modules/ProfileSession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using TestFiles::bytes;

// IniWrite and IniRead: what the wizard writes to its output file reads back from a disc.
class TestIniAccess : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readsBackWhatWasWritten_data();
    void readsBackWhatWasWritten();
    void secondRunUpdatesInPlace();
    void eachSessionHasItsOwnFiles();
    void writeWithoutOutputPathFails();
    void readStopsAtNul();

private:
    // A session that writes KORV.ini and reads it back as the source file of its folder.
    ProfileSession &session()
    {
        m_session.emplace(ProfileSession::Files{
            m_path, Module2::sourceFileName(m_dir.path() + QLatin1Char('/'))});
        return *m_session;
    }

    QTemporaryDir m_dir;
    QString m_path;
    std::optional<ProfileSession> m_session;
};

void TestIniAccess::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("KORV.ini"));
    QFile::remove(m_path);
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
    TestFiles::writeFile(m_path, "[NAME]\r\n1=old\r\n2=keep\r\n");
    const FileStatus status = IniWrite(session(), "NAME", "1", value);
    QVERIFY2(status.ok() && m_session->commit().ok(), TestFiles::describe(status));
    QCOMPARE(IniRead(session(), "NAME", "1"), expected);
    QCOMPARE(IniRead(*m_session, "NAME", "2"), "keep");
}

void TestIniAccess::secondRunUpdatesInPlace()
{
    auto run = [this](const QString &changed) {
        ProfileSession &saving = session();
        for (int slot = 1; slot <= 17; ++slot) {
            const QString value = slot == 5 ? changed : QStringLiteral(u"項目%1").arg(slot);
            IniWrite(saving, "NAME", QString::number(slot), value);
            IniWrite(saving, "PATH", QString::number(slot),
                     QStringLiteral("/disc/%1.exe").arg(slot));
        }
        IniWrite(saving, "TITLE", "1", QStringLiteral(u"題名"));
        return saving.commit().ok();
    };
    QVERIFY(run(QStringLiteral(u"一回目")));
    QByteArray expected = TestFiles::readFile(m_path);
    QVERIFY(run(QStringLiteral(u"二回目")));
    expected.replace("5=\x88\xEA\x89\xF1\x96\xDA", "5=\x93\xF1\x89\xF1\x96\xDA");
    QCOMPARE(TestFiles::readFile(m_path), expected);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"KORV.ini"});
    QCOMPARE(IniRead(session(), "name", "5"), QStringLiteral(u"二回目"));
}

void TestIniAccess::eachSessionHasItsOwnFiles()
{
    for (const char *name : {"first.ini", "second.ini"}) {
        ProfileSession own({m_dir.filePath(name), {}});
        QVERIFY(IniWrite(own, "NAME", "1", name).ok());
        QVERIFY(own.commit().ok());
    }
    QCOMPARE(TestFiles::readFile(m_dir.filePath("first.ini")), bytes("[NAME]\r\n1=first.ini\r\n"));
    QCOMPARE(TestFiles::readFile(m_dir.filePath("second.ini")),
             bytes("[NAME]\r\n1=second.ini\r\n"));
    QCOMPARE(Module2::sourceFileName("/media/disc/"), "/media/disc/KORV.ini");
}

void TestIniAccess::writeWithoutOutputPathFails()
{
    const bool existed = QFile::exists("KORV.ini");
    ProfileSession unnamed;
    QCOMPARE(IniWrite(unnamed, "NAME", "1", "a").problem, FileProblem::NoFileName);
    QVERIFY(unnamed.commit().ok());
    QCOMPARE(QFile::exists("KORV.ini"), existed);
}

void TestIniAccess::readStopsAtNul()
{
    TestFiles::writeFile(m_path, bytes("[NAME]\r\n1=ab\0cd\r\n"));
    QCOMPARE(IniRead(session(), "NAME", "1"), "ab");
    QCOMPARE(IniRead(*m_session, "NAME", "2"), "");
}

QTEST_GUILESS_MAIN(TestIniAccess)
#include "tst_iniaccess.moc"
