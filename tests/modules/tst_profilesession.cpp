#include "support/TestFiles.h"

#include "modules/ProfileSession.h"
#include "support/Module1.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTest>

using TestFiles::bytes;

// A session: its file read once and kept, writes held until commit(), and a commit that never
// replaces a file another program changed meanwhile, nor one the user cancelled in time.
class TestProfileSession : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void keepsWhatItReadUntilItEnds();
    void holdsWritesUntilCommit();
    void dropsUncommittedWrites();
    void commitReportsFailure();
    void revertedWriteLeavesFileAlone();
    void changeByAnotherProgramIsNotOverwritten_data();
    void changeByAnotherProgramIsNotOverwritten();
    void cancelledCommit_data();
    void cancelledCommit();
    void sessionEqualsWritesOneByOne_data();
    void sessionEqualsWritesOneByOne();

private:
    QString read(ProfileSession &session, const QString &section, const QString &key) const
    {
        return session.read(section, key, 1023).value_or("<default>");
    }
    bool write(ProfileSession &session, const QString &section, const QString &key,
               const QString &value) const
    {
        return session.write(section, key, value).ok();
    }
    // What a session reads and writes: KORV.ini.
    ProfileSession::Files files() const { return {m_files.ini, m_files.ini}; }
    QStringList entries() const
    {
        return QDir(m_files.dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    TestFiles::Folder m_files;
};

void TestProfileSession::init()
{
    QVERIFY(m_files.dir.isValid());
    TestFiles::writeFile(m_files.ini, "[NAME]\r\n1=a\r\n");
}

void TestProfileSession::keepsWhatItReadUntilItEnds()
{
    ProfileSession session(files());
    QCOMPARE(read(session, "NAME", "1"), "a");
    TestFiles::writeFile(m_files.ini, "[NAME]\r\n1=b\r\n");
    QCOMPARE(read(session, "NAME", "1"), "a");
    ProfileSession next(files());
    QCOMPARE(read(next, "NAME", "1"), "b");
}

void TestProfileSession::holdsWritesUntilCommit()
{
    const QByteArray before = TestFiles::readFile(m_files.ini);
    ProfileSession session(files());
    for (int i = 1; i <= 17; ++i) {
        QVERIFY(write(session, "NAME", QString::number(i), QStringLiteral("name %1").arg(i)));
        QVERIFY(write(session, "PATH", QString::number(i), QStringLiteral("path %1").arg(i)));
    }
    QVERIFY(write(session, "NAME", "1", " 'quoted' "));
    QCOMPARE(TestFiles::readFile(m_files.ini), before);
    QCOMPARE(read(session, "NAME", "1"), "quoted");
    QCOMPARE(read(session, "path", "17"), "path 17");
    QVERIFY(session.commit().ok());
    QVERIFY(TestFiles::readFile(m_files.ini).startsWith("[NAME]\r\n1= 'quoted' \r\n2=name 2\r\n"));
    QCOMPARE(read(session, "PATH", "17"), "path 17");
}

void TestProfileSession::dropsUncommittedWrites()
{
    const QByteArray before = TestFiles::readFile(m_files.ini);
    {
        ProfileSession session(files());
        QVERIFY(write(session, "NAME", "1", "lost"));
    }
    QCOMPARE(TestFiles::readFile(m_files.ini), before);
    QCOMPARE(entries(), QStringList{"KORV.ini"});
}

void TestProfileSession::commitReportsFailure()
{
    const QString lost = m_files.dir.filePath(QStringLiteral("missing/KORV.ini"));
    ProfileSession session({lost, lost});
    QVERIFY(write(session, "NAME", "1", "x"));
    const FileStatus status = session.commit();
    QCOMPARE(status.problem, FileProblem::FolderMissing);
    QCOMPARE(status.fileName, lost);
    QCOMPARE(status.detail, m_files.dir.filePath("missing"));
    QCOMPARE(TestFiles::readFile(m_files.ini), bytes("[NAME]\r\n1=a\r\n"));
}

void TestProfileSession::revertedWriteLeavesFileAlone()
{
    const QByteArray before = bytes("[NAME]\r\n1 = a\r\n");
    TestFiles::writeFile(m_files.ini, before);
    ProfileSession session(files());
    QVERIFY(write(session, "NAME", "1", "b"));
    QCOMPARE(read(session, "NAME", "1"), "b");
    QVERIFY(write(session, "NAME", "1", "a"));
    QVERIFY(session.commit().ok());
    QCOMPARE(TestFiles::readFile(m_files.ini), before);
}

// Another program writes to KORV.ini after the session read it. Before the commit, its change
// stays and the session's write is made on top of it: a commit reads the file afresh. Between
// the commit's writing of the new content and the rename (through the seam), nothing is
// replaced and the user is told.
void TestProfileSession::changeByAnotherProgramIsNotOverwritten_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("duringCommit");
    for (bool during : {false, true}) {
        const char *when = during ? "during the commit" : "before the commit";
        QTest::addRow("rewritten %s", when) << "rewrite" << during;
        QTest::addRow("appended to %s", when) << "append" << during;
        QTest::addRow("renamed over %s", when) << "rename" << during;
        QTest::addRow("made anew %s", when) << "create" << during;
        // Where timestamps are coarse, a rewrite of the same size within the same second looks
        // untouched to anything but its bytes.
        QTest::addRow("rewritten to the same size and time %s", when) << "same size" << during;
    }
}

