// The POSIX part of SafeFolder.h; SafeFolder_win32.cpp is its Windows sibling.
#include "settings/SafeFolder.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <utility>

#include "settings/FilePrimitives.h"

namespace quorvant::files {

namespace {

QString NameOf(uid_t uid) {
    char buffer[4096];
    struct passwd entry;
    struct passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QString::fromLocal8Bit(found->pw_name);
    return QString::number(uid);
}

Saver LookUpSaver() {
    const QString account = NameOf(::geteuid());
    // Only root's word is taken for who called sudo: anyone else could set the variable.
    const QByteArray sudoUser = qgetenv("SUDO_USER");
    if (::geteuid() == 0 && !sudoUser.isEmpty()) {
        const QString user = QString::fromLocal8Bit(sudoUser);
        if (user != account) return Saver{user, account};
    }
    return Saver{account, {}};
}

// Whether the running account may give a file away, and needs to.
bool GiveTo(int fd, const Ownership& owner) {
    if (::geteuid() != 0 || (owner.user == 0 && owner.group == 0)) return true;
    return ::fchown(fd, owner.user, owner.group) == 0;
}

}  // namespace

std::optional<Ownership> OwnershipOf(const QByteArray& path) {
    struct stat st;
    if (::stat(path.constData(), &st) != 0) return std::nullopt;
    return Ownership{st.st_uid, st.st_gid, unsigned(st.st_mode & 07777)};
}

// Looked up once: the password database may be a network service.
Saver CurrentSaver() {
    static const Saver saver = LookUpSaver();
    return saver;
}

QString ProcessName() { return QString::fromLocal8Bit(program_invocation_short_name); }

QString HostName() { return QSysInfo::machineHostName(); }

SafeFolder SafeFolder::Open(const QByteArray& path, const Ownership& owner, bool create) {
    SafeFolder folder;
    bool made = false;
    if (create) {
        made = ::mkdir(path.constData(), 0777) == 0;
        if (!made && errno != EEXIST) {
            folder.error = errno;
            folder.refusal = errno == ENOENT ? Refusal::Missing : Refusal::Failed;
            return folder;
        }
    }
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        folder.error = errno;
        struct stat st;
        if (::lstat(path.constData(), &st) != 0) {
            folder.refusal = errno == ENOENT ? Refusal::Missing : Refusal::Failed;
        } else if (S_ISLNK(st.st_mode)) {
            folder.refusal = Refusal::Link;
        } else if (!S_ISDIR(st.st_mode)) {
            folder.refusal = Refusal::NotAFolder;
            folder.kind = KindOfPath(QFile::decodeName(path));
        } else {
            folder.refusal = Refusal::Failed;
        }
        return folder;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        folder.error = errno;
        ::close(fd);
        return folder;
    }
    // Made just now by root for someone else's file: theirs, so they can go on saving.
    if (made && !GiveTo(fd, owner)) {
        folder.error = errno;
        ::close(fd);
        return folder;
    }
    if (!made && st.st_uid != 0 && st.st_uid != ::geteuid() && st.st_uid != owner.user) {
        folder.refusal = Refusal::Untrusted;
        ::close(fd);
        return folder;
    }
    folder.fd_ = fd;
    folder.refusal = Refusal::None;
    return folder;
}

SafeFolder::SafeFolder(SafeFolder&& other) noexcept
    : refusal(other.refusal), error(other.error), kind(other.kind), fd_(std::exchange(other.fd_, std::intptr_t(-1))) {}

SafeFolder& SafeFolder::operator=(SafeFolder&& other) noexcept {
    std::swap(fd_, other.fd_);
    refusal = other.refusal;
    error = other.error;
    kind = other.kind;
    return *this;
}

SafeFolder::~SafeFolder() {
    if (fd_ >= 0) ::close(fd_);
}

QList<SafeFolder::Entry> SafeFolder::List() const {
    QList<Entry> entries;
    const int listing = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return entries;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return entries;
    }
    while (const dirent* found = ::readdir(dir)) {
        const QByteArray name(found->d_name);
        if (name == "." || name == "..") continue;
        Entry entry{name, false, 0};
        struct stat st;
        if (::fstatat(fd_, found->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
            entry.regular = true;
            entry.size = st.st_size;
        }
        entries.append(entry);
    }
    ::closedir(dir);
    return entries;
}

