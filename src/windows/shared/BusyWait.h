#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>

namespace quorvant {

class StatusLine;

// A save's commit (lock, read fresh, apply, replace, sync) runs on a thread of its own, so a slow
// disk or another program's lock on the folder does not freeze the windows: they go on painting
// and answering screen readers, with a busy cursor and the save's progress on the status line.
// Clicks and keys wait until the save is over, and no window can be closed meanwhile (the save in
// progress belongs to one of them).
class BusyWait : public QObject {
    Q_OBJECT

public:
    explicit BusyWait(StatusLine* status = nullptr);
    ~BusyWait() override;
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;

    // Runs `work` on a thread of its own and returns once it has ended, throwing what it threw.
    // Nothing else may use what `work` uses meanwhile: the window's thread only paints and answers.
    void Run(const std::function<void()>& work);
    // The lock-wait hook of a save run here (SaveContext): it notes the time on the thread that
    // commits, and the window's thread shows that the save waits for another program.
    std::function<void()> LockWaitHook();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void ShowProgress();

    QPointer<StatusLine> status_;
    // When the settings engine last said it waits for the folder lock (steady clock, ms; -1: never).
    std::atomic<qint64> lastWaitMs_ = -1;
};

}  // namespace quorvant
