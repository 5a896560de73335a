#include "widgets/SpinButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "text/Messages.h"

namespace quorvant {

namespace {
// Lets screen readers see the pair as one spin control with a value and its bounds.
class AccessibleSpinButton : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleSpinButton(SpinButton* w) : QAccessibleWidget(w, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(Spin()->Value());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return Spin()->Value(); }
    void setCurrentValue(const QVariant& value) override { Spin()->SetValue(value.toInt()); }
    QVariant maximumValue() const override { return std::max(Spin()->Lowest(), Spin()->Highest()); }
    QVariant minimumValue() const override { return std::min(Spin()->Lowest(), Spin()->Highest()); }
    QVariant minimumStepSize() const override { return Spin()->Step(); }

private:
    SpinButton* Spin() const { return static_cast<SpinButton*>(widget()); }
};

QAccessibleInterface* SpinButtonAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("quorvant::SpinButton") && object && object->isWidgetType())
        return new AccessibleSpinButton(static_cast<SpinButton*>(object));
    return nullptr;
}
}  // namespace

SpinButton::SpinButton(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&SpinButtonAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setObjectName(QStringLiteral("up"));
    down_->setObjectName(QStringLiteral("down"));
    up_->setAccessibleName(msg::StepUpName());
    down_->setAccessibleName(msg::StepDownName());
    for (QToolButton* button : {up_, down_}) {
        // The pair is one keyboard stop (Up/Down keys); the arrows are for the mouse.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(up_, &QToolButton::clicked, this, &SpinButton::StepUp);
    connect(down_, &QToolButton::clicked, this, &SpinButton::StepDown);
}

void SpinButton::SetValue(int value) {
    const int old = value_;
    value_ = std::clamp(value, std::min(lowest_, highest_), std::max(lowest_, highest_));
    if (value_ != old) UpdateButtons();
}

void SpinButton::SetLowest(int lowest) {
    lowest_ = lowest;
    SetValue(value_);
}

void SpinButton::SetHighest(int highest) {
    highest_ = highest;
    SetValue(value_);
}

void SpinButton::StepUp() { Move(1); }

void SpinButton::StepDown() { Move(-1); }

void SpinButton::Move(int direction) {
    // Every user step is reported, also when a bound keeps the value where it was.
    SetValue(value_ + direction * step_);
    emit stepped(value_);
}

void SpinButton::UpdateButtons() {
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, value_);
        QAccessible::updateAccessibility(&event);
    }
}

void SpinButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            StepUp();
            break;
        case Qt::Key_Down:
            StepDown();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void SpinButton::paintEvent(QPaintEvent*) {
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace quorvant
