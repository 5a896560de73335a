#include "settings/FilePrimitives.h"
#include "settings/Win32Files.h"

#include <windows.h>
#include <aclapi.h>

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <string>

namespace quorvant::files {

namespace {

HANDLE H(const Handle& handle) { return reinterpret_cast<HANDLE>(handle.Get()); }
Handle Own(HANDLE handle) { return Handle(reinterpret_cast<std::intptr_t>(handle)); }

// The lock other copies of the program wait for; it never holds data.
const QString kLockName = QStringLiteral(".quorvant-lock");

}  // namespace

std::wstring WidePath(const QString& path) {
    QString native = QDir::toNativeSeparators(QDir::cleanPath(QDir(QDir::currentPath()).absoluteFilePath(path)));
    if (native.size() >= MAX_PATH - 12 && !native.startsWith(QLatin1String("\\\\?\\"))) {
        native = native.startsWith(QLatin1String("\\\\")) ? QStringLiteral("\\\\?\\UNC\\") + native.mid(2)
                                                         : QStringLiteral("\\\\?\\") + native;
    }
    return native.toStdWString();
}

int ErrnoOf(unsigned long code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILE_TOO_LARGE:
            return EFBIG;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_UNABLE_TO_REMOVE_REPLACED:
            return EBUSY;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY:
            return ENOMEM;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_DIRECTORY:
            return ENOTDIR;
        case ERROR_NETNAME_DELETED:
        case ERROR_UNEXP_NET_ERR:
        case ERROR_NETWORK_UNREACHABLE:
        case ERROR_DEV_NOT_EXIST:
            return ENOTCONN;
        case ERROR_SEM_TIMEOUT:
            return ETIMEDOUT;
        case ERROR_CRC:
        case ERROR_IO_DEVICE:
            return EIO;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        default:
            return kWindowsErrorBase + int(code);
    }
}

