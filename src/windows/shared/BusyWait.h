#pragma once

#include <QObject>
#include <functional>

namespace quorvant {

// While it lives, a save that has to wait for another program's lock on the settings folder keeps
// the windows painted and shows a busy cursor. Clicks and keys wait until the save is over, and no
// window can be closed meanwhile (the save in progress belongs to one of them).
class BusyWait : public QObject {
    Q_OBJECT

public:
    BusyWait();
    ~BusyWait() override;
    BusyWait(const BusyWait&) = delete;
    BusyWait& operator=(const BusyWait&) = delete;

    // What the settings engine calls while it waits.
    void Waiting();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> previousHook_;
    bool busy_ = false;
};

}  // namespace quorvant
