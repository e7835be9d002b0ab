#include "ProfileTestSupport.h"

#include "modules/Module1.h"

#include <QTemporaryDir>
#include <QTest>

using ProfileTest::bytes;

// Batches: a file read once and cached, writes kept in memory until commit().
class TestProfileBatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cachesReadsOnlyInsideBatch();
    void keepsWritesUntilCommit();
    void dropsUncommittedWrites();
    void nestedBatchWritesAtOutermost();
    void commitReportsFailureAndSavesTheRest();
    void revertedWriteLeavesFileAlone();
    void fileChangedDuringBatchIsNotOverwritten();
    void batchEqualsWritesOneByOne_data();
    void batchEqualsWritesOneByOne();

private:
    QString read(const QString &section, const QString &key) const
    {
        return Module1::GetPrivateProfileString(section, key, QStringLiteral("<default>"), 1024,
                                                m_path);
    }
    bool write(const QString &section, const QString &key, const QString &value,
               const QString &path = {}) const
    {
        return Module1::WritePrivateProfileString(section, key, value,
                                                  path.isEmpty() ? m_path : path)
            .ok();
    }

    QTemporaryDir m_dir;
    QString m_path;
};

void TestProfileBatch::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("KORV.ini"));
    ProfileTest::writeFile(m_path, "[NAME]\r\n1=a\r\n");
}

void TestProfileBatch::cachesReadsOnlyInsideBatch()
{
    QCOMPARE(read("NAME", "1"), "a");
    ProfileTest::writeFile(m_path, "[NAME]\r\n1=b\r\n");
    QCOMPARE(read("NAME", "1"), "b");
    {
        Module1::ProfileBatch batch;
        QCOMPARE(read("NAME", "1"), "b");
        ProfileTest::writeFile(m_path, "[NAME]\r\n1=c\r\n");
        QCOMPARE(read("NAME", "1"), "b");
    }
    QCOMPARE(read("NAME", "1"), "c");
}

void TestProfileBatch::keepsWritesUntilCommit()
{
    const QByteArray before = ProfileTest::readFile(m_path);
    Module1::ProfileBatch batch;
    for (int i = 1; i <= 17; ++i) {
        QVERIFY(write("NAME", QString::number(i), QStringLiteral("name %1").arg(i)));
        QVERIFY(write("PATH", QString::number(i), QStringLiteral("path %1").arg(i)));
    }
    QVERIFY(write("NAME", "1", " 'quoted' "));
    QCOMPARE(ProfileTest::readFile(m_path), before);
    QCOMPARE(read("NAME", "1"), "quoted");
    QCOMPARE(read("path", "17"), "path 17");
    QVERIFY(batch.commit().ok());
    QVERIFY(ProfileTest::readFile(m_path).startsWith("[NAME]\r\n1= 'quoted' \r\n2=name 2\r\n"));
    QCOMPARE(read("PATH", "17"), "path 17");
}

void TestProfileBatch::dropsUncommittedWrites()
{
    const QByteArray before = ProfileTest::readFile(m_path);
    {
        Module1::ProfileBatch batch;
        QVERIFY(write("NAME", "1", "lost"));
    }
    QCOMPARE(ProfileTest::readFile(m_path), before);
    QCOMPARE(read("NAME", "1"), "a");
}

void TestProfileBatch::nestedBatchWritesAtOutermost()
{
    const QByteArray before = ProfileTest::readFile(m_path);
    Module1::ProfileBatch outer;
    {
        Module1::ProfileBatch inner;
        QVERIFY(write("NAME", "1", "x"));
        QVERIFY(inner.commit().ok());
    }
    QCOMPARE(ProfileTest::readFile(m_path), before);
    QCOMPARE(read("NAME", "1"), "x");
    QVERIFY(outer.commit().ok());
    QCOMPARE(ProfileTest::readFile(m_path), bytes("[NAME]\r\n1=x\r\n"));
}

void TestProfileBatch::commitReportsFailureAndSavesTheRest()
{
    const QString lost = m_dir.filePath(QStringLiteral("missing/KORV.ini"));
    Module1::ProfileBatch batch;
    QVERIFY(write("NAME", "1", "x", lost));
    QVERIFY(write("NAME", "1", "y"));
    const WriteStatus status = batch.commit();
    QVERIFY(!status.ok());
    QCOMPARE(QFileInfo(status.fileName).absoluteFilePath(), QFileInfo(lost).absoluteFilePath());
    QVERIFY2(status.reason.contains(QStringLiteral("がありません")), qPrintable(status.reason));
    QCOMPARE(ProfileTest::readFile(m_path), bytes("[NAME]\r\n1=y\r\n"));
}

void TestProfileBatch::revertedWriteLeavesFileAlone()
{
    const QByteArray before = bytes("[NAME]\r\n1 = a\r\n");
    ProfileTest::writeFile(m_path, before);
    Module1::ProfileBatch batch;
    QVERIFY(write("NAME", "1", "b"));
    QCOMPARE(read("NAME", "1"), "b");
    QVERIFY(write("NAME", "1", "a"));
    QVERIFY(batch.commit().ok());
    QCOMPARE(ProfileTest::readFile(m_path), before);
}

void TestProfileBatch::fileChangedDuringBatchIsNotOverwritten()
{
    Module1::ProfileBatch batch;
    QVERIFY(write("NAME", "1", "mine"));
    const QByteArray theirs = "[NAME]\r\n1=theirs\r\n2=added\r\n";
    ProfileTest::writeFile(m_path, theirs);
    const WriteStatus status = batch.commit();
    QVERIFY(!status.ok());
    QVERIFY2(status.reason.contains(QStringLiteral("変更しました")), qPrintable(status.reason));
    QCOMPARE(ProfileTest::readFile(m_path), theirs);
}

void TestProfileBatch::batchEqualsWritesOneByOne_data()
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

void TestProfileBatch::batchEqualsWritesOneByOne()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, writes);
    QFETCH(QByteArray, after);
    auto writeAll = [&] {
        QFile::remove(m_path);
        if (!before.isNull())
            ProfileTest::writeFile(m_path, before);
        for (qsizetype i = 0; i + 2 < writes.size(); i += 3)
            QVERIFY(write(writes[i], writes[i + 1], writes[i + 2]));
    };
    writeAll();
    QCOMPARE(ProfileTest::readFile(m_path), after);
    Module1::ProfileBatch batch;
    writeAll();
    QVERIFY(batch.commit().ok());
    QCOMPARE(ProfileTest::readFile(m_path), after);
}

QTEST_GUILESS_MAIN(TestProfileBatch)
#include "tst_profilebatch.moc"
