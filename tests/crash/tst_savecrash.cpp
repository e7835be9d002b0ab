#include "CrashValues.h"

#include "modules/Module1.h"
#include "support/TestFiles.h"
#include "wizard/Saves.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <optional>

// A process killed at any instant of a save leaves KORV.ini whole: every key holds the value
// of one save or of the one before, the keys one save writes together agree, and the next
// save leaves no temporary file behind, and removes none of the user's files: neither a copy
// made after the kill nor a save of another wizard that is still running.
class TestSaveCrash : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedSavesLeaveTheFileWhole();

private:
    void killOneSaveLoop(int firstSet);
    void checkWhole();
    void backUp();
    void saveAndCheckFolder();

    QTemporaryDir m_dir;
    QFile m_otherSave; // held open, as the wizard that writes it would
    QString m_path;
    FakeFields m_fields;
    QByteArray m_backup;
    int m_leftovers = 0;
};

namespace {

constexpr int kKills = 200;
constexpr int kMaxDelayUs = 50000;
const QString kMissing = QStringLiteral("<missing>");
// The user's copy of KORV.ini, made after each kill.
const QString kBackup = QStringLiteral("KORV.ini.backup");
// What another wizard that is saving into the same folder has written so far: process 1 is
// always running, and holds the file open.
const QString kOtherSave = QStringLiteral(".KORV.ini.korvane-saving-1-0123456789abcdef");

QString read(const QString &path, const QString &section, const QString &key)
{
    return Module1::GetPrivateProfileString(section, key, kMissing, 1024, path);
}

// The set whose value of slot a key holds, if any.
std::optional<int> setHolding(const QString &value, QString (*valueOf)(int, int), int slot)
{
    for (int set = 0; set < CrashValues::kSets; ++set) {
        if (value == valueOf(set, slot))
            return set;
    }
    return std::nullopt;
}

QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

} // namespace

void TestSaveCrash::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("KORV.ini"));
    m_fields.setText(kOutputPathHolder, m_path);
    m_otherSave.setFileName(m_dir.filePath(kOtherSave));
    QVERIFY(m_otherSave.open(QIODevice::WriteOnly) && m_otherSave.write("[NAME]\r\n1=") > 0);
    TestFiles::writeFile(m_path, "[NAME]\r\n");
    backUp();
    saveAndCheckFolder();
}

void TestSaveCrash::killedSavesLeaveTheFileWhole()
{
    for (int round = 0; round < kKills; ++round) {
        killOneSaveLoop(round % 2);
        if (QTest::currentTestFailed())
            return;
    }
    qInfo("%d of %d kills left a temporary file behind", m_leftovers, kKills);
}

void TestSaveCrash::killOneSaveLoop(int firstSet)
{
    QProcess child;
    child.start(QStringLiteral(SAVE_LOOP), {m_path, QString::number(firstSet)});
    QVERIFY2(child.waitForReadyRead(10'000), qPrintable(child.errorString()));
    QThread::usleep(QRandomGenerator::global()->bounded(kMaxDelayUs));
    child.kill(); // SIGKILL; TerminateProcess on Windows
    QVERIFY(child.waitForFinished(10'000));
    // A child that had stopped by itself was not killed in a save.
    QVERIFY2(child.exitStatus() == QProcess::CrashExit, child.readAllStandardError().constData());
    static const QRegularExpression temporary(QStringLiteral("^\\.KORV\\.ini\\.korvane-saving-"));
    m_leftovers += folderEntries(m_dir.path()).filter(temporary).size() > 1;
    checkWhole();
    backUp();
    saveAndCheckFolder();
}

// Every key holds one of the sets' values; page 1's keys agree, as do those that only the
// finishing save writes; title and comment stay empty.
void TestSaveCrash::checkWhole()
{
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(file.readAll().endsWith("\r\n"), "the file does not end with a whole line");
    std::optional<int> pageOne;
    std::optional<int> finishing;
    for (const EntrySlot &slot : EntrySlots::all()) {
        std::optional<int> &group = slot.form == FormId::Form2 ? pageOne : finishing;
        for (const auto &[section, valueOf] :
             {std::pair{"NAME", &CrashValues::name}, std::pair{"PATH", &CrashValues::path}}) {
            const QString value = read(m_path, section, slot.key());
            const std::optional<int> set = setHolding(value, valueOf, slot.number);
            QVERIFY2(
                set,
                qPrintable(QStringLiteral("%1 %2 holds \"%3\"").arg(section, slot.key(), value)));
            QVERIFY2(!group || *group == *set,
                     qPrintable(QStringLiteral("%1 %2 disagrees with the keys saved with it")
                                    .arg(section, slot.key())));
            group = set;
        }
    }
    QCOMPARE(read(m_path, "onoff", "jyoutai"), CrashValues::doNotRun(*finishing));
    QCOMPARE(read(m_path, "memo", "taitoru"), QString());
    QCOMPARE(read(m_path, "memo", "hitokoto"), QString());
}

// What a user does after a save that did not come to its end: copies the file that is left.
void TestSaveCrash::backUp()
{
    QFile::remove(m_dir.filePath(kBackup));
    QVERIFY(QFile::copy(m_path, m_dir.filePath(kBackup)));
    m_backup = TestFiles::readFile(m_path);
}

// Saves set 2, which no save loop writes, so that the save replaces the file.
void TestSaveCrash::saveAndCheckFolder()
{
    CrashValues::fill(m_fields, 2);
    const FileStatus status = runSave(Saves::finishingSave, m_fields);
    QVERIFY2(status.ok(), TestFiles::describe(status));
    QCOMPARE(folderEntries(m_dir.path()), (QStringList{kOtherSave, "KORV.ini", kBackup}));
    QCOMPARE(TestFiles::readFile(m_dir.filePath(kBackup)), m_backup);
}

QTEST_GUILESS_MAIN(TestSaveCrash)
#include "tst_savecrash.moc"
