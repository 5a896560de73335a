#pragma once

// The few file operations the engine's saves are made of, one implementation per system:
// FilePrimitives_posix.cpp (Linux) and FilePrimitives_win32.cpp (Windows). AtomicFile.cpp puts
// them together into the locked, atomic replace; nothing above the engine uses them.
//
// Paths are the caller's QStrings. A failed call returns false or an empty result and leaves an
// errno value (ENOENT, EACCES, ...) in `error`; a Windows error without such a value is
// kWindowsErrorBase + its code.

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "settings/AtomicFile.h"
#include "settings/IniError.h"

namespace quorvant::files {

// An open file or folder of the system (a descriptor or a handle); closed when it goes.
class Handle {
public:
    Handle() = default;
    explicit Handle(std::intptr_t native) : native_(native) {}
    ~Handle() { Close(); }
    Handle(Handle&& other) noexcept : native_(other.Release()) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Close();
            native_ = other.Release();
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool IsOpen() const { return native_ != kNone; }
    std::intptr_t Get() const { return native_; }
    std::intptr_t Release() {
        const std::intptr_t native = native_;
        native_ = kNone;
        return native;
    }
    // Closes now; false (with `error`) when the system reports that written data was lost.
    bool Close(int* error = nullptr);

    static constexpr std::intptr_t kNone = -1;

private:
    std::intptr_t native_ = kNone;
};

// The file a save of `path` replaces: on Linux a symlink is followed so the link stays a link.
QString RealTarget(const QString& path);
// The folder that holds `file`.
QString FolderOf(const QString& file);

// What stat() or its Windows counterpart says about an open file, or about the file a path leads
// to (symlinks followed; no stamp when there is none). KindOfPath: Missing when there is nothing.
bool StampOfHandle(const Handle& file, FileStamp* stamp, FileKind* kind, int* error);
FileStamp StampOfPath(const QString& path);
FileKind KindOfPath(const QString& path);

enum class Outcome { Done, Busy, Failed };

// Locks the folder against other writers of its files, without waiting: Busy while another
// holds it. `lock` stays empty where the folder cannot be locked (a file system without locks,
// a folder that may not be read); the replace then goes on unlocked and fails on its own merits.
Outcome TryLockFolder(const QString& folder, Handle* lock, int* error);

// Opens an existing file for reading. Busy while another program holds it without sharing
// (Windows); Failed with ENOENT when it does not exist. Never blocks on a FIFO or device.
Outcome OpenForReading(const QString& path, Handle* file, int* error);
// Reads what is left of an open file.
bool ReadRest(const Handle& file, QByteArray* bytes, qint64 sizeHint, int* error);

// Removes temporary files that a killed save of `target` left in `folder` and that no one holds.
void RemoveStaleTemps(const QString& folder, const QString& target);

// A file without any write permission bit (Windows: the read-only attribute) is read-only by intent,
// even for root. MayWrite: this process may write the file (not someone else's).
bool ReadOnlyByIntent(const Handle& old);
bool MayWrite(const QString& target);

// A new temporary file beside `target`, named for RemoveStaleTemps, with the old file's
// permissions and owner where there is one (`old` open) and the default ones otherwise.
bool CreateTemp(const QString& target, const Handle& old, Handle* temp, QString* tempPath, int* error);
bool WriteAll(const Handle& file, const QByteArray& bytes, int* error);
// Makes what was written durable.
bool Sync(const Handle& file, int* error);
// Puts the closed temporary file in place of `target`, keeping the target's attributes (and, on
// Windows, its security). Busy while another program holds the target (Windows).
Outcome Replace(const QString& tempPath, const QString& target, bool targetExists, int* error);
// Makes the folder's new entry durable (nothing to do where renames are journaled).
void SyncFolder(const Handle& lock, const QString& folder);
bool Remove(const QString& path);

}  // namespace quorvant::files
