#pragma once

// The file-system steps of the settings history that differ between systems: a folder reached
// without following a link and trusted by its owner, the files in it reached through it alone,
// and who a save is made by. SafeFolder_posix.cpp is the POSIX part; a Windows sibling
// (SafeFolder_win32.cpp) implements the same declarations.

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

#include "settings/IniError.h"

namespace quorvant::files {

// Who owns a file, and its permission bits.
struct Ownership {
    quint32 user = 0;
    quint32 group = 0;
    unsigned mode = 0600;
};

// The ownership of the file a path leads to (links followed); nothing when it cannot be looked at.
std::optional<Ownership> OwnershipOf(const QByteArray& path);

// Who a save is recorded for: `user` is the person, `account` the account that ran the program
// when that is another one. Under sudo (run as root, SUDO_USER set) the user is the one who called
// sudo and the account root; otherwise the account is empty.
struct Saver {
    QString user;
    QString account;
};
Saver CurrentSaver();

// The running program's name, for a process that named itself nowhere else.
QString ProcessName();
// This machine's name, as the history records it.
QString HostName();

// A folder opened once and used through that handle alone: a link in its place is never
// followed, and neither is a link among its files.
class SafeFolder {
public:
    enum class Refusal {
        None,
        Missing,     // there is nothing under the name
        Link,        // a symbolic link
        NotAFolder,  // something else: `kind` says what
        Untrusted,   // a folder of another account than root, the running one or the file's owner
        Failed,      // `error` says why
    };

    // Opens the folder `path`, trusted when it belongs to root, the running account or `owner`'s
    // user. With `create`, a missing folder is made first, owned by `owner` where the running
    // account may give it away (root saving someone else's file).
    static SafeFolder Open(const QByteArray& path, const Ownership& owner, bool create);

    SafeFolder() = default;
    SafeFolder(SafeFolder&& other) noexcept;
    SafeFolder& operator=(SafeFolder&& other) noexcept;
    ~SafeFolder();

    bool IsOpen() const { return fd_ != -1; }
    Refusal refusal = Refusal::Failed;
    int error = 0;
    FileKind kind = FileKind::Missing;

    struct Entry {
        QByteArray name;
        bool regular = false;  // a regular file, not a link to one
        qint64 size = 0;
    };
    QList<Entry> List() const;

    // Up to `limit` bytes from the start of the regular file `name` (never through a link), and its
    // size on disk. False with `error` set when it cannot be read.
    bool Read(const QByteArray& name, qint64 limit, QByteArray* bytes, qint64* size, int* error) const;

    // A new file in the folder, under a name of its own (`prefix` and six characters), locked
    // while it is written so that the clean-up of another writer leaves it alone.
    class NewFile {
    public:
        NewFile() = default;
        NewFile(NewFile&& other) noexcept;
        NewFile& operator=(NewFile&& other) noexcept;
        ~NewFile();  // an unfinished file is closed and removed
        bool IsOpen() const { return fd_ != -1; }
        const QByteArray& Name() const { return name_; }
        bool Write(const char* data, qsizetype size);
        bool WriteAt(qint64 offset, const QByteArray& bytes);
        // Synced and closed: it stays.
        bool Finish();

    private:
        friend class SafeFolder;
        std::intptr_t folder_ = -1;  // the folder's descriptor (POSIX)
        std::intptr_t fd_ = -1;      // descriptor or handle
        QByteArray name_;
        QByteArray folderPath_;      // the folder (Windows, which opens files by path)
    };
    // `mode` and `owner` as the file's (the owner where the running account may give it away).
    NewFile Create(const QByteArray& prefix, const Ownership& owner, int* error) const;

    // Within the folder; the new name must not be taken already.
    bool Rename(const QByteArray& from, const QByteArray& to, int* error = nullptr) const;
    bool Remove(const QByteArray& name) const;
    // Removes the file unless a writer still holds it (a file system without folder locks).
    void RemoveIfUnused(const QByteArray& name) const;
    // The folder's entries on disk.
    bool Sync() const;

private:
    std::intptr_t fd_ = -1;  // descriptor or handle
    QByteArray path_;
};

}  // namespace quorvant::files
