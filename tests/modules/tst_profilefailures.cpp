#include "support/TestFiles.h"

#include "modules/ProfileSession.h"
#include "support/Module1.h"
#include "support/UnixSocket.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Holds the file-size limit low, with SIGXFSZ ignored, for as long as it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit low{bytes, m_old.rlim_max};
        m_set = setrlimit(RLIMIT_FSIZE, &low) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
    bool m_set = false;
};

const QByteArray kOldFile = "[NAME]\r\n1=old\r\n";

} // namespace

// Writes that cannot succeed are reported and leave the file whole; links and permissions stay.
class TestProfileFailures : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void failedWriteIsReported_data();
    void failedWriteIsReported();
    void sizeLimitKeepsOldFile();
    void writesThroughSymlink_data();
    void writesThroughSymlink();
    void keepsPermissionsAndOwner();
    void killedWriterLeavesOldOrNewFile();

private:
    static QString read(const QString &path, const QString &key = "1")
    {
        return Module1::GetPrivateProfileString("NAME", key, "<default>", 1024, path);
    }
    QStringList entries() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
    }

    std::optional<QTemporaryDir> m_dir;
    QString m_path;
};

void TestProfileFailures::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath(QStringLiteral("KORV.ini"));
}

void TestProfileFailures::failedWriteIsReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<FileProblem>("problem");

    QTest::newRow("KORV.ini is a folder") << "folder"
                                          << "NAME"
                                          << "1" << FileProblem::IsFolder;
    QTest::newRow("KORV.ini is a FIFO") << "fifo"
                                        << "NAME"
                                        << "1" << FileProblem::NotRegularFile;
    QTest::newRow("missing parent folder") << "orphan"
                                           << "NAME"
                                           << "1" << FileProblem::FolderMissing;
    QTest::newRow("folder that holds no files") << "proc"
                                                << "NAME"
                                                << "1" << FileProblem::NotFound;
    QTest::newRow("read-only folder") << "read-only"
                                      << "NAME"
                                      << "1" << FileProblem::AccessDenied;
    QTest::newRow("KORV.ini made read-only") << "read-only file"
                                             << "NAME"
                                             << "1" << FileProblem::ReadOnlyFile;
    QTest::newRow("KORV.ini is a socket") << "socket"
                                          << "NAME"
                                          << "1" << FileProblem::NotRegularFile;
    QTest::newRow("KORV.ini over the limit") << "large"
                                             << "NAME"
                                             << "1" << FileProblem::FileTooLarge;
    QTest::newRow("no file name") << "unnamed"
                                  << "NAME"
                                  << "1" << FileProblem::NoFileName;
    QTest::newRow("line break in key") << "file"
                                       << "NAME"
                                       << "a\nb" << FileProblem::NameBreaksLine;
    QTest::newRow("] in section") << "file"
                                  << "A]B"
                                  << "1" << FileProblem::NameHasDelimiter;
    QTest::newRow("= in key") << "file"
                              << "NAME"
                              << "a=b" << FileProblem::NameHasDelimiter;
    QTest::newRow("Ctrl-Z for a name") << "file"
                                       << "NAME"
                                       << "\x1A" << FileProblem::NameMissing;
}

void TestProfileFailures::failedWriteIsReported()
{
    QFETCH(QString, kind);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(FileProblem, problem);
    QString path = m_path;
    if (kind == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "fifo")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    else if (kind == "orphan")
        path = m_dir->filePath("missing/KORV.ini");
    else if (kind == "proc")
        path = "/proc/KORV.ini";
    else if (kind == "unnamed")
        path.clear();
    else if (kind == "file" || kind == "read-only file")
        TestFiles::writeFile(path, kOldFile);
    else if (kind == "large")
        TestFiles::writeFile(path, kOldFile + QByteArray(1 << 20, ';'));
    else if (kind == "socket")
        QVERIFY(TestFiles::bindSocket(path));
    if (kind == "read-only file")
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    if (kind == "read-only" && geteuid() == 0)
        QSKIP("mode bits do not stop root");
    else if (kind == "read-only")
        QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    const QStringList before = entries();

    const FileStatus status = Module1::WritePrivateProfileString(section, key, "new", path);
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(status.problem, problem);
    QCOMPARE(status.fileName, path);
    QCOMPARE(entries(), before);
    QCOMPARE(read(path), kind == "file" || kind == "read-only file" ? "old" : "<default>");
    QCOMPARE(QFileInfo(path).isDir(), kind == "folder");
}

