// "読み込み！" and the drive list driven as a user would: temporary folders offered as
// drives, one chosen in Drive1, Command12 clicked; checked by the entry fields.

#include "WizardRun.h"
#include "forms/MessageBox.h"
#include "wizard/EntrySlots.h"
#include "wizard/Volumes.h"

#include <QComboBox>
#include <QDir>
#include <array>
#include <memory>

namespace {

constexpr FormId Page1 = FormId::Form2;
constexpr FormId Page2 = FormId::Form3;

// The three drives offered: A and B are labelled, C is not.
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

} // namespace

class TestImportDisc : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_startFolder = QDir::currentPath();
        for (auto &drive : m_drives) {
            drive = std::make_unique<QTemporaryDir>();
            QVERIFY(drive->isValid());
        }
        Volumes::setSource([this] {
            QList<Volume> volumes;
            for (std::size_t i = 0; i < m_drives.size(); ++i)
                volumes.append({root(i), kLabels[i], "iso9660"});
            return volumes;
        });
        QVERIFY(QDir::setCurrent(root(0)));
        MessageBox::takeShown();
    }

    void cleanup()
    {
        Volumes::setSource({});
        QDir::setCurrent(m_startFolder);
        QVERIFY(noWindowLeft());
    }

    void driveListShowsEveryDriveAndStartsOnTheCurrentFolder()
    {
        QVERIFY(QDir(root(1)).mkpath("GAME/DATA"));
        QVERIFY(QDir::setCurrent(root(1) + "GAME/DATA"));
        WizardRun run;
        auto *drive1 = run.get<QComboBox>(Page1, "Drive1");
        QStringList shown;
        for (int i = 0; i < drive1->count(); ++i)
            shown.append(drive1->itemText(i));
        QCOMPARE(shown, (QStringList{root(0) + " [DISC_A]", root(1) + " [DISC_B]", root(2)}));
        QCOMPARE(drive1->currentIndex(), 1);
    }

    // Drive B is shown with its label; the file is still found, in its root. Choosing the
    // drive changes nothing; the press fills both pages and nothing else.
    void chosenDriveFillsBothPages()
    {
        // 0x83 0x5C 0x83 0x74 0x83 0x67 is "ソフト" in the file's code page.
        writeFile(1, "[NAME]\r\n1=\x83\x5c\x83\x74\x83\x67\r\n17=Last\r\n"
                     "[PATH]\r\n1=D:\\SETUP.EXE\r\n9=DOC\\README.TXT\r\n"
                     "[onoff]\r\njyoutai=1\r\n[memo]\r\ntaitoru=Title\r\n");
        WizardRun run;
        typeIntoEveryEntry(run);
        const QStringList typed = entryTexts(run);
        chooseDrive(run, 1);
        QCOMPARE(entryTexts(run), typed);

        run.click(Page1, "Command12");
        QStringList expected = kAllEmpty;
        expected[0] = QStringLiteral("ソフト");
        expected[1] = "D:\\SETUP.EXE";
        expected[17] = "DOC\\README.TXT";
        expected[32] = "Last";
        QCOMPARE(entryTexts(run), expected);
        QVERIFY(!run.get<QCheckBox>(Page2, "Check1")->isChecked());
        QVERIFY(!run.forms.isLoaded(FormId::Form5));
        QVERIFY(run.isShown(Page1));
        QVERIFY(!run.isShown(Page2));
        QVERIFY(!run.fileExists());
        QCOMPARE(MessageBox::takeShown().size(), 0);
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
        chooseDrive(run, 2);
        MessageBox::setNextAnswer(MessageBox::Answer::Ok);
        run.click(Page1, "Command12");
        QCOMPARE(entryTexts(run), typed);
        const QList<MessageBox::Shown> shown = MessageBox::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, "読み込めませんでした");
        QVERIFY2(shown[0].text.startsWith("「" + file + "」を読み込めませんでした。"),
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

    // With the keyboard, from the drive the list starts on.
    void chooseDrive(WizardRun &run, int index)
    {
        auto *drive1 = run.get<QComboBox>(Page1, "Drive1");
        while (drive1->currentIndex() < index)
            QTest::keyClick(drive1, Qt::Key_Down);
        QCOMPARE(drive1->currentIndex(), index);
    }

    QString m_startFolder;
    std::array<std::unique_ptr<QTemporaryDir>, 3> m_drives;
};

QTEST_MAIN(TestImportDisc)
#include "tst_importdisc.moc"
