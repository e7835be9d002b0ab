// A generic plugin that the start-up benchmark loads into both programs it starts
// (QT_QPA_GENERIC_PLUGINS=exposeprobe): when a window is first exposed, it prints the
// monotonic clock in nanoseconds and the peak resident memory in kB, then ends the process.
#include <QFile>
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

class ExposeProbe : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            std::printf("%lld %lld\n", qint64(std::chrono::nanoseconds(now).count()),
                        peakResidentKb());
            std::fflush(stdout);
            std::_Exit(0);
        }
        return false;
    }
};

} // namespace

class ExposeProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "exposeprobe.json")

public:
    QObject *create(const QString &, const QString &) override
    {
        auto *probe = new ExposeProbe;
        QCoreApplication::instance()->installEventFilter(probe);
        return probe;
    }
};

#include "ExposeProbe.moc"
