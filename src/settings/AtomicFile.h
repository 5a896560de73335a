#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "settings/IniError.h"
#include "settings/KeyChanges.h"
#include "settings/SaveContext.h"

namespace quorvant {

// What stat() says about a file; a file whose stamp is unchanged is taken as unchanged.
struct FileStamp {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    qint64 ctimeNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// Stamp of the file a path leads to (symlinks followed); exists is false when it cannot be stat'ed.
FileStamp StampOf(const QString& path);

// Reads a whole file with the stamp of exactly what was read. False when it cannot be opened or
// read (`problem` then says why); a missing file gives false with stamp->exists false.
bool ReadWholeFile(const QString& path, QByteArray* bytes, FileStamp* stamp,
                   std::optional<IniError>* problem = nullptr);


// Read-modify-replace of one file as a single step that other copies of the program never
// interleave with: the file's folder is locked, the file read fresh, `update` turns its bytes
// (empty when the file does not exist) into the new content, and the new content replaces the file
// through a temporary file in the same folder (fsync, rename, fsync of the folder). A symlink's
// target is replaced, not the link; the old file's permissions are kept. Nothing is written when
// the content is unchanged. A file the process may not write to is not replaced, nor one without
// any write permission bit (not even by root). Temporary files that earlier saves of this file
// left behind (killed half-way) are removed under the lock. The content an existing file held is
// recorded in the settings history (settings/History.h) before the rename. On any failure the file is left as it
// was, no temporary file remains and IniError(path, ...) is thrown;
// exceptions from `update` pass through unchanged.
// Returns the stamp of the file after the step. `expected`: bytes the caller holds and expects to
// find; when the file holds exactly them, `update` gets them instead of a second copy.
// Safe to run on several threads at once (on different files or the same one).
// `changes`: the keys the step changes, for the history; asked only when it records a version, and
// worked out from the old and new content when not given. `context`: the action the history
// records and the hook called while the step waits for another writer's lock.
FileStamp ReplaceFile(const QString& path, const std::function<QByteArray(const QByteArray& current)>& update,
                      const QByteArray* expected = nullptr,
                      const std::function<QList<KeyChange>()>& changes = {}, const SaveContext& context = {});

// How long ReplaceFile waits for another writer's lock before it gives up (default 5 s); for
// every thread.
void SetLockWaitMs(int milliseconds);

}  // namespace quorvant
