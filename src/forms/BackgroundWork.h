#pragma once

#include <QString>

#include <functional>

class ProfileSession;
class QWidget;

namespace BackgroundWork {

// Runs work, which reads or writes through session, on a thread of its own and returns when
// it is done, the windows painting and answering meanwhile. The user's input waits until
// work has taken half a second; then a progress dialog over window shows label and
// "キャンセル", which cancels session, and work soon ends; once the session has replaced its
// file, キャンセル is disabled. The caller asks the session whether it was cancelled.
void run(QWidget *window, const QString &label, ProfileSession &session,
         const std::function<void()> &work);

} // namespace BackgroundWork
