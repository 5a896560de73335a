#pragma once

// The settings history's file format and retention as plain functions on names and bytes, without
// any file: what History.cpp reads and writes through them, and what the fuzz targets try.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QStringList>
#include <optional>

#include "settings/History.h"

namespace quorvant::history::format {

// An entry's name: FILE.vNNNNNN.STAMP, then ".pending" or ".part-XXXXXX" while a save writes it.
// The number has six to nine digits, no more leading zeros than six digits need, and runs from 1
// to kLastVersion; any other name is foreign.
struct EntryName {
    enum class State { Final, Pending, Part };
    QByteArray file;
    qint64 id = 0;
    QByteArray stamp;  // yyyyMMddTHHmmssZ: sorts as the time it stands for
    State state = State::Final;
    QDateTime Time() const;
    QString File() const;
};
std::optional<EntryName> ParseName(QByteArrayView name);
// The final name of version `id` of `file`, saved at `time`.
QByteArray NameOf(const QByteArray& file, qint64 id, const QDateTime& time);
QByteArray StampOf(const QDateTime& time);

// A header: the version's fields, and its length with the empty line that ends it.
struct Header {
    Version version;
    qsizetype length = 0;
};
// Nothing unless `bytes` start with a whole, sound header of ours.
std::optional<Header> ParseHeader(QByteArrayView bytes);
// The header of a version (its entry and file are not part of it); the changes that do not fit
// within the header's bound are counted but not listed. SHA-256 as the version holds it.
QByteArray HeaderText(const Version& version);
// Where the SHA-256's 64 hex digits stand in a header that HeaderText made.
qsizetype HashAt(const QByteArray& header);
// How far a reader looks for the end of a header; readers of 1.0.1 looked no further either.
inline constexpr qsizetype kHeaderLimit = 64 * 1024;

// An entry of the history folder, as the listing gives it.
struct Entry {
    QByteArray name;
    EntryName parsed;
    qint64 bytes = 0;
};
// What the retention drops of the final entries in `entries` (see History.h), never `keep`; and
// the files the folder's size left with their last version alone.
struct Retained {
    QList<Entry> dropped;
    QStringList single;
};
Retained Retain(QList<Entry> entries, const QByteArray& keep);

}  // namespace quorvant::history::format
