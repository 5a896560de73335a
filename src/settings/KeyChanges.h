#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace quorvant {

class IniDocument;

// One key whose value differs between two versions of a settings file. Names as the newer version
// writes them (the older one's for a key that went); nothing for a side where the key is absent.
struct KeyChange {
    QString section;
    QString key;
    std::optional<QString> before;
    std::optional<QString> after;
    bool operator==(const KeyChange&) const = default;
};

// The keys whose value (as a window reads it: first section, first key, names without regard to
// case) differs from `before` to `after`: sections in the newer file's order, then the ones that
// went; in a section its keys in the newer file's order, then the ones that went.
QList<KeyChange> KeyChanges(const IniDocument& before, const IniDocument& after);

// The same when `after` is `before` with only the keys `written` (section, key; in any spelling)
// written or removed: no other key can differ, so only these are compared, in the order given.
QList<KeyChange> KeyChanges(const IniDocument& before, const IniDocument& after,
                            const QList<QPair<QString, QString>>& written);

}  // namespace quorvant
