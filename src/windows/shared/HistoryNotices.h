#pragma once

// What the settings history tells the windows beside their own saves: a save whose history could
// not be written, old versions dropped, a file the history window put back (the windows showing
// it read it again or say so: OutsideChanges).

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace quorvant {

class StatusLine;

class HistoryNotices : public QObject {
    Q_OBJECT

public:
    // The one hub of the program. Made on first use: from then on the engine's notices reach the
    // windows, and the versions this program records name it.
    static HistoryNotices& Hub();

    // The history window put a version back into `file`.
    void Restored(const QString& file);

signals:
    // From the engine, after a save of `file` (as the save named it); `text` in the window's words.
    void notice(const QString& file, const QString& text);
    // After a restore: windows that show `file` look at it at once (OutsideChanges).
    void restored(const QString& file);

private:
    HistoryNotices();
};

// Whether `file` is one of `files` (compared as the files the paths lead to).
bool AmongFiles(const QStringList& files, const QString& file);

// Shows in `line` what the hub tells about the files `files` names.
void ShowHistoryNotices(StatusLine* line, std::function<QStringList()> files);

}  // namespace quorvant
