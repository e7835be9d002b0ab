#include "CrashValues.h"
#include "OtherWizard.h"

#include "support/Module1.h"
#include "support/TestFiles.h"
#include "wizard/Saves.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <optional>
#include <tuple>

// A process killed at any instant of a save leaves KORV.ini whole: every key holds the value
// of one save or of the one before, the keys one save writes together agree, and the next
// save leaves no temporary file behind, and removes none of the user's files: neither a copy
// made after the kill nor a save of another wizard that is still running. Two wizards saving
// into one folder lose none of each other's saves, and a save syncs its file, renames it and
// then syncs the folder.
class TestSaveCrash : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void killedSavesLeaveTheFileWhole();
    void twoWizardsLoseNoSave();
    void saveSyncsFileThenFolder_data();
    void saveSyncsFileThenFolder();

private:
    void killOneSaveLoop(int firstSet);
    void checkWhole();
    void backUp();
    void saveAndCheckFolder();

    QTemporaryDir m_dir;
    QString m_path;
    FakeFields m_fields;
    QByteArray m_backup;
    int m_leftovers = 0;
    std::optional<OtherWizard> m_otherWizard;
};

namespace {

constexpr int kKills = 200;
constexpr int kMaxDelayUs = 50000;
const QString kMissing = QStringLiteral("<missing>");
// The user's copy of KORV.ini, made after each kill.
const QString kBackup = QStringLiteral("KORV.ini.backup");

// Where in a save's system calls, as strace shows them, the file was written and synced,
// renamed over KORV.ini, and the folder synced after: empty when all of it is there in that
// order, else what is missing.
QString syncProblem(const QStringList &trace, const QString &folder)
{
    static const QRegularExpression folderOpen(QString::fromLatin1(
        R"re(openat\(AT_FDCWD, "([^"]*)", O_RDONLY[^)]*O_DIRECTORY\) = (\d+))re"));
    static const QRegularExpression temporaryOpen(QString::fromLatin1(
        R"re(openat\(\d+, "(\.KORV\.ini\.korvane-saving-[^"]+)", O_WRONLY\|O_CREAT\|O_EXCL.*\) = (\d+))re"));
    QString folderFd, temporary, temporaryFd;
    enum Step { Opened, Written, Synced, Renamed, FolderSynced } step = Opened;
    for (const QString &line : trace) {
        if (const auto m = folderOpen.match(line); m.hasMatch() && m.captured(1) == folder)
            folderFd = m.captured(2);
        else if (const auto t = temporaryOpen.match(line); t.hasMatch() && step == Opened)
            std::tie(temporary, temporaryFd) = std::pair(t.captured(1), t.captured(2));
        else if (step == Opened && !temporaryFd.isEmpty() &&
                 line.contains(QStringLiteral("write(%1, ").arg(temporaryFd)))
            step = Written;
        else if (step == Written && line.contains(QStringLiteral("fsync(%1)").arg(temporaryFd)))
            step = Synced;
        else if (step == Synced && line.contains(QStringLiteral("rename")) &&
                 line.contains(temporary) && line.contains(QStringLiteral("\"KORV.ini\") = 0")))
            step = Renamed;
        else if (step == Renamed && line.contains(QStringLiteral("fsync(%1)").arg(folderFd)))
            step = FolderSynced;
    }
    static const char *const missing[] = {"the temporary file written", "the temporary file synced",
                                          "the rename over KORV.ini", "the folder synced"};
    return step == FolderSynced ? QString() : QString::fromLatin1(missing[step]);
}

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
    m_otherWizard.emplace(m_dir.path());
    QVERIFY(!m_otherWizard->fileName().isEmpty());
    TestFiles::writeFile(m_path, "[NAME]\r\n");
    backUp();
    saveAndCheckFolder();
}

void TestSaveCrash::cleanupTestCase()
{
    m_otherWizard.reset();
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
    QCOMPARE(folderEntries(m_dir.path()),
             (QStringList{m_otherWizard->fileName(), "KORV.ini", kBackup}));
    QCOMPARE(TestFiles::readFile(m_dir.filePath(kBackup)), m_backup);
}

// Two wizards save into one folder at once, 200 times each: one saves page 1, the other its
// comment. Each save first checks that the file still holds what its own last save wrote, which
// the other wizard's saves never touch: a save of one that the other reverted shows there.
void TestSaveCrash::twoWizardsLoseNoSave()
{
    constexpr int kSaves = 200;
    TestFiles::Folder folder;
    QVERIFY(folder.dir.isValid());
    QProcess pages;
    QProcess comments;
    QElapsedTimer took;
    took.start();
    pages.start(QStringLiteral(SAVE_LOOP), {folder.ini, "pages", QString::number(kSaves)});
    comments.start(QStringLiteral(SAVE_LOOP), {folder.ini, "comments", QString::number(kSaves)});
    for (QProcess *wizard : {&pages, &comments}) {
        QVERIFY(wizard->waitForFinished(240'000));
        const QByteArray said = wizard->readAllStandardOutput();
        QVERIFY2(wizard->exitCode() == 0, wizard->readAllStandardError().constData());
        QVERIFY2(said.contains(QStringLiteral("lost 0 of %1").arg(kSaves).toLatin1()),
                 (said + wizard->readAllStandardError()).constData());
    }
    qInfo("%d saves of each wizard in %lld ms, none lost", kSaves, took.elapsed());
    QCOMPARE(read(folder.ini, "NAME", "1"), QStringLiteral("pages-%1").arg(kSaves - 1));
    QCOMPARE(read(folder.ini, "memo", "taitoru"), QStringLiteral("comments-%1").arg(kSaves - 1));
    QCOMPARE(folderEntries(folder.dir.path()), QStringList{"KORV.ini"});
}

// A save under strace: the temporary file written and synced, renamed over KORV.ini, then the
// folder synced, so that a power cut after the save keeps it. The same trace with the folder's
// sync taken out must fail the check.
void TestSaveCrash::saveSyncsFileThenFolder_data()
{
    QTest::addColumn<bool>("folderSyncTakenOut");
    QTest::newRow("the save as it ran") << false;
    QTest::newRow("its folder sync taken out") << true;
}

void TestSaveCrash::saveSyncsFileThenFolder()
{
    QFETCH(bool, folderSyncTakenOut);
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty())
        QSKIP("strace, which traces Linux system calls, is not installed; scripts/test.sh "
              "installs it on Linux");
    TestFiles::Folder folder;
    const QString trace = folder.dir.filePath(QStringLiteral("trace"));
    QProcess traced;
    // LeakSanitizer cannot run under a tracer: in a sanitizer build it would fail the save.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
    traced.setProcessEnvironment(environment);
    traced.start(strace, {"-f", "-o", trace, "-e",
                          "trace=openat,write,fsync,fdatasync,rename,renameat,renameat2",
                          QStringLiteral(SAVE_LOOP), folder.ini, "pages", "1"});
    QVERIFY(traced.waitForFinished(60'000));
    if (traced.exitCode() != 0 && !QFile::exists(folder.ini))
        QSKIP(qPrintable("strace cannot trace here: " + traced.readAllStandardError()));
    QCOMPARE(traced.exitCode(), 0);
    QStringList lines = QString::fromUtf8(TestFiles::readFile(trace)).split(u'\n');
    QString problem = syncProblem(lines, folder.dir.path());
    QVERIFY2(problem.isEmpty(), qPrintable("missing: " + problem));
    if (!folderSyncTakenOut)
        return;
    // The one sync after the rename is the folder's.
    const qsizetype renamed = lines.indexOf(QRegularExpression(QStringLiteral(".*rename.*KORV.*")));
    QVERIFY(renamed >= 0);
    const QStringList before = lines.first(renamed + 1);
    QStringList after = lines.sliced(renamed + 1);
    after.removeIf([](const QString &line) { return line.contains(QStringLiteral("fsync(")); });
    problem = syncProblem(before + after, folder.dir.path());
    QCOMPARE(problem, QStringLiteral("the folder synced"));
}

QTEST_GUILESS_MAIN(TestSaveCrash)
#include "tst_savecrash.moc"
