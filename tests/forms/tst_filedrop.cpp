// Dropping files on the path fields, with drags sent to the window as the window system
// sends them: enter, move, and a drop only where the move was accepted.

#include "support/Seams.h"
#include "support/WizardRun.h"
#include "wizard/EntrySlots.h"
#include "wizard/Volumes.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

namespace {

constexpr Qt::DropActions kAnyAction = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

// True when the field took the drop.
bool dragAndDrop(QWidget *field, const QMimeData &data, Qt::DropActions actions = kAnyAction)
{
    QWindow *window = field->window()->windowHandle();
    const QPoint at = field->mapTo(field->window(), field->rect().center());
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &move);
    if (!move.isAccepted()) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(window, &leave);
        return false;
    }
    if (move.dropAction() != Qt::CopyAction)
        qWarning() << "drag over a path field offers" << move.dropAction();
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

std::unique_ptr<QMimeData> files(const QStringList &paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> urls(const QStringList &addresses)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> list;
    for (const QString &address : addresses)
        list.append(QUrl(address));
    data->setUrls(list);
    return data;
}

} // namespace

class TestFileDrop : public QObject
{
    Q_OBJECT

private slots:
    void init() { failOnWarnings(); }
    void cleanup() { QVERIFY(noWindowLeft()); }

    void everyPathFieldTakesTheFirstOfThreeFiles_data()
    {
        QTest::addColumn<int>("slot");
        for (const EntrySlot &slot : EntrySlots::all())
            QTest::addRow("slot %d", slot.number) << slot.number;
    }

    void everyPathFieldTakesTheFirstOfThreeFiles()
    {
        QFETCH(int, slot);
        const EntrySlot &entry = EntrySlots::all()[slot - 1];
        WizardRun run;
        run.forms.show(entry.form);
        auto *field = run.get<QLineEdit>(entry.form, entry.pathField);
        const QString first = run.dir.filePath("GAME/RUN.EXE");
        const auto data = files({first, run.dir.filePath("B.TXT"), run.dir.filePath("C.TXT")});
        QVERIFY(dragAndDrop(field, *data));
        QCOMPARE(field->text(), QDir::toNativeSeparators(first));
    }

    void nameFieldsRefuseEverything_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("asText");
        for (int slot : {1, 2, 8, 17}) {
            QTest::addRow("slot %d, files", slot) << slot << false;
            QTest::addRow("slot %d, text", slot) << slot << true;
        }
    }

    void nameFieldsRefuseEverything()
    {
        QFETCH(int, slot);
        QFETCH(bool, asText);
        const EntrySlot &entry = EntrySlots::all()[slot - 1];
        WizardRun run;
        run.forms.show(entry.form);
        auto *field = run.get<QLineEdit>(entry.form, entry.nameField);
        run.type(entry.form, entry.nameField, "Name");
        auto data = files({run.dir.filePath("A.EXE")});
        if (asText)
            data->setText("dropped text");
        QVERIFY(!dragAndDrop(field, *data));
        QCOMPARE(field->text(), "Name");
    }

    void pathFieldsRefuseAllButFiles_data()
    {
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain text") << QStringList() << "C:\\GAME\\RUN.EXE";
        QTest::newRow("web link") << QStringList{"https://example.com/setup.exe"} << "";
        QTest::newRow("ftp link") << QStringList{"ftp://example.com/setup.exe"} << "";
        QTest::newRow("a file and a link")
            << QStringList{"file:///tmp/A.EXE", "https://example.com/B.EXE"} << "";
    }

    void pathFieldsRefuseAllButFiles()
    {
        QFETCH(QStringList, addresses);
        QFETCH(QString, text);
        WizardRun run;
        auto *field = run.get<QLineEdit>(Page1, "Text2");
        run.type(Page1, "Text2", "KEEP.EXE");
        const auto data = urls(addresses);
        if (!text.isEmpty())
            data->setText(text);
        QVERIFY(!dragAndDrop(field, *data));
        QCOMPARE(field->text(), "KEEP.EXE");
        // Even a drop that comes regardless is ignored.
        QDropEvent drop(field->rect().center(), kAnyAction, data.get(), Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(field->text(), "KEEP.EXE");
    }

    void filesAreOnlyCopied()
    {
        WizardRun run;
        auto *field = run.get<QLineEdit>(Page1, "Text2");
        const auto data = files({run.dir.filePath("A.EXE")});
        QVERIFY(!dragAndDrop(field, *data, Qt::MoveAction | Qt::LinkAction));
        QCOMPARE(field->text(), QString());
    }

    void droppedPathIsShortenedOnlyBySaving_data()
    {
        QTest::addColumn<QUrl>("dropped");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("saved");
        // As a Windows drop would name it; this platform's file names may hold "\".
        QTest::newRow("drive letter") << QUrl("file:D:%5CTOOLS%5CX.EXE") << "D:\\TOOLS\\X.EXE"
                                      << "TOOLS\\X.EXE";
        QTest::newRow("disc volume")
            << QUrl::fromLocalFile("/media/cdrom/TOOLS/X.EXE")
            << QDir::toNativeSeparators("/media/cdrom/TOOLS/X.EXE")
            << "TOOLS\\X.EXE";
    }

    void droppedPathIsShortenedOnlyBySaving()
    {
        QFETCH(QUrl, dropped);
        QFETCH(QString, shown);
        QFETCH(QString, saved);
        const OfferedVolumes offered(QList<Volume>{{"/media/cdrom/", "DISC", "iso9660"}});
        WizardRun run;
        auto *field = run.get<QLineEdit>(Page1, "Text2");
        QMimeData data;
        data.setUrls({dropped});
        QVERIFY(dragAndDrop(field, data));
        QCOMPARE(field->text(), shown);
        run.saveAsIs(Page1, "Command1");
        QCOMPARE(field->text(), saved);
        QVERIFY(run.fileBytes().contains("[PATH]\r\n1=" + saved.toLatin1() + "\r\n"));
    }
};

QTEST_MAIN(TestFileDrop)
#include "tst_filedrop.moc"
