// Start-up: from starting the process to page 1 shown (its first expose event), and the peak
// resident memory by then, for the wizard against its floor, a bare dialog of page 1's size
// holding page 1's controls, built from a table compiled in. Both are started the same way, with
// the same probe plugin to report the expose. Medians of interleaved runs, printed with their
// ratios; nothing is asserted. Which of the two starts first changes from pair to pair, so
// that neither always comes just after the other.
#include "page_one.h"

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 101;

struct Figures
{
    std::vector<qint64> nanoseconds;
    std::vector<qint64> peakKb;
};

qint64 monotonicNanoseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::nanoseconds(now).count();
}

double median(std::vector<qint64> values)
{
    std::sort(values.begin(), values.end());
    return double(values[values.size() / 2]);
}

// Starts program once and records when its first window was exposed, and its peak memory.
void startOnce(const QString &program, Figures *figures)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), QStringLiteral(PROBE_PLUGINS));
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("exposeprobe"));
    QProcess child;
    child.setProcessEnvironment(environment);
    const qint64 started = monotonicNanoseconds();
    child.start(program);
    if (!child.waitForFinished(30'000)) {
        child.kill();
        qFatal("%s showed no window", qPrintable(program));
    }
    const QList<QByteArray> report = child.readAllStandardOutput().trimmed().split(' ');
    if (report.size() != 2)
        qFatal("%s: no report from the probe: %s", qPrintable(program),
               child.readAllStandardError().constData());
    if (figures) {
        figures->nanoseconds.push_back(report[0].toLongLong() - started);
        figures->peakKb.push_back(report[1].toLongLong());
    }
}

void printFigures(const char *label, const Figures &figures)
{
    std::printf("  %-48s %8.1f ms   peak resident %6.1f MiB\n", label,
                median(figures.nanoseconds) / 1e6, median(figures.peakKb) / 1024);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString wizard = QStringLiteral(WIZARD);
    const QString bare = QStringLiteral(BARE_DIALOG);
    // A first start of each, not counted, brings their files into the page cache.
    startOnce(wizard, nullptr);
    startOnce(bare, nullptr);
    Figures wizardFigures;
    Figures bareFigures;
    for (int run = 0; run < kRuns; ++run) {
        if (run % 2 == 0) {
            startOnce(bare, &bareFigures);
            startOnce(wizard, &wizardFigures);
        } else {
            startOnce(wizard, &wizardFigures);
            startOnce(bare, &bareFigures);
        }
    }
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::printf("Start-up to page 1 shown (first expose), platform %s; medians of %d runs each\n",
                platform.isEmpty() ? "xcb" : platform.constData(), kRuns);
    const QByteArray floorLabel = "bare QDialog with page 1's " +
                                  QByteArray::number(int(std::size(PageOne::kControls))) +
                                  " controls (floor)";
    printFigures(floorLabel.constData(), bareFigures);
    printFigures("korvane-wizard", wizardFigures);
    std::printf("  ratio: time %.2f (goal 1.10 at most), peak memory %.2f (goal 1.10 at most)\n",
                median(wizardFigures.nanoseconds) / median(bareFigures.nanoseconds),
                median(wizardFigures.peakKb) / median(bareFigures.peakKb));
    return 0;
}
