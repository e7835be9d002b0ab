#include "modules/ProfileSession.h"
#include "support/FakeFields.h"
#include "support/Seams.h"
#include "support/TestFiles.h"
#include "wizard/EntryCheck.h"
#include "wizard/EntrySlots.h"
#include "wizard/PathCleanup.h"
#include "wizard/Saves.h"

#include <QDir>
#include <QFile>
#include <QMetaEnum>
#include <QTemporaryDir>
#include <QTest>

using TestFiles::iniLines;

namespace {

// "[NAME]", then "n=" for each slot number given.
QStringList emptySection(const QString &section, QList<int> keys)
{
    QStringList result{"[" + section + "]"};
    for (int key : keys)
        result.append(QString::number(key) + "=");
    return result;
}

const QList<int> kPageTwoThenOne{8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 1, 2, 3, 4, 5, 6, 7};

} // namespace

class TestSaves : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_files.dir.isValid());
        QFile::remove(m_files.ini);
        m_fields = FakeFields();
        m_fields.setText(kOutputPathHolder, m_files.ini);
    }

    void allEmptyFinishWritesEveryKey()
    {
        QVERIFY(runSave(Saves::finishingSave, m_fields).ok());
        QCOMPARE(fileBytes(),
                 iniLines(emptySection("NAME", kPageTwoThenOne) +
                          emptySection("PATH", kPageTwoThenOne) +
                          QStringList{"[onoff]", "jyoutai=0", "[memo]", "taitoru=", "hitokoto="}));
    }

    void pageOneSaveShortensOnlyItsOwnPaths()
    {
        FakeFields &fields = m_fields;
        fields.set(FormId::Form2, "Text1", "Game");
        fields.set(FormId::Form2, "Text2", R"(D:\E:\X.EXE)");
        fields.set(FormId::Form3, "Text2", R"(D:\SETUP.EXE)");
        QVERIFY(runSave(Saves::pageOneSave, fields).ok());
        QCOMPARE(fields.get(FormId::Form2, "Text2"), R"(E:\X.EXE)");
        QCOMPARE(fields.get(FormId::Form3, "Text2"), R"(D:\SETUP.EXE)");

        const QByteArray afterPageOne = fileBytes();
        QVERIFY(afterPageOne.startsWith("[NAME]\r\n1=Game\r\n2=\r\n"));
        QVERIFY(afterPageOne.contains("[PATH]\r\n1=E:\\X.EXE\r\n2=\r\n"));
        QVERIFY(!afterPageOne.contains("8="));

        // The finish shortens page 2 and rewrites page 1 as it stands, without shortening again.
        QVERIFY(runSave(Saves::finishingSave, fields).ok());
        QCOMPARE(fields.get(FormId::Form2, "Text2"), R"(E:\X.EXE)");
        QCOMPARE(fields.get(FormId::Form3, "Text2"), "SETUP.EXE");
        const QByteArray finished = fileBytes();
        QVERIFY(finished.contains("[PATH]\r\n1=E:\\X.EXE\r\n2=\r\n"));
        QVERIFY(finished.contains("\r\n7=\r\n8=SETUP.EXE\r\n"));
    }

    void secondSaveReplacesKeysInPlace()
    {
        FakeFields &fields = m_fields;
        fields.set(FormId::Form2, "Text5", "Old");
        QVERIFY(runSave(Saves::pageOneSave, fields).ok());
        const QByteArray first = fileBytes();
        fields.set(FormId::Form2, "Text5", "New name");
        QVERIFY(runSave(Saves::pageOneSave, fields).ok());
        QByteArray expected = first;
        expected.replace("3=Old\r\n", "3=New name\r\n");
        QCOMPARE(fileBytes(), expected);
    }

    void doNotRunFlag_data()
    {
        QTest::addColumn<QString>("checked");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("unticked") << "0" << QByteArray("jyoutai=0\r\n");
        QTest::newRow("ticked") << "1" << QByteArray("jyoutai=1\r\n");
    }

    void doNotRunFlag()
    {
        QFETCH(QString, checked);
        QFETCH(QByteArray, expected);
        FakeFields &fields = m_fields;
        fields.set(FormId::Form3, "Check1", checked);
        QVERIFY(runSave(Saves::finishingSave, fields).ok());
        QVERIFY(fileBytes().contains("[onoff]\r\n" + expected));
    }

    // The finish writes the title and comment the dialog holds: empty ones clear what was
    // saved, set ones (read from another disc) replace it, and ones the file holds stay.
    void finishWritesTheDialogsMemo_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QByteArray>("memo");
        QTest::newRow("both as saved")
            << "Saved"
            << "Kept" << QByteArray("taitoru=Saved\r\nhitokoto=Kept\r\n");
        QTest::newRow("both from another disc")
            << "Title"
            << "Hello" << QByteArray("taitoru=Title\r\nhitokoto=Hello\r\n");
        QTest::newRow("title empty") << ""
                                     << "Kept" << QByteArray("taitoru=\r\nhitokoto=Kept\r\n");
        QTest::newRow("comment empty") << "Saved"
                                       << "" << QByteArray("taitoru=Saved\r\nhitokoto=\r\n");
        QTest::newRow("both empty") << ""
                                    << "" << QByteArray("taitoru=\r\nhitokoto=\r\n");
    }

    void finishWritesTheDialogsMemo()
    {
        QFETCH(QString, title);
        QFETCH(QString, comment);
        QFETCH(QByteArray, memo);
        TestFiles::writeFile(m_files.ini, "[memo]\r\ntaitoru=Saved\r\nhitokoto=Kept\r\n");
        FakeFields &fields = m_fields;
        fields.set(FormId::Form5, "Text1", title);
        fields.set(FormId::Form5, "Text2", comment);
        QVERIFY(runSave(Saves::finishingSave, fields).ok());
        QVERIFY(fileBytes().startsWith("[memo]\r\n" + memo));
    }

    void commentSaveWritesTitleThenComment()
    {
        FakeFields &fields = m_fields;
        fields.set(FormId::Form5, "Text1", QStringLiteral("ソフト集"));
        fields.set(FormId::Form5, "Text2", "Insert the disc");
        QVERIFY(runSave(Saves::commentSave, fields).ok());
        QCOMPARE(fileBytes(), QByteArray("[memo]\r\ntaitoru=\x83\x5c\x83\x74\x83\x67\x8f\x57\r\n"
                                         "hitokoto=Insert the disc\r\n"));
    }

    void failedWriteIsReported_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<FileProblem>("problem");
        QTest::newRow("missing folder") << "missing/KORV.ini" << FileProblem::FolderMissing;
        QTest::newRow("path is a folder") << "folder" << FileProblem::IsFolder;
        QTest::newRow("file over the limit") << "large.ini" << FileProblem::FileTooLarge;
    }

    void failedWriteIsReported()
    {
        QFETCH(QString, relativePath);
        QFETCH(FileProblem, problem);
        QVERIFY(QDir(m_files.dir.path()).mkpath("folder"));
        const QString file = m_files.dir.filePath(relativePath);
        const QByteArray large = QByteArray("[NAME]\r\n").leftJustified((1 << 20) + 1, ';');
        if (problem == FileProblem::FileTooLarge)
            TestFiles::writeFile(file, large);
        m_fields.setText(kOutputPathHolder, file);
        for (const auto &save : {Saves::pageOneSave, Saves::finishingSave, Saves::commentSave}) {
            const FileStatus status = runSave(save, m_fields);
            QCOMPARE(status.problem, problem);
            QCOMPARE(status.fileName, file);
        }
        if (problem == FileProblem::FileTooLarge) {
            QCOMPARE(TestFiles::readFile(file), large);
            QVERIFY(QFile::remove(file));
        }
    }

    // キャンセル during the save writes nothing, and leaves nothing in the folder.
    void cancelledSaveWritesNothing()
    {
        TestFiles::writeFile(m_files.ini, "[NAME]\r\n1=old\r\n");
        m_fields.set(FormId::Form2, "Text1", "new");
        const FileStatus status = Saves::run(Saves::finishingSave, m_fields, m_files.ini,
                                             [](ProfileSession &session, const auto &work) {
                                                 session.cancel();
                                                 work();
                                             });
        QCOMPARE(status.problem, FileProblem::Cancelled);
        QCOMPARE(fileBytes(), "[NAME]\r\n1=old\r\n");
        QCOMPARE(QDir(m_files.dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"KORV.ini"});
    }

    // The output file is read from the holder at each save's start: a changed holder is
    // seen by the next save.
    void eachSaveWritesWhereTheHolderSaysThen()
    {
        m_fields.set(FormId::Form5, "Text1", "first");
        QVERIFY(runSave(Saves::commentSave, m_fields).ok());
        const QString second = m_files.dir.filePath("second.ini");
        m_fields.setText(kOutputPathHolder, second);
        m_fields.set(FormId::Form5, "Text1", "second");
        QVERIFY(runSave(Saves::commentSave, m_fields).ok());
        QCOMPARE(fileBytes(), iniLines({"[memo]", "taitoru=first", "hitokoto="}));
        QCOMPARE(TestFiles::readFile(second), iniLines({"[memo]", "taitoru=second", "hitokoto="}));
    }

    void unstorableCharactersAreNamed()
    {
        FakeFields &fields = m_fields;
        fields.set(FormId::Form2, "Text6", QStringLiteral("GAME\\😀.EXE"));
        fields.set(FormId::Form3, "Text9", QStringLiteral("〜名前−¢£¬—‖"));
        fields.set(FormId::Form3, "Text10", QStringLiteral("𠮷野家🎮𠮷"));
        const QList<Saves::Unstorable> found =
            Saves::unstorableInFinishingSave(fields, FileEncodings::of(m_files.ini));
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[0].description, QStringLiteral("パス 12"));
        QCOMPARE(found[0].characters, QStringLiteral("𠮷🎮"));
        QCOMPARE(found[1].description, QStringLiteral("パス 3"));
        QCOMPARE(found[1].characters, QStringLiteral("😀"));
        QCOMPARE(Saves::unstorableInPageOneSave(fields, FileEncodings::of(m_files.ini)).size(), 1);

        fields.set(FormId::Form5, "Text2", QStringLiteral("👍"));
        const QList<Saves::Unstorable> memo =
            Saves::unstorableInCommentSave(fields, FileEncodings::of(m_files.ini));
        QCOMPARE(memo.size(), 1);
        QCOMPARE(memo[0].description, QStringLiteral("一言"));

        // A file with a Unicode byte order mark holds them all.
        for (const QByteArray &unicode : {TestFiles::utf8File(""), TestFiles::utf16File("")}) {
            TestFiles::writeFile(m_files.ini, unicode);
            QCOMPARE(
                Saves::unstorableInFinishingSave(fields, FileEncodings::of(m_files.ini)).size(), 0);
            QCOMPARE(Saves::unstorableInCommentSave(fields, FileEncodings::of(m_files.ini)).size(),
                     0);
        }
    }

    // Listing the volumes reads the system's whole mount table: a save lists them once at
    // most, and not at all when no path could lie on one.
    void volumesListedOncePerSaveAtMost_data()
    {
        QTest::addColumn<QStringList>("paths"); // of slots 8, 9, ...; "<disc>" is its root
        QTest::addColumn<QStringList>("saved");
        QTest::addColumn<int>("listings");
        // A drive path may lie on a volume only where the system has drives.
        QTest::newRow("relative and drive paths")
            << QStringList{R"(GAME\RUN.EXE)", R"(D:\X.EXE)"} << QStringList{R"(GAME\RUN.EXE)", "X.EXE"}
            << (QDir::isAbsolutePath(R"(D:\X.EXE)") ? 1 : 0);
        QTest::newRow("two on the disc") << QStringList{"<disc>/A.EXE", "<disc>/B/C.EXE"}
                                         << QStringList{"A.EXE", R"(B\C.EXE)"} << 1;
    }

    void volumesListedOncePerSaveAtMost()
    {
        QFETCH(QStringList, paths);
        QFETCH(QStringList, saved);
        QFETCH(int, listings);
        QTemporaryDir disc;
        int listed = 0;
        const OfferedVolumes offered([&] {
            ++listed;
            return QList<Volume>{{disc.path() + "/", "", "iso9660"}};
        });
        FakeFields &fields = m_fields;
        const auto pageTwo = EntrySlots::onPage(FormId::Form3);
        for (int i = 0; i < paths.size(); ++i)
            fields.setText(pageTwo[i].path(), QString(paths[i]).replace("<disc>", disc.path()));
        QVERIFY(runSave(Saves::finishingSave, fields).ok());
        QCOMPARE(listed, listings);
        for (int i = 0; i < saved.size(); ++i)
            QCOMPARE(fields.text(pageTwo[i].path()), saved[i]);
    }

    // What will not work on the disc, found before a save. The disc folder holds GAME\RUN.EXE,
    // Readme.txt and the launcher under the name a row gives; its GAME is mounted as a disc too.
    void entryProblems_data()
    {
        QTest::addColumn<QStringList>("entries");  // "slot:name|path"; <disc>, <volume>: folders
        QTest::addColumn<QStringList>("expected"); // fault and slot, in the order found
        QTest::addColumn<bool>("finishing");
        QTest::addColumn<bool>("discFolderKnown"); // else KORV.ini goes into the program's folder
        QTest::addColumn<QString>("launcher");
        const QString game = R"(1:Game|GAME\RUN.EXE)";
        const QString readme = "2:Readme|Readme.txt";
        const auto row = [](const char *name, const QStringList &entries,
                            const QStringList &expected, bool finishing = false,
                            bool discFolderKnown = true, const QString &launcher = "KORVANE.EXE") {
            QTest::newRow(name) << entries << expected << finishing << discFolderKnown << launcher;
        };
        row("a sound menu; drive prefix, full path",
            {R"(1:Game|D:\GAME\RUN.EXE)", "2:R|<disc>/Readme.txt"}, {}, true);
        row("any case, dots, separators, launcher",
            {"1:Game|game/./Run.exe", R"(2:Readme|\GAME\..\README.TXT)"}, {}, true, true,
            "korvane.exe");
        row("full paths left", {"1:Game|/opt/RUN.EXE", R"(2:A|D:\E:\A.EXE)", "3:B|D:/B.EXE"},
            {"AbsolutePath 1", "AbsolutePath 2", "AbsolutePath 3"});
        row("missing file; a network path is not looked for",
            {game, R"(2:Readme|DOCS\Readme.txt)", R"(3:Share|\\SERVER\SHARE\X.EXE)"},
            {"FileMissing 2"});
        row("picked from a disc: the disc folder is the disc", {game, "2:Run|<volume>/RUN.EXE"},
            {"FileMissing 2"});
        row("picked from a disc, no disc folder",
            {"1:Game|<volume>/RUN.EXE", "2:Gone|<volume>/GONE"}, {"FileMissing 2"}, false, false);
        row("name or path alone", {game, readme, "3:Manual|", "4:|Readme.txt"},
            {"NameWithoutPath 3", "PathWithoutName 4"});
        row("one entry, run without a menu, needs no name", {R"(1:|GAME\RUN.EXE)"}, {});
        row("slot 2 with a path only", {game, "2:|Readme.txt"}, {"MenuNotShown 2"});
        row("slot 2 empty, page 2 filled", {game, R"(8:Game|GAME\RUN.EXE)"}, {"MenuNotShown 2"});
        row("1023 bytes, 1024 bytes",
            {game, "2:" + QString(511, QChar(0x540D)) + "N|Readme.txt",
             "3:" + QString(512, QChar(0x540D)) + "|" + QString(1024, 'P')},
            {"NameTooLong 3", "PathTooLong 3", "FileMissing 3"});
        row("no launcher: told on 完了 only", {game, readme}, {}, false, true, "");
        row("完了: page 2, page 1, the launcher", {game, readme, "9:Manual|", "3:Tool|"},
            {"NameWithoutPath 9", "NameWithoutPath 3", "LauncherMissing 0"}, true, true, "");
        row("no disc folder: no launcher, no root", {"1:Game|GONE.EXE", readme}, {}, true, false,
            "");
    }

    void entryProblems()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, expected);
        QFETCH(bool, finishing);
        QFETCH(bool, discFolderKnown);
        QFETCH(QString, launcher);
        const QTemporaryDir disc;
        const QString volume = disc.filePath("GAME");
        QVERIFY(QDir(disc.path()).mkpath("GAME"));
        for (const QString &file : {QString("GAME/RUN.EXE"), QString("Readme.txt"), launcher}) {
            if (!file.isEmpty())
                TestFiles::writeFile(disc.filePath(file), "");
        }
        const EntryCheck::Roots roots{
            PathCleanup::discRoots({{volume + "/", "", "iso9660"}}, disc.path()),
            discFolderKnown ? disc.path() : QString()};
        for (QString entry : entries) {
            entry.replace("<disc>", disc.path()).replace("<volume>", volume);
            const EntrySlot &slot = EntrySlots::all()[entry.section(':', 0, 0).toUInt() - 1];
            m_fields.setText(slot.name(), entry.section(':', 1).section('|', 0, 0));
            m_fields.setText(slot.path(), entry.section('|', 1));
        }
        const QStringList typed = m_fields.writes;
        QStringList found;
        for (const EntryCheck::Problem &problem :
             (finishing ? EntryCheck::inFinishingSave : EntryCheck::inPageOneSave)(m_fields, roots))
            found.append(QMetaEnum::fromType<EntryCheck::Fault>().valueToKey(int(problem.fault)) +
                         QStringLiteral(" %1").arg(problem.slot));
        QCOMPARE(found, expected);
        // The check looks at what the save would write and leaves the fields as typed.
        QCOMPARE(m_fields.writes, typed);
    }

    // KORV.ini in the program's own folder waits to be copied to a disc the wizard cannot know.
    void discFolderIsTheOutputFolderButTheProgramsOwn()
    {
        const QString program = QCoreApplication::applicationDirPath();
        QCOMPARE(EntryCheck::rootsFor(program + "/KORV.ini").discFolder, QString());
        QCOMPARE(EntryCheck::rootsFor(m_files.ini).discFolder, m_files.dir.path());
        QCOMPARE(EntryCheck::rootsFor(m_files.dir.filePath("gone/KORV.ini")).discFolder, QString());
    }

private:
    QByteArray fileBytes() const { return TestFiles::readFile(m_files.ini); }

    TestFiles::Folder m_files;
    FakeFields m_fields;
};

QTEST_GUILESS_MAIN(TestSaves)
#include "tst_saves.moc"