void TestProfileSession::changeByAnotherProgramIsNotOverwritten()
{
    QFETCH(QString, change);
    QFETCH(bool, duringCommit);
    if (change == "create")
        QVERIFY(QFile::remove(m_files.ini));
    ProfileSession session(files());
    QVERIFY(write(session, "NAME", "1", "mine"));
    QCOMPARE(read(session, "NAME", "1"), "mine"); // the session has read the file now
    const QByteArray theirs = "[NAME]\r\n1=theirs\r\n";
    auto changeIt = [&] {
        if (change == "append") {
            QFile file(m_files.ini);
            QVERIFY(file.open(QIODevice::Append));
            file.write("2=added\r\n");
        } else if (change == "same size") {
            const QDateTime old = QFileInfo(m_files.ini).lastModified();
            QFile file(m_files.ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("[NAME]\r\n1=b\r\n"), 13);
            QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
        } else if (change == "rename") {
            // As an editor saves: a new file renamed over the old one.
            QSaveFile file(m_files.ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(theirs);
            QVERIFY(file.commit());
        } else {
            TestFiles::writeFile(m_files.ini, theirs);
        }
    };
    QByteArray expected = change == "append"      ? "[NAME]\r\n1=a\r\n2=added\r\n"
                          : change == "same size" ? "[NAME]\r\n1=b\r\n"
                                                  : theirs;
    if (duringCommit)
        session.setBeforeReplace(changeIt);
    else
        changeIt();
    const FileStatus status = session.commit();
    if (!duringCommit) {
        for (const char *their : {"1=a\r", "1=b\r", "1=theirs\r"})
            expected.replace(their, "1=mine\r");
    }
    QCOMPARE(status.problem, duringCommit ? FileProblem::ChangedMeanwhile : FileProblem::None);
    QCOMPARE(TestFiles::readFile(m_files.ini), expected);
    QCOMPARE(entries(), QStringList{"KORV.ini"});
}

// A cancel counts until the rename; one that comes after it, while the folder is synced, is
// too late: the file is replaced, and the commit says so.
void TestProfileSession::cancelledCommit_data()
{
    QTest::addColumn<bool>("afterRename");
    QTest::newRow("before the rename: nothing written") << false;
    QTest::newRow("after the rename: saved") << true;
}

void TestProfileSession::cancelledCommit()
{
    QFETCH(bool, afterRename);
    const QByteArray before = TestFiles::readFile(m_files.ini);
    ProfileSession session(files());
    QVERIFY(write(session, "NAME", "1", "cancelled"));
    const auto cancel = [&session] {
        session.cancel();
    };
    if (afterRename)
        session.setAfterReplace(cancel);
    else
        session.setBeforeReplace(cancel);
    const FileStatus status = session.commit();
    QVERIFY(session.isCancelled());
    QCOMPARE(status.problem, afterRename ? FileProblem::None : FileProblem::Cancelled);
    QCOMPARE(TestFiles::readFile(m_files.ini),
             afterRename ? bytes("[NAME]\r\n1=cancelled\r\n") : before);
    QCOMPARE(entries(), QStringList{"KORV.ini"});
}

void TestProfileSession::sessionEqualsWritesOneByOne_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("writes"); // section, key, value, section, key, value, ...
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("value and key at end without line end")
        << bytes("[A]\nk") << QStringList{"A", "k", "1", "A", "j", "2"}
        << bytes("[A]\nk=1\r\nj=2\r\n");
    QTest::newRow("new section, then key of last section")
        << bytes("[A]\r\nk=1") << QStringList{"B", "j", "2", "A", "m", "3"}
        << bytes("[A]\r\nk=1\r\nm=3\r\n[B]\r\nj=2\r\n");
    QTest::newRow("new keys in write order")
        << bytes("[A]\r\n[B]\r\n") << QStringList{"A", "x", "1", "B", "y", "2", "a", "z", "3"}
        << bytes("[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n");
    QTest::newRow("same key twice")
        << QByteArray() << QStringList{"A", "k", "1", "a", "K", "2"} << bytes("[A]\r\nk=2\r\n");
}

void TestProfileSession::sessionEqualsWritesOneByOne()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);
    auto writeAll = [&](const std::function<void(const QStringList &)> &write) {
        QFile::remove(m_files.ini);
        if (!before.isNull())
            TestFiles::writeFile(m_files.ini, before);
        for (qsizetype i = 0; i + 2 < writes.size(); i += 3)
            write(writes.mid(i, 3));
    };
    writeAll([&](const QStringList &w) {
        QVERIFY(Module1::WritePrivateProfileString(w[0], w[1], w[2], m_files.ini).ok());
    });
    QCOMPARE(TestFiles::readFile(m_files.ini), after);
    ProfileSession session(files());
    writeAll([&](const QStringList &w) { QVERIFY(write(session, w[0], w[1], w[2])); });
    QVERIFY(session.commit().ok());
    QCOMPARE(TestFiles::readFile(m_files.ini), after);
}

QTEST_GUILESS_MAIN(TestProfileSession)
#include "tst_profilesession.moc"
