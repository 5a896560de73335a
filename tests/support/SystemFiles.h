#pragma once

// What the tests need of the file system where Linux and Windows differ (SystemFiles_posix.cpp,
// SystemFiles_win32.cpp). A test of something a system does not have skips, saying so.

#include <QString>
#include <cstdint>

namespace quorvant::test {

// Another copy of the program in the middle of a save in `folder`: it holds the folder's lock
// until released.
class ForeignLock {
public:
    explicit ForeignLock(const QString& folder);
    ~ForeignLock() { Release(); }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;
    bool Held() const { return handle_ != -1; }
    void Release();

private:
    std::intptr_t handle_ = -1;
};

// Another program holding `file` open without sharing it, the way the server, a backup or a virus
// scanner does on Windows: reads and saves of it wait. Linux has no such holds (Held() false).
class ForeignHold {
public:
    explicit ForeignHold(const QString& file);
    ~ForeignHold() { Release(); }
    ForeignHold(const ForeignHold&) = delete;
    ForeignHold& operator=(const ForeignHold&) = delete;
    bool Held() const { return handle_ != -1; }
    void Release();

private:
    std::intptr_t handle_ = -1;
};

bool RunningAsRoot();
// Gives the file to another account (root only; false on Windows), and says whose it is.
bool GiveTo(const QString& path, unsigned user);
unsigned OwnerOf(const QString& path);
// Permission bits as chmod sets them. Windows has only the read-only attribute: a mode without
// any write bit sets it, one with a write bit clears it, and nothing else can be set (false).
bool SetPermissions(const QString& path, unsigned mode);
// The permission bits of a file (Windows: 0444 or 0666 by the read-only attribute).
unsigned PermissionsOf(const QString& path);
// The process's umask (Windows: 0).
unsigned CurrentUmask();
// A FIFO under the name; false where the system has none.
bool MakeFifo(const QString& path);
// The hidden attribute, which a replace must keep (Windows); false where there is none.
bool MarkHidden(const QString& path);
bool IsHidden(const QString& path);
// Whether a process can limit the size of the files it writes (a full disk for the tests).
bool HasFileSizeLimits();

}  // namespace quorvant::test
