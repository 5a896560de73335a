#pragma once

// A settings file changed on disk by another hand (quorvant-ini, the history window, another
// program, a script) reaches every window that shows it: a window without unsaved edits to the
// file reads it again at once, one with edits keeps them, is told, and can read it again.

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>

#include "settings/AtomicFile.h"

class QFileSystemWatcher;
class QPushButton;
class QTimer;
class QWidget;

namespace quorvant {

class IniAccessor;
class StatusLine;

class OutsideChanges : public QObject {
    Q_OBJECT

public:
    // The file a window shows: its path (asked anew each time: a folder read from another file
    // may move), the accessor it reads and saves it with, and how it reads it into its controls.
    struct Shown {
        std::function<QString()> path;
        IniAccessor* ini = nullptr;
        std::function<void()> read;
    };

    // Watches from now on; the window has read its files. The status line tells what changed and
    // holds the button "Opnieuw inlezen".
    OutsideChanges(QWidget* window, StatusLine* line, QList<Shown> files);

    // The one of `window`, if it watches.
    static OutsideChanges* Of(QWidget* window);

    // Looks at every file now: the window was activated, a watcher fired, the history window put
    // a version back.
    void Check();
    // The window saved `path`; keeping what others changed (`merged`), so it reads the file again.
    void Saved(const QString& path, bool merged);
    // Reads every file told about again, dropping the window's edits to them.
    void ReadAgain();

    QPushButton* ReadAgainButton() const { return button_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch();
    // Reads `file` again and tells the status line what changed.
    void Read(int index, const QString& changes);
    QString ByWhom(const QString& path) const;

    QWidget* window_;
    StatusLine* line_;
    QList<Shown> files_;
    QHash<QString, FileStamp> stamps_;  // per path, as the window last read or saved it
    QHash<QString, QDateTime> since_;   // and when
    QSet<int> told_;                    // files changed on disk that the window did not read again
    QFileSystemWatcher* watcher_;
    QTimer* settle_;
    QPushButton* button_;
};

}  // namespace quorvant
