// The settings file's operations against their floors, for an ordinary finished KORV.ini and
// for the largest the wizard reads, just under 1 MiB (junk first, the entries last): the import of the 34 entry keys against
// reading the file once, and the finishing save of 37 keys against one atomic write of the
// same finished file. Each figure comes from a fresh child process, so that its peak memory
// is that of the measured work alone; for the ordinary file a child's figure is the mean of
// many repetitions. A floor's children and the work's take turns. Medians of the children's
// figures, printed with their ratios, never asserted.
#include "modules/Cp932.h"
#include "wizard/EntrySlots.h"
#include "wizard/Import.h"
#include "wizard/Saves.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <map>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {

// Junk up to this, then the entries: the file stays within the 1 MiB that is read.
constexpr qsizetype kLargeSize = (1 << 20) - 4096;

// A figure of one child: nanoseconds per repetition and the rise of peak memory in kB.
struct Figure
{
    qint64 nanoseconds = 0;
    qint64 peakKb = 0;
};

// One of the two files measured.
struct Case
{
    const char *title;
    QString path;
    int repetitions; // per child
    int runs;        // children per figure
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

// The windows' controls as plain values, kept more cheaply than any window keeps them, so that
// the figures are the operations' own.
class BenchFields : public Fields
{
public:
    QString text(Control control) override { return m_values[key(control)]; }
    void setText(Control control, const QString &text) override { m_values[key(control)] = text; }
    bool isChecked(Control) override { return false; }

private:
    // Names are a few letters and digits: a plain multiplicative hash of them is enough.
    using Key = std::pair<FormId, const char *>;
    struct KeyHash
    {
        std::size_t operator()(const Key &key) const
        {
            std::size_t hash = std::size_t(key.first);
            for (const char *c = key.second; *c; ++c)
                hash = hash * 31 + uchar(*c);
            return hash;
        }
    };
    struct KeyEqual
    {
        bool operator()(const Key &a, const Key &b) const
        {
            return a.first == b.first && std::strcmp(a.second, b.second) == 0;
        }
    };
    static Key key(Control control) { return {control.form, control.name}; }

