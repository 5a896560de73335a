#include "windows/shared/FieldOverlay.h"

#include <QEvent>
#include <QPainter>

namespace quorvant {

namespace {
constexpr int kMargin = 2;
const QColor kNotDefaultColour(0, 90, 200);
}  // namespace

FieldOverlay::FieldOverlay(QWidget* field, Kind kind)
    : FieldOverlay(field, kind == Kind::Found ? QStringLiteral("searchHighlight") : QStringLiteral("notDefaultMark"),
                   QMargins(kMargin + 2, kMargin, kMargin, kMargin)) {
    kind_ = kind;
}

FieldOverlay::FieldOverlay(QWidget* field, const QString& name, QMargins reach)
    : QWidget(field->parentWidget()), field_(field), reach_(reach) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(name);
    field->installEventFilter(this);
    Follow();
}

FieldOverlay::~FieldOverlay() {
    if (field_) field_->removeEventFilter(this);
}

bool FieldOverlay::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::ParentChange:
            Follow();
            break;
        default:
            break;
    }
    return false;
}

void FieldOverlay::Follow() {
    if (!field_) return;
    if (field_->parentWidget() != parentWidget()) setParent(field_->parentWidget());
    setGeometry(field_->geometry().marginsAdded(reach_));
    setVisible(field_->isVisibleTo(field_->parentWidget()));
    raise();
}

void FieldOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (kind_ == Kind::NotDefault) {
        painter.fillRect(QRect(0, 0, 3, height()), kNotDefaultColour);
        return;
    }
    QColor colour = palette().color(QPalette::Highlight);
    painter.setPen(QPen(colour, 2));
    colour.setAlpha(40);
    painter.setBrush(colour);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void FocusField(QWidget* field) {
    QWidget* target = field;
    if (field->focusPolicy() == Qt::NoFocus)
        for (QWidget* child : field->findChildren<QWidget*>())
            if (child->focusPolicy() != Qt::NoFocus && child->isVisibleTo(field)) {
                target = child;
                break;
            }
    target->setFocus(Qt::OtherFocusReason);
}

}  // namespace quorvant
