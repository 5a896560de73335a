#pragma once

// The settings history: every save keeps the content it replaces, so an engineer can see what
// changed, when and by whom, and put it back.
//
// It lives in a hidden folder beside the files (".quorvant-history"), one plain file per version:
// a few "Name: value" header lines (file, version, time in UTC, user, host, program, what the save
// was, size and SHA-256 of the content), an empty line, then the content exactly as the file held
// it. The entry's name is FILE.vNNNNNN.YYYYMMDDTHHMMSSZ, so `ls` lists them in order and retention
// needs no more than the folder listing. Version numbers count up per file.
//
// A save writes the entry as FILE.vN.TIME.part-XXXXXX, syncs it, renames it to FILE.vN.TIME.pending
// and syncs the history folder, all before the settings file itself is replaced; after that
// replacement the entry takes its final name. A pending entry whose save was killed before the
// replacement holds exactly what the file still holds: it is not listed and the next save removes
// it; any other pending entry counts as a version (the next save gives it its final name). So a
// kill leaves either no new version and the old file, or both, and never a half-written version.

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace quorvant::history {

// The history folder's name, beside the settings files.
QString FolderName();
// The history folder of a settings file (beside the file its path leads to, symlinks followed).
QString FolderOf(const QString& settingsFile);

// How much is kept: the last kKeptVersions of each file or all of the last kKeptDays, whichever
// keeps more, within kFolderBytes for the whole history folder; the oldest go first. The version a
// save has just recorded always stays.
inline constexpr int kKeptVersions = 200;
inline constexpr int kKeptDays = 90;
inline constexpr qint64 kFolderBytes = qint64(50) * 1024 * 1024;

// One kept version: the content a save replaced.
struct Version {
    QString file;    // the settings file it belongs to, as the caller named it
    QString name;    // that file's name
    qint64 id = 0;   // counts up per file
    QDateTime time;  // UTC: when the save replaced this content
    QString user;
    QString host;
    QString program;
    QString action;   // "save", or "restore of version N" (N of the same file)
    qint64 size = 0;  // of the content
    QString entry;    // path of the history file
};

// A file in the history folder that is skipped.
struct Problem {
    enum class Kind {
        Foreign,     // not named as a version
        Damaged,     // named as one, but its header, size or checksum is wrong
        Unreadable,  // errorNumber says why
    };
    QString entry;
    Kind kind = Kind::Damaged;
    int errorNumber = 0;
};

struct Listing {
    QList<Version> versions;  // oldest first
    QList<Problem> problems;
};

// The versions of a settings file; damaged and foreign files are skipped and named in problems
// (foreign ones only when `withForeign`). A missing history folder gives an empty listing.
// Reads only the headers: ReadContent checks the content itself.
Listing VersionsOf(const QString& settingsFile, bool withForeign = true);

// The content of a version, checked against its size and checksum; nothing, with `problem` set,
// when it is damaged or cannot be read.
std::optional<QByteArray> ReadContent(const Version& version, Problem* problem = nullptr);

// Puts `content` (a version's, or part of one) back as a normal save: the folder locked, the file
// read fresh, replaced atomically and the replaced content recorded, with `action` as the
// version's action. With `expected` (the bytes the caller last saw) and the file now holding other
// bytes, throws IniError(ChangedElsewhere) naming the keys that differ, unless `overwriteChanged`.
// Throws IniError when the file cannot be replaced; it is then left as it was.
void PutBack(const QString& settingsFile, const QByteArray& content, const QString& action,
             const std::optional<QByteArray>& expected = std::nullopt, bool overwriteChanged = false);

// The action a restore of version `id` records.
QString RestoreAction(qint64 id);

// What a save tells beyond its own success: the history could not be written (the save went
// ahead all the same), or old versions were dropped to stay within the retention.
struct Notice {
    enum class Kind { NotRecorded, Dropped };
    Kind kind = Kind::NotRecorded;
    QString file;         // the settings file the save was for (symlinks followed)
    QString place;        // NotRecorded: the history folder or file that failed
    int errorNumber = 0;  // NotRecorded: why
    QList<Version> dropped;
};
using NoticeSink = std::function<void(const Notice&)>;
// Receives the notices of every save of the process that replaced its file, while the save still
// holds the folder lock: it must not touch settings files. Returns the sink it replaces. None: notices are dropped.
NoticeSink SetNoticeSink(NoticeSink sink);

// The program named in the versions this process records ("quorvant-ini 1.0.1"); by default the
// executable's name.
void SetProgram(const QString& program);

// What the saves of this thread record as their action; empty for "save". A caller that commits on
// another thread hands it on there with an ActionScope.
QString CurrentAction();

// While it lives, the saves of this thread record `action` instead of "save".
class ActionScope {
public:
    explicit ActionScope(const QString& action);
    ~ActionScope();
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;

private:
    QString previous_;
};

// For tests: the clock the versions are stamped with (UTC); empty is the system's. Returns the
// clock it replaces.
std::function<QDateTime()> SetClock(std::function<QDateTime()> clock);

// The settings engine's part, called by ReplaceFile under the folder lock: the constructor
// records `old` (the content the save replaces) as a pending version of `target`, before the file
// is replaced; Confirmed() after the replacement gives it its final name and applies the
// retention. Destroyed unconfirmed (the replacement failed), it removes the pending version. Never
// throws: a history that cannot be written is a Notice once the file is replaced; the save goes ahead.
class Recording {
public:
    Recording(const QByteArray& target, const QByteArray& old);
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;
    void Confirmed();

private:
    QByteArray target_;
    QByteArray folder_;   // the history folder
    QByteArray pending_;  // path of the pending entry; empty when nothing was recorded
    QByteArray final_;
    struct Entries;
    std::unique_ptr<Entries> entries_;
    std::optional<Notice> failure_;
};

}  // namespace quorvant::history
