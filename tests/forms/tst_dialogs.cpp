// The comment dialog, the help window and the completion window, reached as a user does.

#include "forms/MessageBox.h"
#include "modules/ProfileSession.h"
#include "support/TestFiles.h"
#include "support/WizardRun.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QThread>

#include <QLabel>

Q_DECLARE_METATYPE(MessageBox::Answer)

namespace {

enum class Leave { Ok, Cancel, CloseBox };

QByteArray memo(const QString &title, const QString &comment)
{
    return iniLines({"[memo]", "taitoru=" + title, "hitokoto=" + comment});
}

// What a finish writes after the memo section, all entries empty and the box unticked.
QByteArray emptyEntriesAndFlag()
{
    return iniLines(iniSection("NAME", 1, 17) + iniSection("PATH", 1, 17) +
                    QStringList{"[onoff]", "jyoutai=0"});
}

QStringList labelTexts(FormBase &window)
{
    QStringList texts;
    for (const QLabel *label : window.findChildren<QLabel *>())
        texts.append(label->objectName() + ": " + label->text());
    texts.sort();
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Leave)

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnWarnings(); }
    void cleanup() { QVERIFY(noWindowLeft()); }

    void okWithBothFilledThenFinishKeepsThem()
    {
        WizardRun run;
        QVERIFY(enterComment(run, "Title", "Hello", Leave::Ok));
        QCOMPARE(run.fileBytes(), memo("Title", "Hello"));
        QVERIFY(run.forms.isLoaded(Comment));
        run.click(Page1, "Command1");
        run.click(Page2, "Command11");
        QCOMPARE(run.fileBytes(), memo("Title", "Hello") + emptyEntriesAndFlag());
    }

    void cancelAfterOkMakesTheFinishClearTheTitle()
    {
        WizardRun run;
        QVERIFY(enterComment(run, "Title", "", Leave::Ok));
        QCOMPARE(run.fileBytes(), memo("Title", ""));
        QVERIFY(run.withModal(Page1, "Command11", [&](FormBase &dialog) {
            QCOMPARE(run.text(Comment, "Text1"), "Title");
            QTest::mouseClick(find<QPushButton>(run.forms, Comment, "Command2"), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        }));
        QVERIFY(!run.forms.isLoaded(Comment));
        run.click(Page1, "Command1");
        run.click(Page2, "Command11");
        QCOMPARE(run.fileBytes(), memo("", "") + emptyEntriesAndFlag());
    }

    void okWithBothEmptyWritesBothEmpty()
    {
        WizardRun run;
        QVERIFY(enterComment(run, "", "", Leave::Ok));
        QCOMPARE(run.fileBytes(), memo("", ""));
    }

    void reopening_data()
    {
        QTest::addColumn<Leave>("leave");
        QTest::addColumn<QString>("titleShown");
        QTest::addColumn<bool>("written");
        QTest::newRow("after ＯＫ") << Leave::Ok << "Title" << true;
        QTest::newRow("after キャンセル") << Leave::Cancel << "" << false;
        QTest::newRow("after close box") << Leave::CloseBox << "" << false;
    }

    void reopening()
    {
        QFETCH(Leave, leave);
        QFETCH(QString, titleShown);
        QFETCH(bool, written);
        WizardRun run;
        QVERIFY(enterComment(run, "Title", "Hello", leave));
        QCOMPARE(run.fileExists(), written);
        QVERIFY(run.isShown(Page1));
        QVERIFY(enterComment(run, "", "", Leave::Cancel, [&] {
            QCOMPARE(run.text(Comment, "Text1"), titleShown);
            QCOMPARE(run.text(Comment, "Text2"), titleShown.isEmpty() ? "" : "Hello");
        }));
    }

    // The mend: a failed write keeps the dialog open with what was typed.
    void failedCommentWriteKeepsTheDialog()
    {
        WizardRun run;
        const QString file = run.dir.filePath("missing/KORV.ini");
        run.setOutputFile(file);
        Messages messages(MessageBox::Answer::Ok);
        QVERIFY(run.withModal(Page1, "Command11", [&](FormBase &dialog) {
            run.type(Comment, "Text1", "Title");
            run.click(Comment, "Command1");
            QVERIFY(dialog.isVisible());
            QCOMPARE(run.text(Comment, "Text1"), "Title");
            run.click(Comment, "Command2");
        }));
        const QList<MessageBox::Shown> shown = messages.shown;
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith("「" + file + "」に書き込めませんでした。"));
    }

    void unstorableComment_data()
    {
        QTest::addColumn<OnBox>("onBox");
        QTest::addColumn<MessageBox::Answer>("answer"); // given through the seam, or expected
        QTest::newRow("go back") << OnBox::Seam << MessageBox::Answer::GoBackAndEdit;
        QTest::newRow("save with ?") << OnBox::Seam << MessageBox::Answer::SaveWithQuestionMarks;
        QTest::newRow("Esc") << OnBox::Escape << MessageBox::Answer::GoBackAndEdit;
        QTest::newRow("close box") << OnBox::CloseBox << MessageBox::Answer::GoBackAndEdit;
    }

    // Going back keeps the dialog, with the focus in the comment.
    void unstorableComment()
    {
        QFETCH(OnBox, onBox);
        QFETCH(MessageBox::Answer, answer);
        const bool saved = answer == MessageBox::Answer::SaveWithQuestionMarks;
        WizardRun run;
        Messages messages;
        BoxSeen seen;
        QVERIFY(run.withModal(Page1, "Command11", [&](FormBase &dialog) {
            run.type(Comment, "Text1", "Title");
            run.type(Comment, "Text2", QStringLiteral("Hi \U0001F600"));
            answerNextBox(messages, onBox, answer, seen);
            run.click(Comment, "Command1");
            QCOMPARE(dialog.isVisible(), !saved);
            if (!saved) {
                QCOMPARE(dialog.focusWidget(), find<QLineEdit>(run.forms, Comment, "Text2"));
                run.click(Comment, "Command2");
            }
        }));
        const QList<MessageBox::Shown> shown = messages.shown;
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(QStringLiteral("一言: \U0001F600 (U+1F600)")));
        if (onBox != OnBox::Seam) {
            QVERIFY(seen.closedByAction);
            QCOMPARE(seen.defaultButton, "戻って修正");
        }
        QCOMPARE(run.fileExists(), saved);
        if (saved)
            QCOMPARE(run.fileBytes(), memo("Title", "Hi ?"));
    }

    void helpShowsTheSameTextsTwice()
    {
        WizardRun run;
        QStringList first;
        QStringList second;
        QVERIFY(run.withModal(Page1, "Command10", [&](FormBase &help) {
            first = labelTexts(help);
            run.click(Help, "Command1");
        }));
        QVERIFY(!run.forms.isLoaded(Help));
        QVERIFY(run.withModal(Page1, "Command10", [&](FormBase &help) {
            second = labelTexts(help);
            run.closeBox(Help);
        }));
        QCOMPARE(first.size(), 5);
        QCOMPARE(second, first);
    }

    void helpLeavesByOkOrCloseBox_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("ＯＫ") << false;
        QTest::newRow("close box") << true;
    }

    void helpLeavesByOkOrCloseBox()
    {
        QFETCH(bool, closeBox);
        WizardRun run;
        QVERIFY(run.withModal(Page1, "Command10", [&](FormBase &help) {
            QCOMPARE(help.windowTitle(), "HELP");
            if (closeBox)
                run.closeBox(Help);
            else
                run.click(Help, "Command1");
        }));
        QVERIFY(!run.forms.isLoaded(Help));
        QVERIFY(run.isShown(Page1));
        QCOMPARE(run.endings.count(), 0);
    }

    void completionEndsTheProgram_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("閉じる") << false;
        QTest::newRow("close box") << true;
    }

    void completionEndsTheProgram()
    {
        QFETCH(bool, closeBox);
        WizardRun run;
        QVERIFY(enterComment(run, "Title", "Hello", Leave::Ok));
        run.click(Page1, "Command1");
        run.click(Page2, "Command11");
        QVERIFY(run.isShown(Completion));
        QCOMPARE(run.forms.window(Completion).windowTitle(), "終了");
        // Where the file went, in words, for the pointer and for a screen reader.
        QCOMPARE(run.text(Completion, "Label2"),
                 "KORV.INIを " + QDir::toNativeSeparators(run.dir.path()) +
                     " に保存しました。これとKORVANE.EXEとAUTORUN.INFを"
                     "CDのルートディレクトリに保存してください。");
        QCOMPARE(find<QLabel>(run.forms, Completion, "Label2")->toolTip(), run.outputFile());
        QVERIFY(run.forms.window(Completion).accessibleDescription().contains(run.outputFile()));
        if (closeBox)
            run.closeBox(Completion);
        else
            run.click(Completion, "Command1");
        QVERIFY(run.ended());
    }

    // A save or an import that takes long shows a progress dialog after half a second, whose
    // キャンセル cancels the session the work runs on; the window answers meanwhile, but
    // cannot be closed under the work. Once the session has replaced its file, a cancel would
    // change nothing: キャンセル is disabled, and the save stands.
    void longWorkShowsProgressThatCancels_data()
    {
        QTest::addColumn<bool>("replacedFirst");
        QTest::newRow("before the file is replaced") << false;
        QTest::newRow("after the file is replaced") << true;
    }

    void longWorkShowsProgressThatCancels()
    {
        QFETCH(bool, replacedFirst);
        WizardRun run;
        TestFiles::Folder folder;
        ProfileSession session({folder.ini, {}});
        QVERIFY(session.write("NAME", "1", "saved").ok());
        QString label;
        bool cancelEnabled = false;
        whenModalUp<QProgressDialog>([&](QProgressDialog *progress) {
            label = progress->labelText();
            auto *cancel = progress->findChild<QPushButton *>();
            cancelEnabled = cancel->isEnabled();
            run.closeBox(Page1);
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        QElapsedTimer waited;
        waited.start();
        FileStatus committed;
        run.forms.runWork(&run.forms.window(Page1), "「KORV.ini」に保存しています…", session, [&] {
            if (replacedFirst)
                committed = session.commit();
            const int longest = replacedFirst ? 1'500 : 10'000;
            while (!session.isCancelled() && waited.elapsed() < longest)
                QThread::msleep(5);
        });
        QCOMPARE(label, "「KORV.ini」に保存しています…");
        QCOMPARE(cancelEnabled, !replacedFirst);
        QCOMPARE(session.isCancelled(), !replacedFirst);
        QVERIFY(committed.ok());
        QCOMPARE(TestFiles::readFile(folder.ini),
                 replacedFirst ? QByteArray("[NAME]\r\n1=saved\r\n") : QByteArray("<unreadable>"));
        QVERIFY(run.isShown(Page1));
        QVERIFY(waited.elapsed() >= 500);
    }

    void cancelOnPageOneAlsoUnloadsAConfirmedComment()
    {
        WizardRun run;
        QVERIFY(enterComment(run, "Title", "", Leave::Ok));
        QVERIFY(run.forms.isLoaded(Comment));
        run.click(Page1, "Command2");
        QVERIFY(run.ended());
    }

private:
    // Opens the comment dialog from page 1, types title and comment, runs check, and leaves
    // the dialog as told.
    bool enterComment(WizardRun &run, const QString &title, const QString &comment, Leave leave,
                      const std::function<void()> &check = {})
    {
        return run.withModal(Page1, "Command11", [&](FormBase &dialog) {
            QCOMPARE(dialog.windowTitle(), "設定");
            if (check)
                check();
            run.type(Comment, "Text1", title);
            run.type(Comment, "Text2", comment);
            if (leave == Leave::CloseBox)
                run.closeBox(Comment);
            else
                run.click(Comment, leave == Leave::Ok ? "Command1" : "Command2");
            QVERIFY(!dialog.isVisible());
            QCOMPARE(run.forms.isLoaded(Comment), leave == Leave::Ok);
        });
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
