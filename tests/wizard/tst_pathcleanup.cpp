#include "support/FakeFields.h"
#include "support/Seams.h"
#include "wizard/PathCleanup.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A system disk, a home volume, a disc, a stick, a disc image mounted outside /media, and an
// image loop-mounted from the stick.
const QList<Volume> kVolumes{
    {"/", "", "ext4"},
    {"/home/", "", "ext4"},
    {"/media/cdrom/", "GAME", "iso9660"},
    {"/media/usb/", "STICK", "vfat"},
    {"/srv/image/", "", "udf"},
    {"/media/usb/inner/", "", "iso9660"},
};

// Where the disc is put together, unless a row says otherwise.
const QString kStaging = QStringLiteral("/home/user/cdimage");

} // namespace

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
        QTest::newRow("two-letter folder") << R"(AB\X)"
                                           << R"(AB\X)";
        QTest::newRow("JP folder") << R"(JP\README.TXT)"
                                   << R"(JP\README.TXT)";
        QTest::newRow("lower-case drive") << R"(a:\X)"
                                          << "X";
        QTest::newRow("digit for a drive") << R"(1:\X)"
                                           << R"(1:\X)";
        QTest::newRow("only once") << R"(D:\E:\X.EXE)"
                                   << R"(E:\X.EXE)";
        QTest::newRow("forward slash") << "D:/GAME/RUN.EXE"
                                       << "D:/GAME/RUN.EXE";
        QTest::newRow("double-byte start")
            << QStringLiteral("ソフ\\ト") << QStringLiteral("ソフ\\ト");
        QTest::newRow("full-width drive letter")
            << QStringLiteral("Ｄ:\\X") << QStringLiteral("Ｄ:\\X");
    }

    void withoutDrivePrefix()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(PathCleanup::withoutDrivePrefix(path), expected);
    }

    void withoutDiscRoot_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("staging");
        QTest::newRow("staging folder") << "/home/user/cdimage/GAME/RUN.EXE"
                                        << R"(GAME\RUN.EXE)" << kStaging;
        QTest::newRow("beside the staging folder") << "/home/user/cdimage2/RUN.EXE"
                                                   << "/home/user/cdimage2/RUN.EXE" << kStaging;
        QTest::newRow("staging on a stick: the deeper root wins") << "/media/usb/stage/GAME/RUN.EXE"
                                                                  << R"(GAME\RUN.EXE)"
                                                                  << "/media/usb/stage";
        QTest::newRow("stick around the staging folder") << "/media/usb/TOOLS/X.EXE"
                                                         << R"(TOOLS\X.EXE)"
                                                         << "/media/usb/stage";
        QTest::newRow("disc") << "/media/cdrom/GAME/RUN.EXE"
                              << R"(GAME\RUN.EXE)" << kStaging;
        QTest::newRow("disc file system anywhere") << "/srv/image/SETUP.EXE"
                                                   << "SETUP.EXE" << kStaging;
        QTest::newRow("stick by mount folder") << "/media/usb/TOOLS/X.EXE"
                                               << R"(TOOLS\X.EXE)" << kStaging;
        QTest::newRow("nested root") << "/media/usb/inner/GAME/RUN.EXE"
                                     << R"(GAME\RUN.EXE)" << kStaging;
        QTest::newRow("system volume") << "/home/user/RUN.EXE"
                                       << "/home/user/RUN.EXE" << kStaging;
        QTest::newRow("root volume") << "/opt/game/RUN.EXE"
                                     << "/opt/game/RUN.EXE" << kStaging;
        QTest::newRow("sibling prefix") << "/media/cdrom2/X.EXE"
                                        << "/media/cdrom2/X.EXE" << kStaging;
        QTest::newRow("doubled slash") << "/media/cdrom//GAME/RUN.EXE"
                                       << R"(GAME\RUN.EXE)" << kStaging;
        QTest::newRow("dot-dot into the disc") << "/media/usb/../cdrom/GAME/RUN.EXE"
                                               << R"(GAME\RUN.EXE)" << kStaging;
        QTest::newRow("root without its slash") << "/media/cdrom"
                                                << "" << kStaging;
        QTest::newRow("the root itself") << "/media/cdrom/"
                                         << "" << kStaging;
        QTest::newRow("japanese names") << QStringLiteral("/media/cdrom/ゲーム/起動.EXE")
                                        << QStringLiteral("ゲーム\\起動.EXE") << kStaging;
        QTest::newRow("windows path") << R"(D:\GAME\RUN.EXE)"
                                      << R"(D:\GAME\RUN.EXE)" << kStaging;
        QTest::newRow("relative") << "GAME/RUN.EXE"
                                  << "GAME/RUN.EXE" << kStaging;
        QTest::newRow("empty") << ""
                               << "" << kStaging;
    }

    void withoutDiscRoot()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QFETCH(QString, staging);
        const QStringList roots = PathCleanup::discRoots(kVolumes, staging);
        QCOMPARE(PathCleanup::withoutDiscRoot(path, roots), expected);
    }

    // The saves' clean-up: the drive rule as before, then the disc root of the mounted volumes,
    // here a temporary folder offered as a disc.
    void removeDrivePrefixOfMountedDisc_data()
    {
        QTest::addColumn<QString>("path"); // "<disc>" stands for the disc's root folder
        QTest::addColumn<QString>("expected");
        QTest::newRow("on the disc") << "<disc>/GAME/RUN.EXE"
                                     << R"(GAME\RUN.EXE)";
        QTest::newRow("the disc itself") << "<disc>/"
                                         << "";
        QTest::newRow("drive path") << R"(D:\TOOLS\X.EXE)"
                                    << R"(TOOLS\X.EXE)";
        QTest::newRow("drive rule only once") << R"(D:\E:\X.EXE)"
                                              << R"(E:\X.EXE)";
        QTest::newRow("beside the disc") << "<disc>-other/X.EXE"
                                         << "<disc>-other/X.EXE";
        QTest::newRow("relative") << R"(DATA\README.TXT)"
                                  << R"(DATA\README.TXT)";
    }

    void removeDrivePrefixOfMountedDisc()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QTemporaryDir disc;
        QVERIFY(disc.isValid());
        const OfferedVolumes offered(
            QList<Volume>{{"/", "", "ext4"}, {disc.path() + "/", "", "iso9660"}});
        FakeFields fields;
        const Control field{FormId::Form3, "Text2"};
        fields.setText(field, QString(path).replace("<disc>", disc.path()));
        PathCleanup::removeDrivePrefix(
            fields, field, [] { return PathCleanup::discRoots(Volumes::mounted(), {}); });
        QCOMPARE(fields.text(field), QString(expected).replace("<disc>", disc.path()));
    }

    void removeDrivePrefixEditsTheFieldItself()
    {
        FakeFields fields;
        fields.set(FormId::Form2, "Text2", R"(D:\E:\X.EXE)");
        const Control path{FormId::Form2, "Text2"};
        const PathCleanup::Roots noRoots = [] {
            return QStringList();
        };
        PathCleanup::removeDrivePrefix(fields, path, noRoots);
        QCOMPARE(fields.get(FormId::Form2, "Text2"), R"(E:\X.EXE)");
        PathCleanup::removeDrivePrefix(fields, path, noRoots);
        QCOMPARE(fields.get(FormId::Form2, "Text2"), "X.EXE");
        PathCleanup::removeDrivePrefix(fields, path, noRoots);
        QCOMPARE(fields.get(FormId::Form2, "Text2"), "X.EXE");
    }
};

QTEST_GUILESS_MAIN(TestPathCleanup)
#include "tst_pathcleanup.moc"
