// "読み込み！" and the drive list driven as a user would: temporary folders offered as
// drives, one chosen in Drive1, Command12 clicked; checked by the entry fields.

#include "forms/DriveList.h"
#include "forms/MessageBox.h"
#include "support/Seams.h"
#include "support/WizardRun.h"
#include "wizard/EntrySlots.h"
#include "wizard/Volumes.h"

#include <QAbstractItemView>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QStyleFactory>
#include <array>
#include <memory>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace {

// The three drives offered, in the order of their roots: A and B are labelled, C is not.
const std::array<QString, 3> kLabels{"DISC_A", "DISC_B", ""};

QStringList entryTexts(WizardRun &run)
{
    QStringList texts;
    for (const EntrySlot &slot : EntrySlots::all())
        texts << run.forms.text(slot.name()) << run.forms.text(slot.path());
    return texts;
}

// Something typed into every entry, hidden page 2 included, so that emptying shows.
void typeIntoEveryEntry(WizardRun &run)
{
    for (const EntrySlot &slot : EntrySlots::all()) {
        run.type(slot.form, slot.nameField, "typed");
        run.type(slot.form, slot.pathField, "TYPED.EXE");
    }
}

const QStringList kAllEmpty(34);

const QString kChooser = QStringLiteral("フォルダーを選ぶ…");

// The entries' texts, their folders with Qt's separators whatever the system shows.
QStringList itemTexts(const QComboBox *list, int role = Qt::DisplayRole)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(QDir::fromNativeSeparators(list->itemData(i, role).toString()));
    return texts;
}

} // namespace

