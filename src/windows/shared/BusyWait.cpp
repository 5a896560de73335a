#include "windows/shared/BusyWait.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>

#include "settings/AtomicFile.h"

namespace quorvant {

BusyWait::BusyWait() { previousHook_ = SetLockWaitHook([this] { Waiting(); }); }

BusyWait::~BusyWait() {
    SetLockWaitHook(std::move(previousHook_));
    if (busy_) {
        qApp->removeEventFilter(this);
        QApplication::restoreOverrideCursor();
    }
}

void BusyWait::Waiting() {
    if (!busy_) {
        busy_ = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        qApp->installEventFilter(this);
    }
    // Paint, but leave the user's input queued until the save is over.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool BusyWait::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quorvant
