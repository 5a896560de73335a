#include "settings/History.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "settings/AtomicFile.h"
#include "settings/HistoryFormat.h"
#include "settings/IniDocument.h"
#include "settings/IniError.h"
#include "settings/KeyChanges.h"
#include "settings/SafeFolder.h"

namespace quorvant::history {

namespace {

using files::SafeFolder;
using format::Entry;
using format::EntryName;

const QByteArray kFolder = QByteArrayLiteral(".quorvant-history");
// Most headers end within the first read; a longer one is read on to the header's bound.
constexpr qsizetype kFirstRead = 4096;
// The content is hashed and written in pieces of this size, while they are in the cache.
constexpr qsizetype kPiece = qsizetype(1) << 20;

NoticeSink g_sink;
QString g_program;
std::function<QDateTime()> g_clock;
// A value restore names its keys in the action while they fit the header's field (256 characters).
constexpr qsizetype kNamedKeysChars = 200;

QDateTime Now() { return g_clock ? g_clock().toUTC() : QDateTime::currentDateTimeUtc(); }

void Tell(const Notice& notice) {
    if (g_sink) g_sink(notice);
}

QString Program() {
    if (!g_program.isEmpty()) return g_program;
    if (QCoreApplication::instance() && !QCoreApplication::applicationName().isEmpty())
        return QCoreApplication::applicationName();
    return files::ProcessName();
}

QByteArray ParentOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    if (slash == 0) return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray BaseName(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// The file a settings path leads to, as ReplaceFile replaces it.
QString Resolved(const QString& settingsFile) {
    const QString canonical = QFileInfo(settingsFile).canonicalFilePath();
    return canonical.isEmpty() ? settingsFile : canonical;
}

QString PathIn(const QByteArray& folder, const QByteArray& name) { return QFile::decodeName(folder + '/' + name); }

// Why the history folder is not used.
Problem FolderProblem(const SafeFolder& folder, const QByteArray& path) {
    Problem problem{QFile::decodeName(path), Problem::Kind::Unreadable, folder.error, folder.kind};
    switch (folder.refusal) {
        case SafeFolder::Refusal::Link:
            problem.kind = Problem::Kind::Link;
            break;
        case SafeFolder::Refusal::NotAFolder:
            problem.kind = Problem::Kind::NotAFolder;
            break;
        case SafeFolder::Refusal::Untrusted:
            problem.kind = Problem::Kind::Untrusted;
            break;
        default:
            if (problem.errorNumber == 0) problem.errorNumber = EIO;
    }
    return problem;
}

// The history folder of a settings file, opened for reading; nothing (`problem` set unless there
// is simply none) when it cannot or must not be used.
std::optional<SafeFolder> OpenToRead(const QString& settingsFile, const QByteArray& path, std::optional<Problem>* problem) {
    const files::Ownership owner = files::OwnershipOf(QFile::encodeName(Resolved(settingsFile))).value_or(files::Ownership{});
    SafeFolder folder = SafeFolder::Open(path, owner, false);
    if (folder.IsOpen()) return folder;
    if (folder.refusal != SafeFolder::Refusal::Missing) *problem = FolderProblem(folder, path);
    return std::nullopt;
}

struct Scan {
    QList<Entry> entries;
    QList<QByteArray> foreign;
};

Scan ScanFolder(const SafeFolder& folder) {
    Scan scan;
    for (const SafeFolder::Entry& found : folder.List()) {
        const std::optional<EntryName> parsed = format::ParseName(found.name);
        if (!parsed || !found.regular)
            scan.foreign.append(found.name);
        else
            scan.entries.append(Entry{found.name, *parsed, found.size});
    }
    return scan;
}

// Reads an entry's header, or (`whole`) the entry, and checks it against its name and its size
// on disk (and, read whole, its checksum). Never reads past the header of an entry whose header
// is not sound.
std::optional<format::Header> ReadEntry(const SafeFolder& folder, const QByteArray& folderPath, const Entry& entry,
                                        bool whole, QByteArray* content, Problem* problem) {
    const auto fail = [&](Problem::Kind kind, int error) -> std::optional<format::Header> {
        if (problem) *problem = Problem{PathIn(folderPath, entry.name), kind, error};
        return std::nullopt;
    };
    QByteArray bytes;
    qint64 onDisk = 0;
    int error = 0;
    if (!folder.Read(entry.name, kFirstRead, &bytes, &onDisk, &error)) return fail(Problem::Kind::Unreadable, error);
    if (!bytes.contains("\n\n") && onDisk > bytes.size() &&
        !folder.Read(entry.name, format::kHeaderLimit, &bytes, &onDisk, &error))
        return fail(Problem::Kind::Unreadable, error);
    std::optional<format::Header> header = format::ParseHeader(bytes);
    // The header lies within what was read, so onDisk - length cannot overflow; a size can be anything.
    if (!header || header->version.name != entry.parsed.File() || header->version.id != entry.parsed.id ||
        onDisk - header->length != header->version.size)
        return fail(Problem::Kind::Damaged, 0);
    if (whole) {
        if (!folder.Read(entry.name, onDisk, &bytes, &onDisk, &error)) return fail(Problem::Kind::Unreadable, error);
        if (bytes.size() != header->length + header->version.size) return fail(Problem::Kind::Damaged, 0);
        bytes.remove(0, header->length);
        if (QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() != header->version.sha256)
            return fail(Problem::Kind::Damaged, 0);
        if (content) *content = std::move(bytes);
    }
    header->version.entry = PathIn(folderPath, entry.name);
    return header;
}

// What a settings file holds now; nothing (`error` set) when it cannot be read.
std::optional<QByteArray> CurrentContent(const QString& path, int* error = nullptr) {
    QByteArray bytes;
    FileStamp stamp;
    std::optional<IniError> problem;
    if (ReadWholeFile(path, &bytes, &stamp, &problem)) return bytes;
    if (error) *error = problem && problem->Details().errorNumber ? problem->Details().errorNumber : EINVAL;
    return std::nullopt;
}

// A pending entry counts as a version unless its save was killed before the file was replaced:
// then the file still holds exactly the entry's content.
bool PendingCounts(const QByteArray& content, const std::optional<QByteArray>& fileNow) {
    return !fileNow || *fileNow != content;
}

// Under the folder lock: removes the parts of killed saves, and settles the pending entries they
// left (`target`'s content is `targetNow`, the others are read). Returns the entries that remain.
QList<Entry> CleanUp(const SafeFolder& folder, const QByteArray& historyFolder, const QList<Entry>& entries,
                     const QByteArray& target, const QByteArray& targetNow) {
    const QByteArray settingsFolder = ParentOf(historyFolder);
    QList<Entry> remaining;
    for (Entry entry : entries) {
        if (entry.parsed.state == EntryName::State::Part) {
            // A part another writer still holds (a file system without folder locks) stays.
            folder.RemoveIfUnused(entry.name);
            continue;
        }
        if (entry.parsed.state == EntryName::State::Pending) {
            const QByteArray settingsFile = settingsFolder + '/' + entry.parsed.file;
            QByteArray content;
            if (!ReadEntry(folder, historyFolder, entry, true, &content, nullptr))
                continue;  // listed as damaged; left for the administrator
            const std::optional<QByteArray> now = settingsFile == target
                                                      ? std::optional<QByteArray>(targetNow)
                                                      : CurrentContent(QFile::decodeName(settingsFile));
            if (!PendingCounts(content, now)) {
                folder.Remove(entry.name);
                continue;
            }
            const QByteArray final = entry.name.left(entry.name.lastIndexOf('.'));
            if (!folder.Rename(entry.name, final)) continue;
            entry.name = final;
            entry.parsed.state = EntryName::State::Final;
        }
        remaining.append(entry);
    }
    return remaining;
}

Version DroppedVersion(const Entry& entry, const QByteArray& historyFolder) {
    Version version;
    version.name = entry.parsed.File();
    version.file = PathIn(ParentOf(historyFolder), entry.parsed.file);
    version.id = entry.parsed.id;
    version.time = entry.parsed.Time();
    version.entry = PathIn(historyFolder, entry.name);
    return version;
}

}  // namespace

QString FolderName() { return QString::fromLatin1(kFolder); }

QString FolderOf(const QString& settingsFile) {
    return QFile::decodeName(ParentOf(QFile::encodeName(Resolved(settingsFile))) + '/' + kFolder);
}

Listing VersionsOf(const QString& settingsFile, bool withForeign) {
    Listing listing;
    const QString resolved = Resolved(settingsFile);
    const QByteArray fileName = QFile::encodeName(QFileInfo(resolved).fileName());
    const QByteArray folderPath = QFile::encodeName(FolderOf(settingsFile));
    std::optional<Problem> refused;
    const std::optional<SafeFolder> folder = OpenToRead(settingsFile, folderPath, &refused);
    if (!folder) {
        if (refused) listing.problems.append(*refused);
        return listing;
    }
    const Scan scan = ScanFolder(*folder);
    if (withForeign)
        for (const QByteArray& foreign : scan.foreign)
            listing.problems.append(Problem{PathIn(folderPath, foreign), Problem::Kind::Foreign, 0});
    std::optional<std::optional<QByteArray>> fileNow;  // read once, when a pending entry needs it
    for (const Entry& entry : scan.entries) {
        if (entry.parsed.file != fileName || entry.parsed.state == EntryName::State::Part) continue;
        Problem problem;
        const bool pending = entry.parsed.state == EntryName::State::Pending;
        QByteArray content;
        std::optional<format::Header> header = ReadEntry(*folder, folderPath, entry, pending, &content, &problem);
        if (!header) {
            listing.problems.append(problem);
            continue;
        }
        if (pending) {
            if (!fileNow) fileNow = CurrentContent(resolved);
            if (!PendingCounts(content, *fileNow)) continue;
        }
        header->version.file = settingsFile;
        listing.versions.append(header->version);
    }
    std::sort(listing.versions.begin(), listing.versions.end(),
              [](const Version& a, const Version& b) { return a.id < b.id; });
    std::sort(listing.problems.begin(), listing.problems.end(),
              [](const Problem& a, const Problem& b) { return a.entry < b.entry; });
    return listing;
}

std::optional<QByteArray> ReadContent(const Version& version, Problem* problem) {
    const QByteArray path = QFile::encodeName(version.entry);
    const QByteArray name = BaseName(path);
    const std::optional<EntryName> parsed = format::ParseName(name);
    if (!parsed) {
        if (problem) *problem = Problem{version.entry, Problem::Kind::Foreign, 0};
        return std::nullopt;
    }
    std::optional<Problem> refused;
    const std::optional<SafeFolder> folder = OpenToRead(version.file, ParentOf(path), &refused);
    if (!folder) {
        if (problem) *problem = refused.value_or(Problem{version.entry, Problem::Kind::Unreadable, ENOENT});
        return std::nullopt;
    }
    QByteArray content;
    if (!ReadEntry(*folder, ParentOf(path), Entry{name, *parsed, 0}, true, &content, problem)) return std::nullopt;
    return content;
}

ChangeReader::ChangeReader(const QString& settingsFile, QList<Version> versions)
    : file_(settingsFile), versions_(std::move(versions)) {}

std::shared_ptr<const IniDocument> ChangeReader::ContentOf(qsizetype at, Problem* problem) {
    for (const auto& [place, document] : read_)
        if (place == at) return document;
    std::optional<QByteArray> content;
    if (at < versions_.size()) {
        content = ReadContent(versions_[at], problem);
    } else {
        int error = 0;
        content = CurrentContent(file_, &error);
        if (!content && problem) *problem = Problem{file_, Problem::Kind::Unreadable, error};
    }
    if (!content) return nullptr;
    // Versions are asked for in order: each is the later side once and the earlier side once.
    auto document = std::make_shared<const IniDocument>(*content);
    read_.append({at, document});
    if (read_.size() > 2) read_.removeFirst();
    return document;
}

std::optional<QList<KeyChange>> ChangeReader::ChangesOf(qsizetype at, Problem* problem) {
    if (at < 0 || at >= versions_.size()) return std::nullopt;
    Version& version = versions_[at];
    if (version.changes) return version.changes;
    const std::shared_ptr<const IniDocument> before = ContentOf(at, problem);
    if (!before) return std::nullopt;
    const std::shared_ptr<const IniDocument> after = ContentOf(at + 1, problem);
    if (!after) return std::nullopt;
    version.changes = KeyChanges(*before, *after);
    if (version.changed < 0) version.changed = version.changes->size();
    return version.changes;
}

qint64 ChangeReader::CountOf(qsizetype at, Problem* problem) {
    if (at >= 0 && at < versions_.size() && versions_[at].changed >= 0) return versions_[at].changed;
    const std::optional<QList<KeyChange>> changes = ChangesOf(at, problem);
    return changes ? changes->size() : -1;
}

void PutBack(const QString& settingsFile, const QByteArray& content, const SaveContext& context,
             const std::optional<QByteArray>& expected, bool overwriteChanged) {
    ReplaceFile(
        settingsFile,
        [&](const QByteArray& current) {
            if (expected && current != *expected && !overwriteChanged) {
                IniErrorDetails details;
                for (const KeyChange& change : KeyChanges(IniDocument(*expected), IniDocument(current)))
                    details.keys << QStringLiteral("[%1] %2").arg(change.section, change.key);
                throw IniError(settingsFile, IniFailure::ChangedElsewhere, details);
            }
            return content;
        },
        nullptr, {}, context);
}

QString RestoreAction(qint64 id) { return QStringLiteral("restore of version %1").arg(id); }

QString ValueRestoreAction(qint64 id, const QList<std::pair<QString, QString>>& keys) {
    QStringList named;
    for (const auto& [section, key] : keys) named << QStringLiteral("[%1] %2").arg(section, key);
    const QString count = keys.size() == 1 ? QStringLiteral("1 value") : QStringLiteral("%1 values").arg(keys.size());
    QString action = QStringLiteral("restore of %1 from version %2").arg(count).arg(id);
    const QString list = named.join(QStringLiteral(", "));
    if (list.size() <= kNamedKeysChars) action += QStringLiteral(": ") + list;
    return action;
}

NoticeSink SetNoticeSink(NoticeSink sink) {
    std::swap(g_sink, sink);
    return sink;
}

void SetProgram(const QString& program) { g_program = program; }

std::function<QDateTime()> SetClock(std::function<QDateTime()> clock) {
    std::swap(g_clock, clock);
    return clock;
}

struct Recording::State {
    QByteArray target;
    QByteArray folderPath;
    SafeFolder folder;
    QList<Entry> entries;  // the folder's as the save found them, with the one it records
    QByteArray pending;    // name of the pending entry; empty when nothing was recorded
    QByteArray final;
    std::optional<Notice> failure;
};

Recording::Recording(const QByteArray& target, const QByteArray& old, const QByteArray& next,
                     const std::function<QList<KeyChange>()>& changes, const QString& action)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.target = target;
    s.folderPath = ParentOf(target) + '/' + kFolder;
    // Told once the save has replaced the file: a save that fails has lost nothing.
    const auto fail = [&](const Problem& problem) {
        s.failure.emplace();
        s.failure->file = QFile::decodeName(target);
        s.failure->problem = problem;
    };
    const auto failed = [&](int error) {
        fail(Problem{QFile::decodeName(s.folderPath), Problem::Kind::Unreadable, error ? error : EIO});
    };
    const files::Ownership owner = files::OwnershipOf(target).value_or(files::Ownership{});
    s.folder = SafeFolder::Open(s.folderPath, owner, true);
    if (!s.folder.IsOpen()) {
        fail(FolderProblem(s.folder, s.folderPath));
        return;
    }
    const QList<Entry> found = ScanFolder(s.folder).entries;
    s.entries = CleanUp(s.folder, s.folderPath, found, target, old);

