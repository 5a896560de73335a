#include "settings/History.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSysInfo>
#include <algorithm>

#include "settings/AtomicFile.h"
#include "settings/IniDocument.h"
#include "settings/IniError.h"
#include "settings/KeyChanges.h"

namespace quorvant::history {

namespace {

const QByteArray kFolder = QByteArrayLiteral(".quorvant-history");
const QByteArray kMagic = QByteArrayLiteral("Quorvant-History: 1");
const QString kStampFormat = QStringLiteral("yyyyMMdd'T'HHmmss'Z'");
// A header longer than this is no header of ours.
constexpr qsizetype kHeaderLimit = 64 * 1024;

NoticeSink g_sink;
QString g_program;
std::function<QDateTime()> g_clock;
thread_local QString t_action;

QDateTime Now() { return g_clock ? g_clock().toUTC() : QDateTime::currentDateTimeUtc(); }

void Tell(const Notice& notice) {
    if (g_sink) g_sink(notice);
}

QString Program() {
    if (!g_program.isEmpty()) return g_program;
    if (QCoreApplication::instance() && !QCoreApplication::applicationName().isEmpty())
        return QCoreApplication::applicationName();
    return QString::fromLocal8Bit(program_invocation_short_name);
}

QString LookUpUserName() {
    char buffer[4096];
    struct passwd entry;
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(::geteuid());
}

// Looked up once: the password database may be a network service.
QString UserName() {
    static const QString name = LookUpUserName();
    return name;
}

// One header line's value: no line break may end the header early.
QByteArray OneLine(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
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

// An entry's name: FILE.vNNNNNN.STAMP, then ".pending" or ".part-XXXXXX" while a save writes it.
// Every save reads the names of the whole folder, so they are taken apart by hand, and the stamps
// (which sort as the times they stand for) are compared as they are.
struct EntryName {
    enum class State { Final, Pending, Part };
    QByteArray file;
    qint64 id = 0;
    QByteArray stamp;  // yyyyMMddTHHmmssZ
    State state = State::Final;
    QDateTime Time() const {
        QDateTime time = QDateTime::fromString(QString::fromLatin1(stamp), kStampFormat);
        time.setTimeSpec(Qt::UTC);
        return time;
    }
    QString File() const { return QFile::decodeName(file); }
};

bool AllOf(QByteArrayView text, bool (*test)(char)) { return std::all_of(text.begin(), text.end(), test); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlphanumeric(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

QByteArray StampText(const QDateTime& time) { return time.toUTC().toString(kStampFormat).toLatin1(); }

std::optional<EntryName> ParseName(QByteArrayView name) {
    EntryName entry;
    if (name.endsWith(".pending")) {
        entry.state = EntryName::State::Pending;
        name.chop(8);
    } else if (name.size() > 12 && name.sliced(name.size() - 12).startsWith(".part-") &&
               AllOf(name.sliced(name.size() - 6), IsAlphanumeric)) {
        entry.state = EntryName::State::Part;
        name.chop(12);
    }
    constexpr qsizetype kStamp = 16;
    if (name.size() < kStamp + 1) return std::nullopt;
    const QByteArrayView stamp = name.sliced(name.size() - kStamp);
    if (!AllOf(stamp.first(8), IsDigit) || stamp[8] != 'T' || !AllOf(stamp.sliced(9, 6), IsDigit) || stamp[15] != 'Z')
        return std::nullopt;
    name.chop(kStamp);
    if (!name.endsWith('.')) return std::nullopt;
    name.chop(1);
    qsizetype digits = 0;
    while (digits < name.size() && IsDigit(name[name.size() - 1 - digits])) ++digits;
    if (digits < 6 || digits > 18 || name.size() < digits + 3 || !name.first(name.size() - digits).endsWith(".v"))
        return std::nullopt;
    entry.id = name.sliced(name.size() - digits).toLongLong();
    entry.file = name.first(name.size() - digits - 2).toByteArray();
    entry.stamp = stamp.toByteArray();
    return entry;
}

QByteArray BaseOf(const QByteArray& file, qint64 id, const QDateTime& time) {
    return file + ".v" + QByteArray::number(id).rightJustified(6, '0') + '.' + StampText(time);
}

// An entry of the history folder as the folder listing gives it.
struct Entry {
    QByteArray name;
    EntryName parsed;
    qint64 bytes = 0;
};

struct Scan {
    QList<Entry> entries;
    QList<QByteArray> foreign;
};

Scan ScanFolder(int folder) {
    Scan scan;
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return scan;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return scan;
    }
    while (const dirent* found = ::readdir(dir)) {
        const QByteArray name(found->d_name);
        if (name == "." || name == "..") continue;
        struct stat st;
        const std::optional<EntryName> parsed = ParseName(name);
        if (!parsed || ::fstatat(folder, found->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
            scan.foreign.append(name);
            continue;
        }
        scan.entries.append(Entry{name, *parsed, qint64(st.st_size)});
    }
    ::closedir(dir);
    return scan;
}

// The parsed header of an entry; `bytes` holds at least the header.
struct Header {
    Version version;
    QByteArray sha256;
    qsizetype length = 0;  // of the header, its empty line included
};

std::optional<Header> ParseHeader(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf("\n\n");
    if (!bytes.startsWith(kMagic + '\n') || end < 0) return std::nullopt;
    Header header;
    header.length = end + 2;
    QHash<QByteArray, QString> fields;
    for (const QByteArray& line : bytes.left(end).split('\n')) {
        const qsizetype colon = line.indexOf(": ");
        if (colon > 0) fields.insert(line.left(colon), QString::fromUtf8(line.mid(colon + 2)));
    }
    Version& v = header.version;
    bool idOk = false;
    bool sizeOk = false;
    v.name = fields.value("File");
    v.id = fields.value("Version").toLongLong(&idOk);
    v.time = QDateTime::fromString(fields.value("Time"), Qt::ISODateWithMs);
    v.user = fields.value("User");
    v.host = fields.value("Host");
    v.program = fields.value("Program");
    v.action = fields.value("Action");
    v.size = fields.value("Size").toLongLong(&sizeOk);
    header.sha256 = fields.value("SHA-256").toLatin1();
    if (v.name.isEmpty() || !idOk || !sizeOk || v.size < 0 || !v.time.isValid() || header.sha256.size() != 64)
        return std::nullopt;
    v.time = v.time.toUTC();
    return header;
}

QByteArray Sha256(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Reads an entry whole, or (`headerOnly`) just far enough for its header, and checks it against
// its name and its size on disk (and, read whole, its checksum).
std::optional<Header> ReadEntry(const QString& path, const EntryName& name, bool headerOnly, QByteArray* content,
                                Problem* problem) {
    const auto fail = [&](Problem::Kind kind, int error) -> std::optional<Header> {
        if (problem) *problem = Problem{path, kind, error};
        return std::nullopt;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return fail(Problem::Kind::Unreadable, errno);
    const qint64 onDisk = file.size();
    const QByteArray bytes = headerOnly ? file.read(kHeaderLimit) : file.readAll();
    if (file.error() != QFileDevice::NoError) return fail(Problem::Kind::Unreadable, errno);
    std::optional<Header> header = ParseHeader(bytes);
    if (!header || header->version.name != name.File() || header->version.id != name.id ||
        header->length + header->version.size != onDisk)
        return fail(Problem::Kind::Damaged, 0);
    if (!headerOnly) {
        const QByteArray body = bytes.mid(header->length);
        if (body.size() != header->version.size || Sha256(body) != header->sha256)
            return fail(Problem::Kind::Damaged, 0);
        if (content) *content = body;
    }
    header->version.entry = path;
    return header;
}

// What a settings file holds now; nothing when it cannot be read.
std::optional<QByteArray> CurrentContent(const QString& path) {
    QByteArray bytes;
    FileStamp stamp;
    if (!ReadWholeFile(path, &bytes, &stamp)) return std::nullopt;
    return bytes;
}

// A pending entry counts as a version unless its save was killed before the file was replaced:
// then the file still holds exactly the entry's content.
bool PendingCounts(const QByteArray& content, const std::optional<QByteArray>& fileNow) {
    return !fileNow || *fileNow != content;
}

struct FdCloser {
    int fd;
    ~FdCloser() {
        if (fd >= 0) ::close(fd);
    }
};

// Under the folder lock: removes the parts of killed saves, and settles the pending entries they
// left (`target`'s content is `targetNow`, the others are read). Returns the entries that remain.
QList<Entry> CleanUp(int folder, const QByteArray& historyFolder, const QList<Entry>& entries, const QByteArray& target,
                     const QByteArray& targetNow) {
    const QByteArray settingsFolder = ParentOf(historyFolder);
    QList<Entry> remaining;
    for (Entry entry : entries) {
        if (entry.parsed.state == EntryName::State::Part) {
            // A part another writer still holds (a file system without folder locks) stays.
            const int fd = ::openat(folder, entry.name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
            if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlinkat(folder, entry.name.constData(), 0);
            if (fd >= 0) ::close(fd);
            continue;
        }
        if (entry.parsed.state == EntryName::State::Pending) {
            const QByteArray settingsFile = settingsFolder + '/' + entry.parsed.file;
            QByteArray content;
            if (!ReadEntry(QFile::decodeName(historyFolder + '/' + entry.name), entry.parsed, false, &content, nullptr))
                continue;  // listed as damaged; left for the administrator
            const std::optional<QByteArray> now = settingsFile == target
                                                      ? std::optional<QByteArray>(targetNow)
                                                      : CurrentContent(QFile::decodeName(settingsFile));
            if (!PendingCounts(content, now)) {
                ::unlinkat(folder, entry.name.constData(), 0);
                continue;
            }
            const QByteArray final = entry.name.left(entry.name.lastIndexOf('.'));
            if (::renameat(folder, entry.name.constData(), folder, final.constData()) != 0) continue;
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
    version.file = QFile::decodeName(ParentOf(historyFolder) + '/' + entry.parsed.file);
    version.id = entry.parsed.id;
    version.time = entry.parsed.Time();
    version.entry = QFile::decodeName(historyFolder + '/' + entry.name);
    return version;
}

// Under the folder lock: drops from `entries` (the folder's, the one just recorded among them)
// what the retention does not keep, never `keep` (that one). Returns the versions dropped.
QList<Version> ApplyRetention(int folder, const QByteArray& historyFolder, QList<Entry> entries,
                              const QByteArray& keep) {
    entries.removeIf([](const Entry& entry) { return entry.parsed.state != EntryName::State::Final; });
    // Newest first per file, so a version's rank is its place in its file's list.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.parsed.file != b.parsed.file ? a.parsed.file < b.parsed.file : a.parsed.id > b.parsed.id;
    });
    const QByteArray cutOff = StampText(Now().addDays(-kKeptDays));
    QList<Entry> kept;
    QList<Entry> dropped;
    QHash<QByteArray, int> rank;
    for (const Entry& entry : entries) {
        const bool recent = entry.parsed.stamp > cutOff;
        if (rank[entry.parsed.file]++ < kKeptVersions || recent || entry.name == keep)
            kept.append(entry);
        else
            dropped.append(entry);
    }
    qint64 total = 0;
    for (const Entry& entry : kept) total += entry.bytes;
    if (total > kFolderBytes) {
        std::sort(kept.begin(), kept.end(), [](const Entry& a, const Entry& b) {
            return a.parsed.stamp != b.parsed.stamp ? a.parsed.stamp < b.parsed.stamp : a.parsed.id < b.parsed.id;
        });
        for (const Entry& entry : kept) {
            if (total <= kFolderBytes) break;
            if (entry.name == keep) continue;
            dropped.append(entry);
            total -= entry.bytes;
        }
    }
    QList<Version> versions;
    for (const Entry& entry : dropped)
        if (::unlinkat(folder, entry.name.constData(), 0) == 0) versions.append(DroppedVersion(entry, historyFolder));
    std::sort(versions.begin(), versions.end(),
              [](const Version& a, const Version& b) { return a.time != b.time ? a.time < b.time : a.id < b.id; });
    return versions;
}

QByteArray HeaderFor(const QString& file, qint64 id, const QDateTime& time, const QByteArray& content) {
    QByteArray header = kMagic + '\n';
    header += "File: " + OneLine(file) + '\n';
    header += "Version: " + QByteArray::number(id) + '\n';
    header += "Time: " + time.toString(Qt::ISODateWithMs).toLatin1() + '\n';
    header += "User: " + OneLine(UserName()) + '\n';
    header += "Host: " + OneLine(QSysInfo::machineHostName()) + '\n';
    header += "Program: " + OneLine(Program()) + '\n';
    header += "Action: " + OneLine(t_action.isEmpty() ? QStringLiteral("save") : t_action) + '\n';
    header += "Size: " + QByteArray::number(content.size()) + '\n';
    header += "SHA-256: " + Sha256(content) + '\n';
    return header + '\n';
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
    const int folder = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        if (errno != ENOENT)
            listing.problems.append(Problem{QFile::decodeName(folderPath), Problem::Kind::Unreadable, errno});
        return listing;
    }
    const FdCloser closer{folder};
    const Scan scan = ScanFolder(folder);
    if (withForeign)
        for (const QByteArray& foreign : scan.foreign)
            listing.problems.append(Problem{QFile::decodeName(folderPath + '/' + foreign), Problem::Kind::Foreign, 0});
    std::optional<std::optional<QByteArray>> fileNow;  // read once, when a pending entry needs it
    for (const Entry& entry : scan.entries) {
        if (entry.parsed.file != fileName || entry.parsed.state == EntryName::State::Part) continue;
        const QString path = QFile::decodeName(folderPath + '/' + entry.name);
        Problem problem;
        const bool pending = entry.parsed.state == EntryName::State::Pending;
        QByteArray content;
        std::optional<Header> header = ReadEntry(path, entry.parsed, !pending, &content, &problem);
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
    const std::optional<EntryName> name = ParseName(QFile::encodeName(QFileInfo(version.entry).fileName()));
    if (!name) {
        if (problem) *problem = Problem{version.entry, Problem::Kind::Foreign, 0};
        return std::nullopt;
    }
    QByteArray content;
    if (!ReadEntry(version.entry, *name, false, &content, problem)) return std::nullopt;
    return content;
}

void PutBack(const QString& settingsFile, const QByteArray& content, const QString& action,
             const std::optional<QByteArray>& expected, bool overwriteChanged) {
    const ActionScope scope(action);
    ReplaceFile(settingsFile, [&](const QByteArray& current) {
        if (expected && current != *expected && !overwriteChanged) {
            IniErrorDetails details;
            for (const KeyChange& change : KeyChanges(IniDocument(*expected), IniDocument(current)))
                details.keys << QStringLiteral("[%1] %2").arg(change.section, change.key);
            throw IniError(settingsFile, IniFailure::ChangedElsewhere, details);
        }
        return content;
    });
}

QString RestoreAction(qint64 id) { return QStringLiteral("restore of version %1").arg(id); }

NoticeSink SetNoticeSink(NoticeSink sink) {
    std::swap(g_sink, sink);
    return sink;
}

void SetProgram(const QString& program) { g_program = program; }

QString CurrentAction() { return t_action; }

ActionScope::ActionScope(const QString& action) : previous_(t_action) { t_action = action; }
ActionScope::~ActionScope() { t_action = previous_; }

std::function<QDateTime()> SetClock(std::function<QDateTime()> clock) {
    std::swap(g_clock, clock);
    return clock;
}

// The history folder's entries as the save found them, with the one it records.
struct Recording::Entries {
    QList<Entry> list;
};

Recording::Recording(const QByteArray& target, const QByteArray& old)
    : target_(target), folder_(ParentOf(target) + '/' + kFolder) {
    // Told once the save has replaced the file: a save that fails has lost nothing.
    const auto fail = [&](const QByteArray& place, int error) {
        failure_.emplace();
        failure_->file = QFile::decodeName(target_);
        failure_->place = QFile::decodeName(place);
        failure_->errorNumber = error;
    };
    if (::mkdir(folder_.constData(), 0777) != 0 && errno != EEXIST) {
        fail(folder_, errno);
        return;
    }
    const int folder = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        fail(folder_, errno);
        return;
    }
    const FdCloser closer{folder};
    const QList<Entry> found = ScanFolder(folder).entries;
    entries_ = std::make_unique<Entries>(Entries{CleanUp(folder, folder_, found, target_, old)});

    // Numbers are never used twice, not even those of pending or damaged versions.
    const QByteArray file = BaseName(target_);
    qint64 id = 0;
    for (const Entry& entry : found)
        if (entry.parsed.file == file) id = std::max(id, entry.parsed.id);
    const QDateTime time = Now();
    const QByteArray base = BaseOf(file, id + 1, time);
    QByteArray part = folder_ + '/' + base + ".part-XXXXXX";
    const int fd = ::mkostemp(part.data(), O_CLOEXEC);
    if (fd < 0) {
        fail(folder_, errno);
        return;
    }
    // Held while it is written, so the clean-up of another writer leaves it alone.
    ::flock(fd, LOCK_EX | LOCK_NB);
    struct stat st;
    // The content is the settings file's: no one may read it here who could not read it there.
    const mode_t mode = ::stat(target_.constData(), &st) == 0 ? (st.st_mode & 0666) : 0600;
    QFile out;
    bool written = ::fchmod(fd, mode) == 0 && out.open(fd, QIODevice::WriteOnly);
    int error = errno;
    if (written) {
        const QByteArray bytes = HeaderFor(QFile::decodeName(file), id + 1, time, old) + old;
        written = out.write(bytes) == bytes.size() && out.flush();
        entries_->list.append(Entry{base, *ParseName(base), bytes.size()});
        error = errno;
        out.close();
    }
    written = written && ::fsync(fd) == 0;
    if (!written) error = errno;
    ::close(fd);
    pending_ = folder_ + '/' + base + ".pending";
    // The pending name must be on disk before the settings file's rename can be.
    if (!written || ::rename(part.constData(), pending_.constData()) != 0 || ::fsync(folder) != 0) {
        if (written) error = errno;
        ::unlink(part.constData());
        ::unlink(pending_.constData());
        pending_.clear();
        fail(folder_, error ? error : EIO);
        return;
    }
    final_ = folder_ + '/' + base;
}

Recording::~Recording() {
    if (!pending_.isEmpty()) ::unlink(pending_.constData());
}

void Recording::Confirmed() {
    if (failure_) Tell(*std::exchange(failure_, std::nullopt));
    if (pending_.isEmpty()) return;
    const QByteArray pending = std::exchange(pending_, QByteArray());
    // Should this rename not reach the disk, the pending entry still counts: the file no longer
    // holds its content.
    if (::rename(pending.constData(), final_.constData()) != 0) return;
    const int folder = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    const FdCloser closer{folder};
    Notice notice;
    notice.kind = Notice::Kind::Dropped;
    notice.file = QFile::decodeName(target_);
    notice.dropped = ApplyRetention(folder, folder_, std::move(entries_->list), BaseName(final_));
    if (!notice.dropped.isEmpty()) Tell(notice);
}

}  // namespace quorvant::history
