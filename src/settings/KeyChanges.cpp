#include "settings/KeyChanges.h"

#include <QSet>
#include <algorithm>

#include "settings/IniDocument.h"

namespace quorvant {

namespace {

// Sections and their keys, as written, of both documents: the newer one's first, then what only
// the older one has; each name (compared as a name key) once.
struct NameOrder {
    QList<QPair<QString, QStringList>> sections;
    QHash<QString, int> sectionAt;
    QSet<QPair<QString, QString>> keys;

    void Add(const IniDocument& document) {
        for (const QString& section : document.SectionNames()) {
            const QString sectionKey = NameKey(section);
            auto it = sectionAt.constFind(sectionKey);
            if (it == sectionAt.cend()) {
                it = sectionAt.insert(sectionKey, int(sections.size()));
                sections.append({section, {}});
            }
            for (const QString& key : document.KeyNames(section))
                if (!keys.contains({sectionKey, NameKey(key)})) {
                    keys.insert({sectionKey, NameKey(key)});
                    sections[*it].second.append(key);
                }
        }
    }
};

// Two versions of a file mostly differ in a few lines together: only the keys on the lines from
// the first byte that differs to the last can read otherwise, unless a section header is among
// them. Their names, the newer file's first; nothing when the whole files must be compared.
std::optional<QList<QPair<QString, QString>>> Narrowed(const IniDocument& before, const IniDocument& after) {
    const QByteArray& a = before.Original();
    const QByteArray& b = after.Original();
    if (before.Encoding() != after.Encoding()) return std::nullopt;
    const qsizetype shorter = std::min(a.size(), b.size());
    qsizetype prefix = 0;
    while (prefix < shorter && a[prefix] == b[prefix]) ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix && a[a.size() - 1 - suffix] == b[b.size() - 1 - suffix]) ++suffix;
    std::optional<QList<QPair<QString, QString>>> names = after.KeysOnLines(prefix, b.size() - suffix);
    const std::optional<QList<QPair<QString, QString>>> gone = before.KeysOnLines(prefix, a.size() - suffix);
    if (!names || !gone) return std::nullopt;
    // Per section, as the full comparison orders them: the newer file's keys, then those that went.
    for (const auto& name : *gone) {
        qsizetype at = names->size();
        for (qsizetype i = names->size() - 1; i >= 0 && at == names->size(); --i)
            if (NameKey((*names)[i].first) == NameKey(name.first)) at = i + 1;
        names->insert(at, name);
    }
    return names;
}

}  // namespace

QList<KeyChange> KeyChanges(const IniDocument& before, const IniDocument& after) {
    if (before.Original() == after.Original()) return {};
    if (const std::optional<QList<QPair<QString, QString>>> narrowed = Narrowed(before, after))
        return KeyChanges(before, after, *narrowed);
    NameOrder names;
    names.Add(after);
    names.Add(before);
    QList<KeyChange> changes;
    for (const auto& [section, keys] : names.sections)
        for (const QString& key : keys) {
            KeyChange change{section, key, before.Value(section, key), after.Value(section, key)};
            if (change.before != change.after) changes.append(std::move(change));
        }
    return changes;
}

QList<KeyChange> KeyChanges(const IniDocument& before, const IniDocument& after,
                            const QList<QPair<QString, QString>>& written) {
    QList<KeyChange> changes;
    QSet<QPair<QString, QString>> seen;
    for (const auto& [section, key] : written) {
        const QPair<QString, QString> name{NameKey(section), NameKey(key)};
        if (seen.contains(name)) continue;
        seen.insert(name);
        KeyChange change{section, key, before.Value(section, key), after.Value(section, key)};
        if (change.before == change.after) continue;
        const auto spelled = change.after ? after.NamesAsWritten(section, key) : before.NamesAsWritten(section, key);
        if (spelled) std::tie(change.section, change.key) = std::tie(spelled->first, spelled->second);
        changes.append(std::move(change));
    }
    return changes;
}

}  // namespace quorvant