namespace {

std::wstring Wide(const QString& path) { return WidePath(path); }

// Another program holds the file for a moment: the server, a backup or a virus scanner.
bool IsBusy(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

bool Failed(int* error, DWORD code = GetLastError()) {
    if (error) *error = ErrnoOf(code);
    return false;
}

Outcome FailedOrBusy(int* error, DWORD code = GetLastError()) {
    if (IsBusy(code)) return Outcome::Busy;
    Failed(error, code);
    return Outcome::Failed;
}

qint64 Nanoseconds(const LARGE_INTEGER& time) { return time.QuadPart * 100; }
qint64 Nanoseconds(const FILETIME& time) {
    return ((qint64(time.dwHighDateTime) << 32) | time.dwLowDateTime) * 100;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenExisting(const QString& path, DWORD access, DWORD flags = 0) {
    return CreateFileW(Wide(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | flags,
                       nullptr);
}

// Temporary files of a save are ".NAME." plus six letters and digits, as on Linux.
QString TempPrefix(const QString& target) { return QLatin1Char('.') + target.mid(target.lastIndexOf(QLatin1Char('\\')) + 1) + QLatin1Char('.'); }

}  // namespace

bool Handle::Close(int* error) {
    if (!IsOpen()) return true;
    return CloseHandle(reinterpret_cast<HANDLE>(Release())) || Failed(error);
}

QString RealTarget(const QString& path) {
    // The name as the disk spells it, so the history knows a file by one name however it is typed.
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QString FolderOf(const QString& file) {
    const QString native = QDir::toNativeSeparators(file);
    const qsizetype slash = native.lastIndexOf(QLatin1Char('\\'));
    if (slash < 0) return native.size() >= 2 && native.at(1) == QLatin1Char(':') ? native.left(2) : QStringLiteral(".");
    // "C:\file" lies in "C:\", not in the drive's current folder "C:".
    if (slash == 2 && native.at(1) == QLatin1Char(':')) return native.left(3);
    return native.left(slash);
}

bool StampOfHandle(const Handle& file, FileStamp* stamp, FileKind* kind, int* error) {
    switch (GetFileType(H(file))) {
        case FILE_TYPE_CHAR:
            *kind = FileKind::CharDevice;
            *stamp = {};
            return true;
        case FILE_TYPE_PIPE:
            *kind = FileKind::Fifo;
            *stamp = {};
            return true;
        default:
            break;
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(H(file), &info)) return Failed(error);
    FILE_BASIC_INFO basic{};
    GetFileInformationByHandleEx(H(file), FileBasicInfo, &basic, sizeof basic);
    *kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::Regular;
    stamp->exists = true;
    stamp->device = info.dwVolumeSerialNumber;
    stamp->inode = (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    stamp->size = (qint64(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    stamp->mtimeNs = Nanoseconds(info.ftLastWriteTime);
    stamp->ctimeNs = Nanoseconds(basic.ChangeTime);
    return true;
}

FileStamp StampOfPath(const QString& path) {
    if (path.isEmpty()) return {};
    // No access asked: reads the stamp of a file another program holds, and of folders.
    const Handle file = Own(OpenExisting(path, 0, FILE_FLAG_BACKUP_SEMANTICS));
    if (H(file) == INVALID_HANDLE_VALUE) return {};
    FileStamp stamp;
    FileKind kind;
    int error;
    return StampOfHandle(file, &stamp, &kind, &error) ? stamp : FileStamp{};
}

FileKind KindOfPath(const QString& path) {
    if (path.isEmpty()) return FileKind::Missing;
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::Regular;
}

Outcome TryLockFolder(const QString& folder, Handle* lock, int* error) {
    // Windows locks byte ranges of open files, not folders: the lock is a hidden file of its own
    // in the folder, kept there (removing it would race with a copy about to lock it).
    if (!lock->IsOpen()) {
        const QString path = folder + QLatin1Char('\\') + kLockName;
        const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            // A folder that may not be written to: the save's own write says what is wrong.
            if (code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT) return Outcome::Done;
            return FailedOrBusy(error, code);
        }
        *lock = Own(file);
    }
    OVERLAPPED at{};
    if (LockFileEx(H(*lock), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) return Outcome::Done;
    return GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING ? Outcome::Busy : Outcome::Done;
}

Outcome OpenForReading(const QString& path, Handle* file, int* error) {
    HANDLE handle = OpenExisting(path, GENERIC_READ);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        // A folder opens only this way; the caller then says it is a folder, not that it may not be read.
        const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            handle = OpenExisting(path, GENERIC_READ, FILE_FLAG_BACKUP_SEMANTICS);
        else
            SetLastError(ERROR_ACCESS_DENIED);
    }
    if (handle == INVALID_HANDLE_VALUE) return FailedOrBusy(error);
    *file = Own(handle);
    return Outcome::Done;
}

bool ReadRest(const Handle& file, QByteArray* bytes, qint64 sizeHint, int* error) {
    bytes->clear();
    bytes->reserve(sizeHint + 1);
    char buffer[65536];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(H(file), buffer, sizeof buffer, &n, nullptr)) return Failed(error);
        if (n == 0) return true;
        bytes->append(buffer, qsizetype(n));
    }
}

void RemoveStaleTemps(const QString& folder, const QString& target) {
    // Under the folder lock no other copy writes one now. A temporary file in use is open
    // without sharing, so Windows refuses to delete it; what is not ours is left alone.
    const QString prefix = TempPrefix(QDir::toNativeSeparators(target));
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Wide(folder + QLatin1Char('\\') + prefix + QLatin1Char('*')).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.size() != prefix.size() + 6 ||
            name.compare(prefix + name.right(6), Qt::CaseInsensitive) != 0)
            continue;
        bool ours = true;
        for (QChar c : name.right(6)) ours = ours && c.isLetterOrNumber() && c.unicode() < 128;
        if (ours) DeleteFileW(Wide(folder + QLatin1Char('\\') + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool ReadOnlyByIntent(const Handle& old) {
    BY_HANDLE_FILE_INFORMATION info;
    return GetFileInformationByHandle(H(old), &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
}

bool MayWrite(const QString& target) {
    const Handle file = Own(OpenExisting(target, GENERIC_WRITE));
    return H(file) != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ACCESS_DENIED;
}

// What the replaced file carries beside its bytes goes to the new one before the rename: its
// explicit permissions, its creation time and its hidden, system and archive attributes.
void TakeOver(const Handle& old, HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(H(old), &info)) {
        FILE_BASIC_INFO basic{};
        basic.CreationTime.LowPart = info.ftCreationTime.dwLowDateTime;
        basic.CreationTime.HighPart = LONG(info.ftCreationTime.dwHighDateTime);
        constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        basic.FileAttributes = (info.dwFileAttributes & kKept) ? (info.dwFileAttributes & kKept) : FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic);
    }
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(H(old), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    // Inherited entries are derived from the folder again; the file's own ones are copied.
    const SECURITY_INFORMATION what = DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED)
                                                                       ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
    if (dacl) SetSecurityInfo(file, SE_FILE_OBJECT, what, nullptr, nullptr, dacl, nullptr);
    LocalFree(descriptor);
}

bool CreateTemp(const QString& target, const Handle& old, Handle* temp, QString* tempPath, int* error) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const QString base = FolderOf(target) + QLatin1Char('\\') + TempPrefix(QDir::toNativeSeparators(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString path = base;
        for (int i = 0; i < 6; ++i) path += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
        // No sharing while it is written: another copy's clean-up cannot delete it.
        const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE | WRITE_DAC, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            if (old.IsOpen()) TakeOver(old, file);
            *temp = Own(file);
            *tempPath = path;
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) return Failed(error);
    }
    return Failed(error, ERROR_FILE_EXISTS);
}

bool WriteAll(const Handle& file, const QByteArray& bytes, int* error) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        DWORD n = 0;
        if (!WriteFile(H(file), p, DWORD(std::min<qsizetype>(left, 1 << 30)), &n, nullptr)) return Failed(error);
        p += n;
        left -= n;
    }
    return true;
}

bool Sync(const Handle& file, int* error) { return FlushFileBuffers(H(file)) || Failed(error); }

Outcome Replace(const QString& tempPath, const QString& target, bool targetExists, int* error) {
    // One rename that replaces the name in place: the name always holds the old file or the new
    // one. (ReplaceFileW is no such step everywhere: one implementation deletes the old file
    // before it moves the new one, and a kill or a failure between the two leaves no file.)
    const DWORD how = MOVEFILE_WRITE_THROUGH | (targetExists ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(Wide(tempPath).c_str(), Wide(target).c_str(), how)) return Outcome::Done;
    const DWORD code = GetLastError();
    // A file opened without delete sharing, or one that is about to be deleted, refuses for a moment.
    if (code == ERROR_ACCESS_DENIED && targetExists) return Outcome::Busy;
    return FailedOrBusy(error, code);
}

void SyncFolder(const Handle&, const QString&) {
    // NTFS journals the rename; MOVEFILE_WRITE_THROUGH is done when it returns.
}

bool Remove(const QString& path) { return DeleteFileW(Wide(path).c_str()); }

}  // namespace quorvant::files
