#include "support/FakeFields.h"
#include "wizard/PathPicker.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers as the page's dialog would, without showing anything, and keeps what it was offered.
class PrimedChooser : public FileChooser
{
public:
    std::optional<QString> openFile(const QStringList &nameFilters,
                                    const QString &startFolder) override
    {
        offered = nameFilters;
        startedIn = startFolder;
        return answer;
    }

    std::optional<QString> answer;
    QStringList offered;
    QString startedIn;
};

} // namespace

class TestPathPicker : public QObject
{
    Q_OBJECT

private slots:
    // The dialog's patterns pick the right files even where the file system itself tells
    // "RUN.EXE" from "run.exe"; all files are all, names without a dot included.
    void patternsMatchAnyCase_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("executables") << 0 << QStringList{"RUN.EXE", "Run.Exe", "run.exe"};
        QTest::newRow("all files")
            << 1 << QStringList{"README", "RUN.EXE", "Run.Exe",    "notes.txt",
                                "run.ex", "run.exe", "run.exe.bak"};
    }

    void patternsMatchAnyCase()
    {
        QFETCH(int, filter);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QStringList names{"run.exe",     "RUN.EXE", "Run.Exe",  "run.ex",
                                "run.exe.bak", "README",  "notes.txt"};
        for (const QString &name : names) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        if (QDir(dir.path()).entryList(QDir::Files).size() < names.size())
            QSKIP("This file system takes names in any case (as Windows' do): run.exe and "
                  "RUN.EXE are one file, and the system's dialog matches in any case itself");
        // "description (pattern)"
        const QString pattern = PathPicker::nameFilters().at(filter).section(u'(', 1).chopped(1);
        QStringList matched =
            QDir(dir.path()).entryList({pattern}, QDir::Files | QDir::CaseSensitive);
        matched.sort();
        QCOMPARE(matched, expected);
    }

    // The dialog starts in the folder of the field's path when it is there ("<disc>" the
    // output folder, "<elsewhere>" another), else in the output folder.
    void browse_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("startFolder");
        QTest::newRow("chosen, drive kept") << "OLD.EXE" << true << R"(D:\A.EXE)"
                                            << R"(D:\A.EXE)"
                                            << "<disc>";
        QTest::newRow("chosen, disc root kept") << "" << true << "/media/cdrom/GAME/RUN.EXE"
                                                << "/media/cdrom/GAME/RUN.EXE"
                                                << "<disc>";
        QTest::newRow("cancelled") << "OLD.EXE" << false << ""
                                   << "OLD.EXE"
                                   << "<disc>";
        QTest::newRow("cancelled, empty field") << "" << false << ""
                                                << ""
                                                << "<disc>";
        QTest::newRow("disc path, folder there") << R"(GAME\RUN.EXE)" << false << ""
                                                 << R"(GAME\RUN.EXE)"
                                                 << "<disc>/GAME";
        QTest::newRow("disc path, folder missing") << R"(GONE\RUN.EXE)" << false << ""
                                                   << R"(GONE\RUN.EXE)"
                                                   << "<disc>";
        QTest::newRow("full path elsewhere") << "<elsewhere>/TOOL.EXE" << false << ""
                                             << "<elsewhere>/TOOL.EXE"
                                             << "<elsewhere>";
    }

    void browse()
    {
        QFETCH(QString, before);
        QFETCH(bool, chosen);
        QFETCH(QString, file);
        QFETCH(QString, after);
        QFETCH(QString, startFolder);
        QTemporaryDir disc;
        QTemporaryDir elsewhere;
        QVERIFY(QDir(disc.path()).mkdir("GAME"));
        for (QString *text : {&before, &after, &startFolder})
            text->replace("<disc>", disc.path()).replace("<elsewhere>", elsewhere.path());
        FakeFields fields;
        fields.setText(kOutputPathHolder, disc.filePath("KORV.ini"));
        const Control path{FormId::Form3, "Text20"};
        fields.setText(path, before);
        PrimedChooser chooser;
        if (chosen)
            chooser.answer = file;
        PathPicker::browse(fields, path, chooser);
        // A chosen path is shown as the system writes it: with backslashes on Windows.
        QCOMPARE(fields.text(path), chosen ? QDir::toNativeSeparators(after) : after);
        QCOMPARE(chooser.startedIn, startFolder);
        // Executable files first, every name matching whatever its case.
        QCOMPARE(chooser.offered,
                 (QStringList{"実行可能なファイル (" + PathPicker::executablePattern() + ')',
                              QStringLiteral("すべてのファイル (*)")}));
    }
};

QTEST_GUILESS_MAIN(TestPathPicker)
#include "tst_pathpicker.moc"
