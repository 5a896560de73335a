#pragma once

#include <QWidget>

class QToolButton;

namespace quorvant {

// Up/down arrow pair with its own value between a lower and an upper bound. Each user step moves
// the value by Step() within the bounds and then emits stepped(newValue). Keyboard: Up/Down.
class SpinButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int value READ Value WRITE SetValue)
    Q_PROPERTY(int minimum READ Lowest)
    Q_PROPERTY(int maximum READ Highest)

public:
    explicit SpinButton(QWidget* parent = nullptr);

    int Value() const { return value_; }
    void SetValue(int value);  // kept within the bounds
    int Lowest() const { return lowest_; }
    int Highest() const { return highest_; }
    void SetLowest(int lowest);
    void SetHighest(int highest);
    int Step() const { return step_; }
    void SetStep(int step) { step_ = step; }

    // What a click on an arrow does: +1 up, -1 down.
    void StepUp();
    void StepDown();

signals:
    void stepped(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Move(int direction);
    void UpdateButtons();

    QToolButton* up_;
    QToolButton* down_;
    int value_ = 0;
    int lowest_ = 0;
    int highest_ = 0;
    int step_ = 1;
};

}  // namespace quorvant
