#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

#include "settings/IniAccessor.h"
#include "settings/SaveContext.h"

class QPushButton;
class QWidget;

namespace quorvant {

class ErrorReporter;
class IniAccessor;
class StatusLine;

// One save or restore at a time in the whole program. While one runs (its commit on a thread of
// its own, its questions), the windows still paint and answer screen readers; every window's save
// and restore buttons are disabled meanwhile, and a save started all the same is refused without
// a word (a WindowSave without the turn).
class SaveTurn : public QObject {
    Q_OBJECT

public:
    static SaveTurn& Hub();
    bool Taken() const { return taken_; }

signals:
    void changed(bool taken);

private:
    friend class WindowSave;
    bool Take();
    void GiveBack();
    bool taken_ = false;
};

// Disables `button` while any save or restore of the program runs; then it is enabled again (and
// has the focus again, if the save took it away), unless it was disabled before.
void DisableDuringSaves(QPushButton* button);

// One press of a window's save: its files one by one, each as one transaction, so that a file that
// cannot be saved does not keep the others back. The window's controls are asked for their values
// on the window's thread; the commit runs on a thread of its own (BusyWait), and the question and
// the messages come on the window's thread once it is over.
class WindowSave {
public:
    // `status` (may be null) shows the progress, and at Finish what came of the save. Takes the
    // program's save turn, when no other save or restore holds it.
    WindowSave(QWidget* window, ErrorReporter& errors, StatusLine* status = nullptr);
    ~WindowSave();
    WindowSave(const WindowSave&) = delete;
    WindowSave& operator=(const WindowSave&) = delete;

    // False while another save or restore of the program runs: this one then saves nothing and
    // tells nothing (File and Commit return false at once, after `beforeReport`).
    bool HasTurn() const { return turn_; }
    // What the history records of the commits (a restore); a plain "save" without.
    void RecordAs(const QString& action) { action_ = action; }

    // Runs `writes` as one save transaction on `ini`'s file. When the save fails nothing is
    // written: `beforeReport` (if any) runs, then the user is told which file could not be saved
    // and why. When another program changed keys of the save since the window read them, the user
    // is asked first: keep their keys and write only the window's changes (the window then reads
    // the file again), overwrite all, or "Annuleren", which leaves the file as it is (and runs
    // `beforeReport`). Returns whether the save was committed.
    bool File(IniAccessor& ini, const std::function<void()>& writes, const std::function<void()>& beforeReport = {});
    // As File, for a commit of the caller's own on the file `path` (a whole version put back):
    // `commit` runs off the window's thread with the save's context, and once more, told to
    // overwrite, when the user wants what another program changed overwritten.
    bool Commit(const QString& path, const std::function<void(const SaveContext&, bool overwriteChanged)>& commit,
                const std::function<void()>& beforeReport = {});

    // Tells the status line which files were saved (naming only those the save had to rewrite)
    // and, for the others, why not; nothing without the turn.
    void Finish();

private:
    // The question-and-retry loop of File and Commit; `attempt` makes one try, calling `offThread`
    // for the part that commits. `merges`: the question offers to keep the other program's keys.
    using OffThread = std::function<void(const std::function<void(const SaveContext&)>&)>;
    bool Attempt(const QString& path, bool merges,
                 const std::function<void(ChangedOnDisk changed, const OffThread&)>& attempt,
                 const std::function<void()>& beforeReport);

    bool turn_;
    QString action_;
    QWidget* window_;
    ErrorReporter& errors_;
    StatusLine* status_;
    QStringList saved_;
    QStringList rewritten_;
    QStringList failures_;
};

// Whether a save of some window is running (its commit or its question): its accessors are the
// save's until it ends.
bool SaveUnderWay();

// What a window tells the user once when it opens on `path`: that the file could not be read or
// decoded, why, and what the fields show instead. Empty for a sound or a missing file.
QString NotReadMessage(const QString& path);

// The save of a window with one file.
bool SaveOrReport(QWidget* window, ErrorReporter& errors, IniAccessor& ini, const std::function<void()>& writes,
                  const std::function<void()>& beforeReport = {}, StatusLine* status = nullptr);

}  // namespace quorvant
