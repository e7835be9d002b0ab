// The browse buttons clicked as a user would, with the page's file dialog answered by the test.

#include "forms/CommonDialog.h"
#include "support/Seams.h"
#include "support/WizardRun.h"
#include "wizard/EntrySlots.h"
#include "wizard/PathPicker.h"
#include "wizard/Volumes.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>

namespace {

const EntrySlot &slotNumbered(int number)
{
    return EntrySlots::all()[number - 1];
}

// Clicks the slot's browse button, found by its name in the slot table, on its shown page.
void browse(WizardRun &run, const EntrySlot &slot)
{
    run.forms.show(slot.form);
    run.click(slot.form, slot.browseButton);
}

QFileDialog *commonDialog(WizardRun &run, FormId page)
{
    return run.forms.window(page).findChild<QFileDialog *>(QStringLiteral("CommonDialog1"));
}

} // namespace

class TestBrowse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_disc.isValid());
        QVERIFY(QDir(m_disc.path()).mkpath("GAME"));
        for (const QString &name : {m_runExe, m_setupExe}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }

    void init()
    {
        m_answers.emplace();
        failOnWarnings();
    }

    void cleanup()
    {
        m_answers.reset();
        QVERIFY(noWindowLeft());
    }

    // Each button fills the path field of its own slot, full path and all, and no other field.
    void browseFillsItsSlotsPathField_data()
    {
        QTest::addColumn<int>("slotNumber");
        for (const EntrySlot &slot : EntrySlots::all())
            QTest::addRow("slot %d", slot.number) << slot.number;
    }

    void browseFillsItsSlotsPathField()
    {
        QFETCH(int, slotNumber);
        WizardRun run;
        CommonDialog::setNextFileName(m_runExe);
        browse(run, slotNumbered(slotNumber));
        for (const EntrySlot &slot : EntrySlots::all()) {
            QCOMPARE(run.forms.text(slot.path()), slot.number == slotNumber ? m_runExeShown : "");
            QCOMPARE(run.forms.text(slot.name()), "");
        }
    }

    void cancelOrFailureLeavesTheField_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancel") << true;
        QTest::newRow("failure") << false;
    }

    // Even when the dialog has a file to remember, the field keeps what was typed.
    void cancelOrFailureLeavesTheField()
    {
        QFETCH(bool, cancel);
        WizardRun run;
        const EntrySlot &chosen = slotNumbered(8);
        const EntrySlot &typed = slotNumbered(17);
        CommonDialog::setNextFileName(m_runExe);
        browse(run, chosen);
        run.type(typed.form, typed.pathField, "TYPED.EXE");
        QFileDialog *dialog = commonDialog(run, FormId::Form3);
        QVERIFY(dialog);
        // The handler sets the filter on every use: seeing it set again shows the click ran.
        dialog->setNameFilters({"Stale (*)"});

        cancel ? CommonDialog::setNextCancel() : CommonDialog::setNextFailure();
        browse(run, typed);
        QCOMPARE(dialog->nameFilters(), PathPicker::nameFilters());
        QCOMPARE(run.forms.text(typed.path()), "TYPED.EXE");
        QCOMPARE(run.forms.text(chosen.path()), m_runExeShown);
        QCOMPARE(dialog->directory().path(), run.dir.path());
    }

    // The real dialog, never executed here: how it is set up and what it remembers.
    void realDialogIsSetUp()
    {
        WizardRun run;
        CommonDialog::setNextFileName(m_runExe);
        browse(run, slotNumbered(1));
        QFileDialog *dialog = commonDialog(run, FormId::Form2);
        QVERIFY(dialog);
        QCOMPARE(dialog->parentWidget(), &run.forms.window(FormId::Form2));
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->nameFilters(), PathPicker::nameFilters());
        // The list shows descriptions only, and the first one's patterns are in force.
        QVERIFY(dialog->testOption(QFileDialog::HideNameFilterDetails));
        QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("実行可能なファイル"));
        auto *model = dialog->findChild<QFileSystemModel *>();
        QVERIFY(model);
        QCOMPARE(model->nameFilters(), QStringList{PathPicker::executablePattern()});
        QVERIFY(!dialog->isVisible());
        // An empty field starts in the folder KORV.ini is saved into, which the side bar holds.
        QCOMPARE(dialog->directory().path(), run.dir.path());
        QVERIFY(dialog->sidebarUrls().contains(QUrl::fromLocalFile(run.dir.path())));

        // Another button of the page uses the same dialog; a field with a path starts in its
        // folder.
        CommonDialog::setNextFileName(m_setupExe);
        browse(run, slotNumbered(1));
        QCOMPARE(commonDialog(run, FormId::Form2), dialog);
        QCOMPARE(dialog->directory().path(), m_disc.filePath("GAME"));

        // Page 2 has a dialog of its own.
        CommonDialog::setNextFileName(m_runExe);
        browse(run, slotNumbered(8));
        QFileDialog *pageTwoDialog = commonDialog(run, FormId::Form3);
        QVERIFY(pageTwoDialog && pageTwoDialog != dialog);
    }

    void browsedPathIsShortenedAtTheSave_data()
    {
        QTest::addColumn<int>("slotNumber");
        QTest::addColumn<QString>("saveButton");
        QTest::newRow("slot 1, 次へ") << 1 << "Command1";
        QTest::newRow("slot 17, 完了") << 17 << "Command11";
    }

    // The field shows the disc path until its page is saved, then the disc-relative one.
    void browsedPathIsShortenedAtTheSave()
    {
        QFETCH(int, slotNumber);
        QFETCH(QString, saveButton);
        const OfferedVolumes offered(
            QList<Volume>{{"/", "", "ext4"}, {m_disc.path() + "/", "GAME", "iso9660"}});
        WizardRun run;
        const EntrySlot &slot = slotNumbered(slotNumber);
        CommonDialog::setNextFileName(m_runExe);
        browse(run, slot);
        QCOMPARE(run.forms.text(slot.path()), m_runExeShown);

        run.saveAsIs(slot.form, saveButton.toLatin1().constData());
        QCOMPARE(run.forms.text(slot.path()), R"(GAME\RUN.EXE)");
        QVERIFY(run.fileBytes().contains("\r\n" + slot.key().toLatin1() + "=GAME\\RUN.EXE\r\n"));
    }

private:
    QTemporaryDir m_disc;
    const QString m_runExe = m_disc.filePath("GAME/RUN.EXE");
    // As the path field shows it: with backslashes on Windows.
    const QString m_runExeShown = QDir::toNativeSeparators(m_runExe);
    const QString m_setupExe = m_disc.filePath("SETUP.EXE");
    std::optional<DialogAnswers> m_answers;
};

QTEST_MAIN(TestBrowse)
#include "tst_browse.moc"
