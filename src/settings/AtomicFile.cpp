#include "settings/AtomicFile.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QMutex>
#include <QThread>
#include <atomic>

#include <dirent.h>

#include "settings/History.h"
#include "settings/IniError.h"
#include "settings/PathChecks.h"

namespace quorvant {

namespace {

std::atomic<int> g_lockWaitMs{5000};
thread_local std::function<void()> t_lockWaitHook;

FileStamp StampFrom(const struct stat& st) {
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.ctimeNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return stamp;
}

[[noreturn]] void Fail(const QString& path, IniFailure failure, int error) {
    IniErrorDetails details;
    details.errorNumber = error;
    throw IniError(path, failure, details);
}

[[noreturn]] void NotRegular(const QString& path, mode_t mode) {
    IniErrorDetails details;
    details.kind = KindOfMode(mode);
    throw IniError(path, IniFailure::NotRegularFile, details);
}

QByteArray FolderOf(const QByteArray& file) {
    const qsizetype slash = file.lastIndexOf('/');
    if (slash < 0) return QByteArrayLiteral(".");
    if (slash == 0) return QByteArrayLiteral("/");
    return file.left(slash);
}

// The real file a path leads to: symlinks are followed so the link stays a link.
QByteArray ResolveLinks(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        QByteArray target(st.st_size > 0 ? st.st_size + 1 : 4096, Qt::Uninitialized);
        const ssize_t n = readlink(path.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size()) return path;
        target.truncate(n);
        path = target.startsWith('/') ? target : FolderOf(path) + '/' + target;
    }
    return path;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

bool ReadAll(int fd, QByteArray* bytes, qint64 sizeHint) {
    bytes->clear();
    bytes->reserve(sizeHint + 1);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        bytes->append(buffer, n);
    }
}

// Everything a replace holds; released in reverse on every way out.
struct ReplaceState {
    int folder = -1;
    int temp = -1;
    QByteArray tempPath;
    ~ReplaceState() {
        if (temp >= 0) ::close(temp);
        if (!tempPath.isEmpty()) ::unlink(tempPath.constData());
        if (folder >= 0) ::close(folder);  // also drops the lock
    }
};

// The process's umask. Reading it with umask() sets it for a moment, which another thread
// creating a file then would get; the kernel reports it without that.
mode_t CurrentUmask() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            if (!line.startsWith("Umask:")) continue;
            bool ok = false;
            const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
            if (ok) return mode_t(mask);
        }
    }
    static QBasicMutex mutex;
    QMutexLocker lock(&mutex);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Temporary files of a save are ".NAME." plus six characters from mkstemp.
QByteArray TempPrefix(const QByteArray& target) { return "." + target.mid(target.lastIndexOf('/') + 1) + "."; }

