#pragma once

// What a settings window knows about one of its fields, at the field: the status line tells the
// key's caption and place, its limits, unit and default, and the file's text where the field shows
// another; the field's menu puts the default in, opens the key's history and copies its name. An
// optional marker shows the fields that differ from their default.

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

#include "binding/Binding.h"
#include "windows/shared/FieldOverlay.h"

class QMenu;

namespace quorvant {

class CheckMarks;
class Preferences;
class StatusLine;

// Where the focus goes to show a binding's key: its field, or a week grid's first hour of the
// key's day.
QWidget* FocusTargetOf(const Binding& binding);

class FieldHelp : public QObject {
    Q_OBJECT

public:
    // Opens the recorded history of one key in one section.
    using ShowHistory = std::function<void(const schema::Key& key, const QString& section)>;

    // `shownSection`: the section a patterned key is shown from (null: the schema's own).
    // `marks` may be null; `showHistory` may be empty (no history entry in the menu).
    FieldHelp(QWidget* window, const Bindings& bindings, StatusLine* statusLine, CheckMarks* marks,
              Preferences& preferences, ShowHistory showHistory, std::function<QString()> shownSection = {});
    ~FieldHelp() override;

    // The binding of the field that is, or holds, `widget`; null when none.
    const Binding* BindingAt(const QWidget* widget) const;
    // The status line's text for a field; empty for none.
    QString HelpFor(const Binding& binding) const;
    // The section a binding's value is read from and written to now.
    QString SectionOf(const Binding& binding) const;
    // The field's own menu (owned by `parent`).
    QMenu* BuildMenu(const Binding& binding, QWidget* parent);
    // Puts the schema's default into the field, as a read of it would; the save writes it.
    void UseDefault(const Binding& binding);
    // The marker on fields that differ from their default; remembered for the user.
    void MarkNotDefault(bool on);
    bool MarkingNotDefault() const { return markNotDefault_; }
    QList<QWidget*> MarkedNotDefault() const;

    // "[Section] Key".
    static QString KeyName(const schema::Key& key, const QString& section);
    // A value of the key as the help shows it (colours in hex).
    static QString ValueText(const schema::Key& key, qint32 value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowMenu(const Binding& binding, QWidget* target, QPoint at);
    void Refresh();
    void RefreshMarkers();
    std::optional<QString> StoredText(const Binding& binding) const;

    QWidget* window_;
    const Bindings& bindings_;
    StatusLine* statusLine_;
    QPointer<CheckMarks> marks_;
    Preferences& preferences_;
    ShowHistory showHistory_;
    std::function<QString()> shownSection_;
    const Binding* focused_ = nullptr;
    const Binding* hovered_ = nullptr;
    // What the file holds after the window's last save of a key; before one, the read's text.
    QHash<const schema::Key*, std::optional<QString>> saved_;
    bool markNotDefault_ = false;
    QHash<QWidget*, QPointer<FieldOverlay>> notDefault_;
};

}  // namespace quorvant
