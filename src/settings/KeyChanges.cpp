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

// How far two versions may run apart before they are compared key by key instead.
constexpr int kReach = 64;

// Two versions of a file mostly differ in a few lines: only the keys on lines that differ can read
// otherwise, as long as no section header is among them. Found by walking both files' lines
// together and, where they part, looking for the nearest lines from which they go on alike. The
// names of those keys, the newer file's first in each stretch; nothing when the whole files must
// be compared.
std::optional<QList<QPair<QString, QString>>> Narrowed(const IniDocument& before, const IniDocument& after) {
    const int n = before.ParsedLines();
    const int m = after.ParsedLines();
    if (n < 0 || m < 0 || before.Encoding() != after.Encoding()) return std::nullopt;
    QList<QPair<QString, QString>> names;
    QString section;  // of the lines walked so far; a header that differs ends the walk
    const auto take = [&](const IniDocument& document, int from, int to) {
        for (int line = from; line < to; ++line) {
            const IniDocument::LineName name = document.ParsedLineName(line);
            if (name.kind == IniDocument::LineName::Kind::Section) return false;
            // Keys above the first section belong to none.
            if (name.kind == IniDocument::LineName::Kind::Key && !section.isNull()) names.append({section, name.name});
        }
        return true;
    };
    const auto alike = [&](int i, int j) {
        return (i == n && j == m) || (i < n && j < m && before.ParsedLine(i) == after.ParsedLine(j));
    };
    for (int i = 0, j = 0; i < n || j < m;) {
        if (alike(i, j) && i < n) {
            if (after.ParsedLineIsSection(j)) section = after.ParsedLineName(j).name;
            ++i, ++j;
            continue;
        }
        std::optional<std::pair<int, int>> next;
        for (int reach = 1; reach <= kReach && !next; ++reach)
            for (int a = 0; a <= reach && !next; ++a)
                if (i + a <= n && j + reach - a <= m && alike(i + a, j + reach - a)) next = {i + a, j + reach - a};
        if (!next || !take(after, j, next->second) || !take(before, i, next->first)) return std::nullopt;
        std::tie(i, j) = *next;
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
