#pragma once

// The promise every save keeps, for any bytes of a settings file: keys it does not write read back
// exactly as before, lines it does not write stay byte for byte, and the keys it writes read back
// as written; or the write is refused and nothing changes. Shared by the engine tests and the
// fuzz targets.

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include "settings/IniDocument.h"
#include "settings/KeyChanges.h"
#include "settings/IniError.h"

namespace quorvant::check {

struct Write {
    QString section;
    QString key;
    QString value;
    bool remove = false;  // removes the key instead
};

inline void Apply(IniDocument& document, const Write& write) {
    if (write.remove)
        document.RemoveKey(write.section, write.key);
    else
        document.SetValue(write.section, write.key, write.value);
}

// Raw line contents (without the LF, with any CR), split the plain way another reader would.
inline QList<QByteArray> SplitLines(const QByteArray& bytes) {
    int bom = 0;
    const bool wide = DetectEncoding(bytes, &bom) == IniEncoding::Utf16Le;
    const int unit = wide ? 2 : 1;
    QList<QByteArray> lines;
    qsizetype start = bom;
    for (qsizetype i = bom; i + unit <= bytes.size(); i += unit) {
        if (bytes[i] == '\n' && (!wide || bytes[i + 1] == 0)) {
            lines.append(bytes.mid(start, i - start));
            start = i + unit;
        }
    }
    if (start < bytes.size()) lines.append(bytes.mid(start));
    return lines;
}

// The name before the first "=" of a line that may hold a key, else empty.
inline QString KeyOfLine(const QByteArray& raw, IniEncoding encoding) {
    const QString text = Decode(raw, encoding);
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && (text[first] == u' ' || text[first] == u'\t')) ++first;
    while (last > first && (text[last - 1] == u' ' || text[last - 1] == u'\t')) --last;
    if (first == last || text[first] == u';') return {};
    if (last - first >= 2 && text[first] == u'[' && text[last - 1] == u']') return {};
    const qsizetype eq = text.indexOf(u'=');
    return eq < 0 ? QString() : NameKey(text.left(eq));
}

// What a plain reader, written from the format alone, finds in a file: every key of the first
// block of each section name, the first of each name, with its value. Empty when the document
// reads the same; otherwise the first difference. Writing every key back as it reads must not
// change a byte, nor be refused (unless the file is damaged).
inline QString ReadsLikeAPlainReader(const QByteArray& bytes) {
    int bom = 0;
    const IniEncoding encoding = DetectEncoding(bytes, &bom);
    const bool wide = encoding == IniEncoding::Utf16Le;
    const QByteArray lf = wide ? QByteArray("\n\0", 2) : QByteArray("\n");
    const QByteArray cr = wide ? QByteArray("\r\0", 2) : QByteArray("\r");
    const bool endsOpen = !bytes.endsWith(lf) || (wide && (bytes.size() - bom) % 2 != 0);
    const QList<QByteArray> lines = SplitLines(bytes);
    QList<QPair<QString, QString>> names;
    QSet<QPair<QString, QString>> named;
    QList<QString> values;
    QSet<QString> sections;
    QString section;
    bool counted = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray raw = lines[i];
        if ((i + 1 < lines.size() || !endsOpen) && raw.endsWith(cr)) raw.chop(cr.size());
        const QString text = Decode(raw, encoding);
        qsizetype first = 0;
        qsizetype last = text.size();
        while (first < last && (text[first] == u' ' || text[first] == u'\t')) ++first;
        while (last > first && (text[last - 1] == u' ' || text[last - 1] == u'\t')) --last;
        if (first == last || text[first] == u';') continue;
        if (last - first >= 2 && text[first] == u'[' && text[last - 1] == u']') {
            section = NameKey(text.mid(first + 1, last - first - 2));
            counted = !sections.contains(section);
            sections.insert(section);
            continue;
        }
        const qsizetype eq = text.indexOf(u'=');
        const QPair<QString, QString> name{section, eq < 0 ? QString() : NameKey(text.left(eq))};
        if (!counted || name.second.isEmpty() || named.contains(name)) continue;
        names.append(name);
        named.insert(name);
        values.append(text.mid(eq + 1));
    }
    IniDocument document(bytes);
    if (document.AllKeyNames() != names) return QStringLiteral("the document lists other keys");
    for (qsizetype i = 0; i < names.size(); ++i)
        if (document.Value(names[i].first, names[i].second) != values[i])
            return QStringLiteral("[%1] %2 reads otherwise").arg(names[i].first, names[i].second);
    if (document.Damaged()) return {};
    try {
        for (qsizetype i = 0; i < names.size(); ++i) document.SetValue(names[i].first, names[i].second, values[i]);
        document.MarkSaved();
    } catch (const IniError&) {
        return QStringLiteral("writing a key back as it reads is refused");
    }
    if (document.Original() != bytes) return QStringLiteral("writing every key back as it reads changes the file");
    return {};
}

