#include "windows/shared/Controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "widgets/WeekHourGrid.h"

namespace quorvant {

namespace {
// A control that wants to grow fills its cell; any other keeps its size, at the left.
Qt::Alignment AlignmentOf(QWidget* control) {
    return control->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag ? Qt::Alignment() : Qt::AlignLeft;
}
}  // namespace

FieldRows::FieldRows(QWidget* parent, Bindings& bindings)
    : parent_(parent), grid_(new QGridLayout(parent)), bindings_(bindings) {}

void FieldRows::Row(QWidget* caption, QWidget* control, QWidget* after) {
    if (auto* label = qobject_cast<QLabel*>(caption)) label->setBuddy(control);
    grid_->addWidget(caption, row_, 0);
    grid_->addWidget(control, row_, 1, 1, after ? 1 : 2, AlignmentOf(control));
    if (after) grid_->addWidget(after, row_, 2, AlignmentOf(after));
    ++row_;
}

void FieldRows::Row(QWidget* caption, QLayout* rest) {
    grid_->addWidget(caption, row_, 0);
    grid_->addLayout(rest, row_++, 1, 1, -1);
}

void FieldRows::Row(QWidget* whole) { grid_->addWidget(whole, row_++, 0, 1, -1, AlignmentOf(whole)); }

WeekHourGrid* AddHourFrame(QBoxLayout* layout, QWidget* parent, QGroupBox*& frame) {
    frame = Named<QGroupBox>("fraUur", parent);
    auto* hours = new QVBoxLayout(frame);
    auto* grid = new WeekHourGrid({"chkI_MA", "chkI_DI", "chkI_WO", "chkI_DO", "chkI_VR", "chkI_ZA", "chkI_ZO"},
                                  "lblI_Dag", "lblI_Uur", frame);
    hours->addWidget(grid);
    layout->addWidget(frame);
    return grid;
}

}  // namespace quorvant
