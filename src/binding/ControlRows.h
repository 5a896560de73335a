#pragma once

#include "binding/Binding.h"
#include "settings/ValueRules.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace quorvant {

class LedSpin;
class WeekHourGrid;

// A key of the schema bound to a control: the key's rule, default, limits and irregularities say
// how its text reaches the control and what the save writes. A rule the control cannot show is a
// programming error (std::logic_error).

// Text rule (written trimmed where the key says so); an editable list's text, too.
Binding Bind(const schema::Key& key, QLineEdit* box);
// An LED field: its limits and digits come from the key. Written as a 32-bit number.
Binding Bind(const schema::Key& key, LedSpin* spin);
// A form-level number (whole-number rule), written with the key's width.
Binding Bind(const schema::Key& key, qint32* number);
// One-means-on (written as the box's check state) or, for a state check box, the check-state rule.
Binding Bind(const schema::Key& key, QCheckBox* box);
// List-position rule, or the text of an editable list (text rule).
Binding Bind(const schema::Key& key, QComboBox* list);
// Pair rule: on selects `second`, off `first`; written 1 when `second` is selected.
Binding Bind(const schema::Key& key, QRadioButton* first, QRadioButton* second);
// One-means-on into one button of an exclusive pair: 1 selects it; any other number or a word
// clears it and leaves the partner alone. Written 1 when it is selected.
Binding Bind(const schema::Key& key, QRadioButton* button);
// Option rule: the id of the selected button of the group (0 when none is).
Binding Bind(const schema::Key& key, QButtonGroup* group);
// One day string of a week-hour grid.
Binding Bind(const schema::Key& key, WeekHourGrid* grid, int day);
// A key whose way into its control is the window's own.
Binding Bind(const schema::Key& key, QWidget* control, std::function<void(const QString&)> read,
             std::function<IniValue()> write);

// Selects no button of an exclusive group of radio buttons.
void ClearRadio(QAbstractButton* button);
// Sets a list's selection; -1 clears it. Refuses (StepFailed) a position outside the list.
void SelectPosition(QComboBox* list, int position);

}  // namespace quorvant
