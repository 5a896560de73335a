#include "settings/KeyChanges.h"

#include <QSet>

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

}  // namespace

QList<KeyChange> KeyChanges(const IniDocument& before, const IniDocument& after) {
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