void TestProfileFailures::sizeLimitKeepsOldFile()
{
    TestFiles::writeFile(m_path, kOldFile);
    FileStatus status;
    {
        const FileSizeLimit limit(4096);
        QVERIFY(limit.isSet());
        status = Module1::WritePrivateProfileString("NAME", "1", QString(8000, u'x'), m_path);
    }
    QCOMPARE(status.problem, FileProblem::FileTooLarge);
    QCOMPARE(TestFiles::readFile(m_path), kOldFile);
    QCOMPARE(entries(), QStringList{"KORV.ini"});
}

void TestProfileFailures::writesThroughSymlink_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("link to a file") << true;
    QTest::newRow("link to a file not yet made") << false;
}

void TestProfileFailures::writesThroughSymlink()
{
    QFETCH(bool, targetExists);
    QVERIFY(QDir(m_dir->path()).mkdir("real"));
    const QString target = m_dir->filePath("real/target.ini");
    if (targetExists)
        TestFiles::writeFile(target, kOldFile);
    QCOMPARE(symlink("real/target.ini", QFile::encodeName(m_path).constData()), 0);

    QVERIFY(Module1::WritePrivateProfileString("NAME", "1", "new", m_path).ok());
    QVERIFY(QFileInfo(m_path).isSymLink());
    QCOMPARE(TestFiles::readFile(target), QByteArray("[NAME]\r\n1=new\r\n"));
    QCOMPARE(QDir(m_dir->filePath("real")).entryList(QDir::Files), QStringList{"target.ini"});
}

// A save keeps the file's permissions, and a save by root its owner and group: a user's file
// saved by root stays the user's.
void TestProfileFailures::keepsPermissionsAndOwner()
{
    TestFiles::writeFile(m_path, kOldFile);
    const QByteArray path = QFile::encodeName(m_path);
    QCOMPARE(chmod(path.constData(), 0640), 0);
    if (geteuid() == 0)
        QCOMPARE(chown(path.constData(), 4321, 4322), 0);
    struct stat before
    {
    }, after{};
    QCOMPARE(stat(path.constData(), &before), 0);
    QVERIFY(Module1::WritePrivateProfileString("NAME", "1", "new", m_path).ok());
    QCOMPARE(stat(path.constData(), &after), 0);
    QVERIFY(after.st_ino != before.st_ino);
    QCOMPARE(after.st_mode & 07777, mode_t(0640));
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
}

// A writer killed at many instants of its saves: every key always holds the value of one
// whole save. Most of a save is moving the 136 KiB of other lines, so kills land mid-write,
// and a save ends well within the shortest wait even in a sanitizer build.
void TestProfileFailures::killedWriterLeavesOldOrNewFile()
{
    TestFiles::writeFile(m_path, QByteArray("junk=0123456789\r\n").repeated(1 << 13));
    auto save = [&](const QString &value) {
        ProfileSession session({m_path, {}});
        for (int key = 1; key <= 17; ++key)
            session.write("NAME", QString::number(key), value);
        return session.commit().ok();
    };
    QVERIFY(save("a"));
    QSet<QString> seen;
    for (int round = 0; round < 10; ++round) {
        const pid_t writer = fork();
        QVERIFY(writer >= 0);
        if (writer == 0) {
            for (int n = 0;; ++n)
                save(n % 2 ? "b" : "c");
        }
        QTest::qSleep(5 + 13 * round);
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        const QString value = read(m_path);
        QVERIFY2(QStringList({"a", "b", "c"}).contains(value), qPrintable(value));
        for (int key = 2; key <= 17; ++key)
            QCOMPARE(read(m_path, QString::number(key)), value);
        seen.insert(value);
    }
    QVERIFY2(seen.size() > 1, "the writer was never seen to save");
}

QTEST_GUILESS_MAIN(TestProfileFailures)
#include "tst_profilefailures.moc"
