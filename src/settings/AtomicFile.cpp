#include "settings/AtomicFile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <atomic>
#include <cerrno>

#include "settings/FilePrimitives.h"
#include "settings/History.h"
#include "settings/IniError.h"

namespace quorvant {

namespace {

std::atomic<int> g_lockWaitMs{5000};

[[noreturn]] void Fail(const QString& path, IniFailure failure, int error) {
    IniErrorDetails details;
    details.errorNumber = error;
    throw IniError(path, failure, details);
}

[[noreturn]] void NotRegular(const QString& path, FileKind kind) {
    IniErrorDetails details;
    details.kind = kind;
    throw IniError(path, IniFailure::NotRegularFile, details);
}

// Repeats `step` while another program holds what it needs (the folder lock, or on Windows the
// file itself), calling the save's lock-wait hook, until the lock wait runs out.
files::Outcome WhileBusy(const QDeadlineTimer& deadline, const QString& path, const SaveContext& context,
                         const std::function<files::Outcome()>& step) {
    for (;;) {
        const files::Outcome outcome = step();
        if (outcome != files::Outcome::Busy) return outcome;
        // The hook runs at least once, however short the wait.
        if (context.lockWait) context.lockWait();
        if (deadline.hasExpired()) throw IniError(path, IniFailure::InUse);
        QThread::msleep(10);
    }
}

// The settings file as it is now: its handle, bytes and kind; `exists` false when there is none.
struct Current {
    bool exists = false;
    files::Handle handle;
    QByteArray bytes;
    FileStamp stamp;
};

Current ReadCurrent(const QString& path, const QString& target, const QDeadlineTimer& deadline,
                    const SaveContext& context) {
    Current current;
    int error = 0;
    const files::Outcome opened =
        WhileBusy(deadline, path, context, [&] { return files::OpenForReading(target, &current.handle, &error); });
    if (opened == files::Outcome::Failed) {
        if (error != ENOENT) Fail(path, IniFailure::ReadFailed, error);
        return current;
    }
    FileKind kind = FileKind::Regular;
    if (!files::StampOfHandle(current.handle, &current.stamp, &kind, &error)) Fail(path, IniFailure::ReadFailed, error);
    if (kind != FileKind::Regular) NotRegular(path, kind);
    if (!files::ReadRest(current.handle, &current.bytes, current.stamp.size, &error))
        Fail(path, IniFailure::ReadFailed, error);
    current.exists = true;
    return current;
}

// A temporary file that is removed unless it was put in place.
struct Temp {
    files::Handle handle;
    QString path;
    ~Temp() {
        handle.Close();
        if (!path.isEmpty()) files::Remove(path);
    }
};

}  // namespace

void SetLockWaitMs(int milliseconds) { g_lockWaitMs = milliseconds; }

FileStamp StampOf(const QString& path) { return files::StampOfPath(path); }

bool ReadWholeFile(const QString& path, QByteArray* bytes, FileStamp* stamp, std::optional<IniError>* problem) {
    *stamp = {};
    bytes->clear();
    const auto fail = [&](IniFailure failure, int error, FileKind kind) {
        bytes->clear();
        if (problem) {
            IniErrorDetails details;
            details.errorNumber = error;
            details.kind = kind;
            problem->emplace(path, failure, details);
        }
        return false;
    };
    files::Handle file;
    int error = 0;
    switch (files::OpenForReading(path, &file, &error)) {
        case files::Outcome::Done:
            break;
        case files::Outcome::Busy:
            return fail(IniFailure::InUse, 0, FileKind::Missing);
        case files::Outcome::Failed:
            return fail(IniFailure::ReadFailed, error, FileKind::Missing);
    }
    FileStamp read;
    FileKind kind = FileKind::Regular;
    if (!files::StampOfHandle(file, &read, &kind, &error)) return fail(IniFailure::ReadFailed, error, FileKind::Missing);
    if (kind != FileKind::Regular) return fail(IniFailure::NotRegularFile, 0, kind);
    if (!files::ReadRest(file, bytes, read.size, &error)) return fail(IniFailure::ReadFailed, error, kind);
    *stamp = read;
    return true;
}

FileStamp ReplaceFile(const QString& path, const std::function<QByteArray(const QByteArray& current)>& update,
                      const QByteArray* expected, const std::function<QList<KeyChange>()>& changes,
                      const SaveContext& context) {
    const QString target = files::RealTarget(path);
    const QString folder = files::FolderOf(target);
    const QDeadlineTimer deadline(g_lockWaitMs.load());
    int error = 0;

    // The lock sits on the folder: it survives the replacement of the file.
    files::Handle lock;
    if (WhileBusy(deadline, path, context, [&] { return files::TryLockFolder(folder, &lock, &error); }) == files::Outcome::Failed)
        Fail(path, IniFailure::WriteFailed, error);

    // Read fresh under the lock, so what other writers stored since is kept.
    Current current = ReadCurrent(path, target, deadline, context);
    if (expected && current.bytes == *expected) current.bytes = *expected;
    files::RemoveStaleTemps(folder, target);

    const QByteArray next = update(current.bytes);
    if (current.exists && next == current.bytes) return current.stamp;

    // A file without any write permission (root included) is read-only by intent.
    if (current.exists && files::ReadOnlyByIntent(current.handle)) throw IniError(path, IniFailure::FileReadOnly);
    Temp temp;
    if (!files::CreateTemp(target, current.handle, &temp.handle, &temp.path, &error))
        Fail(path, IniFailure::WriteFailed, error);
    current.handle.Close();
    // The replace would put aside a file that may not be written to (someone else's): refuse, as
    // writing into the file itself would. (A folder that may not be written to has been reported.)
    if (current.exists && !files::MayWrite(target)) throw IniError(path, IniFailure::FileReadOnly);
    if (!files::WriteAll(temp.handle, next, &error) || !files::Sync(temp.handle, &error) || !temp.handle.Close(&error))
        Fail(path, IniFailure::WriteFailed, error);
    // The content replaced goes into the settings history first (History.h): no kill loses it.
    std::optional<history::Recording> recording;
    if (current.exists) recording.emplace(QFile::encodeName(target), current.bytes, next, changes, context.action);
    if (WhileBusy(deadline, path, context, [&] { return files::Replace(temp.path, target, current.exists, &error); }) ==
        files::Outcome::Failed)
        Fail(path, IniFailure::WriteFailed, error);
    temp.path.clear();
    // The rename itself must reach the disk too; past this point the new file is in place.
    files::SyncFolder(lock, folder);
    if (recording) recording->Confirmed();
    return StampOf(target);
}

}  // namespace quorvant
