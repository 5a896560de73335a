#include "binding/ControlRows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <limits>
#include <stdexcept>

#include "schema/Interpret.h"
#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "widgets/WeekHourGrid.h"

namespace quorvant {

using schema::Key;
using schema::Rule;

namespace {

[[noreturn]] void CannotShow(const Key& key, const char* control) {
    throw std::logic_error(
        ("[" + key.Section() + "] " + key.Name() + ": its rule does not fit a " + control).toStdString());
}

void Expect(const Key& key, std::initializer_list<Rule> rules, const char* control) {
    if (std::find(rules.begin(), rules.end(), key.rule) == rules.end()) CannotShow(key, control);
}

}  // namespace

Binding Bind(const Key& key, QWidget* control, std::function<void(const QString&)> read,
             std::function<IniValue()> write) {
    // A text box cuts what it is given at 32767 characters by default; a value must come back whole.
    QLineEdit* box = qobject_cast<QLineEdit*>(control);
    if (auto* list = qobject_cast<QComboBox*>(control)) box = list->lineEdit();
    if (box) box->setMaxLength(std::numeric_limits<int>::max());
    return Binding{&key, std::move(read), std::move(write), control};
}

namespace {

// A read step: the key's reading of the text reaches `show` unless it leaves the control as it
// is; a refused text abandons the step.
template <class Show>
std::function<void(const QString&)> Reader(const Key& key, Show show) {
    return [&key, show](const QString& text) {
        const schema::Reading reading = schema::Interpret(key, text);
        if (reading.outcome == schema::Reading::Refused) throw StepFailed();
        if (reading.outcome == schema::Reading::Value) show(reading);
    };
}

}  // namespace

Binding Bind(const Key& key, QLineEdit* box) {
    Expect(key, {Rule::Text}, "text box");
    return Bind(
        key, box, Reader(key, [box](const schema::Reading& r) { box->setText(r.text); }),
        [&key, box]() -> IniValue { return key.Has(schema::WrittenTrimmed) ? TrimSpaces(box->text()) : box->text(); });
}

Binding Bind(const Key& key, LedSpin* spin) {
    Expect(key, {Rule::EmptyDefault, Rule::WholeNumber}, "LED field");
    if (!key.hasLimits) CannotShow(key, "LED field without limits");
    spin->Configure(key.limits.digits, key.limits.lowest, key.limits.highest, key.limits.step, key.initial);
    return Bind(key, spin, Reader(key, [spin](const schema::Reading& r) { spin->SetValue(*r.number); }),
                [spin]() -> IniValue { return spin->Value(); });
}

Binding Bind(const Key& key, qint32* number) {
    Expect(key, {Rule::WholeNumber}, "number");
    return Bind(key, nullptr, Reader(key, [number](const schema::Reading& r) { *number = *r.number; }),
                [&key, number]() -> IniValue {
                    if (key.width == IntWidth::Bits16) return static_cast<qint16>(*number);
                    return *number;
                });
}

Binding Bind(const Key& key, QCheckBox* box) {
    if (key.rule == Rule::CheckState) {
        auto* states = qobject_cast<StateCheckBox*>(box);
        if (!states) CannotShow(key, "two-state check box");
        return Bind(key, box, Reader(key, [states](const schema::Reading& r) { states->SetState(*r.number); }),
                    [states]() -> IniValue { return static_cast<qint16>(states->State()); });
    }
    Expect(key, {Rule::OneMeansOn}, "check box");
    return Bind(key, box, Reader(key, [box](const schema::Reading& r) { box->setChecked(*r.number == 1); }),
                [box]() -> IniValue { return static_cast<qint16>(CheckStateNumber(box->checkState())); });
}

Binding Bind(const Key& key, QComboBox* list) {
    if (key.rule == Rule::Text)
        return Bind(key, list, Reader(key, [list](const schema::Reading& r) { list->setEditText(r.text); }),
                    [list]() -> IniValue { return list->currentText(); });
    Expect(key, {Rule::ListPosition}, "list");
    return Bind(key, list, Reader(key, [list](const schema::Reading& r) { SelectPosition(list, *r.number); }),
                [list]() -> IniValue { return static_cast<qint16>(list->currentIndex()); });
}

Binding Bind(const Key& key, QRadioButton* first, QRadioButton* second) {
    Expect(key, {Rule::Pair}, "pair of option buttons");
    return Bind(
        key, second,
        Reader(key, [first, second](const schema::Reading& r) { (*r.number == 1 ? second : first)->setChecked(true); }),
        [second]() -> IniValue { return static_cast<qint16>(second->isChecked() ? 1 : 0); });
}

Binding Bind(const Key& key, QRadioButton* button) {
    Expect(key, {Rule::OneMeansOn}, "option button");
    return Bind(key, button,
                Reader(key,
                       [button](const schema::Reading& r) {
                           if (*r.number == 1)
                               button->setChecked(true);
                           else
                               ClearRadio(button);
                       }),
                [button]() -> IniValue { return static_cast<qint16>(button->isChecked() ? 1 : 0); });
}

Binding Bind(const Key& key, QButtonGroup* group) {
    Expect(key, {Rule::Option}, "group of option buttons");
    return Bind(key, group->buttons().value(0),
                Reader(key,
                       [group](const schema::Reading& r) {
                           QAbstractButton* button = group->button(*r.number);
                           if (!button) throw StepFailed();
                           button->setChecked(true);
                       }),
                [group]() -> IniValue { return static_cast<qint16>(std::max(0, group->checkedId())); });
}

Binding Bind(const Key& key, WeekHourGrid* grid, int day) {
    Expect(key, {Rule::DayString}, "week-hour grid");
    const auto bad =
        key.Has(schema::BadHourKeeps) ? WeekHourGrid::BadCharacter::Skip : WeekHourGrid::BadCharacter::Zero;
    return Bind(key, grid,
                Reader(key, [grid, day, bad](const schema::Reading& r) { grid->DecodeDay(day, r.text, bad); }),
                [grid, day]() -> IniValue { return grid->EncodeDay(day); });
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
