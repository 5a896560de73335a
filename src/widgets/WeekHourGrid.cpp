#include "widgets/WeekHourGrid.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "settings/ValueRules.h"
#include "text/Messages.h"
#include "widgets/StateCheckBox.h"

namespace quorvant {

namespace {
QPushButton* MakeLabelButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setFlat(true);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    button->setFocusPolicy(Qt::ClickFocus);
    button->setMinimumWidth(0);
    button->setStyleSheet("QPushButton { padding: 1px 2px; }");
    return button;
}
}  // namespace

const QStringList& WeekHourGrid::DayKeys() {
    static const QStringList keys = {"MA", "DI", "WO", "DO", "VR", "ZA", "ZO"};
    return keys;
}

WeekHourGrid::WeekHourGrid(const QStringList& boxNamePrefixes, const QString& dayLabelName,
                           const QString& hourLabelName, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(0);
    layout->setVerticalSpacing(0);
    for (int hour = 0; hour < kHours; ++hour) {
        QPushButton* label = MakeLabelButton(QString::number(hour), this);
        label->setObjectName(QString("%1(%2)").arg(hourLabelName).arg(hour));
        label->setToolTip(msg::ToggleHourTip(hour));
        connect(label, &QPushButton::clicked, this, [this, hour] { ToggleHourColumn(hour); });
        hourLabels_[hour] = label;
        layout->addWidget(label, 0, hour + 1, Qt::AlignCenter);
    }
    for (int day = 0; day < kDays; ++day) {
        QPushButton* label = MakeLabelButton(DayKeys()[day], this);
        label->setObjectName(QString("%1(%2)").arg(dayLabelName).arg(day));
        label->setToolTip(msg::ToggleDayTip(day));
        connect(label, &QPushButton::clicked, this, [this, day] { ToggleDayRow(day); });
        dayLabels_[day] = label;
        layout->addWidget(label, day + 1, 0);
        for (int hour = 0; hour < kHours; ++hour) {
            auto* box = new StateCheckBox(QString(), this);
            box->setObjectName(QString("%1(%2)").arg(boxNamePrefixes.value(day)).arg(hour));
            box->setAccessibleName(msg::DayHourName(day, hour));
            box->setToolTip(box->accessibleName());
            boxes_[day][hour] = box;
            layout->addWidget(box, day + 1, hour + 1, Qt::AlignCenter);
        }
    }
    // Every hour column as wide as the widest ("23"), so the boxes line up evenly.
    int columnWidth = boxes_[0][0]->sizeHint().width();
    for (const QPushButton* label : hourLabels_) columnWidth = std::max(columnWidth, label->sizeHint().width());
    for (int hour = 0; hour < kHours; ++hour) {
        layout->setColumnMinimumWidth(hour + 1, columnWidth);
        layout->setColumnStretch(hour + 1, 1);
    }
    // One Tab stop: only the current cell takes Tab focus; the others are reached by the arrows.
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            QWidget* cell = Cell(row, column);
            if (!cell) continue;
            cell->installEventFilter(this);
            cell->setFocusPolicy(Qt::ClickFocus);
        }
    }
    MakeCurrent(currentRow_, currentColumn_);
}

QWidget* WeekHourGrid::Cell(int row, int column) const {
    if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return nullptr;
    if (row == 0) return column == 0 ? nullptr : hourLabels_[column - 1];
    if (column == 0) return dayLabels_[row - 1];
    return boxes_[row - 1][column - 1];
}

void WeekHourGrid::MakeCurrent(int row, int column) {
    if (!Cell(row, column)) return;
    if (QWidget* old = Cell(currentRow_, currentColumn_)) old->setFocusPolicy(Qt::ClickFocus);
    currentRow_ = row;
    currentColumn_ = column;
    Cell(row, column)->setFocusPolicy(Qt::StrongFocus);
    update();
}

bool WeekHourGrid::eventFilter(QObject* watched, QEvent* event) {
    auto* cell = qobject_cast<QWidget*>(watched);
    if (!cell) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // A click, or Tab coming in, makes the cell current; the frame follows the focus.
        for (int row = 0; row < kRows; ++row)
            for (int column = 0; column < kColumns; ++column)
                if (Cell(row, column) == cell && event->type() == QEvent::FocusIn) MakeCurrent(row, column);
        update();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~(Qt::KeypadModifier)) return false;
    int row = currentRow_;
    int column = currentColumn_;
    switch (key->key()) {
        case Qt::Key_Left: --column; break;
        case Qt::Key_Right: ++column; break;
        case Qt::Key_Up: --row; break;
        case Qt::Key_Down: ++row; break;
        case Qt::Key_Home: column = row == 0 ? 1 : 0; break;
        case Qt::Key_End: column = kColumns - 1; break;
        default: return false;
    }
    // The empty corner and the edges stop the move.
    if (QWidget* next = Cell(row, column)) {
        MakeCurrent(row, column);
        next->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

void WeekHourGrid::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // A clear frame around the focused cell: a box without a caption has little focus mark of its own.
    const QWidget* cell = Cell(currentRow_, currentColumn_);
    if (!cell || !cell->hasFocus()) return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell->geometry().adjusted(-2, -2, 1, 1));
}

void WeekHourGrid::SetDayCaptions(const QStringList& captions) {
    for (int day = 0; day < kDays; ++day) dayLabels_[day]->setText(captions.value(day));
}

void WeekHourGrid::DecodeDay(int day, const QString& text, BadCharacter bad) {
    if (day < 0 || day >= kDays) return;
    if (text.size() < kHours) {
        for (StateCheckBox* box : boxes_[day]) box->SetState(0);
        return;
    }
    for (int hour = 0; hour < kHours; ++hour) {
        const std::optional<qint32> digit = WholeNumber(text.mid(hour, 1), IntWidth::Bits16);
        if (digit && boxes_[day][hour]->SetState(*digit)) continue;
        if (bad == BadCharacter::Zero) boxes_[day][hour]->SetState(0);
    }
}

QString WeekHourGrid::EncodeDay(int day) const {
    if (day < 0 || day >= kDays) return {};
    QString text;
    text.reserve(kHours);
    for (const StateCheckBox* box : boxes_[day]) text += QChar('0' + box->State());
    return text;
}

void WeekHourGrid::ToggleDayRow(int day) {
    if (day < 0 || day >= kDays) return;
    const int target = boxes_[day][0]->State() == 1 ? 0 : 1;
    for (StateCheckBox* box : boxes_[day]) box->SetState(target);
}

void WeekHourGrid::ToggleHourColumn(int hour) {
    if (hour < 0 || hour >= kHours) return;
    const int target = boxes_[0][hour]->State() == 1 ? 0 : 1;
    for (int day = 0; day < kDays; ++day) boxes_[day][hour]->SetState(target);
}

}  // namespace quorvant
