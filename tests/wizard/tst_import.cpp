#include "modules/ProfileSession.h"
#include "support/FakeFields.h"
#include "support/TestFiles.h"
#include "support/UnixSocket.h"
#include "wizard/Import.h"
#include "wizard/Saves.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The 34 entry fields in the order the import is to fill them: name 1, path 1, name 2, ...
// on page 1 (Text1 to Text14), then page 2 (Text1 to Text20).
QStringList entryFieldsInOrder()
{
    QStringList fields;
    for (int i = 1; i <= 14; ++i)
        fields.append(QStringLiteral("Form2.Text%1").arg(i));
    for (int i = 1; i <= 20; ++i)
        fields.append(QStringLiteral("Form3.Text%1").arg(i));
    return fields;
}

// Fields as a user leaves them before importing: every entry holds text.
FakeFields typedOver()
{
    FakeFields fields;
    for (const QString &name : entryFieldsInOrder())
        fields.values.insert(name, "typed before");
    return fields;
}

QStringList entryValues(const FakeFields &fields)
{
    QStringList values;
    for (const QString &name : entryFieldsInOrder())
        values.append(fields.values.value(name));
    return values;
}

QHash<QString, QString> withoutEntries(QHash<QString, QString> values)
{
    for (const QString &name : entryFieldsInOrder())
        values.remove(name);
    return values;
}

const QStringList kAllEmpty(34);

// What an import may take beyond the wizard's own memory, whatever the file: it reads a
// megabyte at most.
constexpr qint64 kMemoryBoundKiB = 4 * 1024;