bool IsTempName(const char* entry, const QByteArray& prefix) {
    const size_t length = strlen(entry);
    if (length != size_t(prefix.size()) + 6 || strncmp(entry, prefix.constData(), size_t(prefix.size())) != 0)
        return false;
    for (size_t i = size_t(prefix.size()); i < length; ++i) {
        const char c = entry[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

// Removes temporary files that a save killed half-way left behind. Runs under the folder lock, so
// no other copy is writing one now; a temporary file that is still locked is in use all the same
// (a file system without working folder locks) and is left alone, as is anything not ours.
void RemoveStaleTemps(int folder, const QByteArray& prefix) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTempName(entry->d_name, prefix)) continue;
        struct stat st;
        if (::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != ::geteuid())
            continue;
        const int fd = ::openat(folder, entry->d_name, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlinkat(folder, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

void SetLockWaitMs(int milliseconds) { g_lockWaitMs = milliseconds; }

std::function<void()> SetLockWaitHook(std::function<void()> hook) {
    std::swap(t_lockWaitHook, hook);
    return hook;
}

FileStamp StampOf(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return StampFrom(st);
}

bool ReadWholeFile(const QString& path, QByteArray* bytes, FileStamp* stamp, std::optional<IniError>* problem) {
    *stamp = {};
    bytes->clear();
    const auto fail = [&](IniFailure failure, int error, mode_t mode) {
        bytes->clear();
        if (problem) {
            IniErrorDetails details;
            details.errorNumber = error;
            details.kind = KindOfMode(mode);
            problem->emplace(path, failure, details);
        }
        return false;
    };
    // Non-blocking, so a FIFO or device under the name cannot hang the program.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return fail(IniFailure::ReadFailed, errno, 0);
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(IniFailure::ReadFailed, error, 0);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(IniFailure::NotRegularFile, 0, st.st_mode);
    }
    const bool ok = ReadAll(fd, bytes, st.st_size);
    const int error = errno;
    ::close(fd);
    if (!ok) return fail(IniFailure::ReadFailed, error, st.st_mode);
    *stamp = StampFrom(st);
    return true;
}

FileStamp ReplaceFile(const QString& path, const std::function<QByteArray(const QByteArray& current)>& update,
                      const QByteArray* expected, const std::function<QList<KeyChange>()>& changes) {
    const QByteArray target = ResolveLinks(QFile::encodeName(path));
    const QByteArray folder = FolderOf(target);
    ReplaceState state;

    // The lock sits on the folder: it needs no lock file and survives the rename of the file.
    state.folder = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.folder < 0 && errno != EACCES) Fail(path, IniFailure::WriteFailed, errno);
    if (state.folder >= 0) {
        const QDeadlineTimer deadline(g_lockWaitMs.load());
        while (::flock(state.folder, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR) continue;
            // A file system without locks still gets the atomic replace.
            if (errno != EWOULDBLOCK) break;
            // The hook runs at least once, however short the wait.
            if (t_lockWaitHook) t_lockWaitHook();
            if (deadline.hasExpired()) throw IniError(path, IniFailure::InUse);
            QThread::msleep(10);
        }
    }

    // Read fresh under the lock, so what other writers stored since is kept.
    QByteArray current;
    struct stat old {};
    bool exists = false;
    const int in = ::open(target.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (in >= 0) {
        bool ok = ::fstat(in, &old) == 0;
        if (ok && !S_ISREG(old.st_mode)) {
            ::close(in);
            NotRegular(path, old.st_mode);
        }
        ok = ok && ReadAll(in, &current, old.st_size);
        const int error = errno;
        ::close(in);
        if (!ok) Fail(path, IniFailure::ReadFailed, error);
        exists = true;
    } else if (errno != ENOENT) {
        Fail(path, IniFailure::ReadFailed, errno);
    }
    if (expected && current == *expected) current = *expected;
    if (state.folder >= 0) RemoveStaleTemps(state.folder, TempPrefix(target));

    const QByteArray next = update(current);
    if (exists && next == current) return StampFrom(old);

    // A file without any write permission bit is read-only by intent: root is not stopped by the
    // permission check below, but must not replace it either.
    if (exists && (old.st_mode & 0222) == 0) throw IniError(path, IniFailure::FileReadOnly);
    state.tempPath = folder + "/" + TempPrefix(target) + "XXXXXX";
    state.temp = ::mkostemp(state.tempPath.data(), O_CLOEXEC);
    if (state.temp < 0) {
        const int error = errno;
        state.tempPath.clear();
        Fail(path, IniFailure::WriteFailed, error);
    }
    // Marks the temporary file as in use, for the clean-up of another copy of the program.
    ::flock(state.temp, LOCK_EX | LOCK_NB);
    // The rename below would replace a file that may not be written to: a read-only settings file,
    // or someone else's. Refuse, as writing into the file itself would. (A folder that may not be
    // written to has been reported by now.)
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM))
        throw IniError(path, IniFailure::FileReadOnly);
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(state.temp, mode) != 0) Fail(path, IniFailure::WriteFailed, errno);
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Only possible for root or the owner; a copy that cannot keep the owner still saves.
        [[maybe_unused]] const int ignored = ::fchown(state.temp, old.st_uid, old.st_gid);
    }
    if (!WriteAll(state.temp, next)) Fail(path, IniFailure::WriteFailed, errno);
    if (::fsync(state.temp) != 0) Fail(path, IniFailure::WriteFailed, errno);
    const int temp = state.temp;
    state.temp = -1;
    if (::close(temp) != 0) Fail(path, IniFailure::WriteFailed, errno);
    // The content replaced goes into the settings history first (History.h): no kill loses it.
    std::optional<history::Recording> recording;
    if (exists) recording.emplace(target, current, next, changes);
    if (::rename(state.tempPath.constData(), target.constData()) != 0) Fail(path, IniFailure::WriteFailed, errno);
    state.tempPath.clear();
    // The rename itself must reach the disk too; past this point the new file is in place.
    if (state.folder >= 0) ::fsync(state.folder);
    if (recording) recording->Confirmed();

    struct stat now;
    if (::stat(target.constData(), &now) != 0) return {};
    return StampFrom(now);
}

}  // namespace quorvant
