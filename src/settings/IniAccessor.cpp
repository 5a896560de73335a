#include "settings/IniAccessor.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QPair>

#include "settings/AtomicFile.h"
#include "settings/IniDocument.h"

namespace quorvant {

namespace {

// Documents in the cache are not changed while shared: a save takes its document out first.
using Document = std::shared_ptr<IniDocument>;

// Parsed files shared by every accessor of the process. A file is parsed again only when its
// stamp on disk changed, so the many reads of a window's load cost a stat and a hash lookup each.
class DocumentCache {
public:
    static DocumentCache& Instance() {
        static DocumentCache cache;
        return cache;
    }

    Document Get(const QString& path) {
        const FileStamp stamp = StampOf(path);
        {
            QMutexLocker lock(&mutex_);
            const auto it = files_.constFind(path);
            if (it != files_.cend() && it->stamp == stamp) return it->document;
        }
        if (!stamp.exists) return Put(path, stamp, std::make_shared<IniDocument>());
        QByteArray bytes;
        FileStamp readStamp;
        // Unreadable reads as empty, and is tried again next time.
        if (!ReadWholeFile(path, &bytes, &readStamp)) return std::make_shared<IniDocument>();
        return Put(path, readStamp, std::make_shared<IniDocument>(bytes));
    }

    // Takes the cached parse of exactly these bytes out of the cache, for a save to change it.
    std::shared_ptr<IniDocument> Take(const QString& path, const QByteArray& bytes) {
        QMutexLocker lock(&mutex_);
        const auto it = files_.find(path);
        if (it == files_.end() || it->document->Original() != bytes) return nullptr;
        // Someone still reading it gets to keep it unchanged; the save works on a copy then.
        if (it->document.use_count() > 1) return std::make_shared<IniDocument>(*it->document);
        std::shared_ptr<IniDocument> document = std::move(it->document);
        files_.erase(it);
        return document;
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

[[noreturn]] void Rethrow(const QString& file, const IniError& error) {
    if (error.File().isEmpty()) throw IniError(file, error.Reason());
    throw error;
}

// One locked read-modify-replace of a file applying the writes in order.
void Store(const QString& file, const QList<PendingWrite>& writes) {
    if (file.isEmpty()) throw IniError(file, QStringLiteral("Er is geen bestand gekozen"));
    std::shared_ptr<IniDocument> result;
    try {
        const FileStamp stamp = ReplaceFile(file, [&](const QByteArray& current) {
            result = DocumentCache::Instance().Take(file, current);
            if (!result) result = std::make_shared<IniDocument>(current);
            for (const PendingWrite& write : writes) {
                if (write.remove)
                    result->RemoveKey(write.section, write.key);
                else
                    result->SetValue(write.section, write.key, write.value);
            }
            result->MarkSaved();
            return result->Original();
        });
        DocumentCache::Instance().Put(file, stamp, result);
    } catch (const IniError& error) {
        Rethrow(file, error);
    }
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
        return DocumentCache::Instance().Get(file_)->Value(section_, key_).value_or(QString());
    } catch (...) {
        return {};
    }
}

void IniAccessor::WriteValue(const QString& value) {
    if (!transaction_) {
        Store(file_, {PendingWrite{section_, key_, value}});
        return;
    }
    // Refuse at once what the file cannot hold, so a save stops at the key that cannot be stored.
    try {
        DocumentCache::Instance().Get(file_)->CheckWritable(section_, key_, value);
    } catch (const IniError& error) {
        Rethrow(file_, error);
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

void IniAccessor::CommitSave() {
    if (!transaction_) return;
    const std::unique_ptr<IniTransaction> transaction = std::move(transaction_);
    for (const QString& file : transaction->order) Store(file, transaction->files.value(file).writes);
}

void IniAccessor::AbortSave() { transaction_.reset(); }

bool IniAccessor::InSave() const { return transaction_ != nullptr; }

}  // namespace quorvant
