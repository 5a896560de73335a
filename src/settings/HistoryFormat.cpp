#include "settings/HistoryFormat.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <algorithm>
#include <limits>

namespace quorvant::history::format {

namespace {

const QByteArray kMagic = QByteArrayLiteral("Quorvant-History: 1");
const QString kStampFormat = QStringLiteral("yyyyMMdd'T'HHmmss'Z'");
constexpr qsizetype kStamp = 16;
// What one header field may hold, and all the changes' lines together: the header stays within
// what any reader reads of it, whatever the user, host or changed values are.
constexpr qsizetype kFieldChars = 256;
constexpr qsizetype kChangesLimit = 48 * 1024;

bool AllOf(QByteArrayView text, bool (*test)(char)) { return std::all_of(text.begin(), text.end(), test); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlphanumeric(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f'); }

QByteArray Number(qint64 id) { return QByteArray::number(id).rightJustified(6, '0'); }

// One header line's value: no line break may end the header early, and no field may crowd out the rest.
QByteArray OneLine(const QString& text) {
    QByteArray bytes = text.left(kFieldChars).toUtf8();
    bytes.replace('\r', ' ').replace('\n', ' ');
    return bytes;
}

QByteArray ChangeLine(const KeyChange& change) {
    const auto side = [](const std::optional<QString>& value) { return value ? QJsonValue(*value) : QJsonValue(); };
    const QJsonArray fields{change.section, change.key, side(change.before), side(change.after)};
    return "Change: " + QJsonDocument(fields).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<KeyChange> ParseChange(QByteArrayView json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
    const QJsonArray fields = document.array();
    if (error.error != QJsonParseError::NoError || fields.size() != 4 || !fields[0].isString() ||
        !fields[1].isString())
        return std::nullopt;
    KeyChange change{fields[0].toString(), fields[1].toString(), std::nullopt, std::nullopt};
    for (const auto& [at, side] : {std::pair{2, &change.before}, std::pair{3, &change.after}}) {
        if (fields[at].isString())
            *side = fields[at].toString();
        else if (!fields[at].isNull())
            return std::nullopt;
    }
    return change;
}

std::optional<qint64> WholeNumber(QByteArrayView text, qint64 highest) {
    if (text.isEmpty() || text.size() > 19 || !AllOf(text, IsDigit)) return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value > highest) return std::nullopt;
    return value;
}

}  // namespace

QDateTime EntryName::Time() const {
    QDateTime time = QDateTime::fromString(QString::fromLatin1(stamp), kStampFormat);
    time.setTimeSpec(Qt::UTC);
    return time;
}

QString EntryName::File() const { return QFile::decodeName(file); }

QByteArray StampOf(const QDateTime& time) { return time.toUTC().toString(kStampFormat).toLatin1(); }

QByteArray NameOf(const QByteArray& file, qint64 id, const QDateTime& time) {
    return file + ".v" + Number(id) + '.' + StampOf(time);
}

// Every save reads the names of the whole folder, so they are taken apart by hand.
std::optional<EntryName> ParseName(QByteArrayView name) {
    EntryName entry;
    if (name.endsWith(".pending")) {
        entry.state = EntryName::State::Pending;
        name.chop(8);
    } else if (name.size() > 12 && name.sliced(name.size() - 12).startsWith(".part-") &&
               AllOf(name.sliced(name.size() - 6), IsAlphanumeric)) {
        entry.state = EntryName::State::Part;
        name.chop(12);
    }
    if (name.size() < kStamp + 1) return std::nullopt;
    const QByteArrayView stamp = name.sliced(name.size() - kStamp);
    if (!AllOf(stamp.first(8), IsDigit) || stamp[8] != 'T' || !AllOf(stamp.sliced(9, 6), IsDigit) || stamp[15] != 'Z')
        return std::nullopt;
    name.chop(kStamp);
    if (!name.endsWith('.')) return std::nullopt;
    name.chop(1);
    qsizetype digits = 0;
    while (digits < name.size() && IsDigit(name[name.size() - 1 - digits])) ++digits;
    if (digits < 6 || digits > 9 || name.size() < digits + 3 || !name.first(name.size() - digits).endsWith(".v"))
        return std::nullopt;
    const QByteArrayView number = name.sliced(name.size() - digits);
    entry.id = number.toLongLong();
    // One number, one name: "v0000012" would be a second name of version 12.
    if (entry.id < 1 || entry.id > kLastVersion || Number(entry.id) != number) return std::nullopt;
    entry.file = name.first(name.size() - digits - 2).toByteArray();
    entry.stamp = stamp.toByteArray();
    // A stamp is a time: "20240050T120000Z" names none. (Every save reads every name: no parse.)
    const auto part = [&](qsizetype at, qsizetype digits) { return stamp.sliced(at, digits).toInt(); };
    if (!QDate::isValid(part(0, 4), part(4, 2), part(6, 2)) || !QTime::isValid(part(9, 2), part(11, 2), part(13, 2)))
        return std::nullopt;
    return entry;
}

std::optional<Header> ParseHeader(QByteArrayView bytes) {
    bytes = bytes.first(std::min(bytes.size(), kHeaderLimit));
    const qsizetype end = bytes.indexOf("\n\n");
    if (!bytes.startsWith(kMagic + '\n') || end < 0) return std::nullopt;
    Header header;
    header.length = end + 2;
    Version& v = header.version;
    std::optional<qint64> id;
    std::optional<qint64> size;
    std::optional<qint64> changed;
    QList<KeyChange> changes;
    bool changesSound = true;
    for (QByteArrayView rest = bytes.first(end); !rest.isEmpty();) {
        const qsizetype lineEnd = rest.indexOf('\n');
        const QByteArrayView line = lineEnd < 0 ? rest : rest.first(lineEnd);
        rest = lineEnd < 0 ? QByteArrayView() : rest.sliced(lineEnd + 1);
        const qsizetype colon = line.indexOf(": ");
        if (colon <= 0) continue;
        const QByteArrayView name = line.first(colon);
        const QByteArrayView raw = line.sliced(colon + 2);
        const QString value = QString::fromUtf8(raw);
        if (name == "File") v.name = value;
        else if (name == "Version") id = WholeNumber(raw, kLastVersion);
        else if (name == "Time") v.time = QDateTime::fromString(value, Qt::ISODateWithMs);
        else if (name == "User") v.user = value;
        else if (name == "Account") v.account = value;
        else if (name == "Host") v.host = value;
        else if (name == "Program") v.program = value;
        else if (name == "Action") v.action = value;
        else if (name == "Size") size = WholeNumber(raw, std::numeric_limits<qint64>::max());
        else if (name == "SHA-256") v.sha256 = raw.toByteArray();
        else if (name == "Changed") changed = WholeNumber(raw, std::numeric_limits<qint64>::max());
        else if (name == "Change") {
            const std::optional<KeyChange> change = ParseChange(raw);
            if (change) changes.append(*change);
            changesSound = changesSound && change;
        }
    }
    if (v.name.isEmpty() || !id || *id < 1 || !size || !v.time.isValid() || v.sha256.size() != 64 || !AllOf(v.sha256, IsHex))
        return std::nullopt;
    v.id = *id;
    v.size = *size;
    v.time = v.time.toUTC();
    if (changed) {
        v.changed = *changed;
        if (changesSound && changes.size() == *changed) v.changes = std::move(changes);
    }
    return header;
}

QByteArray HeaderText(const Version& v) {
    QByteArray header = kMagic + '\n';
    header += "File: " + OneLine(v.name) + '\n';
    header += "Version: " + QByteArray::number(v.id) + '\n';
    header += "Time: " + v.time.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    header += "User: " + OneLine(v.user) + '\n';
    if (!v.account.isEmpty()) header += "Account: " + OneLine(v.account) + '\n';
    header += "Host: " + OneLine(v.host) + '\n';
    header += "Program: " + OneLine(v.program) + '\n';
    header += "Action: " + OneLine(v.action) + '\n';
    header += "Size: " + QByteArray::number(v.size) + '\n';
    header += "SHA-256: " + v.sha256.leftJustified(64, '0', true) + '\n';
    if (v.changed >= 0) {
        header += "Changed: " + QByteArray::number(v.changed) + '\n';
        QByteArray lines;
        for (const KeyChange& change : v.changes.value_or(QList<KeyChange>())) {
            const QByteArray line = ChangeLine(change);
            // All or none: a reader works out the changes of a version that lists only some.
            if (lines.size() + line.size() > kChangesLimit) {
                lines.clear();
                break;
            }
            lines += line;
        }
        header += lines;
    }
    return header + '\n';
}

qsizetype HashAt(const QByteArray& header) { return header.indexOf("\nSHA-256: ") + 10; }

Retained Retain(QList<Entry> entries, const QByteArray& keep) {
    entries.removeIf([](const Entry& entry) { return entry.parsed.state != EntryName::State::Final; });
    // Per file, oldest first.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.parsed.file != b.parsed.file ? a.parsed.file < b.parsed.file : a.parsed.id < b.parsed.id;
    });
    struct Kept {
        QList<Entry> versions;  // oldest first
        qsizetype first = 0;    // the oldest still kept
        qint64 bytes = 0;
        qsizetype Count() const { return versions.size() - first; }
    };
    Retained retained;
    QHash<QByteArray, Kept> files;
    qint64 total = 0;
    for (const Entry& entry : entries) {
        Kept& file = files[entry.parsed.file];
        file.versions.append(entry);
        file.bytes += entry.bytes;
        total += entry.bytes;
    }
    const auto dropOldest = [&](Kept& file) {
        const Entry& oldest = file.versions[file.first++];
        retained.dropped.append(oldest);
        file.bytes -= oldest.bytes;
        total -= oldest.bytes;
    };
    qint64 newestFair = 0;  // what the newest kFairVersions of every file take
    for (Kept& file : files) {
        while (file.Count() > kKeptVersions && file.versions[file.first].name != keep) dropOldest(file);
        for (qsizetype i = std::max(file.first, file.versions.size() - kFairVersions); i < file.versions.size(); ++i)
            newestFair += file.versions[i].bytes;
    }
    // Over the folder's size: the file that takes the most room gives up its oldest version, first
    // among the files that hold more than kFairVersions, so no file's history goes for another's
    // while the newest of each fit; then among all, down to the last version of each.
    for (const qsizetype floor : {newestFair <= kFolderBytes ? qsizetype(kFairVersions) : qsizetype(1), qsizetype(1)}) {
        while (total > kFolderBytes) {
            Kept* largest = nullptr;
            for (Kept& file : files)
                if (file.Count() > floor && file.versions[file.first].name != keep &&
                    (!largest || file.bytes > largest->bytes))
                    largest = &file;
            if (!largest) break;
            dropOldest(*largest);
            if (largest->Count() == 1) retained.single.append(QFile::decodeName(largest->versions.last().parsed.file));
        }
    }
    // A file whose last version alone is over the folder's size keeps that one.
    for (const Kept& file : files)
        if (total > kFolderBytes && file.Count() == 1 && file.versions.last().name == keep &&
            !retained.single.contains(QFile::decodeName(file.versions.last().parsed.file)))
            retained.single.append(QFile::decodeName(file.versions.last().parsed.file));
    std::sort(retained.dropped.begin(), retained.dropped.end(), [](const Entry& a, const Entry& b) {
        return a.parsed.stamp != b.parsed.stamp ? a.parsed.stamp < b.parsed.stamp : a.parsed.id < b.parsed.id;
    });
    return retained;
}

}  // namespace quorvant::history::format
