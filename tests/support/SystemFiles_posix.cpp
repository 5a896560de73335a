#include "support/SystemFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QByteArray>

namespace quorvant::test {

namespace {
QByteArray Native(const QString& path) { return QFile::encodeName(path); }
}  // namespace

ForeignLock::ForeignLock(const QString& folder) {
    const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX) != 0) {
        ::close(fd);
        return;
    }
    handle_ = fd;
}

void ForeignLock::Release() {
    if (handle_ != -1) ::close(int(handle_));
    handle_ = -1;
}

ForeignHold::ForeignHold(const QString&) {}
void ForeignHold::Release() {}

bool RunningAsRoot() { return ::geteuid() == 0; }

bool GiveTo(const QString& path, unsigned user) { return ::chown(Native(path).constData(), user, user) == 0; }

unsigned OwnerOf(const QString& path) {
    struct stat st;
    return ::stat(Native(path).constData(), &st) == 0 ? unsigned(st.st_uid) : unsigned(-1);
}

bool SetPermissions(const QString& path, unsigned mode) { return ::chmod(Native(path).constData(), mode_t(mode)) == 0; }

unsigned PermissionsOf(const QString& path) {
    struct stat st;
    return ::stat(Native(path).constData(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0;
}

unsigned CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool MakeFifo(const QString& path) { return ::mkfifo(Native(path).constData(), 0644) == 0; }

bool MarkHidden(const QString&) { return false; }
bool IsHidden(const QString&) { return false; }
bool HasFileSizeLimits() { return true; }

}  // namespace quorvant::test
