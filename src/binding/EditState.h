#pragma once

// Whether a window shows something else than it read or last saved, and where.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "binding/Binding.h"

class QWidget;

namespace quorvant {

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
    // Whether values of `file` (a file name, as PendingValue has it) differ.
    bool Dirty(const QString& file) const;
    // What the window would have written after the last read or save.
    const QList<PendingValue>& Baseline() const { return baseline_; }
    // What the window would write now.
    QList<PendingValue> Now() const { return snapshot_(); }
    // The pages holding the differing values, in the order SetPlaceOrder gives (else as met).
    QStringList Places() const;
    void SetPlaceOrder(const QStringList& order) { placeOrder_ = order; }
    QWidget* Window() const { return window_; }

    // The edit states of all windows that exist now.
    static QList<EditState*> All();
    static EditHub& Hub();

signals:
    void changed();
    // Some value the window would save differs from the last comparison: the user edited.
    void edited();
    // After every comparison and reset, whether or not the edit state changed: what the window
    // shows may differ from before.
    void compared();
    // What the window shows now counts as read (`files` empty: every file) or as saved to `files`.
    void reset(const QStringList& files);

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

}  // namespace quorvant
