#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

#include "settings/IniEncoding.h"

namespace quorvant {

// Why a settings file could not be read or written. The engine only names the reason; the words
// the user sees are made above it (text/Messages).
enum class IniFailure {
    NoFileChosen,
    ReadFailed,          // errorNumber says why
    WriteFailed,         // errorNumber says why
    NotRegularFile,      // kind says what it is
    InUse,               // another writer holds the folder lock
    FileReadOnly,        // the file has no write permission bit, or may not be written to
    InvalidSectionName,  // section
    InvalidKeyName,      // key
    LineBreakInValue,    // section, key
    Unencodable,         // section, key (or the name itself), character, encoding
    Undecodable,         // a UTF-16 file with an odd number of bytes
    EncodingWouldChange, // encoding: the file would read as another encoding after the save
    LoneCarriageReturn,  // section, key: the stored line holds a CR that other programs split at
    LineWouldChange,     // section, key: the written line would no longer read as that key
    ChangedElsewhere,    // keys: changed on disk by another program since it was read
};

// What a file turned out to be when it is not a regular file.
enum class FileKind { Missing, Regular, Folder, Fifo, CharDevice, BlockDevice, Socket, Other };

// errorNumber is an errno value (ENOSPC, EACCES, ...); a Windows error that has none is
// kWindowsErrorBase plus its code.
inline constexpr int kWindowsErrorBase = 0x40000000;

// A key that a save and another program both changed since the save's side read it, each to
// another value: what was read, what is on disk now, what the save would write (nothing: absent).
struct BothChanged {
    QString section;
    QString key;
    std::optional<QString> read;
    std::optional<QString> onDisk;
    std::optional<QString> mine;
    bool operator==(const BothChanged&) const = default;
};

struct IniErrorDetails {
    int errorNumber = 0;
    FileKind kind = FileKind::Missing;
    QString section;
    QString key;
    QString character;
    IniEncoding encoding = IniEncoding::Utf8;
    QStringList keys;
    // ChangedElsewhere: of `keys`, those the save changed too.
    QList<BothChanged> both;
};

// A read or write that did not happen. A failed write leaves the file exactly as it was.
class IniError : public std::runtime_error {
public:
    IniError(const QString& file, IniFailure failure, IniErrorDetails details = {})
        : std::runtime_error(("settings file " + file + ": failure " + QString::number(int(failure))).toStdString()),
          file_(file),
          failure_(failure),
          details_(std::move(details)) {}
    const QString& File() const { return file_; }
    IniFailure Failure() const { return failure_; }
    const IniErrorDetails& Details() const { return details_; }
    // The same failure for another file name (the engine's inner parts do not know the path).
    IniError ForFile(const QString& file) const { return IniError(file, failure_, details_); }

private:
    QString file_;
    IniFailure failure_;
    IniErrorDetails details_;
};

}  // namespace quorvant