bool SafeFolder::Read(const QByteArray& name, qint64 limit, QByteArray* bytes, qint64* size, int* error) const {
    bytes->clear();
    const int fd = ::openat(fd_, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return false;
    }
    struct stat st;
    const bool stated = ::fstat(fd, &st) == 0;
    if (!stated || !S_ISREG(st.st_mode)) {
        *error = stated ? EINVAL : errno;
        ::close(fd);
        return false;
    }
    *size = st.st_size;
    const qint64 wanted = std::min<qint64>(limit, st.st_size);
    bytes->resize(qsizetype(wanted));
    qint64 done = 0;
    *error = 0;
    while (done < wanted) {
        const ssize_t n = ::read(fd, bytes->data() + done, size_t(wanted - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) *error = errno;
        if (n <= 0) break;
        done += n;
    }
    ::close(fd);
    // A file that shrank under the read is read as far as it went; its checks tell the rest.
    bytes->truncate(qsizetype(done));
    return *error == 0;
}

SafeFolder::NewFile::NewFile(NewFile&& other) noexcept
    : folder_(other.folder_), fd_(std::exchange(other.fd_, std::intptr_t(-1))), name_(std::move(other.name_)) {}

SafeFolder::NewFile& SafeFolder::NewFile::operator=(NewFile&& other) noexcept {
    std::swap(folder_, other.folder_);
    std::swap(fd_, other.fd_);
    std::swap(name_, other.name_);
    return *this;
}

SafeFolder::NewFile::~NewFile() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlinkat(folder_, name_.constData(), 0);
}

bool SafeFolder::NewFile::Write(const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size_t(size));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= n;
    }
    return true;
}

bool SafeFolder::NewFile::WriteAt(qint64 offset, const QByteArray& bytes) {
    return ::pwrite(fd_, bytes.constData(), size_t(bytes.size()), offset) == bytes.size();
}

bool SafeFolder::NewFile::Finish() {
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(int(std::exchange(fd_, std::intptr_t(-1)))) == 0;
    if (synced && closed) return true;
    const int error = errno;
    ::unlinkat(folder_, name_.constData(), 0);
    errno = error;
    return false;
}

SafeFolder::NewFile SafeFolder::Create(const QByteArray& prefix, const Ownership& owner, int* error) const {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    NewFile file;
    file.folder_ = fd_;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < 6; ++i) name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
        const int fd = ::openat(fd_, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) break;
        file.fd_ = fd;
        file.name_ = name;
        ::flock(fd, LOCK_EX | LOCK_NB);
        // The content is the settings file's: no one may read it here who could not read it there.
        if (::fchmod(fd, owner.mode & 0666) != 0 || !GiveTo(fd, owner)) break;
        return file;
    }
    *error = errno ? errno : EEXIST;
    return NewFile();
}

bool SafeFolder::Rename(const QByteArray& from, const QByteArray& to, int* error) const {
    const auto failed = [&] {
        if (error) *error = errno;
        return false;
    };
    if (::renameat2(fd_, from.constData(), fd_, to.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return failed();
    // A file system without that rename: a link cannot replace either.
    if (::linkat(fd_, from.constData(), fd_, to.constData(), 0) == 0) {
        ::unlinkat(fd_, from.constData(), 0);
        return true;
    }
    if (errno == EEXIST) return failed();
    struct stat st;
    if (::fstatat(fd_, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return failed();
    }
    return ::renameat(fd_, from.constData(), fd_, to.constData()) == 0 || failed();
}

bool SafeFolder::Remove(const QByteArray& name) const { return ::unlinkat(fd_, name.constData(), 0) == 0; }

void SafeFolder::RemoveIfUnused(const QByteArray& name) const {
    const int fd = ::openat(fd_, name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlinkat(fd_, name.constData(), 0);
    ::close(fd);
}

bool SafeFolder::Sync() const { return ::fsync(fd_) == 0; }

}  // namespace quorvant::files
