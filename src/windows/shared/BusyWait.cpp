#include "windows/shared/BusyWait.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QTimerEvent>
#include <chrono>
#include <exception>
#include <thread>

#include "windows/shared/StatusLine.h"

namespace quorvant {

namespace {

// The engine calls the lock-wait hook every 10 ms or so; a longer silence means it has the lock.
constexpr qint64 kStillWaitingMs = 100;
constexpr int kProgressEveryMs = 50;

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

BusyWait::BusyWait(StatusLine* status) : status_(status) {}

BusyWait::~BusyWait() = default;

void BusyWait::Run(const std::function<void()>& work) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qApp->installEventFilter(this);
    const int progressTimer = startTimer(kProgressEveryMs);
    ShowProgress();

    std::exception_ptr failure;
    std::atomic<bool> done = false;
    QAbstractEventDispatcher* const events = QAbstractEventDispatcher::instance();
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        // The window's thread may be waiting for events.
        if (events) events->wakeUp();
    });
    // Paint and answer, but leave the user's input queued until the save is over. (A local loop of
    // our own: QCoreApplication::exit() ends every QEventLoop, and this one must outlast the save.)
    while (!done) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    worker.join();

    killTimer(progressTimer);
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    if (status_) status_->ShowProgress(SaveProgress::None);
    if (failure) std::rethrow_exception(failure);
}

std::function<void()> BusyWait::LockWaitHook() {
    return [this] { lastWaitMs_ = NowMs(); };
}

void BusyWait::ShowProgress() {
    if (!status_) return;
    const qint64 lastWait = lastWaitMs_;
    const bool waiting = lastWait >= 0 && NowMs() - lastWait < kStillWaitingMs;
    status_->ShowProgress(waiting ? SaveProgress::WaitingForFolder : SaveProgress::Saving);
}

void BusyWait::timerEvent(QTimerEvent* event) {
    ShowProgress();
    QObject::timerEvent(event);
}

bool BusyWait::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quorvant
