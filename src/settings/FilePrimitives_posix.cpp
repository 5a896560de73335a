#include "settings/FilePrimitives.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QMutex>

namespace quorvant::files {

namespace {

int Fd(const Handle& handle) { return int(handle.Get()); }
QByteArray Native(const QString& path) { return QFile::encodeName(path); }

bool Failed(int* error) {
    if (error) *error = errno;
    return false;
}

FileKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISDIR(mode)) return FileKind::Folder;
    if (S_ISFIFO(mode)) return FileKind::Fifo;
    if (S_ISCHR(mode)) return FileKind::CharDevice;
    if (S_ISBLK(mode)) return FileKind::BlockDevice;
    if (S_ISSOCK(mode)) return FileKind::Socket;
    return FileKind::Other;
}

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

}  // namespace

bool Handle::Close(int* error) {
    if (!IsOpen()) return true;
    const int fd = int(Release());
    return ::close(fd) == 0 || Failed(error);
}

QString RealTarget(const QString& path) {
    // Symlinks are followed so the link stays a link.
    QByteArray real = Native(path);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (lstat(real.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
        QByteArray target(st.st_size > 0 ? st.st_size + 1 : 4096, Qt::Uninitialized);
        const ssize_t n = readlink(real.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size()) break;
        target.truncate(n);
        real = target.startsWith('/') ? target : Native(FolderOf(QFile::decodeName(real))) + '/' + target;
    }
    return QFile::decodeName(real);
}

QString FolderOf(const QString& file) {
    const qsizetype slash = file.lastIndexOf(u'/');
    if (slash < 0) return QStringLiteral(".");
    if (slash == 0) return QStringLiteral("/");
    return file.left(slash);
}

bool StampOfHandle(const Handle& file, FileStamp* stamp, FileKind* kind, int* error) {
    struct stat st;
    if (::fstat(Fd(file), &st) != 0) return Failed(error);
    *stamp = StampFrom(st);
    *kind = KindOfMode(st.st_mode);
    return true;
}

FileStamp StampOfPath(const QString& path) {
    struct stat st;
    if (path.isEmpty() || ::stat(Native(path).constData(), &st) != 0) return {};
    return StampFrom(st);
}

FileKind KindOfPath(const QString& path) {
    struct stat st;
    if (path.isEmpty() || ::stat(Native(path).constData(), &st) != 0) return FileKind::Missing;
    return KindOfMode(st.st_mode);
}

Outcome TryLockFolder(const QString& folder, Handle* lock, int* error) {
    // The lock sits on the folder itself: no lock file, and it survives the rename of the file.
    if (!lock->IsOpen()) {
        const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) {
            // A folder that may not be read is still written to; that write says what is wrong.
            if (errno == EACCES) return Outcome::Done;
            Failed(error);
            return Outcome::Failed;
        }
        *lock = Handle(fd);
    }
    while (::flock(Fd(*lock), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        // A file system without locks still gets the atomic replace.
        return errno == EWOULDBLOCK ? Outcome::Busy : Outcome::Done;
    }
    return Outcome::Done;
}

Outcome OpenForReading(const QString& path, Handle* file, int* error) {
    // Non-blocking, so a FIFO or device under the name cannot hang the program.
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        Failed(error);
        return Outcome::Failed;
    }
    *file = Handle(fd);
    return Outcome::Done;
}

bool ReadRest(const Handle& file, QByteArray* bytes, qint64 sizeHint, int* error) {
    bytes->clear();
    bytes->reserve(sizeHint + 1);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(Fd(file), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Failed(error);
        }
        if (n == 0) return true;
        bytes->append(buffer, n);
    }
}

void RemoveStaleTemps(const QString& folderPath, const QString& target) {
    // Runs under the folder lock, so no other copy is writing one now; a temporary file that is
    // still locked is in use all the same (a file system without working folder locks) and is left
    // alone, as is anything not ours.
    const QByteArray prefix = TempPrefix(Native(target));
    const int folder = ::open(Native(folderPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    DIR* dir = ::fdopendir(folder);
    if (!dir) {
        ::close(folder);
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

bool ReadOnlyByIntent(const Handle& old) {
    struct stat st;
    return ::fstat(Fd(old), &st) == 0 && (st.st_mode & 0222) == 0;
}

bool MayWrite(const QString& target) {
    return !(::faccessat(AT_FDCWD, Native(target).constData(), W_OK, AT_EACCESS) != 0 &&
             (errno == EACCES || errno == EPERM));
}

bool CreateTemp(const QString& target, const Handle& old, Handle* temp, QString* tempPath, int* error) {
    QByteArray path = Native(FolderOf(target)) + "/" + TempPrefix(Native(target)) + "XXXXXX";
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) return Failed(error);
    *temp = Handle(fd);
    *tempPath = QFile::decodeName(path);
    // Marks the temporary file as in use, for the clean-up of another copy of the program.
    ::flock(fd, LOCK_EX | LOCK_NB);
    struct stat st;
    const bool exists = old.IsOpen() && ::fstat(Fd(old), &st) == 0;
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(fd, mode) != 0) return Failed(error);
    if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        // Only possible for root or the owner; a copy that cannot keep the owner still saves.
        [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
    }
    return true;
}

bool WriteAll(const Handle& file, const QByteArray& bytes, int* error) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(Fd(file), p, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return Failed(error);
        }
        p += n;
        left -= n;
    }
    return true;
}

bool Sync(const Handle& file, int* error) { return ::fsync(Fd(file)) == 0 || Failed(error); }

Outcome Replace(const QString& tempPath, const QString& target, bool, int* error) {
    if (::rename(Native(tempPath).constData(), Native(target).constData()) == 0) return Outcome::Done;
    Failed(error);
    return Outcome::Failed;
}

void SyncFolder(const Handle& lock, const QString&) {
    if (lock.IsOpen()) ::fsync(Fd(lock));
}

bool Remove(const QString& path) { return ::unlink(Native(path).constData()) == 0; }

}  // namespace quorvant::files
