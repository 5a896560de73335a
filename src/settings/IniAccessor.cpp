#include "settings/IniAccessor.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QPair>
#include <QScopeGuard>
#include <QSet>

#include "settings/AtomicFile.h"
#include "settings/IniDocument.h"
#include "settings/KeyChanges.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace quorvant {

namespace {

// Documents in the cache are never changed: a save changes a copy, which shares the parsed bytes.
using Document = std::shared_ptr<const IniDocument>;

// Parsed files shared by every accessor of the process, on any thread. A file is parsed again only
// when its stamp on disk changed, so the many reads of a window's load cost a stat and a hash lookup each.
class DocumentCache {
public:
    static DocumentCache& Instance() {
        static DocumentCache cache;
        return cache;
    }

    // The parse of the file as it is on disk now; an unreadable file reads as empty, `problem`
    // says why, and it is tried again next time.
    Document Get(const QString& path, std::optional<IniError>* problem = nullptr) {
        const FileStamp stamp = StampOf(path);
        {
            QMutexLocker lock(&mutex_);
            const auto it = files_.constFind(path);
            if (it != files_.cend() && it->stamp == stamp) return it->document;
            // An outdated parse goes before the file is read again, so the two are not held at once.
            files_.remove(path);
        }
        if (!stamp.exists) return Put(path, stamp, std::make_shared<const IniDocument>());
        QByteArray bytes;
        FileStamp readStamp;
        if (!ReadWholeFile(path, &bytes, &readStamp, problem)) return std::make_shared<const IniDocument>();
        return Put(path, readStamp, std::make_shared<const IniDocument>(bytes));
    }

    // The last parse of the file, however old; null when there is none.
    Document Cached(const QString& path) {
        QMutexLocker lock(&mutex_);
        return files_.value(path).document;
    }

