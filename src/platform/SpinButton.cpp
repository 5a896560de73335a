#include "platform/SpinButton.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace quorvant {

SpinButton::SpinButton(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    up_->setAccessibleName(QStringLiteral("Omhoog"));
    down_->setAccessibleName(QStringLiteral("Omlaag"));
    for (QToolButton* button : {up_, down_}) {
        // The pair is one keyboard stop; the arrows are for the mouse.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(up_);
    layout->addWidget(down_);
    setFocusPolicy(Qt::StrongFocus);
    connect(up_, &QToolButton::clicked, this, &SpinButton::StepUp);
    connect(down_, &QToolButton::clicked, this, &SpinButton::StepDown);
    UpdateButtons();
}

void SpinButton::SetValue(int value) {
    value_ = std::clamp(value, std::min(lowest_, highest_), std::max(lowest_, highest_));
    UpdateButtons();
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
    SetValue(value_ + direction * step_);
    emit stepped(value_);
}

void SpinButton::UpdateButtons() {
    up_->setEnabled(isEnabled());
    down_->setEnabled(isEnabled());
}

void SpinButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up: StepUp(); break;
        case Qt::Key_Down: StepDown(); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

}  // namespace quorvant
