// A generic plugin (QT_QPA_GENERIC_PLUGINS=finishdriver) that takes the wizard through one
// finishing save as a user would: once page 1 shows, it types slot 1's name and path
// (KORV_SLOT1_NAME, KORV_SLOT1_PATH) and presses "次へ", then "完了" on page 2 and "閉じる" on
// the completion window. Windows are found by their captions and controls by their names,
// so it works on the installed program as it is. If a window has not shown, or the program
// has not ended, within 30 seconds, it names what it waited for and ends the process with
// status 2.
#include <QAbstractButton>
#include <QApplication>
#include <QGenericPlugin>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

constexpr int kPollMs = 20;
constexpr int kTimeoutMs = 30000;

[[noreturn]] void giveUp(const QString &reason)
{
    std::fprintf(stderr, "finishdriver: %s\n", qPrintable(reason));
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            std::fprintf(stderr, "finishdriver: shown: \"%s\"\n",
                         qPrintable(window->windowTitle()));
    }
    std::fflush(stderr);
    std::_Exit(2);
}

template <typename T> T &control(QWidget &window, const char *name)
{
    auto *found = window.findChild<T *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!found)
        giveUp(QStringLiteral("\"%1\" has no control %2").arg(window.windowTitle(), name));
    return *found;
}

// One key press and release per character, as typing gives them.
void type(QLineEdit &field, const QString &text)
{
    field.setFocus();
    for (const QChar character : text) {
        for (const QEvent::Type kind : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(kind, Qt::Key_unknown, Qt::NoModifier, QString(character));
            QApplication::sendEvent(&field, &key);
        }
    }
}

void fillPage1(QWidget &page)
{
    type(control<QLineEdit>(page, "Text1"), qEnvironmentVariable("KORV_SLOT1_NAME"));
    type(control<QLineEdit>(page, "Text2"), qEnvironmentVariable("KORV_SLOT1_PATH"));
    control<QAbstractButton>(page, "Command1").click();
}

void finish(QWidget &page)
{
    control<QAbstractButton>(page, "Command11").click();
}

void closeWindow(QWidget &window)
{
    control<QAbstractButton>(window, "Command1").click();
}

struct Step
{
    const char *caption; // of the window the step waits for
    void (*act)(QWidget &window);
};

constexpr Step kSteps[] = {
    {"KORVANE作成ウィザード PAGE1", fillPage1},
    {"KORVANE作成ウィザード PAGE2", finish},
    {"終了", closeWindow},
};

QWidget *shownWindow(const QString &caption)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowTitle() == caption)
            return window;
    }
    return nullptr;
}

class FinishDriver : public QObject
{
public:
    FinishDriver()
    {
        connect(&m_poll, &QTimer::timeout, this, &FinishDriver::poll);
        m_poll.start(kPollMs);
        connect(&m_deadline, &QTimer::timeout, this, &FinishDriver::deadline);
        m_deadline.setSingleShot(true);
        m_deadline.start(kTimeoutMs);
    }

private:
    // A step runs once its window shows; the next is counted before it runs, because a
    // button may open a modal window, whose event loop polls again.
    void poll()
    {
        if (m_next == std::size(kSteps)) {
            m_poll.stop();
            return;
        }
        const Step &step = kSteps[m_next];
        QWidget *window = shownWindow(QString::fromUtf8(step.caption));
        if (!window)
            return;
        ++m_next;
        step.act(*window);
    }

    void deadline()
    {
        if (m_next == std::size(kSteps))
            giveUp(QStringLiteral("the program has not ended"));
        giveUp(QStringLiteral("no window \"%1\"").arg(QString::fromUtf8(kSteps[m_next].caption)));
    }

    QTimer m_poll;
    QTimer m_deadline;
    std::size_t m_next = 0;
};

} // namespace

class FinishDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "finishdriver.json")

public:
    QObject *create(const QString &, const QString &) override { return new FinishDriver; }
};

#include "FinishDriver.moc"
