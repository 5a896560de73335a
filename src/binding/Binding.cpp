#include "binding/Binding.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <exception>
#include <stdexcept>

#include "settings/ValueRules.h"
#include "widgets/ColourPanel.h"

namespace quorvant {

using schema::Key;
using schema::Section;

void WriteIniValue(IniAccessor& ini, const IniValue& value) {
    std::visit([&](const auto& v) { ini.WriteValue(v); }, value);
}

QString TextOf(const IniValue& value) {
    return std::visit(
        [](const auto& v) -> QString {
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, QString>)
                return v;
            else
                return QString::number(v);
        },
        value);
}

void Bindings::Add(Binding binding) {
    // Kept in the schema's order, so every pass walks the keys as the schema lists them.
    binding.section = &schema::SectionOf(*binding.key);
    const int index = schema::IndexOf(*binding.key);
    const auto at = std::upper_bound(bindings_.begin(), bindings_.end(), index,
                                     [](int i, const Binding& b) { return i < schema::IndexOf(*b.key); });
    bindings_.insert(at, std::move(binding));
}

QList<const Section*> Bindings::SectionsBound(schema::File file) const {
    QList<const Section*> sections;
    for (const Section& section : schema::SectionsOf(file))
        for (const Binding& b : bindings_)
            if (b.section == &section) {
                sections.append(&section);
                break;
            }
    return sections;
}

QList<const Binding*> Bindings::Of(const Section& section, const Filter& only) const {
    QList<const Binding*> rows;
    for (const Binding& b : bindings_)
        if (b.section == &section && (!only || only(*b.key))) rows.append(&b);
    return rows;
}

void Bindings::Read(IniAccessor& ini, schema::File file, const QString& section, const Filter& only) {
    for (const Section* s : SectionsBound(file)) {
        ini.SetSection(section.isNull() ? QString::fromLatin1(s->name) : section);
        for (const Binding* b : Of(*s, only)) {
            const auto step = [&] {
                ini.SetKey(b->key->Name());
                const QString text = ini.ReadValue();
                stored_.insert(b->key, ini.KeyExists() ? std::optional<QString>(text) : std::nullopt);
                b->read(text);
            };
            if (s->read == schema::ReadMode::Strict)
                step();
            else
                SkipOnFailure(step);
        }
    }
}

void WriteInOrder(IniAccessor& ini, const QList<const Binding*>& rows, const QStringList& order) {
    QList<const Binding*> ordered;
    for (const QString& name : order) {
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const Binding* b) { return b->key->WriteName() == name; });
        if (row == rows.end() || ordered.contains(*row))
            throw std::logic_error(("write order of [" + ini.Section() + "]: " + name).toStdString());
        ordered.append(*row);
    }
    if (ordered.size() != rows.size())
        throw std::logic_error(("write order of [" + ini.Section() + "] leaves out a key").toStdString());
    for (const Binding* b : ordered) {
        const IniValue value = b->write();
        ini.SetKey(b->key->WriteName());
        WriteIniValue(ini, value);
    }
}

void Bindings::Write(IniAccessor& ini, schema::File file, const QString& section, const Filter& only) const {
    for (const Section* s : SectionsBound(file)) {
        const auto writable = [&](const Key& key) { return !key.Has(schema::ReadOnly) && (!only || only(key)); };
        const QList<const Binding*> rows = Of(*s, writable);
        if (rows.isEmpty()) continue;
        // A part of the keys (`only`) is written in the order the whole section has.
        QStringList order = schema::WriteOrder(*s);
        if (only)
            order.removeIf([&](const QString& name) {
                return std::none_of(rows.begin(), rows.end(), [&](const Binding* b) { return b->key->WriteName() == name; });
            });
        ini.SetSection(section.isNull() ? QString::fromLatin1(s->name) : section);
        WriteInOrder(ini, rows, order);
    }
}

QList<PendingValue> Bindings::Pending(schema::File file, const QString& section) const {
    QList<PendingValue> values;
    for (const Section* s : SectionsBound(file)) {
        for (const Binding* b : Of(*s, [](const Key& key) { return !key.Has(schema::ReadOnly); })) {
            PendingValue value{schema::FileName(file), section.isNull() ? QString::fromLatin1(s->name) : section,
                               b->key->WriteName(), {}};
            try {
                value.text = TextOf(b->write());
            } catch (const std::exception&) {
                value.text = QStringLiteral("\x01");  // no stored text holds this
            }
            values.append(value);
        }
    }
    return values;
}

QList<SaveChange> Bindings::Changes(schema::File file, const QString& section) const {
    QList<SaveChange> changes;
    for (const Section* s : SectionsBound(file))
        for (const Binding* b : Of(*s, [](const Key& key) { return !key.Has(schema::ReadOnly); })) {
            SaveChange change{b->key, schema::FileName(file), section.isNull() ? QString::fromLatin1(s->name) : section,
                              stored_.value(b->key), {}, {}};
            try {
                change.written = TextOf(b->write());
            } catch (const std::exception&) {
                continue;  // refused by the save itself, which says why
            }
            if (change.stored == change.written) continue;
            if (change.stored) change.problem = schema::Interpret(*b->key, *change.stored).problem;
            changes.append(change);
        }
    return changes;
}

void Bindings::Wrote(schema::File file, const QString& section) {
    for (const SaveChange& change : Changes(file, section)) stored_.insert(change.key, change.written);
}

void Bindings::ApplyCaptions() const {
    for (const Binding& b : bindings_) {
        if (b.label) PutCaption(b.label, schema::LabelText(*b.key));
        // Like fields in several frames are told apart by the frame's caption, and a list would
        // otherwise be announced by its selected item.
        auto* list = qobject_cast<QComboBox*>(b.Field());
        if (b.label && b.Field() && (b.key->caption.group || list)) {
            b.Field()->setAccessibleName(schema::CaptionText(*b.key));
            if (list && list->lineEdit()) list->lineEdit()->setAccessibleName(schema::CaptionText(*b.key));
        }
        const QString unit = schema::UnitText(*b.key);
        if (b.unit) PutCaption(b.unit, unit);
        if (b.control && !unit.isEmpty()) b.control->setAccessibleDescription(unit);
    }
}

QWidget* Binding::Field() const {
    if (control) return control;
    if (auto* caption = qobject_cast<QLabel*>(label); caption && caption->buddy()) return caption->buddy();
    return label;
}

const Binding* Bindings::Of(const schema::Key& key) const {
    for (const Binding& b : bindings_)
        if (b.key == &key) return &b;
    return nullptr;
}

const Binding* Bindings::Of(const QWidget* field) const {
    for (const Binding& b : bindings_)
        if (b.Field() == field) return &b;
    return nullptr;
}

void PutCaption(QWidget* target, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(target))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(target))
        button->setText(text);
    else if (auto* frame = qobject_cast<QGroupBox*>(target))
        frame->setTitle(text);
    else if (auto* panel = qobject_cast<ColourPanel*>(target))
        panel->SetCaption(text);
}

}  // namespace quorvant