// Empty when the promise holds; otherwise what broke it. `refused` tells whether the document
// refused the writes (which keeps the promise: nothing is written).
inline QString SaveKeepsTheRest(const QByteArray& before, const QList<Write>& writes, bool* refused = nullptr) {
    if (refused) *refused = false;
    IniDocument document(before);
    if (document.Serialize() != before) return QStringLiteral("parse and serialize change the bytes");
    const IniDocument old(before);
    try {
        for (const Write& write : writes) Apply(document, write);
        document.MarkSaved();
    } catch (const IniError&) {
        if (refused) *refused = true;
        return {};
    }
    const QByteArray after = document.Original();
    const IniDocument reread(after);
    if (document.Serialize() != after) return QStringLiteral("the saved document stands for other bytes");

    // The changes between the two parses are every key that reads otherwise, however they are found.
    QSet<QPair<QString, QString>> differ;
    for (const auto* document : {&old, &reread})
        for (const auto& [section, key] : document->AllKeyNames())
            if (old.Value(section, key) != reread.Value(section, key)) differ.insert({section, key});
    QSet<QPair<QString, QString>> found;
    for (const KeyChange& change : KeyChanges(old, reread)) found.insert({NameKey(change.section), NameKey(change.key)});
    if (found != differ) return QStringLiteral("the changes between the two files are not the keys that differ");

    // The saved document reads as its bytes do, and takes a further write as they would.
    const QList<QPair<QString, QString>> names = reread.AllKeyNames();
    if (document.AllKeyNames() != names) return QStringLiteral("the saved document lists other keys than its bytes");
    for (const auto& [section, key] : names)
        if (document.Value(section, key) != reread.Value(section, key))
            return QStringLiteral("[%1] %2 reads otherwise in the saved document").arg(section, key);
    // So does a second save of new keys and the written ones removed, and a write after that.
    IniDocument kept = document;
    IniDocument parsed = reread;
    QList<Write> further;
    for (const Write& write : writes) further.append({write.section, write.key + QStringLiteral("2"), write.value});
    for (const Write& write : writes) further.append({write.section, write.key, {}, true});
    const auto apply = [](IniDocument& document, const Write& write) {
        try {
            Apply(document, write);
            return true;
        } catch (const IniError&) {
            return false;
        }
    };
    for (const Write& write : further)
        if (apply(kept, write) != apply(parsed, write) || kept.Serialize() != parsed.Serialize())
            return QStringLiteral("a further write lands otherwise in the saved document than in its bytes");
    const auto save = [](IniDocument& document) {
        try {
            document.MarkSaved();
            return -1;
        } catch (const IniError& error) {
            return int(error.Failure());
        }
    };
    const int keptSaved = save(kept);
    if (keptSaved != save(parsed)) return QStringLiteral("a second save is refused otherwise in the saved document");
    if (keptSaved >= 0) return {};
    if (kept.Original() != parsed.Original() || kept.AllKeyNames() != IniDocument(parsed.Original()).AllKeyNames())
        return QStringLiteral("the second save stands for other bytes or keys");
    for (const Write& write : writes)
        if (apply(kept, write) != apply(parsed, write) || kept.Serialize() != parsed.Serialize())
            return QStringLiteral("a write after the second save lands otherwise");

    // Keys: written ones as written, every other one as it was.
    QList<QPair<QString, QString>> written;
    for (const Write& write : writes) written.append({NameKey(write.section), NameKey(write.key)});
    for (qsizetype i = 0; i < writes.size(); ++i) {
        bool last = true;
        for (qsizetype j = i + 1; j < writes.size(); ++j) last = last && written[j] != written[i];
        const std::optional<QString> expected =
            writes[i].remove ? std::nullopt : std::optional<QString>(writes[i].value);
        if (last && reread.Value(writes[i].section, writes[i].key) != expected)
            return QStringLiteral("written key %1 does not read back").arg(writes[i].key);
    }
    for (const auto& [section, key] : old.AllKeyNames()) {
        if (written.contains(QPair<QString, QString>{section, key})) continue;
        if (reread.Value(section, key) != old.Value(section, key))
            return QStringLiteral("untouched key [%1] %2 changed").arg(section, key);
    }

    // Lines: every line that holds none of the written keys is still there, in order. A last line
    // without a line end may have got one, which a plain reader splits off as a trailing CR.
    QList<QString> writtenKeys;
    for (const auto& name : written) writtenKeys.append(name.second);
    const QList<QByteArray> oldLines = SplitLines(before);
    const QList<QByteArray> newLines = SplitLines(after);
    const bool endsOpen = old.Encoding() == IniEncoding::Utf16Le ? !before.endsWith(QByteArray("\n\0", 2))
                                                                 : !before.endsWith('\n');
    const QByteArray cr = old.Encoding() == IniEncoding::Utf16Le ? QByteArray("\r\0", 2) : QByteArray("\r");
    qsizetype at = 0;
    for (qsizetype i = 0; i < oldLines.size(); ++i) {
        const QByteArray& line = oldLines[i];
        if (writtenKeys.contains(KeyOfLine(line, old.Encoding()))) continue;
        const bool lastOpen = endsOpen && i == oldLines.size() - 1;
        while (at < newLines.size() && newLines[at] != line && !(lastOpen && newLines[at] == line + cr)) ++at;
        if (at == newLines.size()) return QStringLiteral("untouched line %1 lost or changed").arg(i + 1);
        ++at;
    }
    return {};
}

}  // namespace quorvant::check
