// One instance of each window, created on first reference; hidden windows keep their
// fields, unloaded ones lose them; the unload cascades, and the end of the program.

#include "app/Startup.h"
#include "support/WizardRun.h"

#include <QLabel>

Q_DECLARE_METATYPE(FormId)

namespace {

const FormId kAll[] = {FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form5};

QList<FormId> loaded(const Forms &forms)
{
    QList<FormId> result;
    for (FormId id : kAll) {
        if (forms.isLoaded(id))
            result.append(id);
    }
    return result;
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnWarnings(); }
    void cleanup() { QVERIFY(noWindowLeft()); }

    void firstReferenceCreatesOnce()
    {
        Forms forms;
        QVERIFY(loaded(forms).isEmpty());
        FormBase &first = forms.window(FormId::Form5);
        QCOMPARE(&forms.window(FormId::Form5), &first);
        QCOMPARE(loaded(forms), QList<FormId>{FormId::Form5});
        QVERIFY(!first.isVisible());
    }

    void pageOneLoadSetsUpTheOutputFileAndLoadsPageTwo()
    {
        Forms forms;
        forms.window(FormId::Form2);
        QCOMPARE(loaded(forms), (QList<FormId>{FormId::Form2, FormId::Form3}));
        QVERIFY(!forms.window(FormId::Form3).isVisible());
        QCOMPARE(forms.text({FormId::Form2, "Label5"}),
                 QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + "/KORV.ini"));
        QVERIFY(forms.text({FormId::Form4, "Label2"})
                    .startsWith("KORV.INIがこのプログラムを実行したフォルダに保存されています。"));
    }

    // The command line names the disc folder, which must be there; a folder KORV.ini cannot
    // be written into, or an installed program's own, is asked about before page 1, and
    // another one chosen or the program ended. Nothing is left in the folders looked at.
    void startsOnItsOutputFolder_data()
    {
        // "<disc>" a fresh folder, "<file>" a file; "@<folder>": not an argument, the folder
        // the program is in.
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode"); // -1: the program goes on
        // To the question: "", "quit", "choose", "enter" (on the real box), "cancel" (the
        // folder dialog, then Esc on the question that comes again).
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("folder"); // where KORV.ini goes; empty: nowhere
        const QString program = QCoreApplication::applicationDirPath();
        QTest::newRow("no folder") << QStringList() << -1 << "" << program;
        QTest::newRow("disc folder") << QStringList{"<disc>"} << -1 << ""
                                     << "<disc>";
        QTest::newRow("missing folder") << QStringList{"<disc>/missing"} << 1 << ""
                                        << "";
        QTest::newRow("a file") << QStringList{"<file>"} << 1 << ""
                                << "";
        QTest::newRow("two folders") << QStringList{"<disc>", "<disc>"} << 2 << ""
                                     << "";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << ""
                                        << "";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << ""
                                   << "";
        // Mode bits do not stop root; /proc takes no file from anyone.
        QTest::newRow("unwritable, another chosen") << QStringList{"/proc"} << -1 << "choose"
                                                    << "<disc>";
        QTest::newRow("unwritable, end") << QStringList{"/proc"} << -1 << "quit"
                                         << "";
        QTest::newRow("unwritable, no folder chosen") << QStringList{"/proc"} << -1 << "cancel"
                                                      << "";
        // Installed, the program never writes beside itself, as root neither.
        QTest::newRow("installed, Enter") << QStringList{"@/usr/bin"} << -1 << "enter"
                                          << "<disc>";
        QTest::newRow("installed in /opt, end") << QStringList{"@/opt/korvane"} << -1 << "quit"
                                                << "";
        QTest::newRow("installed, disc folder given")
            << QStringList{"@/usr/local/bin", "<disc>"} << -1 << ""
            << "<disc>";
    }

    void startsOnItsOutputFolder()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, answer);
        QFETCH(QString, folder);
        const QString programFolder = arguments.value(0).startsWith('@')
                                          ? arguments.takeFirst().mid(1)
                                          : QCoreApplication::applicationDirPath();
        TestFiles::Folder disc;
        TestFiles::writeFile(disc.dir.filePath("file"), "");
        for (QString &argument : arguments)
            argument.replace("<disc>", disc.dir.path())
                .replace("<file>", disc.dir.filePath("file"));
        folder.replace("<disc>", disc.dir.path());
        const QStringList before = QDir(disc.dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

        const Startup::CommandLine line = Startup::parse(QStringList{"korvane-wizard"} + arguments);
        QCOMPARE(line.exitCode.value_or(-1), exitCode);
        if (line.exitCode)
            return;
        Messages messages(answer == "quit"    ? std::optional(MessageBox::Answer::Quit)
                          : answer == "enter" ? std::nullopt
                                              : std::optional(MessageBox::Answer::ChooseFolder));
        const DialogAnswers dialogs;
        BoxSeen seen;
        if (answer == "cancel") {
            FolderDialog::setNextCancel();
            actOnNextBox(OnBox::Escape, seen);
        } else {
            FolderDialog::setNextFolder(disc.dir.path());
        }
        if (answer == "enter")
            actOnNextBox(OnBox::Return, seen);
        const std::optional<QString> chosen = Startup::outputFolder(line.folder, programFolder);
        QCOMPARE(chosen.value_or(QString()), folder);
        QCOMPARE(messages.shown.size(), answer.isEmpty() ? 0 : answer == "cancel" ? 2 : 1);
        if (seen.shown) {
            QVERIFY(seen.closedByAction);
            QCOMPARE(seen.defaultButton, "フォルダーを選ぶ");
        }
        QCOMPARE(QDir(disc.dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        if (!chosen)
            return;
        Forms forms(*chosen);
        QCOMPARE(forms.text(kOutputPathHolder), QDir::toNativeSeparators(*chosen + "/KORV.ini"));
    }

    void readingAFieldLoadsItsWindowHidden()
    {
        Forms forms;
        QCOMPARE(forms.text({FormId::Form5, "Text1"}), QString());
        QVERIFY(forms.isLoaded(FormId::Form5));
        QVERIFY(!forms.window(FormId::Form5).isVisible());
    }

    void hidingKeepsFieldsAndUnloadingDiscardsThem()
    {
        Forms forms;
        forms.show(FormId::Form5);
        forms.setText({FormId::Form5, "Text1"}, "Title");
        forms.hide(FormId::Form5);
        QCOMPARE(forms.text({FormId::Form5, "Text1"}), "Title");
        forms.unload(FormId::Form5);
        QVERIFY(!forms.isLoaded(FormId::Form5));
        QCOMPARE(forms.text({FormId::Form5, "Text1"}), QString());
    }

    void unloadingAWindowNotLoadedDoesNothing()
    {
        Forms forms;
        QSignalSpy endings(&forms, &Forms::allUnloaded);
        forms.unload(FormId::Form4);
        QVERIFY(!forms.isLoaded(FormId::Form4));
        QCOMPARE(endings.count(), 0);
    }

    void unloadCascades_data()
    {
        QTest::addColumn<FormId>("unloaded");
        QTest::addColumn<bool>("closeBox");
        QTest::addColumn<QList<FormId>>("left");
        const QList<FormId> onlyHelp{FormId::Form1};
        for (bool closeBox : {false, true}) {
            const char *how = closeBox ? "close box" : "unload";
            QTest::addRow("Form1, %s", how)
                << FormId::Form1 << closeBox
                << QList<FormId>{FormId::Form2, FormId::Form3, FormId::Form4, FormId::Form5};
            QTest::addRow("Form2, %s", how) << FormId::Form2 << closeBox << onlyHelp;
            QTest::addRow("Form3, %s", how) << FormId::Form3 << closeBox << onlyHelp;
            // Through page 1's cascade, the comment dialog goes too.
            QTest::addRow("Form4, %s", how) << FormId::Form4 << closeBox << onlyHelp;
            QTest::addRow("Form5, %s", how)
                << FormId::Form5 << closeBox
                << QList<FormId>{FormId::Form1, FormId::Form2, FormId::Form3, FormId::Form4};
        }
    }

    void unloadCascades()
    {
        QFETCH(FormId, unloaded);
        QFETCH(bool, closeBox);
        QFETCH(QList<FormId>, left);
        Forms forms;
        QSignalSpy endings(&forms, &Forms::allUnloaded);
        for (FormId id : kAll)
            forms.show(id);
        if (closeBox)
            QVERIFY(!forms.window(unloaded).close());
        else
            forms.unload(unloaded);
        QCOMPARE(loaded(forms), left);
        QCOMPARE(endings.count(), 0);
    }

    // Page 1's cascade unloads page 2, whose cascade unloads page 1 again while its unload
    // is under way: that must not start over, and the end comes once.
    void lastUnloadEndsTheProgramOnce()
    {
        Forms forms;
        QSignalSpy endings(&forms, &Forms::allUnloaded);
        for (FormId id : {FormId::Form2, FormId::Form4, FormId::Form5})
            forms.show(id);
        forms.unload(FormId::Form2);
        QVERIFY(loaded(forms).isEmpty());
        QCOMPARE(endings.count(), 1);
    }

    void unloadedWindowGoesAfterItsClickAndComesBackFresh()
    {
        Forms forms;
        forms.show(FormId::Form5);
        QPointer<FormBase> old = &forms.window(FormId::Form5);
        forms.setText({FormId::Form5, "Text2"}, "Hello");
        forms.unload(FormId::Form5);
        QVERIFY(old);
        QVERIFY(!old->isVisible());
        FormBase &fresh = forms.window(FormId::Form5);
        QVERIFY(&fresh != old.data());
        QCOMPARE(forms.text({FormId::Form5, "Text2"}), QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!old);
    }

    void minimisingTheLastShownWindowKeepsTheProgram()
    {
        WizardRun run;
        run.click(FormId::Form2, "Command1");
        run.click(FormId::Form3, "Command11");
        run.forms.window(FormId::Form4).showMinimized();
        QVERIFY(run.forms.window(FormId::Form4).isMinimized());
        QCOMPARE(run.endings.count(), 0);
        QVERIFY(run.forms.isLoaded(FormId::Form2));
        run.closeBox(FormId::Form4);
        QVERIFY(run.ended());
    }
};

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
