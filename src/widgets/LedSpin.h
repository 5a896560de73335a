#pragma once

#include <QAbstractSpinBox>

namespace quorvant {

// LED spin field: yellow digits on black, stepping by Step() within [Lowest, Highest].
// A value set by the program outside the limits is kept and shown as it is (never clamped), so an
// untouched value is saved unchanged; the first step from there moves to the nearest limit.
// Everything a user or an assistive tool does (arrows, wheel, typing, the "value" property that
// screen readers set) stays within the limits.
class LedSpin : public QAbstractSpinBox {
    Q_OBJECT
    Q_PROPERTY(int value READ Value WRITE SetValueWithinLimits NOTIFY valueChanged USER true)
    Q_PROPERTY(int minimum READ Lowest)
    Q_PROPERTY(int maximum READ Highest)

public:
    explicit LedSpin(QWidget* parent = nullptr);

    qint32 Value() const { return value_; }
    // The program's own setter: a value read from a file is kept as it is, even outside the limits.
    void SetValue(qint32 value);
    // A value asked for from outside the program (e.g. an assistive tool): held to the limits.
    void SetValueWithinLimits(qint32 value);
    qint32 Lowest() const { return lowest_; }
    qint32 Highest() const { return highest_; }
    void SetRange(qint32 lowest, qint32 highest);
    qint32 Step() const { return step_; }
    void SetStep(qint32 step);
    int Digits() const { return digits_; }
    void SetDigits(int digits);
    bool ZeroBlank() const { return zeroBlank_; }
    void SetZeroBlank(bool blank);

    // One call for the designer values of a field.
    void Configure(int digits, qint32 lowest, qint32 highest, qint32 step, qint32 initial, bool zeroBlank = true);

    void stepBy(int steps) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void valueChanged(int value);

protected:
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    QString DisplayText() const;
    void UpdateDisplay();
    void CommitTypedText();

    qint32 value_ = 0;
    qint32 lowest_ = 0;
    qint32 highest_ = 99;
    qint32 step_ = 1;
    int digits_ = 2;
    bool zeroBlank_ = true;
    bool editing_ = false;  // the text was typed and not yet replaced by the value's own text
    qint32 valueBeforeEdit_ = 0;
};

}  // namespace quorvant
