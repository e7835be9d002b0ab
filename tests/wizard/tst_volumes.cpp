#include "wizard/Volumes.h"

#include <QStorageInfo>
#include <QTest>

namespace {

QStringList rootsOf(const QList<Volume> &volumes)
{
    QStringList roots;
    for (const Volume &volume : volumes)
        roots.append(volume.root);
    return roots;
}

} // namespace

class TestVolumes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Volumes::setSource({}); }

    void displayText_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        QTest::newRow("labelled disc") << "/media/cdrom/"
                                       << "KORV_DISC"
                                       << "KORV_DISC — /media/cdrom/";
        QTest::newRow("no label") << "/"
                                  << ""
                                  << "/";
    }

    void displayText()
    {
        QFETCH(QString, root);
        QFETCH(QString, label);
        QFETCH(QString, expected);
        QCOMPARE((Volume{root, label, "ext4"}.displayText()), QDir::toNativeSeparators(expected));
    }

    void isRemovable_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("fileSystemType");
        QTest::addColumn<bool>("expected");
        QTest::newRow("iso9660 anywhere") << "/srv/disc/"
                                          << "iso9660" << true;
        QTest::newRow("udf anywhere") << "/srv/dvd/"
                                      << "udf" << true;
        QTest::newRow("stick under /media") << "/media/user/STICK/"
                                            << "vfat" << true;
        QTest::newRow("stick under /run/media") << "/run/media/user/STICK/"
                                                << "exfat" << true;
        QTest::newRow("/mnt itself") << "/mnt/"
                                     << "ext4" << true;
        QTest::newRow("root disk") << "/"
                                   << "ext4" << false;
        QTest::newRow("look-alike folder") << "/mediaX/"
                                           << "ext4" << false;
        QTest::newRow("run but not media") << "/run/user/1000/"
                                           << "ext4" << false;
    }

    void isRemovable()
    {
        QFETCH(QString, root);
        QFETCH(QString, fileSystemType);
        QFETCH(bool, expected);
        QCOMPARE((Volume{root, QString(), fileSystemType}.isRemovable()), expected);
    }

    void indexContaining_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("expected");
        // The list below: 0 "/media/cd/", 1 "/", 2 "/media/cd2/", 3 "/media/".
        QTest::newRow("file on a disc") << "/media/cd/GAME/RUN.EXE" << 0;
        QTest::newRow("the root itself, no slash") << "/media/cd" << 0;
        QTest::newRow("sibling with a longer name") << "/media/cd2x/a" << 3;
        QTest::newRow("second disc") << "/media/cd2/SETUP.EXE" << 2;
        QTest::newRow("dot-dot leaves the disc") << "/media/cd/../cd2/x" << 2;
        QTest::newRow("elsewhere") << "/home/user/game" << 1;
        QTest::newRow("relative") << "GAME/RUN.EXE" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void indexContaining()
    {
        QFETCH(QString, path);
        QFETCH(int, expected);
        const QList<Volume> volumes{{"/media/cd/", "", "iso9660"},
                                    {"/", "", "ext4"},
                                    {"/media/cd2/", "", "udf"},
                                    {"/media/", "", "ext4"}};
        QCOMPARE(Volumes::indexContaining(volumes, path), expected);
    }

    void indexContainingNoRootIsMinusOne()
    {
        const QList<Volume> volumes{{"/media/cd/", "", "iso9660"}};
        QCOMPARE(Volumes::indexContaining(volumes, "/home/user"), -1);
        QCOMPARE(Volumes::indexContaining({}, "/home/user"), -1);
    }

    void pseudoFileSystemsLeftOut_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QString>("fileSystemType");
        QTest::addColumn<bool>("listed");
        QTest::newRow("proc") << "/proc/"
                              << "proc" << false;
        QTest::newRow("tmpfs") << "/run/"
                               << "tmpfs" << false;
        QTest::newRow("cgroup2") << "/sys/fs/cgroup/"
                                 << "cgroup2" << false;
        QTest::newRow("snap package") << "/snap/core/1/"
                                      << "squashfs" << false;
        QTest::newRow("container layer") << "/var/lib/docker/overlay2/x/merged/"
                                         << "overlay" << false;
        QTest::newRow("container root") << "/"
                                        << "overlay" << true;
        QTest::newRow("disk") << "/home/"
                              << "ext4" << true;
        QTest::newRow("disc") << "/media/cdrom/"
                              << "iso9660" << true;
        QTest::newRow("ntfs stick") << "/media/u/STICK/"
                                    << "fuseblk" << true;
    }

    void pseudoFileSystemsLeftOut()
    {
        QFETCH(QString, root);
        QFETCH(QString, fileSystemType);
        QFETCH(bool, listed);
        Volumes::setSource([&] { return QList<Volume>{{root, "", fileSystemType}}; });
        QCOMPARE(Volumes::mounted().size(), listed ? 1 : 0);
    }

    void rootsEndInSlash()
    {
        Volumes::setSource([] {
            return QList<Volume>{{"/", "", "ext4"}, {"/media/cdrom", "DISC", "iso9660"}};
        });
        QCOMPARE(rootsOf(Volumes::mounted()), (QStringList{"/", "/media/cdrom/"}));
    }

    // Without a seam the list comes from the system: whatever is mounted here, the system's
    // root is on it and nothing of the kernel's is; each volume as Qt's own list of them tells it.
    void systemListHoldsRootAndNoKernelFolders()
    {
        const QList<Volume> volumes = Volumes::mounted();
        const QStringList roots = rootsOf(volumes);
        QVERIFY(roots.contains(QDir::rootPath()));
        for (const QString &root : roots) {
            QVERIFY2(root.endsWith('/'), qPrintable(root));
            QVERIFY2(!root.startsWith("/proc/") && !root.startsWith("/sys/"), qPrintable(root));
        }
        const QList<QStorageInfo> qtVolumes = QStorageInfo::mountedVolumes();
        for (const Volume &volume : volumes) {
            const bool told = std::ranges::any_of(qtVolumes, [&](const QStorageInfo &info) {
                const QString root =
                    info.rootPath().endsWith('/') ? info.rootPath() : info.rootPath() + '/';
                return root == volume.root && info.name() == volume.label &&
                       QString::fromLatin1(info.fileSystemType()) == volume.fileSystemType;
            });
            QVERIFY2(told, qPrintable(volume.root));
        }
    }
};

QTEST_GUILESS_MAIN(TestVolumes)
#include "tst_volumes.moc"
