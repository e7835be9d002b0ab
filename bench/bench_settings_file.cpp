// Reading the 34 menu keys of a 64 MiB KORV.ini (junk first, the entries last) through
// IniRead in one batch, against reading the file once; and saving 37 keys in one batch,
// against one atomic write of the file. Each figure is measured in a fresh child process,
// so that peak memory is that of the measured work alone. Printed, never asserted.
#include "modules/Module1.h"
#include "modules/Module2.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

constexpr qsizetype kFileSize = 64 << 20;
constexpr int kRuns = 7;

// A figure of one child: elapsed nanoseconds and the rise of peak memory in kB.
struct Figure
{
    qint64 nanoseconds = 0;
    qint64 peakKb = 0;
};

qint64 statusKb(const char *field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

void makeFile(const QString &path)
{
    QByteArray content;
    content.reserve(kFileSize + 4096);
    for (int n = 0; content.size() < kFileSize; ++n)
        content += QByteArray("junk") + QByteArray::number(n) + "=\x83\x5C\x83\x74\x83\x67 [x] ;" +
                   QByteArray(32, char('a' + n % 26)) + "\r\n";
    for (const char *section : {"NAME", "PATH"}) {
        content += QByteArray("[") + section + "]\r\n";
        for (int slot = 1; slot <= 17; ++slot)
            content += QByteArray::number(slot) + "=" + section + QByteArray::number(slot) + "\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// A measured piece of work: the file, the run's number, and the timer, which the work restarts
// when it has something to prepare first.
using Work = std::function<void(const QString &, int, QElapsedTimer &)>;

// The measured pieces of work, each run in a child of its own.
const std::map<QString, Work> &workByName()
{
    static const std::map<QString, Work> work{
        {"read-once",
         [](const QString &path, int, QElapsedTimer &) {
             QFile file(path);
             if (!file.open(QIODevice::ReadOnly) || file.readAll().size() < kFileSize)
                 qFatal("read failed");
         }},
        {"read-keys",
         [](const QString &, int, QElapsedTimer &) {
             Module1::ProfileBatch batch;
             for (const char *section : {"NAME", "PATH"}) {
                 for (int slot = 1; slot <= 17; ++slot) {
                     if (IniRead(section, QString::number(slot)).isEmpty())
                         qFatal("key %s/%d missing", section, slot);
                 }
             }
         }},
        {"atomic-write",
         [](const QString &path, int, QElapsedTimer &timer) {
             QFile in(path);
             const QByteArray content = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
             timer.restart();
             QSaveFile out(path);
             if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() ||
                 !out.commit())
                 qFatal("atomic write failed");
         }},
        {"write-keys",
         [](const QString &, int run, QElapsedTimer &) {
             Module1::ProfileBatch batch;
             for (const char *section : {"NAME", "PATH", "EXTRA"}) {
                 const int count = QByteArray(section) == "EXTRA" ? 3 : 17;
                 for (int slot = 1; slot <= count; ++slot) {
                     const QString value =
                         QStringLiteral("%1-%2-run%3").arg(section).arg(slot).arg(run);
                     if (!IniWrite(section, QString::number(slot), value).ok())
                         qFatal("write %s/%d failed", section, slot);
                 }
             }
             if (!batch.commit().ok())
                 qFatal("commit failed");
         }},
    };
    return work;
}

// Runs one piece of work here and prints its figure for the parent.
int runChild(const QString &name, const QString &path, int run)
{
    Module2::setOutputPathHolder([path] { return path; });
    Module2::setDriveDesignation([path] { return path.chopped(qstrlen("KORV.ini")); });
    const qint64 before = statusKb("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    workByName().at(name)(path, run, timer);
    const qint64 elapsed = timer.nsecsElapsed();
    std::printf("%lld %lld\n", elapsed, statusKb("VmHWM:") - before);
    return 0;
}

Figure median(const QString &name, const QString &path)
{
    std::vector<Figure> figures;
    for (int run = 0; run < kRuns; ++run) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {"--child", name, path, QString::number(run)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            qFatal("child %s failed", qPrintable(name));
        const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
        figures.push_back({fields.value(0).toLongLong(), fields.value(1).toLongLong()});
    }
    std::sort(figures.begin(), figures.end(),
              [](const Figure &a, const Figure &b) { return a.nanoseconds < b.nanoseconds; });
    return figures[kRuns / 2];
}

void compare(const char *baseLabel, const Figure &base, const char *label, const Figure &figure,
             const char *limit)
{
    const double mib = double(kFileSize) / (1 << 20);
    std::printf("  %-36s %8.1f ms   peak +%6.1f MiB (%.2f x file)\n", baseLabel,
                base.nanoseconds / 1e6, base.peakKb / 1024.0, base.peakKb / 1024.0 / mib);
    std::printf("  %-36s %8.1f ms   peak +%6.1f MiB (%.2f x file)\n", label,
                figure.nanoseconds / 1e6, figure.peakKb / 1024.0, figure.peakKb / 1024.0 / mib);
    std::printf("  ratio %.2f (%s)\n", double(figure.nanoseconds) / double(base.nanoseconds),
                limit);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == "--child")
        return runChild(args[2], args[3], args[4].toInt());

    QTemporaryDir dir;
    const QString path = dir.filePath("KORV.ini");
    makeFile(path);
    std::printf(
        "KORV.ini of %lld bytes, entries last; median of %d runs, each in a fresh process\n",
        qint64(kFileSize), kRuns);
    std::printf("Reading:\n");
    compare("read the file once (QFile::readAll)", median("read-once", path),
            "34 keys via IniRead in one batch", median("read-keys", path), "limit 3");
    std::printf("Writing:\n");
    compare("one atomic write (QSaveFile)", median("atomic-write", path),
            "37 IniWrite + commit in one batch", median("write-keys", path), "limit 2");
    return 0;
}
