#include "binding/ControlRows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <limits>
#include <stdexcept>

#include "widgets/LedSpin.h"
#include "widgets/StateCheckBox.h"
#include "widgets/WeekHourGrid.h"

namespace quorvant {

using schema::Key;
using schema::Rule;

namespace {

[[noreturn]] void CannotShow(const Key& key, const char* control) {
    throw std::logic_error(("[" + key.Section() + "] " + key.Name() + ": its rule does not fit a " + control).toStdString());
}

void Expect(const Key& key, std::initializer_list<Rule> rules, const char* control) {
    if (std::find(rules.begin(), rules.end(), key.rule) == rules.end()) CannotShow(key, control);
}

}  // namespace

Binding Bind(const Key& key, QWidget* control, std::function<void(const QString&)> read,
             std::function<IniValue()> write) {
    return Binding{&key, std::move(read), std::move(write), control};
}

Binding Bind(const Key& key, QLineEdit* box) {
    Expect(key, {Rule::Text}, "text box");
    // A text box cuts what it is given at 32767 characters by default; a value must come back whole.
    box->setMaxLength(std::numeric_limits<int>::max());
    return Bind(
        key, box,
        [&key, box](const QString& text) {
            if (key.Has(schema::EmptyKeeps) && text.isEmpty()) return;
            box->setText(text);
        },
        [&key, box]() -> IniValue { return key.Has(schema::WrittenTrimmed) ? TrimSpaces(box->text()) : box->text(); });
}

Binding Bind(const Key& key, LedSpin* spin) {
    Expect(key, {Rule::EmptyDefault, Rule::WholeNumber}, "LED field");
    if (!key.hasLimits) CannotShow(key, "LED field without limits");
    spin->Configure(key.limits.digits, key.limits.lowest, key.limits.highest, key.limits.step, key.initial);
    return Bind(
        key, spin,
        [&key, spin](const QString& text) {
            if (key.rule == Rule::WholeNumber) {
                spin->SetValue(OrSkip(WholeNumber(text, key.width)));
                return;
            }
            const std::optional<qint32> value = EmptyDefault(text, key.fallback, key.width);
            spin->SetValue(key.Has(schema::FailGivesDefault) ? value.value_or(key.fallback) : OrSkip(value));
        },
        [spin]() -> IniValue { return spin->Value(); });
}

Binding Bind(const Key& key, qint32* number) {
    Expect(key, {Rule::WholeNumber}, "number");
    return Bind(
        key, nullptr, [&key, number](const QString& text) { *number = OrSkip(WholeNumber(text, key.width)); },
        [&key, number]() -> IniValue {
            if (key.width == IntWidth::Bits16) return static_cast<qint16>(*number);
            return *number;
        });
}

Binding Bind(const Key& key, QCheckBox* box) {
    if (key.rule == Rule::CheckState) {
        auto* states = qobject_cast<StateCheckBox*>(box);
        if (!states) CannotShow(key, "two-state check box");
        return Bind(
            key, box,
            [&key, states](const QString& text) {
                if (key.Has(schema::EmptyIsOff) && text.isEmpty()) {
                    states->SetState(0);
                    return;
                }
                if (!states->SetState(OrSkip(WholeNumber(text, IntWidth::Bits16)))) throw StepFailed();
            },
            [states]() -> IniValue { return static_cast<qint16>(states->State()); });
    }
    Expect(key, {Rule::OneMeansOn}, "check box");
    return Bind(
        key, box,
        [&key, box](const QString& text) {
            if (key.Has(schema::EmptyKeeps) && text.isEmpty()) return;
            if (OneMeansOn(text))
                box->setChecked(true);
            else if (!key.Has(schema::WordKeeps) || HasNumberForm(text))
                box->setChecked(false);
        },
        [box]() -> IniValue { return static_cast<qint16>(CheckStateNumber(box->checkState())); });
}

Binding Bind(const Key& key, QComboBox* list) {
    if (key.rule == Rule::Text) {
        return Bind(
            key, list,
            [&key, list](const QString& text) {
                if (key.Has(schema::EmptyKeeps) && text.isEmpty()) return;
                list->setEditText(text);
            },
            [list]() -> IniValue { return list->currentText(); });
    }
    Expect(key, {Rule::ListPosition}, "list");
    return Bind(
        key, list,
        [&key, list](const QString& text) {
            if (text.isEmpty() && key.Has(schema::EmptyKeeps)) return;
            if (text.isEmpty() && key.hasDefault) {
                SelectPosition(list, key.fallback);
                return;
            }
            SelectPosition(list, OrSkip(ListPosition(text, list->count())));
        },
        [list]() -> IniValue { return static_cast<qint16>(list->currentIndex()); });
}

Binding Bind(const Key& key, QRadioButton* first, QRadioButton* second) {
    Expect(key, {Rule::Pair}, "pair of option buttons");
    return Bind(
        key, second,
        [first, second](const QString& text) {
            if (OneMeansOn(text))
                second->setChecked(true);
            else
                first->setChecked(true);
        },
        [second]() -> IniValue { return static_cast<qint16>(second->isChecked() ? 1 : 0); });
}

Binding Bind(const Key& key, QRadioButton* button) {
    Expect(key, {Rule::OneMeansOn}, "option button");
    return Bind(
        key, button,
        [&key, button](const QString& text) {
            if (key.Has(schema::EmptyKeeps) && text.isEmpty()) return;
            if (OneMeansOn(text))
                button->setChecked(true);
            else
                ClearRadio(button);
        },
        [button]() -> IniValue { return static_cast<qint16>(button->isChecked() ? 1 : 0); });
}

Binding Bind(const Key& key, QButtonGroup* group) {
    Expect(key, {Rule::Option}, "group of option buttons");
    const auto select = [group](qint32 id) {
        QAbstractButton* button = group->button(id);
        if (!button) throw StepFailed();
        button->setChecked(true);
    };
    return Bind(
        key, group->buttons().value(0),
        [&key, select](const QString& text) {
            if (key.Has(schema::ExactText)) {
                qint32 id = key.fallback;
                for (qint32 n = key.limits.lowest; n <= key.limits.highest; ++n)
                    if (text == QString::number(n)) id = n;
                select(id);
                return;
            }
            if (text.isEmpty() && key.hasDefault) {
                select(key.fallback);
                return;
            }
            const qint32 id = OrSkip(WholeNumber(text, key.width));
            if (id < key.limits.lowest || id > key.limits.highest) throw StepFailed();
            select(id);
        },
        [group]() -> IniValue { return static_cast<qint16>(std::max(0, group->checkedId())); });
}

Binding Bind(const Key& key, WeekHourGrid* grid, int day) {
    Expect(key, {Rule::DayString}, "week-hour grid");
    return Bind(
        key, grid,
        [&key, grid, day](const QString& text) {
            grid->DecodeDay(day, text,
                            key.Has(schema::BadHourKeeps) ? WeekHourGrid::BadCharacter::Skip
                                                          : WeekHourGrid::BadCharacter::Zero);
        },
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
