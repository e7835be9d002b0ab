#include "forms/BackgroundWork.h"

#include "modules/ProfileSession.h"

#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {

// Longer than this, and the user is shown what is going on and how to stop it.
constexpr int kPatienceMs = 500;

} // namespace

void BackgroundWork::run(QWidget *window, const QString &label, ProfileSession &session,
                         const std::function<void()> &work)
{
    // Once the file is replaced a cancel would change nothing, and キャンセル goes grey.
    bool replaced = false;
    QPointer<QPushButton> cancelButton;
    QObject windowThread;
    session.setAfterReplace([&] {
        QMetaObject::invokeMethod(&windowThread, [&] {
            replaced = true;
            if (cancelButton)
                cancelButton->setEnabled(false);
        });
    });
    const std::unique_ptr<QThread> thread(QThread::create(work));
    QEventLoop loop;
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kPatienceMs, &loop, &QEventLoop::quit);
    thread->start();
    // Clicks meanwhile wait rather than start a second save or import.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (thread->isRunning()) {
        QProgressDialog progress(label, QStringLiteral("キャンセル"), 0, 0, window);
        progress.setWindowTitle(QStringLiteral("KORVANE作成ウィザード"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        QObject::connect(&progress, &QProgressDialog::canceled, &progress,
                         [&session] { session.cancel(); });
        cancelButton = progress.findChild<QPushButton *>();
        cancelButton->setEnabled(!replaced);
        progress.show();
        progress.setFixedSize(progress.size());
        loop.exec();
    }
    thread->wait();
    session.setAfterReplace({});
}
