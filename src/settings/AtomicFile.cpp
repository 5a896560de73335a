#include "settings/AtomicFile.h"

#include <errno.h>
#include <fcntl.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include "settings/IniAccessor.h"

namespace quorvant {

namespace {

int g_lockWaitMs = 5000;
std::function<void()> g_lockWaitHook;

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

// Station engineers read these; they work in Dutch.
QString ReasonFor(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("De schijf is vol");
        case EFBIG:
            return QStringLiteral("Het bestand wordt groter dan toegestaan");
        case EACCES:
        case EPERM:
        case EROFS:
            return QStringLiteral("Geen schrijfrechten in de map");
        case ENOENT:
        case ENOTDIR:
            return QStringLiteral("De map bestaat niet");
        default:
            return QStringLiteral("Het bestand kan niet worden geschreven (%1)")
                .arg(QString::fromLocal8Bit(strerror(error)));
    }
}

[[noreturn]] void Fail(const QString& path, int error) { throw IniError(path, ReasonFor(error)); }

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

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

void SetLockWaitMs(int milliseconds) { g_lockWaitMs = milliseconds; }

std::function<void()> SetLockWaitHook(std::function<void()> hook) {
    std::swap(g_lockWaitHook, hook);
    return hook;
}

FileStamp StampOf(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    return StampFrom(st);
}

bool ReadWholeFile(const QString& path, QByteArray* bytes, FileStamp* stamp) {
    *stamp = {};
    bytes->clear();
    // Non-blocking, so a FIFO or device under the name cannot hang the program.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ReadAll(fd, bytes, st.st_size);
    ::close(fd);
    if (!ok) {
        bytes->clear();
        return false;
    }
    *stamp = StampFrom(st);
    return true;
}

FileStamp ReplaceFile(const QString& path, const std::function<QByteArray(const QByteArray& current)>& update) {
    const QByteArray target = ResolveLinks(QFile::encodeName(path));
    const QByteArray folder = FolderOf(target);
    ReplaceState state;

    // The lock sits on the folder: it needs no lock file and survives the rename of the file.
    state.folder = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (state.folder < 0 && errno != EACCES) Fail(path, errno);
    if (state.folder >= 0) {
        const QDeadlineTimer deadline(g_lockWaitMs);
        while (::flock(state.folder, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR) continue;
            // A file system without locks still gets the atomic replace.
            if (errno != EWOULDBLOCK) break;
            if (deadline.hasExpired())
                throw IniError(path, QStringLiteral("Het bestand is in gebruik door een ander programma"));
            if (g_lockWaitHook) g_lockWaitHook();
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
            throw IniError(path, QStringLiteral("Dit is geen gewoon bestand"));
        }
        ok = ok && ReadAll(in, &current, old.st_size);
        const int error = errno;
        ::close(in);
        if (!ok)
            throw IniError(path, QStringLiteral("Het bestand kan niet worden gelezen (%1)")
                                     .arg(QString::fromLocal8Bit(strerror(error))));
        exists = true;
    } else if (errno != ENOENT) {
        throw IniError(
            path,
            QStringLiteral("Het bestand kan niet worden gelezen (%1)").arg(QString::fromLocal8Bit(strerror(errno))));
    }

    const QByteArray next = update(current);
    if (exists && next == current) return StampFrom(old);

    QByteArray name = target.mid(target.lastIndexOf('/') + 1);
    state.tempPath = folder + "/." + name + ".XXXXXX";
    state.temp = ::mkostemp(state.tempPath.data(), O_CLOEXEC);
    if (state.temp < 0) {
        const int error = errno;
        state.tempPath.clear();
        Fail(path, error);
    }
    // The rename below would replace a file that may not be written to: a read-only settings file,
    // or someone else's. Refuse, as writing into the file itself would. (A folder that may not be
    // written to has been reported by now.)
    if (exists && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EPERM))
        throw IniError(path, QStringLiteral("Geen schrijfrechten op het bestand"));
    const mode_t mode = exists ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());
    if (::fchmod(state.temp, mode) != 0) Fail(path, errno);
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        // Only possible for root or the owner; a copy that cannot keep the owner still saves.
        [[maybe_unused]] const int ignored = ::fchown(state.temp, old.st_uid, old.st_gid);
    }
    if (!WriteAll(state.temp, next)) Fail(path, errno);
    if (::fsync(state.temp) != 0) Fail(path, errno);
    const int temp = state.temp;
    state.temp = -1;
    if (::close(temp) != 0) Fail(path, errno);
    if (::rename(state.tempPath.constData(), target.constData()) != 0) Fail(path, errno);
    state.tempPath.clear();
    // The rename itself must reach the disk too; past this point the new file is in place.
    if (state.folder >= 0) ::fsync(state.folder);

    struct stat now;
    if (::stat(target.constData(), &now) != 0) return {};
    return StampFrom(now);
}

}  // namespace quorvant