    Document Put(const QString& path, const FileStamp& stamp, Document document) {
        QMutexLocker lock(&mutex_);
        files_.insert(path, Entry{stamp, document});
        return document;
    }

private:
    struct Entry {
        FileStamp stamp;
        Document document;
    };
    QMutex mutex_;
    QHash<QString, Entry> files_;
};

struct PendingWrite {
    QString section;
    QString key;
    QString value;
    bool remove = false;
};

// Per key (names without regard to case), the last write of a save: what would end up on disk.
QHash<QPair<QString, QString>, std::optional<QString>> LastWrites(const QList<PendingWrite>& writes) {
    QHash<QPair<QString, QString>, std::optional<QString>> last;
    for (const PendingWrite& write : writes)
        last.insert({NameKey(write.section), NameKey(write.key)},
                    write.remove ? std::nullopt : std::optional<QString>(write.value));
    return last;
}

// Keys of `writes` that another program changed on disk since `seen` was read and that the
// writes would set to something else again; of them, those the writes change from `seen` too.
IniErrorDetails ChangedElsewhere(const IniDocument& seen, const IniDocument& now, const QList<PendingWrite>& writes) {
    IniErrorDetails details;
    const auto last = LastWrites(writes);
    QSet<QPair<QString, QString>> asked;
    for (const PendingWrite& write : writes) {
        const QPair<QString, QString> name{NameKey(write.section), NameKey(write.key)};
        if (asked.contains(name)) continue;
        asked.insert(name);
        const std::optional<QString> before = seen.Value(write.section, write.key);
        const std::optional<QString> after = now.Value(write.section, write.key);
        if (before == after) continue;
        const std::optional<QString> value = last.value(name);
        if (after == value) continue;
        details.keys << write.key;
        if (value != before) details.both.append(BothChanged{write.section, write.key, before, after, value});
    }
    return details;
}

// The writes less those of keys another program changed since `seen` and the writes leave as
// they were in `seen`: those keep what is on disk.
QList<PendingWrite> KeepTheirs(const IniDocument& seen, const IniDocument& now, const QList<PendingWrite>& writes) {
    const auto last = LastWrites(writes);
    QList<PendingWrite> kept;
    for (const PendingWrite& write : writes) {
        const std::optional<QString> before = seen.Value(write.section, write.key);
        const bool theirs = now.Value(write.section, write.key) != before;
        if (theirs && last.value({NameKey(write.section), NameKey(write.key)}) == before) continue;
        kept.append(write);
    }
    return kept;
}

// What the key read as in `seen`, for the characters a write may keep from it.
QString ReadAs(const IniDocument* seen, const QString& section, const QString& key) {
    return seen ? seen->Value(section, key).value_or(QString()) : QString();
}

// One locked read-modify-replace of a file applying the writes in order; returns the document
// as saved. With `seen`, keys changed on disk since then are not overwritten unless allowed.
// Touches no state of an accessor, so it may run on any thread.
std::shared_ptr<const IniDocument> Store(const QString& file, const QList<PendingWrite>& allWrites,
                                         const Document& seen = nullptr,
                                         ChangedOnDisk changed = ChangedOnDisk::Overwrite,
                                         const SaveContext& context = {}) {
    if (file.isEmpty()) throw IniError(file, IniFailure::NoFileChosen);
    std::shared_ptr<IniDocument> result;
    QList<KeyChange> changes;
    try {
        // Most saves find the file as it was last parsed: its parse is reused, and the bytes read
        // under the lock are dropped for the ones it holds.
        const Document cached = DocumentCache::Instance().Cached(file);
        const FileStamp stamp = ReplaceFile(
            file,
            [&](const QByteArray& current) {
                result = cached && cached->Original() == current ? std::make_shared<IniDocument>(*cached)
                                                                 : std::make_shared<IniDocument>(current);
                const bool elsewhere = seen && seen->Original() != current;
                if (elsewhere && changed == ChangedOnDisk::Refuse) {
                    IniErrorDetails details = ChangedElsewhere(*seen, *result, allWrites);
                    if (!details.keys.isEmpty()) throw IniError(file, IniFailure::ChangedElsewhere, details);
                }
                const QList<PendingWrite> writes = elsewhere && changed == ChangedOnDisk::KeepTheirs
                                                       ? KeepTheirs(*seen, *result, allWrites)
                                                       : allWrites;
                const IniDocument before = *result;
                QList<QPair<QString, QString>> written;
                for (const PendingWrite& write : writes) {
                    if (write.remove)
                        result->RemoveKey(write.section, write.key);
                    else
                        result->SetValue(write.section, write.key, write.value,
                                         ReadAs(seen.get(), write.section, write.key));
                    written.append({write.section, write.key});
                }
                // The history is told what changed from what the save knows, not from a parse of each side.
                changes = KeyChanges(before, *result, written);
                result->MarkSaved();
                return result->Original();
            },
            cached ? &cached->Original() : nullptr, [&] { return changes; }, context);
        DocumentCache::Instance().Put(file, stamp, result);
    } catch (const IniError& error) {
        if (error.File().isEmpty()) throw error.ForFile(file);
        throw;
    }
    return result;
}

// The parse and the copies of a file that a save leaves behind go back to the system at once.
// glibc keeps freed blocks below its mmap threshold (which rises to the size of the blocks freed)
// in its heap, where the next save's blocks do not always fit: without this, every save of a big
// file would leave the process bigger.
void ReleaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

// Blocks of a megabyte or more (a file's bytes, where its lines start) come from the system and
// go back to it when freed. glibc would otherwise raise that bound to the size of the blocks a save
// frees, and the next save's blocks would land in its heap, where some stay resident once freed.
void KeepBigBlocksApart() {
#ifdef __GLIBC__
    static const int fixed = mallopt(M_MMAP_THRESHOLD, 1 << 20);
    Q_UNUSED(fixed);
#endif
}

}  // namespace

// The writes of one save, per file in the order they were made, plus the latest value of each key
// so reads during the save see them.
class IniTransaction {
public:
    struct FileWrites {
        QList<PendingWrite> writes;
        QHash<QPair<QString, QString>, QString> latest;
    };
    QList<QString> order;
    QHash<QString, FileWrites> files;
};

IniAccessor::IniAccessor() = default;
IniAccessor::~IniAccessor() = default;

void IniAccessor::SetFile(const QString& path) { file_ = path; }
void IniAccessor::SetSection(const QString& name) { section_ = name; }
void IniAccessor::SetKey(const QString& name) { key_ = name; }

