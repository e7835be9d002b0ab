#include "FakeFields.h"
#include "wizard/PathCleanup.h"

#include <QTest>

class TestPathCleanup : public QObject
{
    Q_OBJECT

private slots:
    void withoutDrivePrefix_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("drive path") << R"(D:\GAME\RUN.EXE)"
                                    << R"(GAME\RUN.EXE)";
        QTest::newRow("bare drive") << R"(D:\)"
                                    << "";
        QTest::newRow("relative") << R"(GAME\RUN.EXE)"
                                  << R"(GAME\RUN.EXE)";
        QTest::newRow("relative document") << R"(DATA\README.TXT)"
                                           << R"(DATA\README.TXT)";
        QTest::newRow("unc") << R"(\\SERVER\X)"
                             << R"(\\SERVER\X)";
        QTest::newRow("two characters") << "AB"
                                        << "AB";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("any third backslash") << R"(AB\X)"
                                             << "X";
        QTest::newRow("only once") << R"(D:\E:\X.EXE)"
                                   << R"(E:\X.EXE)";
        QTest::newRow("forward slash") << "D:/GAME/RUN.EXE"
                                       << "D:/GAME/RUN.EXE";
        QTest::newRow("double-byte start") << QStringLiteral("ソフ\\ト") << QStringLiteral("ト");
    }

    void withoutDrivePrefix()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(PathCleanup::withoutDrivePrefix(path), expected);
    }

    void removeDrivePrefixEditsTheFieldItself()
    {
        FakeFields fields;
        fields.set(FormId::Form2, "Text2", R"(D:\E:\X.EXE)");
        const Control path{FormId::Form2, "Text2"};
        PathCleanup::removeDrivePrefix(fields, path);
        QCOMPARE(fields.get(FormId::Form2, "Text2"), R"(E:\X.EXE)");
        PathCleanup::removeDrivePrefix(fields, path);
        QCOMPARE(fields.get(FormId::Form2, "Text2"), "X.EXE");
        PathCleanup::removeDrivePrefix(fields, path);
        QCOMPARE(fields.get(FormId::Form2, "Text2"), "X.EXE");
    }
};

QTEST_GUILESS_MAIN(TestPathCleanup)
#include "tst_pathcleanup.moc"