class TestImportDisc : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        for (auto &drive : m_drives) {
            drive = std::make_unique<QTemporaryDir>();
            QVERIFY(drive->isValid());
        }
        // Drive i is the i-th entry of the list, which shows discs by root.
        std::ranges::sort(m_drives, {}, [](const auto &drive) { return drive->path(); });
        m_mounted.clear();
        for (std::size_t i = 0; i < m_drives.size(); ++i)
            m_mounted.append({root(i), kLabels[i], "iso9660"});
        m_offered.emplace([this] { return m_mounted; });
        m_current.emplace(root(0));
        QVERIFY(m_current->isSet());
        m_messages.emplace();
        failOnWarnings();
    }

    void cleanup()
    {
        m_messages.reset();
        m_current.reset();
        m_offered.reset();
        QVERIFY(noWindowLeft());
    }

    void driveListShowsEveryDriveAndStartsOnTheCurrentFolder()
    {
        QVERIFY(QDir(root(1)).mkpath("GAME/DATA"));
        const CurrentFolder inside(root(1) + "GAME/DATA");
        QVERIFY(inside.isSet());
        WizardRun run;
        auto *drive1 = run.get<DriveList>(Page1, "Drive1");
        QCOMPARE(itemTexts(drive1), (QStringList{ownEntry(run), "DISC_A — " + root(0),
                                                 "DISC_B — " + root(1), root(2), kChooser}));
        QCOMPARE(drive1->currentIndex(), 2);
        QCOMPARE(drive1->drive(), root(1));
    }

    void openingListsTheVolumesMountedNow_data()
    {
        QTest::addColumn<bool>("chosenTakenOut");
        QTest::newRow("chosen disc still in") << false;
        QTest::newRow("chosen disc taken out") << true;
    }

    // Since start-up disc A was taken out, perhaps disc B too, and a stick and a hard disk
    // were mounted. Discs and sticks come first; a selection that went away falls to the
    // first entry.
    void openingListsTheVolumesMountedNow()
    {
        QFETCH(bool, chosenTakenOut);
        WizardRun run;
        auto *drive1 = run.get<DriveList>(Page1, "Drive1");
        chooseEntry(run, 2);
        m_mounted.removeFirst();
        if (chosenTakenOut)
            m_mounted.removeFirst();
        m_mounted += {{"/", "", "ext4"}, {"/media/user/STICK/", "STICK", "vfat"}};
        // Most styles, unlike Fusion, open the list no wider than the box.
        QStyle *narrowList = QStyleFactory::create("Windows");
        narrowList->setParent(drive1);
        drive1->setStyle(narrowList);
        drive1->showPopup();

        const QString stick = "STICK — /media/user/STICK/";
        const QStringList expected =
            chosenTakenOut
                ? QStringList{ownEntry(run), stick, root(2), "/", kChooser}
                : QStringList{ownEntry(run), stick, "DISC_B — " + root(1), root(2), "/", kChooser};
        QCOMPARE(itemTexts(drive1), expected);
        QCOMPARE(itemTexts(drive1, Qt::ToolTipRole), expected);
        QCOMPARE(drive1->drive(), chosenTakenOut ? "/media/user/STICK/" : root(1));
        QCOMPARE(drive1->toolTip(), drive1->currentText());
        // The open list shows each entry whole, however narrow the box.
        QVERIFY(drive1->view()->isVisible());
        for (const QString &entry : expected)
            QVERIFY2(drive1->view()->viewport()->width() >=
                         drive1->fontMetrics().horizontalAdvance(entry),
                     qPrintable(entry));
        drive1->hidePopup();
    }

    // Drive B is shown with its label; the file is still found, in its root. The folder
    // being prepared reads its own file again; the last entry reads a folder the user picks.
    // Choosing the entry changes nothing; the press fills both pages and the comment dialog.
    void chosenDriveFillsBothPages_data()
    {
        QTest::addColumn<int>("entry"); // in the list: the folder being prepared comes first
        QTest::newRow("disc B") << 2;
        QTest::newRow("このディスク") << 0;
        QTest::newRow("フォルダーを選ぶ…") << 4;
    }

    void chosenDriveFillsBothPages()
    {
        QFETCH(int, entry);
        WizardRun run;
        const DialogAnswers dialogs;
        FolderDialog::setNextFolder(root(1));
        // 0x83 0x5C 0x83 0x74 0x83 0x67 is "ソフト" in the file's code page.
        TestFiles::writeFile((entry == 0 ? run.dir.path() + "/" : root(1)) + "KORV.ini",
                             "[NAME]\r\n1=\x83\x5c\x83\x74\x83\x67\r\n17=Last\r\n"
                             "[PATH]\r\n1=D:\\SETUP.EXE\r\n9=DOC\\README.TXT\r\n"
                             "[onoff]\r\njyoutai=1\r\n[memo]\r\ntaitoru=Title\r\n");
        const QByteArray before = TestFiles::readFile(run.dir.filePath("KORV.ini"));
        typeIntoEveryEntry(run);
        run.type(Comment, "Text2", "typed comment");
        const QStringList typed = entryTexts(run);
        chooseEntry(run, entry);
        QCOMPARE(entryTexts(run), typed);

        run.click(Page1, "Command12");
        QStringList expected = kAllEmpty;
        expected[0] = QStringLiteral("ソフト");
        expected[1] = "D:\\SETUP.EXE";
        expected[17] = "DOC\\README.TXT";
        expected[32] = "Last";
        QCOMPARE(entryTexts(run), expected);
        QCOMPARE(run.text(Comment, "Text1"), "Title");
        QCOMPARE(run.text(Comment, "Text2"), "");
        QVERIFY(!run.get<QCheckBox>(Page2, "Check1")->isChecked());
        QVERIFY(run.isShown(Page1));
        QVERIFY(!run.isShown(Page2));
        QVERIFY(!run.isShown(Comment));
        QCOMPARE(TestFiles::readFile(run.dir.filePath("KORV.ini")), before);
        QCOMPARE(m_messages->shown.size(), 0);
    }

    // A second run on a finished disc folder starts with its menu, title and comment, and
    // finishing keeps them with the entry added. A file there that cannot be read is told,
    // leaves the fields empty and is never replaced.
    void secondRunStartsFromTheFileThere_data()
    {
        QTest::addColumn<QString>("kind"); // "menu", or what stops any reader: "fifo", "folder"
        QTest::newRow("finished menu") << "menu";
#ifndef Q_OS_WIN // Windows has no FIFOs in its folders
        QTest::newRow("fifo named KORV.ini") << "fifo";
#endif
        QTest::newRow("folder named KORV.ini") << "folder";
    }

    void secondRunStartsFromTheFileThere()
    {
        QFETCH(QString, kind);
        QHash<int, QString> names{{1, "One"}, {2, "Two"}, {3, "Three"}, {4, "Four"}, {5, "Five"}};
        QHash<int, QString> paths{
            {1, "A.EXE"}, {2, "B.EXE"}, {3, "C.EXE"}, {4, "D.EXE"}, {5, "E.EXE"}};
        const QStringList tail{"[onoff]", "jyoutai=0", "[memo]", "taitoru=Title", "hitokoto=Hi"};
        m_messages->nextAnswer = MessageBox::Answer::Ok;
        WizardRun run([&](const QString &folder) {
            for (const char *program : {"A.EXE", "B.EXE", "C.EXE", "D.EXE", "E.EXE", "F.EXE"})
                TestFiles::writeFile(folder + "/" + program, "");
            const QString file = folder + "/KORV.ini";
            if (kind == "menu")
                TestFiles::writeFile(file, iniLines(iniSection("NAME", 1, 5, names) +
                                                    iniSection("PATH", 1, 5, paths) + tail));
#ifndef Q_OS_WIN
            else if (kind == "fifo")
                QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
#endif
            else
                QVERIFY(QDir(folder).mkdir("KORV.ini"));
        });
        m_messages->nextAnswer = MessageBox::Answer::Ok;
        // Slot 6 after the menu read, slot 1 into empty fields: an entry the check lets pass.
        const bool menu = kind == "menu";
        run.type(Page1, menu ? "Text11" : "Text1", "Six");
        run.type(Page1, menu ? "Text12" : "Text2", "F.EXE");
        run.click(Page1, "Command1");
        const QList<MessageBox::Shown> shown = m_messages->shown;
        if (!menu) {
            QCOMPARE(shown.size(), 2);
            QCOMPARE(shown[0].title, "読み込めませんでした");
            QCOMPARE(shown[1].title, "保存できませんでした");
            QCOMPARE(entryTexts(run).join(""), "SixF.EXE");
            QVERIFY(QFileInfo::exists(run.outputFile()) && !QFileInfo(run.outputFile()).isFile());
            return;
        }
        QCOMPARE(shown.size(), 0);
        run.click(Page2, "Command11");
        names.insert(6, "Six");
        paths.insert(6, "F.EXE");
        QCOMPARE(run.fileBytes(), iniLines(iniSection("NAME", 1, 17, names) +
                                           iniSection("PATH", 1, 17, paths) + tail));
    }

    // The mend: one press on a drive without the file used to empty everything typed.
    void driveWithoutFileTellsAndKeepsEveryField_data()
    {
        QTest::addColumn<bool>("vanished"); // listed when page 1 opened, gone at the press
        QTest::newRow("no KORV.ini") << false;
        QTest::newRow("drive gone") << true;
    }

    void driveWithoutFileTellsAndKeepsEveryField()
    {
        QFETCH(bool, vanished);
        writeFile(1, "[NAME]\r\n1=Elsewhere\r\n");
        WizardRun run;
        typeIntoEveryEntry(run);
        const QStringList typed = entryTexts(run);
        const QString file = root(2) + "KORV.ini";
        if (vanished)
            QVERIFY(m_drives[2]->remove());
        chooseEntry(run, 3);
        m_messages->nextAnswer = MessageBox::Answer::Ok;
        run.click(Page1, "Command12");
        QCOMPARE(entryTexts(run), typed);
        const QList<MessageBox::Shown> shown = m_messages->shown;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, "読み込めませんでした");
        QVERIFY2(shown[0].text.startsWith("「" + file + "」を読み込めませんでした。"),
                 qPrintable(shown[0].text));
    }

    // A file far over the limit of what is read, which once took long enough to show a
    // progress dialog, is refused at once: the message names the file and why, no progress
    // dialog comes up, and no field changes. (The progress dialog and its キャンセル are
    // driven in tst_dialogs.)
    void fileOverTheLimitIsRefusedAtOnce()
    {
        // A hole reads as NUL bytes: one endless line that takes no disk space.
        QFile file(root(1) + "KORV.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64(64) << 30));
        file.close();
        WizardRun run;
        typeIntoEveryEntry(run);
        const QStringList typed = entryTexts(run);
        chooseEntry(run, 2);
        bool progressShown = false;
        whenModalUp<QProgressDialog>([&](QProgressDialog *) { progressShown = true; }, 60);
        m_messages->nextAnswer = MessageBox::Answer::Ok;
        QElapsedTimer waited;
        waited.start();
        run.click(Page1, "Command12");
        QVERIFY2(waited.elapsed() < 500, qPrintable(QString("%1 ms").arg(waited.elapsed())));
        QTest::qWait(700);
        QVERIFY(!progressShown);
        QCOMPARE(entryTexts(run), typed);
        const QList<MessageBox::Shown> shown = m_messages->shown;
        QCOMPARE(shown.size(), 1);
        QVERIFY2(
            shown[0].text.contains("ファイルが大きすぎます（読み書きできるのは1 MiBまでです）"),
            qPrintable(shown[0].text));
    }

private:
    QString root(std::size_t drive) const
    {
        return QDir(m_drives[drive]->path()).canonicalPath() + "/";
    }

    void writeFile(std::size_t drive, const QByteArray &bytes)
    {
        QFile file(root(drive) + "KORV.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    // With the keyboard, from the entry the list starts on.
    void chooseEntry(WizardRun &run, int index)
    {
        auto *drive1 = run.get<DriveList>(Page1, "Drive1");
        while (drive1->currentIndex() != index)
            QTest::keyClick(drive1, drive1->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(drive1->currentIndex(), index);
    }

    // The folder being prepared, as the list shows it.
    static QString ownEntry(WizardRun &run)
    {
        return QStringLiteral("このディスク — ") + run.dir.path() + "/";
    }

    QList<Volume> m_mounted; // what the system reports as mounted
    std::array<std::unique_ptr<QTemporaryDir>, 3> m_drives;
    std::optional<OfferedVolumes> m_offered;
    std::optional<CurrentFolder> m_current;
    std::optional<Messages> m_messages;
};

QTEST_MAIN(TestImportDisc)
#include "tst_importdisc.moc"