QString IniAccessor::ReadValue() const {
    try {
        if (transaction_) {
            const auto file = transaction_->files.constFind(file_);
            if (file != transaction_->files.cend()) {
                const auto it = file->latest.constFind({NameKey(section_), NameKey(key_)});
                if (it != file->latest.cend()) return *it;
            }
        }
        if (file_.isEmpty()) return {};
        const Document document = DocumentCache::Instance().Get(file_);
        if (!seen_.contains(file_)) seen_.insert(file_, document);
        return document->Value(section_, key_).value_or(QString());
    } catch (...) {
        return {};
    }
}

std::optional<IniError> IniAccessor::LoadProblem() const {
    if (file_.isEmpty()) return std::nullopt;
    std::optional<IniError> problem;
    const Document document = DocumentCache::Instance().Get(file_, &problem);
    if (problem) return problem;
    if (document->Damaged()) return IniError(file_, IniFailure::Undecodable);
    return std::nullopt;
}

void IniAccessor::WriteValue(const QString& value) {
    const Document seen = seen_.value(file_);
    if (!transaction_) {
        Store(file_, {PendingWrite{section_, key_, value}}, seen);
        return;
    }
    // Refuse at once what the file cannot hold, so a save stops at the key that cannot be stored.
    try {
        DocumentCache::Instance().Get(file_)->CheckWritable(section_, key_, value, ReadAs(seen.get(), section_, key_));
    } catch (const IniError& error) {
        if (error.File().isEmpty()) throw error.ForFile(file_);
        throw;
    }
    if (!transaction_->files.contains(file_)) transaction_->order.append(file_);
    IniTransaction::FileWrites& writes = transaction_->files[file_];
    writes.writes.append(PendingWrite{section_, key_, value});
    writes.latest.insert({NameKey(section_), NameKey(key_)}, value);
}

void IniAccessor::WriteValue(qint16 value) { WriteValue(QString::number(value)); }
void IniAccessor::WriteValue(qint32 value) { WriteValue(QString::number(value)); }

QStringList IniAccessor::SectionNames() const {
    if (file_.isEmpty()) return {};
    return DocumentCache::Instance().Get(file_)->SectionNames();
}

QStringList IniAccessor::KeyNames() const {
    if (file_.isEmpty()) return {};
    return DocumentCache::Instance().Get(file_)->KeyNames(section_);
}

bool IniAccessor::KeyExists() const {
    if (file_.isEmpty()) return false;
    return DocumentCache::Instance().Get(file_)->Value(section_, key_).has_value();
}

void IniAccessor::DeleteKey() {
    if (!transaction_) {
        Store(file_, {PendingWrite{section_, key_, QString(), true}});
        return;
    }
    if (!transaction_->files.contains(file_)) transaction_->order.append(file_);
    IniTransaction::FileWrites& writes = transaction_->files[file_];
    writes.writes.append(PendingWrite{section_, key_, QString(), true});
    writes.latest.insert({NameKey(section_), NameKey(key_)}, QString());
}

void IniAccessor::BeginSave() {
    // Starting over would silently drop the writes collected so far.
    if (transaction_) throw std::logic_error("IniAccessor::BeginSave during a save");
    transaction_ = std::make_unique<IniTransaction>();
}

void IniAccessor::CommitSave(ChangedOnDisk changed, const SaveContext& context) {
    if (!transaction_) return;
    const std::unique_ptr<IniTransaction> transaction = std::move(transaction_);
    KeepBigBlocksApart();
    const auto release = qScopeGuard(ReleaseFreedMemory);
    for (const QString& file : transaction->order)
        seen_.insert(file, Store(file, transaction->files.value(file).writes, seen_.value(file), changed, context));
}

void IniAccessor::AbortSave() { transaction_.reset(); }

bool IniAccessor::InSave() const { return transaction_ != nullptr; }

QList<KeyChange> IniAccessor::ChangesOnDisk() const {
    const Document seen = seen_.value(file_);
    if (!seen || file_.isEmpty()) return {};
    const Document now = DocumentCache::Instance().Get(file_);
    if (now->Original() == seen->Original()) return {};
    return KeyChanges(*seen, *now);
}

void IniAccessor::ReadAgain() { seen_.remove(file_); }

}  // namespace quorvant
