#pragma once

// What a settings window tells the operator without asking anything: whether it holds edits that
// are not saved yet (and where), what the last save wrote and when, and the keyboard and window
// habits every window shares.

#include <QList>
#include <QObject>
#include <QStatusBar>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

#include "settings/KeyTable.h"

class QLabel;
class QPushButton;

namespace quorvant {

// One value a save would write: where to, and the text.
struct PendingValue {
    QString file;
    QString section;
    QString key;
    QString text;
    bool operator==(const PendingValue&) const = default;
};

// What the write pass of `table` would write into `file` now. Nothing is written; a row whose
// value cannot be formed gives a text no real value has, so it counts as a difference.
QList<PendingValue> PendingValues(const QString& file, const SectionTable& table);

// Tells the main window that some window's edit state changed or a window went.
class EditHub : public QObject {
    Q_OBJECT

signals:
    void anyChanged();
};

// Whether a window shows something else than it read or last saved: what its save would write now
// compared with what it would have written then. Every control of the window is watched; each
// value that changes is put down to the page (place) of the control the user changed.
class EditState : public QObject {
    Q_OBJECT

public:
    using Snapshot = std::function<QList<PendingValue>()>;
    // The page a control sits on; empty when the window has no pages.
    using PlaceOf = std::function<QString(QWidget* control)>;

    EditState(QWidget* window, Snapshot snapshot, PlaceOf placeOf = {});
    ~EditState() override;

    // Starts watching the window's controls; what the window shows now counts as read.
    void Watch();
    // What the window shows now counts as read or saved: every file, or only `files` (a save that
    // wrote one file of two).
    void Reset();
    void Reset(const QStringList& files);
    // Compares again, for a change that no control reports.
    void Check();

    bool Dirty() const;
    // The pages holding the differing values, in the order SetPlaceOrder gives (else as met).
    QStringList Places() const;
    void SetPlaceOrder(const QStringList& order) { placeOrder_ = order; }
    QWidget* Window() const { return window_; }

    // The edit states of all windows that exist now.
    static QList<EditState*> All();
    static EditHub& Hub();

signals:
    void changed();

private slots:
    void ControlChanged();

private:
    void Compare(QWidget* control);

    QWidget* window_;
    Snapshot snapshot_;
    PlaceOf placeOf_;
    QList<PendingValue> baseline_;
    QList<PendingValue> current_;
    QStringList placeOfEntry_;  // per entry of current_
    QStringList placeOrder_;
    bool watching_ = false;
};

// The status line at the foot of a settings window: on the left whether the window holds unsaved
// edits, or else what its last save wrote; on the right, optionally, the folder it edits.
class StatusLine : public QStatusBar {
    Q_OBJECT

public:
    StatusLine(QWidget* window, EditState::Snapshot snapshot, EditState::PlaceOf placeOf = {});

    EditState& Edits() { return *edits_; }
    // Starts watching once the window has read its settings.
    void Watch() { edits_->Watch(); }
    // The main window also names its open dialogs that hold edits: its quit button ends them all.
    void ListOtherWindows(bool list);
    void ShowFolder(const QString& folder);
    // After a save: these files are written; what the window shows counts as saved for them.
    void Saved(const QStringList& files);
    // After a read of new values into the controls (a dialog that shows another set).
    void Reloaded();

    QString Text() const;
    QLabel* Message() const { return message_; }
    QLabel* Folder() const { return folder_; }

private:
    void Refresh();

    EditState* edits_;
    QLabel* message_;
    QLabel* folder_ = nullptr;
    QString lastSave_;
    bool listOthers_ = false;
};

// Everything a dialog adds: the status line at the foot of its (box) layout, watching from now on;
// Ctrl+S for `save`; `buttons` (save, leave) last in the Tab order.
StatusLine* AddStatusLine(QWidget* window, EditState::Snapshot snapshot, QPushButton* save,
                          std::initializer_list<QWidget*> buttons);

// Ctrl+S presses the window's save button (while it can be pressed).
void AddSaveShortcut(QWidget* window, QPushButton* save);

// Moves the buttons to the end of the window's Tab order, in the order given: the window's own
// controls first, then save, then leave.
void PutButtonsLast(QWidget* window, std::initializer_list<QWidget*> buttons);

}  // namespace quorvant