    std::unordered_map<Key, QString, KeyHash, KeyEqual> m_values;
};

// The fields of a wizard that writes and reads the KORV.ini at path.
BenchFields fieldsFor(const QString &path)
{
    BenchFields fields;
    fields.setText(kOutputPathHolder, path);
    fields.setText(kDriveList, QFileInfo(path).absolutePath() + u'/');
    return fields;
}

// Page 1 and page 2 filled as an author would; odd and even repetitions differ in every
// entry, so that each save changes the file.
void fillFields(BenchFields &fields, int repetition)
{
    for (const EntrySlot &slot : EntrySlots::all()) {
        fields.setText(slot.name(),
                       QStringLiteral("ソフト%1-%2").arg(slot.number).arg(repetition % 2));
        fields.setText(
            slot.path(),
            QStringLiteral("tools\\app%1\\setup%2.exe").arg(slot.number).arg(repetition % 2));
    }
}

void makeOrdinaryFile(const QString &path)
{
    BenchFields fields = fieldsFor(path);
    fillFields(fields, 0);
    if (!Saves::run(Saves::finishingSave, fields, path).ok())
        qFatal("cannot write %s", qPrintable(path));
}

void makeLargeFile(const QString &path)
{
    QByteArray content;
    content.reserve(kLargeSize + 1024);
    for (int n = 0; content.size() < kLargeSize; ++n)
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

// The least a save that survives a crash and a power cut can do: a temporary file beside
// the file, written and synced, renamed over the file, and the folder synced.
void durableAtomicWrite(const QString &path, const QByteArray &content)
{
    const QByteArray file = QFile::encodeName(path);
    const QByteArray temporary = file + ".floor";
    const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::write(fd, content.constData(), size_t(content.size())) ==
                                        ssize_t(content.size());
    const bool synced = written && fsync(fd) == 0;
    const bool closed = fd >= 0 && ::close(fd) == 0;
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool replaced =
        synced && closed && ::rename(temporary.constData(), file.constData()) == 0;
    if (!replaced || folder < 0 || fsync(folder) != 0 || ::close(folder) != 0)
        qFatal("atomic write failed");
}

// Nanoseconds that work takes.
qint64 timed(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed();
}

// A measured piece of work: prepares what it needs untimed, and returns the time of the rest.
using Work = std::function<qint64(const QString &path, int repetition)>;

const std::map<QString, Work> &workByName()
{
    static const std::map<QString, Work> work{
        {"read-once",
         [](const QString &path, int) {
             return timed([&] {
                 QFile file(path);
                 if (!file.open(QIODevice::ReadOnly) || file.readAll().isEmpty())
                     qFatal("read failed");
             });
         }},
        {"import",
         [](const QString &path, int) {
             // The windows' fields all exist before an import: it only replaces their text.
             // Path 17, emptied, tells whether the import filled it.
             BenchFields fields = fieldsFor(path);
             fillFields(fields, 1);
             const Control path17 = EntrySlots::all().back().path();
             fields.setText(path17, QString());
             const qint64 nanoseconds = timed([&] {
                 if (!Import::fromSourceFile(fields).ok())
                     qFatal("import failed");
             });
             if (fields.text(path17).isEmpty())
                 qFatal("the import found no path 17");
             return nanoseconds;
         }},
        {"atomic-write",
         [](const QString &path, int) {
             // Closed before the write: a file still open when it is replaced is removed only
             // when it is closed, and that removal is part of replacing it.
             const QByteArray content = [&] {
                 QFile in(path);
                 return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
             }();
             return timed([&] { durableAtomicWrite(path, content); });
         }},
        {"finishing-save",
         [](const QString &path, int repetition) {
             BenchFields fields = fieldsFor(path);
             fillFields(fields, repetition);
             return timed([&] {
                 if (!Saves::run(Saves::finishingSave, fields, Saves::outputFile(fields)).ok())
                     qFatal("finishing save failed");
             });
         }},
    };
    return work;
}

// Runs one piece of work here, repetitions times from the given first one on, and prints its
// figure for the parent.
int runChild(const QString &name, const QString &path, int first, int repetitions)
{
    // The code page's tables load on first use, which the wizard has long made by then.
    Cp932::decode(Cp932::encode(QStringLiteral("ソフト")));
    const qint64 before = statusKb("VmRSS:");
    qint64 nanoseconds = 0;
    for (int repetition = first; repetition < first + repetitions; ++repetition)
        nanoseconds += workByName().at(name)(path, repetition);
    std::printf("%lld %lld\n", nanoseconds / repetitions, statusKb("VmHWM:") - before);
    return 0;
}

// The figure of one child that does the work named.
Figure runOnce(const QString &name, const Case &measured, int run)
{
    QProcess child;
    // Each child starts where the last one ended, so that its first save changes the file.
    child.start(QCoreApplication::applicationFilePath(),
                {"--child", name, measured.path, QString::number(run * measured.repetitions),
                 QString::number(measured.repetitions)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        qFatal("child %s failed", qPrintable(name));
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    return {fields.value(0).toLongLong(), fields.value(1).toLongLong()};
}

Figure median(std::vector<Figure> figures)
{
    std::sort(figures.begin(), figures.end(),
              [](const Figure &a, const Figure &b) { return a.nanoseconds < b.nanoseconds; });
    return figures[figures.size() / 2];
}

// Peak memory is shown against the file's size only where the file is large enough to tell.
void printLine(const char *label, const Figure &figure, qint64 fileSize)
{
    std::printf("  %-40s %10.3f ms   peak +%6.1f MiB", label, figure.nanoseconds / 1e6,
                figure.peakKb / 1024.0);
    if (fileSize >= kLargeSize)
        std::printf(" (%.2f x the file)", figure.peakKb * 1024.0 / double(fileSize));
    std::printf("\n");
}

void compare(const Case &measured, const char *floorName, const char *floorLabel, const char *name,
             const char *label)
{
    const qint64 size = QFileInfo(measured.path).size();
    // The floor and the work take turns, each going first in every other pair, so that the
    // two see a shared machine in the same states.
    std::vector<Figure> floors;
    std::vector<Figure> figures;
    for (int run = 0; run < measured.runs; ++run) {
        const bool floorFirst = run % 2 == 0;
        for (const bool isFloor : {floorFirst, !floorFirst})
            (isFloor ? floors : figures)
                .push_back(runOnce(isFloor ? floorName : name, measured, run));
    }
    const Figure floor = median(floors);
    const Figure figure = median(figures);
    printLine(floorLabel, floor, size);
    printLine(label, figure, size);
    std::printf("  ratio %.2f\n", double(figure.nanoseconds) / double(floor.nanoseconds));
}

void measure(const Case &measured)
{
    std::printf("%s, %lld bytes; medians of %d runs, each the mean of %d repetitions:\n",
                measured.title, QFileInfo(measured.path).size(), measured.runs,
                measured.repetitions);
    compare(measured, "read-once", "floor: read the file once", "import",
            "import of the 34 entry keys");
    compare(measured, "atomic-write", "floor: one durable atomic write", "finishing-save",
            "finishing save of 37 keys");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == "--child")
        return runChild(args[2], args[3], args[4].toInt(), args[5].toInt());

    QTemporaryDir ordinary;
    QTemporaryDir large;
    const Case cases[] = {{"Ordinary KORV.ini", ordinary.filePath("KORV.ini"), 200, 41},
                          {"1 MiB KORV.ini, entries last", large.filePath("KORV.ini"), 20, 21}};
    makeOrdinaryFile(cases[0].path);
    makeLargeFile(cases[1].path);
    std::printf("Each figure from a fresh process\n");
    for (const Case &measured : cases)
        measure(measured);
    return 0;
}
