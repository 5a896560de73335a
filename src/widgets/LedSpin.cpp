#include "widgets/LedSpin.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>

namespace quorvant {

namespace {
// Number of decimal digits of a value, without its sign.
int DigitCount(qint64 value) {
    int count = 1;
    for (value = value < 0 ? -value : value; value >= 10; value /= 10) ++count;
    return count;
}
}  // namespace

LedSpin::LedSpin(QWidget* parent) : QAbstractSpinBox(parent) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setBold(true);
    setFont(font);
    // The digits are yellow on black; the arrows keep the style's own colours so they stay visible.
    QPalette pal = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, Qt::black);
        pal.setColor(group, QPalette::Text, group == QPalette::Disabled ? QColor(128, 128, 0) : QColor(Qt::yellow));
    }
    setPalette(pal);
    QPalette digits = pal;
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        digits.setColor(group, QPalette::Window, Qt::black);
        digits.setColor(group, QPalette::WindowText, digits.color(group, QPalette::Text));
    }
    lineEdit()->setPalette(digits);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFocusPolicy(Qt::WheelFocus);
    setKeyboardTracking(false);
    // A typed number within the limits counts at once, so that a save pressed while the field still
    // has focus sees it; anything else is undone when editing ends.
    connect(lineEdit(), &QLineEdit::textEdited, this, &LedSpin::CommitTypedText);
    connect(this, &QAbstractSpinBox::editingFinished, this, &LedSpin::UpdateDisplay);
    UpdateDisplay();
}

void LedSpin::SetValue(qint32 value) {
    // Kept as given, even outside the limits: an untouched value must be saved unchanged.
    const bool changed = value != value_;
    value_ = value;
    UpdateDisplay();
    if (changed) emit valueChanged(value_);
}

void LedSpin::SetValueWithinLimits(qint32 value) {
    SetValue(std::clamp(value, lowest_, highest_));
    UpdateDisplay();  // also when a typed text was left standing
}

void LedSpin::SetRange(qint32 lowest, qint32 highest) {
    lowest_ = lowest;
    highest_ = std::max(lowest, highest);
    updateGeometry();
    UpdateDisplay();
}

void LedSpin::SetStep(qint32 step) { step_ = step; }

void LedSpin::SetDigits(int digits) {
    digits_ = std::max(1, digits);
    updateGeometry();
    UpdateDisplay();
}

void LedSpin::SetZeroBlank(bool blank) {
    zeroBlank_ = blank;
    UpdateDisplay();
}

void LedSpin::Configure(int digits, qint32 lowest, qint32 highest, qint32 step, qint32 initial, bool zeroBlank) {
    digits_ = std::max(1, digits);
    zeroBlank_ = zeroBlank;
    step_ = step;
    SetRange(lowest, highest);
    SetValue(initial);
}

void LedSpin::stepBy(int steps) {
    if (steps == 0) return;
    qint64 next;
    if (value_ < lowest_) {
        next = lowest_;  // first step from a stored value outside the limits
    } else if (value_ > highest_) {
        next = highest_;
    } else {
        next = std::clamp<qint64>(qint64(value_) + qint64(steps) * step_, lowest_, highest_);
    }
    SetValue(qint32(next));
    UpdateDisplay();  // also when a typed text was left standing
    if (style()->styleHint(QStyle::SH_SpinBox_SelectOnStep, nullptr, this)) selectAll();
}

QAbstractSpinBox::StepEnabled LedSpin::stepEnabled() const {
    if (isReadOnly()) return StepNone;
    if (value_ < lowest_ || value_ > highest_) return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (value_ < highest_) enabled |= StepUpEnabled;
    if (value_ > lowest_) enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State LedSpin::validate(QString& input, int&) const {
    const QString text = input.trimmed();
    if (text.isEmpty() || text == QLatin1String("-")) return QValidator::Intermediate;
    bool ok = false;
    const qint64 typed = text.toLongLong(&ok);
    if (!ok) return QValidator::Invalid;
    if (typed >= lowest_ && typed <= highest_) return QValidator::Acceptable;
    if (typed == value_) return QValidator::Acceptable;  // what the field shows already
    // Longer than any value in the limits can be: typing further cannot help.
    if (text.size() > std::max(DigitCount(lowest_) + (lowest_ < 0), DigitCount(highest_) + (highest_ < 0)) + 1)
        return QValidator::Invalid;
    return QValidator::Intermediate;
}

void LedSpin::fixup(QString& input) const { input = DisplayText(); }

QString LedSpin::DisplayText() const {
    const qint64 magnitude = value_ < 0 ? -qint64(value_) : qint64(value_);
    const QChar pad = zeroBlank_ ? QLatin1Char(' ') : QLatin1Char('0');
    QString digits = QString::number(magnitude).rightJustified(digits_, pad);
    if (value_ < 0) {
        if (zeroBlank_) {
            // The sign goes right before the first shown digit.
            const auto first = digits.indexOf(QRegularExpression(QStringLiteral("[^ ]")));
            digits =
                first > 0 ? digits.left(first - 1) + QLatin1Char('-') + digits.mid(first) : QLatin1Char('-') + digits;
        } else {
            digits.prepend(QLatin1Char('-'));
        }
    }
    return digits;
}

void LedSpin::UpdateDisplay() {
    editing_ = false;
    const QString text = DisplayText();
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void LedSpin::CommitTypedText() {
    if (!editing_) {
        editing_ = true;
        valueBeforeEdit_ = value_;
    }
    // The value follows the text while it is a number within the limits; otherwise it is the value
    // from before the typing, which the field shows again when editing ends.
    bool ok = false;
    const qint64 typed = lineEdit()->text().trimmed().toLongLong(&ok);
    const qint32 target = ok && typed >= lowest_ && typed <= highest_ ? qint32(typed) : valueBeforeEdit_;
    if (target == value_) return;
    value_ = target;
    emit valueChanged(value_);
}

QSize LedSpin::sizeHint() const {
    ensurePolished();
    const QFontMetrics fm(font());
    const int chars = std::max({digits_, DigitCount(lowest_), DigitCount(highest_)}) + 1;  // sign
    int w = fm.horizontalAdvance(QString(chars, QLatin1Char('8'))) + 6;
    int h = lineEdit()->sizeHint().height();
    QStyleOptionSpinBox opt;
    initStyleOption(&opt);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &opt, QSize(w, h), this);
}

QSize LedSpin::minimumSizeHint() const { return sizeHint(); }

}  // namespace quorvant
