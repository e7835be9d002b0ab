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
    std::optional<QString> openFile(const QStringList &nameFilters) override
    {
        offered = nameFilters;
        return answer;
    }

    std::optional<QString> answer;
    QStringList offered;
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
        for (const char *name :
             {"run.exe", "RUN.EXE", "Run.Exe", "run.ex", "run.exe.bak", "README", "notes.txt"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        // "description (pattern)"
        const QString pattern = PathPicker::nameFilters().at(filter).section(u'(', 1).chopped(1);
        QStringList matched =
            QDir(dir.path()).entryList({pattern}, QDir::Files | QDir::CaseSensitive);
        matched.sort();
        QCOMPARE(matched, expected);
    }

    void browse_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("after");
        QTest::newRow("chosen, drive kept") << "OLD.EXE" << true << R"(D:\A.EXE)"
                                            << R"(D:\A.EXE)";
        QTest::newRow("chosen, disc root kept") << "" << true << "/media/cdrom/GAME/RUN.EXE"
                                                << "/media/cdrom/GAME/RUN.EXE";
        QTest::newRow("cancelled") << "OLD.EXE" << false << ""
                                   << "OLD.EXE";
        QTest::newRow("cancelled, empty field") << "" << false << ""
                                                << "";
    }

    void browse()
    {
        QFETCH(QString, before);
        QFETCH(bool, chosen);
        QFETCH(QString, file);
        QFETCH(QString, after);
        FakeFields fields;
        const Control path{FormId::Form3, "Text20"};
        fields.setText(path, before);
        PrimedChooser chooser;
        if (chosen)
            chooser.answer = file;
        PathPicker::browse(fields, path, chooser);
        QCOMPARE(fields.text(path), after);
        // Executable files first, every name matching whatever its case.
        QCOMPARE(chooser.offered,
                 (QStringList{QStringLiteral("実行可能なファイル (*.[Ee][Xx][Ee])"),
                              QStringLiteral("すべてのファイル (*)")}));
    }
};

QTEST_GUILESS_MAIN(TestPathPicker)
#include "tst_pathpicker.moc"
