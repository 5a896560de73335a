#include "support/SystemFiles.h"

#include <windows.h>

#include <QByteArray>
#include <QDir>

namespace quorvant::test {

namespace {
std::wstring Wide(const QString& path) { return QDir::toNativeSeparators(QDir().absoluteFilePath(path)).toStdWString(); }
}  // namespace

ForeignLock::ForeignLock(const QString& folder) {
    // The lock file the engine's saves lock (settings/FilePrimitives_win32.cpp).
    const HANDLE file = CreateFileW(Wide(folder + "/.quorvant-lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    OVERLAPPED at{};
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
        CloseHandle(file);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

void ForeignLock::Release() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}

ForeignHold::ForeignHold(const QString& file) {
    const HANDLE handle =
        CreateFileW(Wide(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) handle_ = reinterpret_cast<std::intptr_t>(handle);
}

void ForeignHold::Release() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = -1;
}

bool RunningAsRoot() { return false; }

bool GiveTo(const QString&, unsigned) { return false; }

unsigned OwnerOf(const QString&) { return unsigned(-1); }

bool SetPermissions(const QString& path, unsigned mode) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    const bool readOnly = (mode & 0222) == 0;
    // Only the owner's bits mean anything here; a mode that takes rights from others does not.
    if (!readOnly && (mode & 0666) != 0666 && (mode & 0666) != 0644) return false;
    return SetFileAttributesW(Wide(path).c_str(), readOnly ? (attributes | FILE_ATTRIBUTE_READONLY)
                                                           : (attributes & ~DWORD(FILE_ATTRIBUTE_READONLY)));
}

unsigned PermissionsOf(const QString& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    return (attributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
}

unsigned CurrentUmask() { return 0; }

bool MakeFifo(const QString&) { return false; }

bool MarkHidden(const QString& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           SetFileAttributesW(Wide(path).c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
}

bool IsHidden(const QString& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
}

bool HasFileSizeLimits() { return false; }

}  // namespace quorvant::test
