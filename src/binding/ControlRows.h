#pragma once

#include "settings/KeyTable.h"
#include "settings/ValueRules.h"

class QLineEdit;
class QComboBox;
class QRadioButton;
class QAbstractButton;
class QCheckBox;

namespace quorvant {

class LedSpin;
class StateCheckBox;
class WeekHourGrid;

// Row factories for the value rules, bound to controls. A page's table is a list of these, so
// each key is declared once for both passes.

enum class TextWrite { AsIs, Trimmed };

// Text rule. `onlyWhenNotEmpty`: an empty text leaves the box as it was.
KeyRow TextRow(const QString& key, QLineEdit* box, TextWrite write = TextWrite::AsIs, bool onlyWhenNotEmpty = false);
// Empty-default rule into an LED spin; written as a 32-bit number.
KeyRow EmptyDefaultRow(const QString& key, LedSpin* spin, qint32 defaultValue, IntWidth readWidth = IntWidth::Bits32);
// Whole-number rule without default into an LED spin (empty fails); written as a 32-bit number.
KeyRow WholeNumberRow(const QString& key, LedSpin* spin);
// Whole-number rule into a form-level number; written with the given width.
KeyRow NumberRow(const QString& key, qint32* number, IntWidth width);
// One-means-on rule into a check box; written as its check state (16-bit).
KeyRow OneMeansOnRow(const QString& key, QCheckBox* box);
// Check-state rule; empty text fails unless `emptyIsOff`.
KeyRow CheckStateRow(const QString& key, StateCheckBox* box, bool emptyIsOff);
// List-position rule; empty text leaves the list as it was. Written as a 16-bit position, -1 for none.
KeyRow ListPositionRow(const QString& key, QComboBox* list);
// Pair rule: on selects `second`, off `first`; written 1 when `second` is selected.
KeyRow PairRow(const QString& key, QRadioButton* first, QRadioButton* second);
// One day string of a week-hour grid. `skipBadCharacters`: a bad character leaves its box as it
// was (the main window); otherwise it counts as 0.
KeyRow DayRow(const QString& key, WeekHourGrid* grid, int day, bool skipBadCharacters);

// The same row with another name for the write pass (the read/write name pairs).
KeyRow WrittenAs(KeyRow row, const QString& writeKey);

// Selects no button of an exclusive group of radio buttons.
void ClearRadio(QAbstractButton* button);
// Sets a list's selection; -1 clears it. Refuses (StepFailed) a position outside the list.
void SelectPosition(QComboBox* list, int position);

}  // namespace quorvant
