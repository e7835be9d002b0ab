#include "support/FakeFields.h"
#include "wizard/FileFilter.h"
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
    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no trailing bar") << "Text|*.txt" << QStringList{"Text (*.[Tt][Xx][Tt])"};
        QTest::newRow("several patterns")
            << "Programs|*.EXE; *.com|" << QStringList{"Programs (*.[Ee][Xx][Ee] *.[Cc][Oo][Mm])"};
        QTest::newRow("wildcards and digits")
            << "Disks|DISK?.0*|" << QStringList{"Disks ([Dd][Ii][Ss][Kk]?.0*)"};
        QTest::newRow("description without pattern")
            << "Text|*.txt|Orphan|" << QStringList{"Text (*.[Tt][Xx][Tt])"};
        QTest::newRow("empty pattern") << "None||All|*.*|" << QStringList{"All (*)"};
        QTest::newRow("empty") << "" << QStringList{};
    }

    void nameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(FileFilters::nameFilters(filter), expected);
    }

    // The rewritten patterns must pick the right files even where the file system itself
    // tells "RUN.EXE" from "run.exe".
    void patternMatchesAnyCase_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("executables") << "*.EXE" << QStringList{"RUN.EXE", "Run.Exe", "run.exe"};
        QTest::newRow("lower-case pattern")
            << "*.exe" << QStringList{"RUN.EXE", "Run.Exe", "run.exe"};
        QTest::newRow("all files")
            << "*.*" << QStringList{"README", "RUN.EXE", "Run.Exe",    "notes.txt",
                                    "run.ex", "run.exe", "run.exe.bak"};
        QTest::newRow("one name") << "readme" << QStringList{"README"};
    }

    void patternMatchesAnyCase()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const char *name :
             {"run.exe", "RUN.EXE", "Run.Exe", "run.ex", "run.exe.bak", "README", "notes.txt"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList matched =
            QDir(dir.path())
                .entryList({FileFilters::localPattern(pattern)}, QDir::Files | QDir::CaseSensitive);
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