    // Numbers are never used twice, not even those of pending or damaged versions.
    const QByteArray file = BaseName(target);
    const Entry* highest = nullptr;
    for (const Entry& entry : found)
        if (entry.parsed.file == file && (!highest || entry.parsed.id > highest->parsed.id)) highest = &entry;
    if (highest && highest->parsed.id >= kLastVersion) {
        fail(Problem{PathIn(s.folderPath, highest->name), Problem::Kind::NumbersUsedUp, 0});
        return;
    }
    Version version;
    version.name = QFile::decodeName(file);
    version.id = highest ? highest->parsed.id + 1 : 1;
    version.time = Now();
    const files::Saver saver = files::CurrentSaver();
    version.user = saver.user;
    version.account = saver.account;
    version.host = files::HostName();
    version.program = Program();
    version.action = action.isEmpty() ? QStringLiteral("save") : action;
    version.size = old.size();
    version.changes = changes ? changes() : KeyChanges(IniDocument(old), IniDocument(next));
    version.changed = version.changes->size();
    const QByteArray header = format::HeaderText(version);
    const QByteArray base = format::NameOf(file, version.id, version.time);

    int error = 0;
    SafeFolder::NewFile part = s.folder.Create(base + ".part-", owner, &error);
    if (!part.IsOpen()) {
        failed(error);
        return;
    }
    // The content goes out as it is, after the header, and is hashed piece by piece on its way:
    // no copy of it is made, and the checksum takes its place in the header once known.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    bool written = part.Write(header.constData(), header.size());
    for (qsizetype at = 0; written && at < old.size(); at += kPiece) {
        const QByteArrayView piece = QByteArrayView(old).sliced(at, std::min(kPiece, old.size() - at));
        hash.addData(piece);
        written = part.Write(piece.data(), piece.size());
    }
    written = written && part.WriteAt(format::HashAt(header), hash.result().toHex()) && part.Finish();
    if (!written) {
        failed(errno);
        return;
    }
    const QByteArray pending = base + ".pending";
    // The pending name must be on disk before the settings file's rename can be.
    if (!s.folder.Rename(part.Name(), pending, &error) || !s.folder.Sync()) {
        if (error == 0) error = errno;
        s.folder.Remove(part.Name());
        s.folder.Remove(pending);
        failed(error);
        return;
    }
    s.pending = pending;
    s.final = base;
    if (const std::optional<EntryName> parsed = format::ParseName(base))
        s.entries.append(Entry{base, *parsed, header.size() + old.size()});
}

Recording::~Recording() {
    if (!state_->pending.isEmpty()) state_->folder.Remove(state_->pending);
}

void Recording::Confirmed() {
    State& s = *state_;
    if (s.failure) Tell(*std::exchange(s.failure, std::nullopt));
    if (s.pending.isEmpty()) return;
    const QByteArray pending = std::exchange(s.pending, QByteArray());
    // Should this rename not reach the disk, the pending entry still counts: the file no longer
    // holds its content.
    if (!s.folder.Rename(pending, s.final)) return;
    const format::Retained retained = format::Retain(std::move(s.entries), s.final);
    Notice notice;
    notice.kind = Notice::Kind::Dropped;
    notice.file = QFile::decodeName(s.target);
    for (const Entry& entry : retained.dropped)
        if (s.folder.Remove(entry.name)) notice.dropped.append(DroppedVersion(entry, s.folderPath));
    notice.single = retained.single;
    if (!notice.dropped.isEmpty() || !notice.single.isEmpty()) Tell(notice);
}

}  // namespace quorvant::history
