#pragma once

// Building a window's controls: named controls, rows of bound fields, the dialogs' hour frame.

#include <QLabel>
#include <QString>
#include <utility>

#include "binding/ControlRows.h"

class QBoxLayout;
class QGridLayout;
class QGroupBox;
class QLayout;

namespace quorvant {

class WeekHourGrid;

// A control of type W with the object name `name`, built from the remaining arguments (as W's
// constructor takes them: caption and/or parent).
template <class W, class... Args>
W* Named(const QString& name, Args&&... args) {
    auto* widget = new W(std::forward<Args>(args)...);
    widget->setObjectName(name);
    return widget;
}

// Fields one under the other in a grid on `parent`: a caption, its control and what follows it (a
// unit, a browse button), each on the next row. A control with nothing after it also takes that
// column; only a control that wants to grow (a text box) fills its cell.
class FieldRows {
public:
    FieldRows(QWidget* parent, Bindings& bindings);

    // A control bound to `key` on the next row: its label (the caption, its buddy) before it and,
    // where the key has a unit, a label `unitName` after it.
    template <class W>
    W* Bound(const QString& name, const QString& labelName, const schema::Key& key, const QString& unitName = {}) {
        auto* control = Named<W>(name, parent_);
        auto* label = Named<QLabel>(labelName, parent_);
        QLabel* unit = key.HasUnit() ? Named<QLabel>(unitName, parent_) : nullptr;
        Row(label, control, unit);
        bindings_.Add(Bind(key, control).Labelled(label, unit));
        return control;
    }
    // A caption (a label, whose buddy the control becomes, or a check box), its control and what follows it.
    void Row(QWidget* caption, QWidget* control, QWidget* after = nullptr);
    // A caption and controls laid out together after it.
    void Row(QWidget* caption, QLayout* rest);
    // A control that is its own caption (a check box, a button), across the row.
    void Row(QWidget* whole);

    QGridLayout* Grid() const { return grid_; }

private:
    QWidget* parent_;
    QGridLayout* grid_;
    Bindings& bindings_;
    int row_ = 0;
};

// The dialogs' hour frame "fraUur" at the end of `layout`: a week-hour grid whose boxes are
// chkI_MA..chkI_ZO and whose row and column buttons are lblI_Dag and lblI_Uur.
WeekHourGrid* AddHourFrame(QBoxLayout* layout, QWidget* parent, QGroupBox*& frame);

}  // namespace quorvant
