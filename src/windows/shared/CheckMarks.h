#pragma once

// The checks of schema/KeyChecks in a settings window: a mark on each field whose value the server
// would not read as meant, a marker on its tab page, and a status-line button that counts them and
// goes to the next one (F8; Shift+F8 to the one before). Marks never change a value and never stop
// a save; a value the save cannot write at all (a word in a port written as a number) stops it on
// its own, and its mark says so.

#include <QHash>
#include <QList>
#include <QPushButton>
#include <QString>
#include <functional>
#include <optional>

#include "binding/Binding.h"
#include "binding/EditState.h"
#include "schema/KeyChecks.h"

class QTabWidget;

namespace quorvant {

class FieldMark;

// The status line's "N waarschuwingen op …" button, and the marks it keeps. It checks, after every
// change the window's edit state sees, what each bound key holds: the text read from the file while
// the field still shows what that read gave it (a text the field could not show included), else
// what a save would write now.
class CheckMarks : public QPushButton {
    Q_OBJECT

public:
    // `tabs`: the window's pages, null for a window without. `shownSection`: the section a
    // patterned key is shown from (null: the schema's own). `statusLine` holds the button: made
    // there, a later layout pass does not move it to the end of the Tab order.
    // `facts`: what the window's services answered, for the checks of devices and genres; it
    // outlives the button.
    CheckMarks(QWidget* window, QWidget* statusLine, const Bindings& bindings, EditState& edits, QTabWidget* tabs,
               const schema::MachineFacts& facts, std::function<QString()> shownSection = {});
    ~CheckMarks() override;

    const QList<schema::Finding>& Findings() const { return findings_; }
    // The reasons a field is marked for, one per line; empty when it is not marked.
    QString MarkOf(QWidget* field) const;
    // The same for the field `widget` is or lies in (the focus may be on a part of a field).
    QString ReasonFor(QWidget* widget) const;
    // Shows the page of the next (previous) marked field after (before) the one that has the focus,
    // wrapping round, and focuses it.
    void GoToNext();
    void GoToPrevious();
    void Refresh();

signals:
    // After every Refresh: a field's mark or its reasons may have changed.
    void refreshed();

private:
    void TakeBaseline(const QStringList& files);
    std::optional<QString> PendingText(const Binding& binding) const;
    std::optional<QString> ValueOf(const schema::Key& key, const QString& section) const;
    int TabOf(QWidget* field) const;
    void Mark(QWidget* field, const QStringList& reasons, bool blocksSave);
    void Unmark(QWidget* field);
    void GoTo(int step);

    QWidget* window_;
    const Bindings& bindings_;
    QTabWidget* tabs_;
    const schema::MachineFacts& facts_;
    std::function<QString()> shownSection_;
    // Per key: what a save would have written right after the last read or save, and the file's
    // text then.
    QHash<const schema::Key*, std::optional<QString>> baseline_;
    QHash<const schema::Key*, std::optional<QString>> stored_;
    // What a save would write now, per key, as the last Refresh asked it.
    QHash<const schema::Key*, std::optional<QString>> pending_;
    QList<schema::Finding> findings_;
    QList<QWidget*> marked_;  // in the order of the findings
    QHash<QWidget*, FieldMark*> marks_;
    bool refreshQueued_ = false;
};

}  // namespace quorvant
