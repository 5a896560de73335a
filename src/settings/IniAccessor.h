#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <stdexcept>

#include "settings/IniError.h"
#include "settings/KeyChanges.h"
#include "settings/SaveContext.h"

namespace quorvant {

class IniDocument;
class IniTransaction;

// What a save does with keys another program changed on disk since the accessor read them.
enum class ChangedOnDisk {
    Refuse,     // throw IniError(ChangedElsewhere), so the caller can ask
    KeepTheirs, // write only the keys this save changed from what it read; the others stay as on disk
    Overwrite,  // write every key as the save has it
};

// The one way into a settings file: select file, section and key, then read or write.
// Names match without regard to case; everything the program does not write is kept byte for byte.
class IniAccessor {
public:
    IniAccessor();
    ~IniAccessor();
    IniAccessor(const IniAccessor&) = delete;
    IniAccessor& operator=(const IniAccessor&) = delete;

    void SetFile(const QString& path);
    void SetSection(const QString& name);
    void SetKey(const QString& name);

    // Empty text when the file, the section or the key is absent or unreadable.
    QString ReadValue() const;

    // Why the current file reads as empty or cannot be saved: it exists but cannot be read, is no
    // regular file, or cannot be decoded. Nothing for a missing or sound file.
    std::optional<IniError> LoadProblem() const;

    // Outside a save each write is its own atomic replacement of the file.
    // Inside a save (BeginSave .. CommitSave) writes collect in memory and ReadValue sees them.
    // Throws IniError when the write cannot be made (outside a save) or the value cannot be stored.
    void WriteValue(const QString& value);
    void WriteValue(qint16 value);
    void WriteValue(qint32 value);

    // For tools (quorvant-ini), on the file as it is on disk: the section names of the file and the
    // key names of the current section, as written there, in file order; whether the current
    // section holds the current key.
    QStringList SectionNames() const;
    QStringList KeyNames() const;
    bool KeyExists() const;
    // Removes the current key (every entry of it in its section); nothing to do when it is
    // absent. Outside a save its own atomic replacement, inside a save it waits for CommitSave.
    void DeleteKey();

    // One save = one transaction on the currently selected file: at BeginSave nothing is locked;
    // at CommitSave the file is locked, read fresh, the save's writes are applied in order and the
    // file is replaced once (temp file, fsync, rename). Throws IniError and leaves the file as it
    // was on any failure. AbortSave drops the collected writes. Writes to several files in one
    // save are committed file by file, in the order of their first write. A save does not nest:
    // BeginSave during a save throws std::logic_error.
    // A key this accessor read from a file, that another program changed on disk since, and that
    // the save would set to another value than the one now on disk, is not overwritten with
    // ChangedOnDisk::Refuse: the commit throws IniError(ChangedElsewhere) naming those keys (and
    // those the save changed too, with both values), so the caller can ask and run the save again.
    // KeepTheirs merges per key: a key whose written value is the one this accessor read keeps
    // what is on disk now; a key the save changed is written. Other changes on disk (keys the save
    // does not write) are kept without a question.
    //
    // Threads: an accessor is used by one thread at a time. CommitSave may run on another thread
    // than the one that began the save and made the writes (so a window stays free while the
    // file is locked, written and synced), as long as nothing calls this accessor until it
    // returns. Other accessors may be used meanwhile on any thread, on any file: the parses they
    // share are guarded by a lock and never changed. `context` is what the history records of
    // the save and the hook the commit calls while it waits for another writer's lock; a write
    // outside a save records a plain "save" and only sleeps while it waits.
    void BeginSave();
    void CommitSave(ChangedOnDisk changed = ChangedOnDisk::Refuse, const SaveContext& context = {});
    void CommitSave(bool overwriteChanged, const SaveContext& context = {}) {
        CommitSave(overwriteChanged ? ChangedOnDisk::Overwrite : ChangedOnDisk::Refuse, context);
    }
    void AbortSave();
    bool InSave() const;

    // The keys of the current file that differ between what this accessor read (or last saved)
    // and the file on disk now; nothing when it has not read the file. Not during a save.
    QList<KeyChange> ChangesOnDisk() const;
    // The next read of the current file takes it as it is on disk now, and later saves compare
    // with that: for a window that shows the file anew.
    void ReadAgain();

    const QString& File() const { return file_; }
    const QString& Section() const { return section_; }
    const QString& Key() const { return key_; }

private:
    QString file_;
    QString section_;
    QString key_;
    std::unique_ptr<IniTransaction> transaction_;
    // Per file, the document as this accessor first read it (or last saved it).
    mutable QHash<QString, std::shared_ptr<const IniDocument>> seen_;
};

// Scoped save: commits explicitly, aborts when left by an exception.
class IniSave {
public:
    explicit IniSave(IniAccessor& accessor) : accessor_(accessor) { accessor_.BeginSave(); }
    ~IniSave() {
        if (accessor_.InSave()) accessor_.AbortSave();
    }
    void Commit(ChangedOnDisk changed = ChangedOnDisk::Refuse, const SaveContext& context = {}) {
        accessor_.CommitSave(changed, context);
    }
    void Commit(bool overwriteChanged, const SaveContext& context = {}) { accessor_.CommitSave(overwriteChanged, context); }
    IniSave(const IniSave&) = delete;
    IniSave& operator=(const IniSave&) = delete;

private:
    IniAccessor& accessor_;
};

}  // namespace quorvant
