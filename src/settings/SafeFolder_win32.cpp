// The Windows part of SafeFolder.h. The folder is held open without delete sharing, so it cannot
// be renamed or replaced while a save uses it; a reparse point (link, junction) in its place or
// among its files is never followed. Windows' own permissions decide who may write, so there is no
// owner to keep or trust beyond them.
#include "settings/SafeFolder.h"

#include <windows.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <utility>

#include "settings/FilePrimitives.h"
#include "settings/Win32Files.h"

namespace quorvant::files {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE H(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t Raw(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(handle); }

std::wstring Wide(const QByteArray& path) { return WidePath(QFile::decodeName(path)); }
std::wstring Inside(const QByteArray& folder, const QByteArray& name) { return Wide(folder + '\\' + name); }

QString Word(BOOL (WINAPI* get)(LPWSTR, LPDWORD)) {
    wchar_t buffer[256];
    DWORD size = 256;
    return get(buffer, &size) ? QString::fromWCharArray(buffer) : QString();
}

BOOL WINAPI ComputerName(LPWSTR buffer, LPDWORD size) { return GetComputerNameW(buffer, size); }

int Error() { return ErrnoOf(GetLastError()); }

// Opens a file of the folder, refusing a reparse point (a link) in its place.
HANDLE OpenInside(const QByteArray& folder, const QByteArray& name, DWORD access, DWORD share) {
    const HANDLE file = CreateFileW(Inside(folder, name).c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return file;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        CloseHandle(file);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

}  // namespace

std::optional<Ownership> OwnershipOf(const QByteArray& path) {
    if (GetFileAttributesW(Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    return Ownership{0, 0, 0666};
}

Saver CurrentSaver() {
    static const Saver saver{Word(&GetUserNameW), {}};
    return saver;
}

QString ProcessName() {
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return QFileInfo(QString::fromWCharArray(buffer, int(n))).completeBaseName();
}

QString HostName() { return Word(&ComputerName); }

SafeFolder SafeFolder::Open(const QByteArray& path, const Ownership&, bool create) {
    SafeFolder folder;
    const std::wstring wide = Wide(path);
    if (create && !CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        folder.error = Error();
        folder.refusal = folder.error == ENOENT ? Refusal::Missing : Refusal::Failed;
        return folder;
    }
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        folder.error = Error();
        folder.refusal = folder.error == ENOENT ? Refusal::Missing : Refusal::Failed;
        return folder;
    }
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        folder.refusal = Refusal::Link;
        return folder;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        folder.refusal = Refusal::NotAFolder;
        folder.kind = KindOfPath(QFile::decodeName(path));
        return folder;
    }
    // Hidden, as its dot name hides it on Linux.
    if (!(attributes & FILE_ATTRIBUTE_HIDDEN)) SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
    // Without delete sharing: no one renames the folder away or puts another in its place meanwhile.
    const HANDLE handle = CreateFileW(wide.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        folder.error = Error();
        return folder;
    }
    folder.fd_ = Raw(handle);
    folder.path_ = path;
    folder.refusal = Refusal::None;
    return folder;
}

SafeFolder::SafeFolder(SafeFolder&& other) noexcept
    : refusal(other.refusal),
      error(other.error),
      kind(other.kind),
      fd_(std::exchange(other.fd_, std::intptr_t(-1))),
      path_(std::move(other.path_)) {}

SafeFolder& SafeFolder::operator=(SafeFolder&& other) noexcept {
    std::swap(fd_, other.fd_);
    std::swap(path_, other.path_);
    refusal = other.refusal;
    error = other.error;
    kind = other.kind;
    return *this;
}

SafeFolder::~SafeFolder() {
    if (fd_ != -1) CloseHandle(H(fd_));
}

QList<SafeFolder::Entry> SafeFolder::List() const {
    QList<Entry> entries;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Inside(path_, "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return entries;
    do {
        const QByteArray name = QFile::encodeName(QString::fromWCharArray(found.cFileName));
        if (name == "." || name == "..") continue;
        Entry entry{name, false, 0};
        if (!(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
            entry.regular = true;
            entry.size = (qint64(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
        entries.append(entry);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

bool SafeFolder::Read(const QByteArray& name, qint64 limit, QByteArray* bytes, qint64* size, int* error) const {
    bytes->clear();
    const HANDLE file = OpenInside(path_, name, GENERIC_READ, kShareAll);
    if (file == INVALID_HANDLE_VALUE) {
        *error = Error();
        return false;
    }
    LARGE_INTEGER length;
    if (!GetFileSizeEx(file, &length)) {
        *error = Error();
        CloseHandle(file);
        return false;
    }
    *size = length.QuadPart;
    const qint64 wanted = std::min<qint64>(limit, length.QuadPart);
    bytes->resize(qsizetype(wanted));
    qint64 done = 0;
    *error = 0;
    while (done < wanted) {
        DWORD n = 0;
        if (!ReadFile(file, bytes->data() + done, DWORD(std::min<qint64>(wanted - done, 1 << 30)), &n, nullptr)) {
            *error = Error();
            break;
        }
        if (n == 0) break;
        done += n;
    }
    CloseHandle(file);
    bytes->truncate(qsizetype(done));
    return *error == 0;
}

SafeFolder::NewFile::NewFile(NewFile&& other) noexcept
    : fd_(std::exchange(other.fd_, std::intptr_t(-1))),
      name_(std::move(other.name_)),
      folderPath_(std::move(other.folderPath_)) {}

SafeFolder::NewFile& SafeFolder::NewFile::operator=(NewFile&& other) noexcept {
    std::swap(folderPath_, other.folderPath_);
    std::swap(fd_, other.fd_);
    std::swap(name_, other.name_);
    return *this;
}

SafeFolder::NewFile::~NewFile() {
    if (fd_ == -1) return;
    CloseHandle(H(fd_));
    DeleteFileW(Inside(folderPath_, name_).c_str());
}

bool SafeFolder::NewFile::Write(const char* data, qsizetype size) {
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(H(fd_), data, DWORD(std::min<qsizetype>(size, 1 << 30)), &n, nullptr) || n == 0) return false;
        data += n;
        size -= qsizetype(n);
    }
    return true;
}

bool SafeFolder::NewFile::WriteAt(qint64 offset, const QByteArray& bytes) {
    OVERLAPPED at{};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD n = 0;
    return WriteFile(H(fd_), bytes.constData(), DWORD(bytes.size()), &n, &at) && n == DWORD(bytes.size());
}

bool SafeFolder::NewFile::Finish() {
    const bool synced = FlushFileBuffers(H(fd_));
    const bool closed = CloseHandle(H(std::exchange(fd_, std::intptr_t(-1))));
    if (synced && closed) return true;
    const DWORD error = GetLastError();
    DeleteFileW(Inside(folderPath_, name_).c_str());
    SetLastError(error);
    errno = ErrnoOf(error);
    return false;
}

SafeFolder::NewFile SafeFolder::Create(const QByteArray& prefix, const Ownership&, int* error) const {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    NewFile file;
    file.folderPath_ = path_;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = prefix;
        for (int i = 0; i < 6; ++i) name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
        // Not shared while it is written: the clean-up of another writer cannot delete it.
        const HANDLE handle = CreateFileW(Inside(path_, name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
        if (handle == INVALID_HANDLE_VALUE) break;
        file.fd_ = Raw(handle);
        file.name_ = name;
        return file;
    }
    *error = Error();
    return NewFile();
}

bool SafeFolder::Rename(const QByteArray& from, const QByteArray& to, int* error) const {
    // Without MOVEFILE_REPLACE_EXISTING a taken name is refused.
    if (MoveFileExW(Inside(path_, from).c_str(), Inside(path_, to).c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    if (error) *error = Error();
    return false;
}

bool SafeFolder::Remove(const QByteArray& name) const { return DeleteFileW(Inside(path_, name).c_str()); }

void SafeFolder::RemoveIfUnused(const QByteArray& name) const {
    // A file a writer holds is open without delete sharing: Windows refuses to delete it.
    DeleteFileW(Inside(path_, name).c_str());
}

bool SafeFolder::Sync() const {
    // NTFS journals renames; MOVEFILE_WRITE_THROUGH returns once the move is on disk.
    return true;
}

}  // namespace quorvant::files
