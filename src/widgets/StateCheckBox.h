#pragma once

#include <QCheckBox>

namespace quorvant {

// A check state as the settings store it: 0 off, 1 on, 2 grey.
int CheckStateNumber(Qt::CheckState state);

// Check box holding a stored state 0 (off), 1 (on) or 2 (grey). Only a stored value makes it
// grey; the user's clicks switch between off and on (grey goes to on).
class StateCheckBox : public QCheckBox {
    Q_OBJECT

public:
    explicit StateCheckBox(const QString& text = QString(), QWidget* parent = nullptr);

    int State() const;
    // Refuses (returns false, state unchanged) anything but 0, 1 and 2.
    bool SetState(int state);

protected:
    void nextCheckState() override;
};

}  // namespace quorvant
