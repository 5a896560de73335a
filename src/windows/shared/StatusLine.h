#pragma once

// What a settings window tells the operator without asking anything: whether it holds edits that
// are not saved yet (and where), whether a save is under way, and what the last save wrote and
// when, or why it failed.

#include <QStatusBar>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

#include "binding/EditState.h"

class QLabel;
class QPushButton;

namespace quorvant {

// Where a save of the window is.
enum class SaveProgress { None, Saving, WaitingForFolder };

// The status line at the foot of a settings window. On the left, the first that applies: the save
// under way; why the last save failed (until the next save or edit); the unsaved edits; what the
// last save wrote. On the right, optionally, the folder or the file it edits.
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
    // A dialog's one file: its name, and its path as tool tip.
    void ShowFile(const QString& path);
    void ShowProgress(SaveProgress progress);
    // After a save: these files are written; what the window shows counts as saved for them.
    void Saved(const QStringList& files) { SaveEnded(files, files, {}); }
    // After a save: `saved` hold what the window shows now (of them, `rewritten` had to be
    // replaced for it); `failures` say for the others why not (msg::FileAndReason).
    void SaveEnded(const QStringList& saved, const QStringList& rewritten, const QStringList& failures);
    // After a read of new values into the controls (a dialog that shows another set).
    void Reloaded();
    // Something the window should know beside its own edits (the settings history: a file changed
    // on disk, a history not written); shown after the rest until the next save begins.
    void ShowNotice(const QString& text);

    // How many values the next save writes otherwise than the file holds although nobody edited
    // them; told beside the edits.
    void CountRewrites(std::function<int()> count);
    // What is known about the field that has the focus or the mouse; empty: nothing is shown.
    void ShowHelp(const QString& text);
    QString HelpText() const;

    QString Text() const;
    QLabel* Message() const { return message_; }
    QLabel* Folder() const { return folder_; }

private:
    void Refresh();
    void ShowPlace(const QString& text);

    EditState* edits_;
    QLabel* message_;
    QLabel* help_;
    QLabel* folder_ = nullptr;
    QString lastSave_;
    QString notice_;
    QString failure_;
    SaveProgress progress_ = SaveProgress::None;
    bool listOthers_ = false;
    std::function<int()> rewrites_;
    int rewriteCount_ = 0;
    bool rewritesCounted_ = false;
};

// Everything a dialog adds: the status line at the foot of its (box) layout, watching from now on;
// Ctrl+S for `save`, which is disabled while any save runs; `buttons` (save, leave) last in the
// Tab order.
StatusLine* AddStatusLine(QWidget* window, EditState::Snapshot snapshot, QPushButton* save,
                          std::initializer_list<QWidget*> buttons);

}  // namespace quorvant
