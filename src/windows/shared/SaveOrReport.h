#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace quorvant {

class ErrorReporter;
class IniAccessor;
class StatusLine;

// One press of a window's save: its files one by one, each as one transaction, so that a file that
// cannot be saved does not keep the others back. The window's controls are asked for their values
// on the window's thread; the commit runs on a thread of its own (BusyWait), and the question and
// the messages come on the window's thread once it is over.
class WindowSave {
public:
    // `status` (may be null) shows the progress, and at Finish what came of the save.
    WindowSave(QWidget* window, ErrorReporter& errors, StatusLine* status = nullptr);

    // Runs `writes` as one save transaction on `ini`'s file. When the save fails nothing is
    // written: `beforeReport` (if any) runs, then the user is told which file could not be saved
    // and why. When another program changed keys of the save since the window read them, the user
    // is asked first: keep their keys and write only the window's changes (the window then reads
    // the file again), overwrite all, or "Annuleren", which leaves the file as it is (and runs
    // `beforeReport`). Returns whether the save was committed.
    bool File(IniAccessor& ini, const std::function<void()>& writes, const std::function<void()>& beforeReport = {});

    // Tells the status line which files were saved (naming only those the save had to rewrite)
    // and, for the others, why not.
    void Finish();

private:
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
