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

#include "settings/IniError.h"
#include "settings/KeyChanges.h"
#include "settings/SaveContext.h"

namespace quorvant {
class IniDocument;
}

namespace quorvant::history {

// The history folder's name, beside the settings files.
QString FolderName();
// The history folder of a settings file (beside the file its path leads to, symlinks followed).
QString FolderOf(const QString& settingsFile);

// How much is kept, per file: its newest kKeptVersions at most. Within kFolderBytes for the whole
// history folder, the oldest versions of files that hold more than kFairVersions go first; then,
// should the folder still be over, the oldest of the file that takes the most room, down to its
// last version. The version a save has just recorded always stays, however large.
inline constexpr int kKeptVersions = 200;
inline constexpr int kFairVersions = 10;
inline constexpr qint64 kFolderBytes = qint64(50) * 1024 * 1024;
// Version numbers run from 1 to this (nine digits); a name with another number is foreign.
inline constexpr qint64 kLastVersion = 999999999;

// One kept version: the content a save replaced.
struct Version {
    QString file;    // the settings file it belongs to, as the caller named it
    QString name;    // that file's name
    qint64 id = 0;   // counts up per file
    QDateTime time;  // UTC: when the save replaced this content
    QString user;
    QString account;  // the account that ran the save, when another than the user (sudo: root)
    QString host;
    QString program;
    // "save", "restore of version N" (N of the same file), or for chosen values of it
    // "restore of 1 value from version N: [S] K" (more: "restore of 3 values …: [S] K, [S] K2, …";
    // only their count when they do not fit the header)
    QString action;
    qint64 size = 0;  // of the content
    QByteArray sha256;  // of the content, in hex
    QString entry;    // path of the history file
    // How many keys the save that replaced this content changed, and which, as recorded with it;
    // -1 and nothing for a version from before they were recorded. `changes` is also nothing when
    // they did not all fit the header (ChangesOf works them out then).
    qint64 changed = -1;
    std::optional<QList<KeyChange>> changes;
};

// A file in the history folder that is skipped, or why the folder itself is not used.
struct Problem {
    enum class Kind {
        Foreign,       // not named as a version
        Damaged,       // named as one, but its header, size or checksum is wrong
        Unreadable,    // errorNumber says why
        Link,          // the history folder is a symbolic link, which is never followed
        NotAFolder,    // the history folder's name is taken by something else: fileKind says what
        Untrusted,     // the history folder belongs to another account than the file's owner or root
        NumbersUsedUp, // a version of the file already has the last number
    };
    QString entry;
    Kind kind = Kind::Damaged;
    int errorNumber = 0;
    FileKind fileKind = FileKind::Missing;
};

struct Listing {
    QList<Version> versions;  // oldest first
    QList<Problem> problems;
};

// The versions of a settings file; damaged and foreign files are skipped and named in problems
// (foreign ones only when `withForeign`). A missing history folder gives an empty listing.
// Reads only the headers (a bounded start of each file): ReadContent checks the content itself.
Listing VersionsOf(const QString& settingsFile, bool withForeign = true);

// The content of a version, checked against its size and checksum; nothing, with `problem` set,
// when it is damaged or cannot be read.
std::optional<QByteArray> ReadContent(const Version& version, Problem* problem = nullptr);

// What the saves that replaced a file's versions (as VersionsOf lists them) changed: what each
// version recorded, or for a version that recorded none (written before they were, or too many
// for its header) worked out from its content and the next version's, or the file's as it is now
// after the last. Reads contents only for those, each once.
class ChangeReader {
public:
    ChangeReader(const QString& settingsFile, QList<Version> versions);
    const QList<Version>& Versions() const { return versions_; }
    // Nothing, with `problem` set, when a content it needs cannot be read.
    std::optional<QList<KeyChange>> ChangesOf(qsizetype at, Problem* problem = nullptr);
    // The recorded count, or the changes' count; -1 when they cannot be worked out.
    qint64 CountOf(qsizetype at, Problem* problem = nullptr);

private:
    std::shared_ptr<const IniDocument> ContentOf(qsizetype at, Problem* problem);
    QString file_;
    QList<Version> versions_;
    // The last two contents read, parsed, by place (versions_.size(): the file now).
    QList<std::pair<qsizetype, std::shared_ptr<const IniDocument>>> read_;
};

// Puts `content` (a version's, or part of one) back as a normal save: the folder locked, the file
// read fresh, replaced atomically and the replaced content recorded, with the context's action as
// the version's action (RestoreAction). With `expected` (the bytes the caller last saw) and the file now holding other
// bytes, throws IniError(ChangedElsewhere) naming the keys that differ, unless `overwriteChanged`.
// Throws IniError when the file cannot be replaced; it is then left as it was.
void PutBack(const QString& settingsFile, const QByteArray& content, const SaveContext& context,
             const std::optional<QByteArray>& expected = std::nullopt, bool overwriteChanged = false);

// The action a restore of version `id` records, and a restore of the chosen keys' values
// (section and key) from it.
QString RestoreAction(qint64 id);
QString ValueRestoreAction(qint64 id, const QList<std::pair<QString, QString>>& keys);

// What a save tells beyond its own success: the history could not be written (the save went
// ahead all the same), or old versions were dropped to stay within the retention.
struct Notice {
    enum class Kind { NotRecorded, Dropped };
    Kind kind = Kind::NotRecorded;
    QString file;     // the settings file the save was for (symlinks followed)
    Problem problem;  // NotRecorded: the history folder or file that failed, and why
    // Dropped: the versions dropped (of any file of the folder), oldest first, and the files whose
    // history the folder's size left with their last version alone.
    QList<Version> dropped;
    QStringList single;
};
using NoticeSink = std::function<void(const Notice&)>;
// Receives the notices of every save of the process that replaced its file, while the save still
// holds the folder lock: it must not touch settings files. Returns the sink it replaces. None: notices are dropped.
NoticeSink SetNoticeSink(NoticeSink sink);

// The program named in the versions this process records ("quorvant-ini 1.0.1"); by default the
// executable's name.
void SetProgram(const QString& program);

// For tests: the clock the versions are stamped with (UTC); empty is the system's. Returns the
// clock it replaces.
std::function<QDateTime()> SetClock(std::function<QDateTime()> clock);

// The settings engine's part, called by ReplaceFile under the folder lock: the constructor
// records `old` (the content the save replaces) as a pending version of `target`, before the file
// is replaced; Confirmed() after the replacement gives it its final name and applies the
// retention. Destroyed unconfirmed (the replacement failed), it removes the pending version. Never
// throws: a history that cannot be written is a Notice once the file is replaced; the save goes
// ahead. `changes` gives the keys the save changes from `old` to `next`; without it they are
// worked out from the two. `action`: what the save was (SaveContext); empty for "save".
class Recording {
public:
    Recording(const QByteArray& target, const QByteArray& old, const QByteArray& next,
              const std::function<QList<KeyChange>()>& changes = {}, const QString& action = {});
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;
    void Confirmed();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace quorvant::history
