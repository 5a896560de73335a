#include "binding/ControlRows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <limits>
#include <QRadioButton>

#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "widgets/WeekHourGrid.h"

namespace quorvant {

KeyRow TextRow(const QString& key, QLineEdit* box, TextWrite write, bool onlyWhenNotEmpty) {
    // A text box cuts what it is given at 32767 characters by default; a value must come back whole.
    box->setMaxLength(std::numeric_limits<int>::max());
    return Row(
        key,
        [=](const QString& text) {
            if (onlyWhenNotEmpty && text.isEmpty()) return;
            box->setText(text);
        },
        [=]() -> IniValue { return write == TextWrite::Trimmed ? TrimSpaces(box->text()) : box->text(); });
}

KeyRow EmptyDefaultRow(const QString& key, LedSpin* spin, qint32 defaultValue, IntWidth readWidth) {
    return Row(
        key, [=](const QString& text) { spin->SetValue(OrSkip(EmptyDefault(text, defaultValue, readWidth))); },
        [=]() -> IniValue { return spin->Value(); });
}

KeyRow WholeNumberRow(const QString& key, LedSpin* spin) {
    return Row(
        key, [=](const QString& text) { spin->SetValue(OrSkip(WholeNumber(text, IntWidth::Bits32))); },
        [=]() -> IniValue { return spin->Value(); });
}

KeyRow NumberRow(const QString& key, qint32* number, IntWidth width) {
    return Row(
        key, [=](const QString& text) { *number = OrSkip(WholeNumber(text, width)); },
        [=]() -> IniValue {
            if (width == IntWidth::Bits16) return static_cast<qint16>(*number);
            return *number;
        });
}

KeyRow OneMeansOnRow(const QString& key, QCheckBox* box) {
    return Row(
        key, [=](const QString& text) { box->setChecked(OneMeansOn(text)); },
        [=]() -> IniValue { return static_cast<qint16>(CheckStateNumber(box->checkState())); });
}

KeyRow CheckStateRow(const QString& key, StateCheckBox* box, bool emptyIsOff) {
    return Row(
        key,
        [=](const QString& text) {
            if (emptyIsOff && text.isEmpty()) {
                box->SetState(0);
                return;
            }
            if (!box->SetState(OrSkip(WholeNumber(text, IntWidth::Bits16)))) throw StepFailed();
        },
        [=]() -> IniValue { return static_cast<qint16>(box->State()); });
}

KeyRow ListPositionRow(const QString& key, QComboBox* list) {
    return Row(
        key,
        [=](const QString& text) {
            if (text.isEmpty()) return;
            SelectPosition(list, OrSkip(ListPosition(text, list->count())));
        },
        [=]() -> IniValue { return static_cast<qint16>(list->currentIndex()); });
}

KeyRow PairRow(const QString& key, QRadioButton* first, QRadioButton* second) {
    return Row(
        key,
        [=](const QString& text) {
            if (OneMeansOn(text))
                second->setChecked(true);
            else
                first->setChecked(true);
        },
        [=]() -> IniValue { return static_cast<qint16>(second->isChecked() ? 1 : 0); });
}

KeyRow DayRow(const QString& key, WeekHourGrid* grid, int day, bool skipBadCharacters) {
    return Row(
        key,
        [=](const QString& text) {
            grid->DecodeDay(day, text,
                            skipBadCharacters ? WeekHourGrid::BadCharacter::Skip : WeekHourGrid::BadCharacter::Zero);
        },
        [=]() -> IniValue { return grid->EncodeDay(day); });
}

KeyRow WrittenAs(KeyRow row, const QString& writeKey) {
    row.writeKey = writeKey;
    return row;
}

void ClearRadio(QAbstractButton* button) {
    QButtonGroup* group = button->group();
    const bool exclusive = group ? group->exclusive() : button->autoExclusive();
    if (group)
        group->setExclusive(false);
    else
        button->setAutoExclusive(false);
    button->setChecked(false);
    if (group)
        group->setExclusive(exclusive);
    else
        button->setAutoExclusive(exclusive);
}

void SelectPosition(QComboBox* list, int position) {
    if (position < -1 || position >= list->count()) throw StepFailed();
    list->setCurrentIndex(position);
}

}  // namespace quorvant
