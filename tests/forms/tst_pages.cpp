// Page 1 and page 2 driven as a user would: typing, "次へ", "前へ", "完了", "キャンセル",
// close boxes; checked by the bytes of KORV.ini and the windows shown.

#include "forms/MessageBox.h"
#include "support/WizardRun.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>

Q_DECLARE_METATYPE(MessageBox::Answer)
Q_DECLARE_METATYPE(FormId)

namespace {

// The file after a page-1 save alone: names and paths of slots 1 to 7.
QByteArray pageOneFile(const QHash<int, QString> &names, const QHash<int, QString> &paths = {})
{
    return iniLines(iniSection("NAME", 1, 7, names) + iniSection("PATH", 1, 7, paths));
}

} // namespace

class TestPages : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnWarnings(); }
    void cleanup() { QVERIFY(noWindowLeft()); }

    void allEmptyFinishWritesEveryKeyEmpty()
    {
        WizardRun run;
        run.click(Page1, "Command1");
        run.click(Page2, "Command11");
        QCOMPARE(run.fileBytes(),
                 iniLines(iniSection("NAME", 1, 17) + iniSection("PATH", 1, 17) +
                          QStringList{"[onoff]", "jyoutai=0", "[memo]", "taitoru=", "hitokoto="}));
        QVERIFY(run.isShown(FormId::Form4));
        QVERIFY(!run.isShown(Page1));
        QVERIFY(!run.isShown(Page2));
    }

    void doNotRunBox_data()
    {
        QTest::addColumn<bool>("tick");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("ticked") << true << QByteArray("[onoff]\r\njyoutai=1\r\n");
        QTest::newRow("unticked") << false << QByteArray("[onoff]\r\njyoutai=0\r\n");
    }

    void doNotRunBox()
    {
        QFETCH(bool, tick);
        QFETCH(QByteArray, written);
        WizardRun run;
        run.click(Page1, "Command1");
        if (tick)
            run.click(Page2, "Check1");
        QCOMPARE(run.get<QCheckBox>(Page2, "Check1")->isChecked(), tick);
        run.click(Page2, "Command11");
        QVERIFY(run.fileBytes().contains(written));
    }

    void nextBackChangeThenNextReplacesKey()
    {
        WizardRun run;
        run.type(Page1, "Text5", "Alpha");
        run.saveAsIs(Page1, "Command1");
        run.click(Page2, "Command12");
        QVERIFY(run.isShown(Page1));
        QVERIFY(!run.isShown(Page2));
        run.retype(Page1, "Text5", "Beta");
        run.saveAsIs(Page1, "Command1");
        QCOMPARE(run.fileBytes(), pageOneFile({{3, "Beta"}}));
    }

    void backSavesNothing()
    {
        WizardRun run;
        run.click(Page1, "Command1");
        const QByteArray afterNext = run.fileBytes();
        run.type(Page2, "Text1", "Eight");
        run.type(Page2, "Text2", "D:\\EIGHT.EXE");
        run.click(Page2, "Command12");
        QCOMPARE(run.fileBytes(), afterNext);
        QCOMPARE(run.get<QLineEdit>(Page2, "Text2")->text(), "D:\\EIGHT.EXE");
    }

    void secondDrivePrefixGoesWithSecondNext()
    {
        WizardRun run;
        run.type(Page1, "Text2", "D:\\E:\\X.EXE");
        run.saveAsIs(Page1, "Command1");
        QVERIFY(run.isShown(Page2));
        QVERIFY(!run.isShown(Page1));
        QCOMPARE(run.get<QLineEdit>(Page1, "Text2")->text(), "E:\\X.EXE");
        QCOMPARE(run.fileBytes(), pageOneFile({}, {{1, "E:\\X.EXE"}}));
        run.click(Page2, "Command12");
        run.saveAsIs(Page1, "Command1");
        QCOMPARE(run.get<QLineEdit>(Page1, "Text2")->text(), "X.EXE");
        QCOMPARE(run.fileBytes(), pageOneFile({}, {{1, "X.EXE"}}));
    }

    void pageTwoKeepsFieldsAndBoxThroughBackAndNext()
    {
        WizardRun run;
        run.click(Page1, "Command1");
        run.type(Page2, "Text1", "Eight");
        run.type(Page2, "Text20", "SEVENTEEN.EXE");
        run.click(Page2, "Check1");
        run.click(Page2, "Command12");
        run.saveAsIs(Page1, "Command1");
        QVERIFY(run.isShown(Page2));
        QCOMPARE(run.get<QLineEdit>(Page2, "Text1")->text(), "Eight");
        QCOMPARE(run.get<QLineEdit>(Page2, "Text20")->text(), "SEVENTEEN.EXE");
        QVERIFY(run.get<QCheckBox>(Page2, "Check1")->isChecked());
    }

    void closingPageTwoAfterNextEndsWithEntriesOneToSeven()
    {
        WizardRun run;
        run.type(Page1, "Text1", "One");
        run.saveAsIs(Page1, "Command1");
        run.type(Page2, "Text1", "Eight");
        run.closeBox(Page2);
        QVERIFY(run.ended());
        QCOMPARE(run.fileBytes(), pageOneFile({{1, "One"}}));
    }

    void leavingPageOneWritesNothingAndEnds_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("キャンセル") << false;
        QTest::newRow("close box") << true;
    }

    void leavingPageOneWritesNothingAndEnds()
    {
        QFETCH(bool, closeBox);
        WizardRun run;
        run.type(Page1, "Text1", "Never saved");
        if (closeBox)
            run.closeBox(Page1);
        else
            run.click(Page1, "Command2");
        QVERIFY(run.ended());
        QVERIFY(!run.fileExists());
    }

    void finishLeavesShortenedPathsOnHiddenPageTwo()
    {
        WizardRun run;
        run.click(Page1, "Command1");
        run.type(Page2, "Text2", "D:\\SETUP\\SETUP.EXE");
        run.type(Page2, "Text20", "DATA\\README.TXT");
        run.saveAsIs(Page2, "Command11");
        QVERIFY(!run.isShown(Page2));
        QCOMPARE(run.get<QLineEdit>(Page2, "Text2")->text(), "SETUP\\SETUP.EXE");
        QCOMPARE(run.get<QLineEdit>(Page2, "Text20")->text(), "DATA\\README.TXT");
        QVERIFY(run.fileBytes().contains("[PATH]\r\n1=\r\n"));
        QVERIFY(run.fileBytes().contains("\r\n8=SETUP\\SETUP.EXE\r\n"));
    }

    void outputPathHolderNeverShows()
    {
        WizardRun run;
        auto *holder = run.get<QLabel>(Page1, "Label5");
        QVERIFY(!holder->isVisible());
        run.click(Page1, "Command1");
        run.click(Page2, "Command12");
        QVERIFY(run.isShown(Page1));
        QVERIFY(!holder->isVisible());
        QCOMPARE(holder->text(), QDir::toNativeSeparators(run.outputFile()));
    }

    void failedWriteTellsAndStays_data()
    {
        QTest::addColumn<bool>("finishing");
        QTest::addColumn<QString>("target"); // relative to the temporary folder
        QTest::addColumn<OnBox>("onBox");
        QTest::addColumn<bool>("elsewhere"); // "別のフォルダーに保存…" chosen
        QTest::newRow("次へ, folder missing")
            << false << "missing/KORV.ini" << OnBox::Seam << false;
        QTest::newRow("次へ, KORV.ini is a folder")
            << false << "folder/KORV.ini" << OnBox::Seam << false;
        QTest::newRow("完了, folder missing") << true << "missing/KORV.ini" << OnBox::Seam << false;
        QTest::newRow("完了, KORV.ini is a folder")
            << true << "folder/KORV.ini" << OnBox::Seam << false;
        // Shown as it is, not as markup.
        QTest::newRow("次へ, folder named as markup, Enter")
            << false << "a<b>bold</b>&amp;<i>x/KORV.ini" << OnBox::Return << false;
        QTest::newRow("次へ, saved elsewhere")
            << false << "folder/KORV.ini" << OnBox::Click << true;
        QTest::newRow("完了, saved elsewhere") << true << "folder/KORV.ini" << OnBox::Seam << true;
    }

    // Fails for root too, where mode bits stop nothing. Saved into another folder, that one
    // takes the saves from then on.
    void failedWriteTellsAndStays()
    {
        QFETCH(bool, finishing);
        QFETCH(QString, target);
        QFETCH(OnBox, onBox);
        QFETCH(bool, elsewhere);
        WizardRun run;
        const DialogAnswers dialogs;
        TestFiles::Folder other;
        FolderDialog::setNextFolder(other.dir.path());
        QVERIFY(QDir(run.dir.path()).mkpath("folder/KORV.ini"));
        TestFiles::writeFile(run.dir.filePath("folder/KORVANE.EXE"), "");
        const FormId page = finishing ? Page2 : Page1;
        if (finishing)
            run.click(Page1, "Command1");
        const QString file = run.dir.filePath(target);
        run.setOutputFile(file);
        Messages messages;
        BoxSeen seen;
        answerNextBox(messages, onBox,
                      elsewhere ? MessageBox::Answer::SaveElsewhere : MessageBox::Answer::Ok, seen,
                      "別のフォルダーに保存…");
        run.click(page, finishing ? "Command11" : "Command1");

        const QList<MessageBox::Shown> shown = messages.shown;
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, "保存できませんでした");
        QVERIFY2(shown[0].text.startsWith("「" + file + "」に書き込めませんでした。\n理由: "),
                 qPrintable(shown[0].text));
        QVERIFY(shown[0].text.size() > file.size() + 20); // a reason follows
        if (onBox != OnBox::Seam) {
            QVERIFY(seen.closedByAction);
            QCOMPARE(seen.text, shown[0].text);
            QCOMPARE(seen.textFormat, Qt::PlainText);
            QCOMPARE(seen.defaultButton, "ＯＫ");
        }
        if (elsewhere) {
            QVERIFY(TestFiles::readFile(other.ini).contains("[PATH]"));
            QCOMPARE(run.text(Page1, "Label5"), QDir::toNativeSeparators(other.ini));
            QCOMPARE(run.get<QComboBox>(Page1, "Drive1")->itemData(0).toString(),
                     other.dir.path() + "/");
            QVERIFY(run.isShown(finishing ? Completion : Page2));
            if (finishing)
                QVERIFY(run.text(Completion, "Label2")
                            .startsWith("KORV.INIを " + QDir::toNativeSeparators(other.dir.path()) +
                                        " に保存しました。"));
            return;
        }
        QVERIFY(run.isShown(page));
        QVERIFY(!run.isShown(finishing ? Page1 : Page2));
        QVERIFY(!run.forms.isLoaded(FormId::Form4));
    }

    void unstorableCharacters_data()
    {
        QTest::addColumn<bool>("finishing");
        QTest::addColumn<FormId>("fieldPage"); // where the character is typed
        QTest::addColumn<OnBox>("onBox");
        QTest::addColumn<MessageBox::Answer>("answer"); // given through the seam, or expected
        const auto GoBack = MessageBox::Answer::GoBackAndEdit;
        const auto Save = MessageBox::Answer::SaveWithQuestionMarks;
        QTest::newRow("次へ, go back") << false << Page1 << OnBox::Seam << GoBack;
        QTest::newRow("次へ, save with ?") << false << Page1 << OnBox::Seam << Save;
        QTest::newRow("完了, go back") << true << Page2 << OnBox::Seam << GoBack;
        QTest::newRow("完了, save with ?") << true << Page2 << OnBox::Seam << Save;
        QTest::newRow("次へ, Esc") << false << Page1 << OnBox::Escape << GoBack;
        QTest::newRow("次へ, close box") << false << Page1 << OnBox::CloseBox << GoBack;
        QTest::newRow("次へ, Enter") << false << Page1 << OnBox::Return << GoBack;
        QTest::newRow("次へ, click ？に置き換えて保存") << false << Page1 << OnBox::Click << Save;
        QTest::newRow("完了, Esc") << true << Page2 << OnBox::Escape << GoBack;
        QTest::newRow("完了, field on page 1, Esc") << true << Page1 << OnBox::Escape << GoBack;
    }

    // Going back shows the field's page, alone, with the focus in the field.
    void unstorableCharacters()
    {
        QFETCH(bool, finishing);
        QFETCH(FormId, fieldPage);
        QFETCH(OnBox, onBox);
        QFETCH(MessageBox::Answer, answer);
        WizardRun run;
        if (finishing)
            run.click(Page1, "Command1");
        const QByteArray before = run.fileBytes();
        const FormId page = finishing ? Page2 : Page1;
        run.type(fieldPage, "Text3", QStringLiteral("Fun \U0001F600"));
        run.type(fieldPage, "Text4", "KORVANE.EXE");
        if (fieldPage == Page2) {
            run.type(Page1, "Text3", "Two");
            run.type(Page1, "Text4", "KORVANE.EXE");
        }
        Messages messages;
        BoxSeen seen;
        answerNextBox(messages, onBox, answer, seen, "？に置き換えて保存");
        run.click(page, finishing ? "Command11" : "Command1");

        const QList<MessageBox::Shown> shown = messages.shown;
        QCOMPARE(shown.size(), 1);
        const QString entry = fieldPage == Page2 ? "ソフトの名前 9" : "ソフトの名前 2";
        QVERIFY2(shown[0].text.contains(entry + QStringLiteral(": \U0001F600 (U+1F600)")),
                 qPrintable(shown[0].text));
        if (onBox != OnBox::Seam) {
            QVERIFY(seen.closedByAction);
            QCOMPARE(seen.defaultButton, "戻って修正");
        }
        auto *field = run.get<QLineEdit>(fieldPage, "Text3");
        const bool saved = answer == MessageBox::Answer::SaveWithQuestionMarks;
        QCOMPARE(run.isShown(fieldPage), !saved);
        QCOMPARE(run.isShown(page), !saved && fieldPage == page);
        QCOMPARE(run.fileBytes() == before, !saved);
        if (saved)
            QVERIFY(run.fileBytes().contains(fieldPage == Page2 ? "\r\n9=Fun ?\r\n"
                                                                : "\r\n2=Fun ?\r\n"));
        else
            QCOMPARE(run.forms.window(fieldPage).focusWidget(), field);
        QCOMPARE(field->text(), QStringLiteral("Fun \U0001F600"));
    }

    void entryProblems_data()
    {
        QTest::addColumn<bool>("finishing");
        QTest::addColumn<bool>("unstorable"); // a character the file cannot hold as well
        QTest::addColumn<OnBox>("onBox");     // a click goes to このまま保存
        QTest::newRow("次へ, Esc") << false << false << OnBox::Escape;
        QTest::newRow("次へ, close box") << false << false << OnBox::CloseBox;
        QTest::newRow("次へ, Enter") << false << false << OnBox::Return;
        QTest::newRow("次へ, このまま保存") << false << false << OnBox::Click;
        QTest::newRow("次へ, after the characters' box") << false << true << OnBox::Escape;
        QTest::newRow("完了, field on page 1, Esc") << true << false << OnBox::Escape;
        QTest::newRow("完了, このまま保存") << true << false << OnBox::Click;
    }

    // One box lists what will not work on the disc, entry by entry. Going back shows the page of
    // the first field named, alone, with the focus in it; このまま保存 saves as is.
    void entryProblems()
    {
        QFETCH(bool, finishing);
        QFETCH(bool, unstorable);
        QFETCH(OnBox, onBox);
        WizardRun run;
        QVERIFY(QFile::remove(run.dir.filePath("KORVANE.EXE")));
        if (finishing)
            run.click(Page1, "Command1");
        const QByteArray before = run.fileBytes();
        // 次へ: a path off the disc, slot 2 empty, a missing file; 完了: a name alone, no launcher.
        run.type(Page1, "Text1", unstorable ? QStringLiteral("Game \U0001F600") : "Game");
        if (!finishing) {
            run.type(Page1, "Text2", "/opt/RUN.EXE");
            run.type(Page1, "Text5", "Manual");
            run.type(Page1, "Text6", "MANUAL.TXT");
        }
        Messages messages(unstorable ? std::optional(MessageBox::Answer::SaveWithQuestionMarks)
                                     : std::nullopt);
        BoxSeen seen;
        actOnNextBox(onBox, seen, "このまま保存");
        run.click(finishing ? Page2 : Page1, finishing ? "Command11" : "Command1");

        QCOMPARE(messages.shown.size(), unstorable ? 2 : 1);
        QCOMPARE(seen.text.count("\n・"), finishing ? 2 : 3);
        QVERIFY2(seen.text.contains(
                     finishing ? QStringLiteral("\n・1番（1ページ目）: 名前だけで、パスがありません。")
                               : "\n・1番（1ページ目）: パス「" +
                                     QDir::toNativeSeparators("/opt/RUN.EXE") + "」はディスクの外"),
                 qPrintable(seen.text));
        QVERIFY(seen.closedByAction);
        QCOMPARE(seen.defaultButton, "戻って修正");
        const bool saved = onBox == OnBox::Click;
        QCOMPARE(run.isShown(finishing ? Completion : Page2), saved);
        if (saved && finishing)
            QVERIFY(run.fileBytes().startsWith("[NAME]\r\n1=Game\r\n"));
        else if (saved)
            QCOMPARE(run.fileBytes(), pageOneFile({{1, "Game"}, {3, "Manual"}},
                                                  {{1, "/opt/RUN.EXE"}, {3, "MANUAL.TXT"}}));
        else
            QVERIFY(run.fileBytes() == before && run.isShown(Page1) && !run.isShown(Page2) &&
                    run.forms.window(Page1).focusWidget() == run.get<QLineEdit>(Page1, "Text2"));
    }

    void enterAndEscInTextBoxPressNothing_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Return") << Qt::Key_Return;
        QTest::newRow("Enter") << Qt::Key_Enter;
        QTest::newRow("Esc") << Qt::Key_Escape;
    }

    void enterAndEscInTextBoxPressNothing()
    {
        QFETCH(Qt::Key, key);
        WizardRun run;
        run.type(Page1, "Text1", "Typed");
        QTest::keyClick(run.get<QLineEdit>(Page1, "Text1"), key);
        QVERIFY(run.isShown(Page1));
        QVERIFY(!run.isShown(Page2));
        QVERIFY(!run.fileExists());
        run.saveAsIs(Page1, "Command1");
        QTest::keyClick(run.get<QLineEdit>(Page2, "Text1"), key);
        QVERIFY(run.isShown(Page2));
        QVERIFY(!run.forms.isLoaded(FormId::Form4));
        QCOMPARE(run.fileBytes(), pageOneFile({{1, "Typed"}}));
    }

    void enterPressesTheFocusedButton()
    {
        WizardRun run;
        auto *next = run.get<QPushButton>(Page1, "Command1");
        next->setFocus();
        QTest::keyClick(next, Qt::Key_Return);
        QVERIFY(run.isShown(Page2));
        QVERIFY(!run.isShown(Page1));
    }
};

QTEST_MAIN(TestPages)
#include "tst_pages.moc"