// A figure of /proc/self/status in KiB, such as "VmRSS:" or "VmHWM:".
qint64 statusKiB(const char *field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// How much the process's peak memory rose above what it held before work, in KiB.
qint64 peakRiseKiB(const std::function<void()> &work)
{
    QFile clear("/proc/self/clear_refs");
    // Writing 5 starts the peak anew from what the process holds now.
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        return -1;
    clear.close();
    const qint64 before = statusKiB("VmRSS:");
    work();
    return statusKiB("VmHWM:") - before;
}

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_drive = std::make_unique<QTemporaryDir>();
        QVERIFY(m_drive->isValid());
        m_root = m_drive->path() + "/";
    }

    // The drive is read once, at the start; then only the entry fields are set, each once.
    void setsEachEntryFieldOnceNameThenPath()
    {
        writeSource("[NAME]\r\n1=A\r\n[PATH]\r\n1=B\r\n");
        FakeFields fields;
        QVERIFY(importInto(fields).ok());
        QCOMPARE(fields.writes, (QStringList{"Form2.Drive1"} + entryFieldsInOrder() +
                                 QStringList{"Form5.Text1", "Form5.Text2"}));
        QCOMPARE(fields.reads, (QStringList{"Form2.Drive1", "Form2.Label5"}));
    }

    void onlyKeysOneAndTwoEmptyTheRest()
    {
        writeSource("[NAME]\r\n1=Game\r\n2=Tool\r\n[PATH]\r\n1=GAME\\RUN.EXE\r\n"
                    "2=D:\\TOOL.EXE\r\n");
        FakeFields fields = typedOver();
        importInto(fields);
        QStringList expected = kAllEmpty;
        // Paths arrive as stored: the drive prefix stays until the page is left.
        expected[0] = "Game";
        expected[1] = "GAME\\RUN.EXE";
        expected[2] = "Tool";
        expected[3] = "D:\\TOOL.EXE";
        QCOMPARE(entryValues(fields), expected);
    }

    void sectionNamesMatchInAnyCase_data()
    {
        QTest::addColumn<QByteArray>("nameSection");
        QTest::addColumn<QByteArray>("pathSection");
        QTest::newRow("capitals") << QByteArray("[NAME]") << QByteArray("[PATH]");
        QTest::newRow("lower case") << QByteArray("[name]") << QByteArray("[path]");
        QTest::newRow("mixed") << QByteArray("[Name]") << QByteArray("[pAtH]");
    }

    void sectionNamesMatchInAnyCase()
    {
        QFETCH(QByteArray, nameSection);
        QFETCH(QByteArray, pathSection);
        writeSource(nameSection + "\r\n9=Nine\r\n17=Last\r\n" + pathSection +
                    "\r\n9=NINE.EXE\r\n17=LAST.EXE\r\n");
        FakeFields fields = typedOver();
        importInto(fields);
        QCOMPARE(fields.get(FormId::Form3, "Text3"), "Nine");
        QCOMPARE(fields.get(FormId::Form3, "Text4"), "NINE.EXE");
        QCOMPARE(fields.get(FormId::Form3, "Text19"), "Last");
        QCOMPARE(fields.get(FormId::Form3, "Text20"), "LAST.EXE");
    }

    // 0x82 0xA0 is "あ" (two bytes), 0xB1 is half-width "ｱ" (one byte).
    void longValuesCutAtWholeCharacters_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1023 bytes kept") << QByteArray(1023, 'a') << QString(1023, 'a');
        QTest::newRow("1024 bytes cut") << QByteArray(1024, 'a') << QString(1023, 'a');
        QTest::newRow("double-byte across the cut") << QByteArray(1022, 'a') + "\x82\xa0"
                                                                               "b"
                                                    << QString(1022, 'a');
        QTest::newRow("double-byte ending at the cut") << QByteArray(1021, 'a') + "\x82\xa0"
                                                                                  "b"
                                                       << QString(1021, 'a') + QStringLiteral("あ");
        QTest::newRow("all double-byte")
            << QByteArray("\x82\xa0").repeated(600) << QStringLiteral("あ").repeated(511);
        QTest::newRow("half-width katakana")
            << QByteArray(1100, '\xb1') << QStringLiteral("ｱ").repeated(1023);
    }

    void longValuesCutAtWholeCharacters()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, expected);
        writeSource("[PATH]\r\n17=" + stored + "\r\n");
        FakeFields fields;
        importInto(fields);
        QCOMPARE(fields.get(FormId::Form3, "Text20"), expected);
    }

    // A file larger than a megabyte is refused before it is read, whatever its shape: the
    // message names it, every field stays, and memory stays flat. The minute only catches a
    // hang; nothing is timed.
    void hostileFileIsRefusedWithinBounds_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::newRow("64 MiB of random bytes") << "random";
        QTest::newRow("1.5 million sections") << "sections";
        QTest::newRow("1.5 million keys in [name]") << "keys";
        QTest::newRow("a line of 256 MiB, sparse") << "endless";
        QTest::newRow("one byte over the limit") << "limit";
    }

    void hostileFileIsRefusedWithinBounds()
    {
        QFETCH(QString, shape);
        writeHostileSource(shape);
        FakeFields fields = typedOver();
        const FakeFields before = fields;
        QElapsedTimer timer;
        timer.start();
        FileStatus status;
        const qint64 rise = peakRiseKiB([&] { status = importInto(fields); });
        QVERIFY2(timer.elapsed() < 60'000, qPrintable(QString("%1 ms").arg(timer.elapsed())));
        QVERIFY2(rise >= 0 && rise < kMemoryBoundKiB, qPrintable(QString("+%1 KiB").arg(rise)));
        qInfo("refused in %lld ms, peak memory +%lld KiB", timer.elapsed(), rise);
        QCOMPARE(status.problem, FileProblem::FileTooLarge);
        QCOMPARE(status.fileName, m_root + "KORV.ini");
        QCOMPARE(entryValues(fields), entryValues(before));
    }

    // The mend: where there is no file to read, the message names it and every field stays.
    void unreadableFileChangesNoField_data()
    {
        // The tests may run as root, where mode bits stop nothing: these stop any reader.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FileProblem>("problem");
        QTest::newRow("no file") << "none" << FileProblem::NotFound;
        QTest::newRow("folder named KORV.ini") << "folder" << FileProblem::IsFolder;
        QTest::newRow("fifo named KORV.ini") << "fifo" << FileProblem::NotRegularFile;
        QTest::newRow("socket named KORV.ini") << "socket" << FileProblem::NotRegularFile;
        QTest::newRow("dangling link") << "dangling" << FileProblem::NotFound;
        QTest::newRow("link out of the volume") << "/" << FileProblem::LinkLeavesVolume;
        QTest::newRow("link up and out") << "../../" << FileProblem::LinkLeavesVolume;
        QTest::newRow("drive gone") << "vanished" << FileProblem::NotFound;
    }

    void unreadableFileChangesNoField()
    {
        QFETCH(QString, kind);
        QFETCH(FileProblem, problem);
        const QString file = m_root + "KORV.ini";
        // Elsewhere: a file whose values must not reach the fields.
        TestFiles::Folder elsewhere;
        TestFiles::writeFile(elsewhere.ini, "[NAME]\r\n1=elsewhere\r\n");
        if (kind == "folder")
            QVERIFY(QDir().mkdir(file));
        else if (kind == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (kind == "socket")
            QVERIFY(TestFiles::bindSocket(file));
        else if (kind == "dangling")
            QVERIFY(QFile::link(m_root + "gone.ini", file));
        else if (kind == "vanished")
            QVERIFY(m_drive->remove());
        else if (kind != "none")
            QCOMPARE(symlink(qPrintable(kind == "/" ? elsewhere.ini : "../.." + elsewhere.ini),
                             qPrintable(file)),
                     0);
        FakeFields fields = typedOver();
        const FakeFields before = fields;
        const FileStatus status = importInto(fields);
        QCOMPARE(status.problem, problem);
        QCOMPARE(status.fileName, file);
        QCOMPARE(entryValues(fields), entryValues(before));
    }

    // キャンセル during the reading leaves every field as it was.
    void cancelledImportChangesNoField()
    {
        writeSource("[NAME]\r\n1=A\r\n[PATH]\r\n1=A.EXE\r\n");
        FakeFields fields = typedOver();
        fields.setText(kDriveList, m_root);
        const FakeFields before = fields;
        const FileStatus status =
            Import::fromSourceFile(fields, [](ProfileSession &session, const auto &work) {
                session.cancel();
                work();
            });
        QCOMPARE(status.problem, FileProblem::Cancelled);
        QCOMPARE(entryValues(fields), entryValues(before));
    }

    // A link that stays on the volume is read like the file it leads to; so is any link that
    // is the wizard's own output file, which its saves write through.
    void linkReadLikeItsFile_data()
    {
        QTest::addColumn<bool>("outOfTheVolume");
        QTest::newRow("on the volume") << false;
        QTest::newRow("out of the volume, the output file") << true;
    }

    void linkReadLikeItsFile()
    {
        QFETCH(bool, outOfTheVolume);
        TestFiles::Folder elsewhere;
        const QString target = outOfTheVolume ? elsewhere.ini : m_root + "data/menu.ini";
        QVERIFY(QDir(m_root).mkdir("data"));
        TestFiles::writeFile(target, "[NAME]\r\n1=Linked\r\n");
        QVERIFY(QFile::link(target, m_root + "KORV.ini"));
        FakeFields fields;
        if (outOfTheVolume)
            fields.setText(kOutputPathHolder, m_root + "KORV.ini");
        QVERIFY(importInto(fields).ok());
        QCOMPARE(fields.get(FormId::Form2, "Text1"), "Linked");
    }

    void importingTwiceEqualsImportingOnce()
    {
        writeSource("[NAME]\r\n1=A\r\n12=L\r\n[PATH]\r\n1=A.EXE\r\n5=E.EXE\r\n");
        FakeFields once = typedOver();
        importInto(once);
        FakeFields twice = typedOver();
        importInto(twice);
        importInto(twice);
        QCOMPARE(twice.values, once.values);
    }

    // Title and comment come with the entries; the box, the output path and its file are
    // left as they are.
    void otherControlsAndOutputFileUntouched()
    {
        writeSource("[onoff]\r\njyoutai=1\r\n[memo]\r\ntaitoru=Disc title\r\nhitokoto=Hi\r\n");
        QTemporaryDir programFolder;
        const QString output = programFolder.filePath("KORV.ini");
        FakeFields fields = typedOver();
        fields.values.insert("Form3.Check1", "0");
        fields.values.insert("Form5.Text1", "My title");
        fields.values.insert("Form5.Text2", "");
        fields.values.insert("Form2.Label5", output);
        fields.values.insert("Form2.Drive1", m_root);
        const QHash<QString, QString> before = withoutEntries(fields.values);

        importInto(fields);
        QHash<QString, QString> expected = before;
        expected.insert("Form5.Text1", "Disc title");
        expected.insert("Form5.Text2", "Hi");
        QCOMPARE(withoutEntries(fields.values), expected);
        QCOMPARE(fields.writes.mid(fields.writes.indexOf("Form2.Drive1") + 1),
                 (entryFieldsInOrder() + QStringList{"Form5.Text1", "Form5.Text2"}));
        QVERIFY(!QFile::exists(output));
    }

    void fileNameInAnyCaseFound_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("lower case") << "korv.ini";
        QTest::newRow("capitals") << "KORV.INI";
        QTest::newRow("mixed") << "Korv.Ini";
    }

    void fileNameInAnyCaseFound()
    {
        QFETCH(QString, fileName);
        writeSource("[NAME]\r\n1=Found\r\n", fileName);
        FakeFields fields;
        importInto(fields);
        QCOMPARE(fields.get(FormId::Form2, "Text1"), "Found");
    }

    void exactFileNameWinsOverOtherCase()
    {
        writeSource("[NAME]\r\n1=Other case\r\n", "korv.ini");
        writeSource("[NAME]\r\n1=Exact\r\n", "KORV.ini");
        FakeFields fields;
        importInto(fields);
        QCOMPARE(fields.get(FormId::Form2, "Text1"), "Exact");
    }

    // Each import looks for the file afresh: one found in another case may have been
    // replaced since.
    void fileReplacedBetweenImportsFoundAfresh()
    {
        writeSource("[NAME]\r\n1=Other case\r\n", "korv.ini");
        FakeFields first;
        importInto(first);
        QCOMPARE(first.get(FormId::Form2, "Text1"), "Other case");
        QVERIFY(QFile::remove(m_root + "korv.ini"));
        writeSource("[NAME]\r\n1=Exact\r\n", "KORV.ini");
        FakeFields second;
        importInto(second);
        QCOMPARE(second.get(FormId::Form2, "Text1"), "Exact");
    }

    // "Done when": a file this wizard saved fills all seventeen entries exactly. The names
    // hold "ソ" (0x83 0x5C) and "表" (0x95 0x5C), whose second byte is a backslash.
    void ownSaveImportsBackExactly()
    {
        FakeFields saved;
        saved.setText(kOutputPathHolder, m_root + "KORV.ini");
        const QStringList fields = entryFieldsInOrder();
        for (int slot = 1; slot <= 17; ++slot) {
            saved.values.insert(fields[2 * slot - 2], QStringLiteral("ソフト表%1 a=b").arg(slot));
            saved.values.insert(fields[2 * slot - 1],
                                QStringLiteral("D:\\表示\\GAME%1\\RUN.EXE").arg(slot));
        }
        saved.set(FormId::Form2, "Text13", ""); // an empty entry comes back empty
        QVERIFY(runSave(Saves::finishingSave, saved).ok());

        FakeFields imported = typedOver();
        importInto(imported);
        QCOMPARE(entryValues(imported), entryValues(saved));
    }

private:
    // Imports from the drive that is offered, as "読み込み！" does.
    FileStatus importInto(FakeFields &fields)
    {
        fields.setText(kDriveList, m_root);
        return Import::fromSourceFile(fields);
    }

    void writeSource(const QByteArray &bytes, const QString &fileName = "KORV.ini")
    {
        QFile file(m_root + fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    // "1=first" in [NAME], then a hostile middle, then "17=last" in [PATH].
    void writeHostileSource(const QString &shape)
    {
        QFile file(m_root + "KORV.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[NAME]\r\n1=first\r\n");
        if (shape == "random") {
            writeRandomMegabytes(file, 64);
        } else if (shape == "limit") {
            // With the 19 bytes of the end, one byte more than a megabyte.
            file.write(QByteArray((1 << 20) - file.size() - 18, ';'));
        } else if (shape == "endless") {
            // A hole reads as NUL bytes: one line without a break, taking no disk space.
            file.write("k=");
            QVERIFY(file.resize(file.size() + (qint64(256) << 20)));
            QVERIFY(file.seek(file.size()));
        } else {
            QByteArray lines;
            for (int i = 100; i < 1'500'100; ++i)
                lines += shape == "sections" ? "[" + QByteArray::number(i) + "]\r\n"
                                             : QByteArray::number(i) + "=v\r\n";
            QCOMPARE(file.write(lines), lines.size());
        }
        file.write("\r\n[PATH]\r\n17=last\r\n");
    }

    // NUL bytes, control bytes, and every other megabyte one long line without breaks.
    // Seeded, so that a failure can be repeated.
    static void writeRandomMegabytes(QFile &file, int mebibytes)
    {
        QRandomGenerator random(20261207);
        QByteArray chunk(1 << 20, '\0');
        for (int i = 0; i < mebibytes; ++i) {
            random.fillRange(reinterpret_cast<quint32 *>(chunk.data()), chunk.size() / 4);
            if (i % 2)
                chunk.replace('\n', 'x').replace('\r', 'y');
            QCOMPARE(file.write(chunk), chunk.size());
        }
    }

    std::unique_ptr<QTemporaryDir> m_drive;
    QString m_root;
};

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
