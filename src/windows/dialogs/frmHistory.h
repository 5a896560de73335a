#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "platform/ServiceInterfaces.h"
#include "settings/AtomicFile.h"
#include "settings/History.h"
#include "settings/KeyChanges.h"
#include "windows/shared/DialogWindow.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace quorvant {

// Puts the old values (`before`) of the chosen changes of `version` back into its file, after
// showing what that changes (key, caption, now → after) and asking; the history records it as a
// restore of those values. `shown`: the file as the asking window last showed it, so the question
// can say that it changed since. False (the user told why, or having said no) when nothing was put
// back.
bool RestoreValues(QWidget* window, ErrorReporter& errors, const history::Version& version,
                   const QList<KeyChange>& chosen, const std::optional<QByteArray>& shown = std::nullopt);

// "Geschiedenis": the saves of the settings files the program edits, newest first (when, who,
// which program, which file, how many keys), the changes the selected save made, and putting the
// version it replaced back, whole or only the chosen values. A restore first shows what it changes
// and asks; then it is a save like any other (WindowSave): one at a time, locked, atomic, asking
// before it overwrites what changed since, and recorded in the history.
// The list is read off the window's thread from the versions' headers, so the window shows at
// once whatever the history holds; the changes of versions that did not record them follow.
class frmHistory : public DialogWindow {
    Q_OBJECT

public:
    // `files`: paths of the settings files whose history is shown.
    frmHistory(const QStringList& files, const Services& services, QWidget* parent);
    ~frmHistory() override;

    // Reads the history and the files again; the selected version stays selected.
    void Reload();
    // Whether the list is being read (the changes of older versions may still follow).
    bool Reading() const { return reading_; }
    // Puts the selected version back whole, or the chosen changes' old values. False (the user
    // told why, or having said no) when nothing was put back.
    bool cmdRestoreVersion_Click();
    bool cmdRestoreValue_Click();
    // Shows only the versions that changed `key` of `section` in `file` (one of the files), with
    // the value each left it; their changes list holds only that key, chosen, so putting the value
    // back is one press. The title names the key.
    void ShowOnly(const QString& file, const QString& section, const QString& key);

    QTreeWidget* lstVersions = nullptr;
    QTreeWidget* lstChanges = nullptr;
    QLabel* lblStatus = nullptr;
    QPushButton* cmdRestoreVersion = nullptr;
    QPushButton* cmdRestoreValue = nullptr;
    QPushButton* cmdStop = nullptr;

protected:
    // Coming back to the window after a save elsewhere shows the history as it is now.
    bool event(QEvent* event) override;

private:
    struct Loaded;
    const history::Version* Selected() const;
    void Show(const Loaded& loaded);
    // A version's changes worked out by the reader (it did not record them).
    void ShowCount(const QString& file, qint64 id, const std::optional<QList<KeyChange>>& changes);
    void ShowStatus();
    void ShowChanges();
    void UpdateButtons();
    // Stamps of the files and their history folders, to tell whether a reload is due.
    QList<FileStamp> StampsNow() const;
    // After a restore: the status says what was put back (`values`: the action of chosen values).
    void Restored(const history::Version& version, const QString& values = {});
    void StopReaders();
    // Hides what ShowOnly leaves out; nothing without it.
    void ApplyKeyFilter();
    bool InKeyFilter(const KeyChange& change) const;

    QStringList files_;
    Services services_;
    QList<history::Version> rows_;       // newest first
    QHash<QString, QByteArray> now_;     // per file, as last read
    QHash<QString, QByteArray> nowSha_;  // and its SHA-256
    QList<FileStamp> stamps_;
    QStringList problems_;  // lines of the status: the folders not used, the skipped files
    QString done_;          // the last restore
    QStringList notices_;   // what the engine said about it
    bool reading_ = false;
    // Readers still running stop when told; each reload has its own.
    std::vector<std::thread> readers_;
    std::shared_ptr<std::atomic<bool>> stop_;
    struct KeyFilter {
        QString file, section, key;
    };
    std::optional<KeyFilter> only_;
};

// The history of one key of `file` in a window of its own beside `parent`. One at a time: asking
// for another key closes the one shown.
frmHistory* ShowFieldHistory(const QString& file, const QString& section, const QString& key, const Services& services,
                             QWidget* parent);

}  // namespace quorvant
