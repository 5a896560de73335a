#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <variant>

#include "schema/Interpret.h"
#include "schema/KeySchema.h"
#include "settings/IniAccessor.h"

class QWidget;

namespace quorvant {

// What a write step hands to WriteValue: text, or a 16- or 32-bit whole number.
using IniValue = std::variant<QString, qint16, qint32>;
void WriteIniValue(IniAccessor& ini, const IniValue& value);
QString TextOf(const IniValue& value);

// One key of the schema joined to the control (or form-level number) that shows it.
struct Binding {
    const schema::Key* key = nullptr;
    // Applies the key's rule to its control; throws StepFailed (or anything) to skip the step.
    std::function<void(const QString& text)> read;
    // What the save writes. It changes nothing: windows also ask it whether they hold unsaved edits.
    std::function<IniValue()> write;
    QWidget* control = nullptr;
    // Gets the key's caption whenever the window puts its texts on (LaadScherm).
    QWidget* label = nullptr;
    // Gets the key's unit then; the control gets it as its accessible description.
    QWidget* unit = nullptr;
    // The window's section the key is read and written in; set when the binding is added.
    const schema::Section* section = nullptr;

    Binding Labelled(QWidget* caption, QWidget* unitLabel = nullptr) const {
        Binding b = *this;
        b.label = caption;
        b.unit = unitLabel;
        return b;
    }
    // The field that shows the key: its control, or for a form-level number the control its label
    // names (a feed's device list).
    QWidget* Field() const;
};

// One value a save would write: where to, and the text.
struct PendingValue {
    QString file;
    QString section;
    QString key;
    QString text;
    bool operator==(const PendingValue&) const = default;
};

// A key whose text in its file the next save changes: as the window read (or last saved) it,
// and as the save writes it; with what the key's rule found in the stored text.
struct SaveChange {
    const schema::Key* key = nullptr;
    QString file;
    QString section;
    std::optional<QString> stored;  // nothing: the file lacks the key and the save adds it
    QString written;
    std::optional<schema::Problem> problem;
};

// The keys one window binds. The passes walk them in the schema's order: its sections in their
// order, the keys of a section in read order for reading and in write order for saving.
class Bindings {
public:
    using Filter = std::function<bool(const schema::Key&)>;

    void Add(Binding binding);

    // Reads the bound keys of `file`, selecting each section: the schema's, or `section` when it is
    // not null (the chosen one of a patterned section). A section read with skip-on-failure skips a
    // failing step alone; a strict one lets the first failure go up.
    void Read(IniAccessor& ini, schema::File file, const QString& section = {}, const Filter& only = {});
    // Writes the bound keys of `file` in write order; a failure goes up.
    void Write(IniAccessor& ini, schema::File file, const QString& section = {}, const Filter& only = {}) const;
    // What Write would write now. A key whose value cannot be formed gives a text no stored value
    // has, so it counts as a difference.
    QList<PendingValue> Pending(schema::File file, const QString& section = {}) const;
    // The keys of `file` whose text the next save changes from what was read or last saved.
    QList<SaveChange> Changes(schema::File file, const QString& section = {}) const;
    // After a save of `file`: what it wrote counts as stored.
    void Wrote(schema::File file, const QString& section = {});
    // Puts each key's caption on its label (and, with the frame's caption before it, into the
    // accessible name of a field in a frame or of a list), and its unit on its unit label and into
    // the control's accessible description.
    void ApplyCaptions() const;

    const QList<Binding>& All() const { return bindings_; }
    // The binding of a key, or of the field that shows it; null when the window binds neither.
    const Binding* Of(const schema::Key& key) const;
    const Binding* Of(const QWidget* field) const;
    // The text the key had in its file at the last read; nothing when it was absent or not read.
    // The checks look at it while the control still shows what that read gave it.
    std::optional<QString> StoredText(const schema::Key& key) const { return stored_.value(&key); }

private:
    // The bound keys of one of the window's sections, in read order.
    QList<const Binding*> Of(const schema::Section& section, const Filter& only) const;
    QList<const schema::Section*> SectionsBound(schema::File file) const;

    QList<Binding> bindings_;
    QHash<const schema::Key*, std::optional<QString>> stored_;
};

// Writes `rows` into the selected section in `order` (write names). An order that does not name
// each row exactly once is a programming error (std::logic_error), raised before anything is written.
void WriteInOrder(IniAccessor& ini, const QList<const Binding*>& rows, const QStringList& order);

// Puts a caption on a label, button, frame or coloured panel.
void PutCaption(QWidget* target, const QString& text);

}  // namespace quorvant
