// The history's reader on anything a history folder could hold: a crafted version header, read as
// the format and from a file as a listing reads it, and a crafted folder listing, named and kept or
// dropped by the retention. Nothing may crash or read out of bounds, a header that is read back
// as written keeps its fields, a version's own name reads back, and the retention never drops the
// version a save has just recorded nor keeps more than the count allows.
//
// Input: two bytes (little-endian) give the header's length, then the header's bytes (which are
// also written as a version file, with what follows as its content), then the folder's names, one
// a line; a name may end in a tab and a size in kilobytes.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "settings/History.h"
#include "settings/HistoryFormat.h"

using namespace quorvant;
using namespace quorvant::history;

namespace {

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void HeaderReadsBack(QByteArrayView bytes) {
    const std::optional<format::Header> header = format::ParseHeader(bytes);
    if (!header) return;
    Check(header->length <= bytes.size() && header->length <= format::kHeaderLimit, "header longer than its bytes");
    const Version& v = header->version;
    Check(v.id >= 1 && v.id <= kLastVersion && v.size >= 0, "number or size out of range");
    Check(!v.changes || v.changes->size() == v.changed, "changes and their count disagree");
    const std::optional<format::Header> again = format::ParseHeader(format::HeaderText(v));
    Check(again.has_value(), "a header written from a read one does not read");
    Check(again->version.id == v.id && again->version.size == v.size && again->version.sha256 == v.sha256 &&
              again->version.changed == v.changed,
          "a header written from a read one reads otherwise");
    Check(!v.changes || again->version.changes == v.changes, "changes read back otherwise");
}

// The header as a version file beside a settings file, read as a listing and a restore read it.
void FileReads(const QByteArray& header, const QByteArray& content) {
    static QTemporaryDir dir;
    static const QString file = dir.filePath("server.ini");
    static const bool made = [] {
        QFile out(file);
        return QDir().mkpath(dir.filePath(FolderName())) && out.open(QIODevice::WriteOnly) && out.write("[a]\nk=1\n") > 0;
    }();
    Check(made, "no folder to fuzz in");
    const QString entry = dir.filePath(FolderName() + "/server.ini.v000001.20250101T000000Z");
    QFile out(entry);
    Check(out.open(QIODevice::WriteOnly | QIODevice::Truncate), "version file not written");
    out.write(header);
    out.write(content);
    out.close();
    const Listing listing = VersionsOf(file);
    for (const Version& version : listing.versions) {
        const std::optional<QByteArray> read = ReadContent(version);
        Check(!read || read->size() == version.size, "content of another size than its header says");
        ChangeReader changes(file, listing.versions);
        changes.CountOf(0);
    }
}

void ListingHolds(const QList<QByteArray>& lines) {
    QList<format::Entry> entries;
    QSet<QByteArray> names;
    for (const QByteArray& line : lines) {
        const qsizetype tab = line.indexOf('\t');
        const QByteArray name = tab < 0 ? line : line.left(tab);
        const std::optional<format::EntryName> parsed = format::ParseName(name);
        if (!parsed || names.contains(name)) continue;
        Check(parsed->id >= 1 && parsed->id <= kLastVersion, "number out of range");
        if (parsed->state == format::EntryName::State::Final)
            Check(format::NameOf(parsed->file, parsed->id, parsed->Time()) == name, "a version's name reads otherwise");
        names.insert(name);
        const qint64 kilobytes = tab < 0 ? 1 : line.mid(tab + 1).toLongLong() % (1 << 20);
        entries.append({name, *parsed, std::max<qint64>(0, kilobytes) * 1024});
    }
    if (entries.isEmpty()) return;
    const QByteArray keep = entries.constLast().parsed.state == format::EntryName::State::Final
                                ? entries.constLast().name
                                : QByteArray();
    const format::Retained retained = format::Retain(entries, keep);
    QSet<QByteArray> dropped;
    for (const format::Entry& entry : retained.dropped) {
        Check(entry.name != keep, "the version just recorded is dropped");
        Check(entry.parsed.state == format::EntryName::State::Final, "an unfinished version is dropped");
        Check(!dropped.contains(entry.name), "a version is dropped twice");
        dropped.insert(entry.name);
    }
    QHash<QByteArray, int> kept;
    for (const format::Entry& entry : entries)
        if (entry.parsed.state == format::EntryName::State::Final && !dropped.contains(entry.name))
            ++kept[entry.parsed.file];
    for (const int count : kept) Check(count <= kKeptVersions, "more versions kept than the count allows");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 2, qsizetype(size - 2));
    const qsizetype headerSize = std::min<qsizetype>(data[0] | (data[1] << 8), bytes.size());
    const QByteArray header = bytes.left(headerSize);
    const QByteArray rest = bytes.mid(headerSize);
    HeaderReadsBack(header);
    FileReads(header, rest.left(64));
    ListingHolds(rest.split('\n'));
    return 0;
}
