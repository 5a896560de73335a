#pragma once

// What the server will read, checked before it does: each key's text against its rule and limits,
// and the references a machine can check (folders, the database, sound cards and mixers, the panic
// genre, the network links' ports). Everything comes from the key schema; a check never changes a
// value. The window marks its fields with the findings, quorvant-ini prints them and refuses a
// `set` with them.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "schema/Interpret.h"
#include "schema/KeySchema.h"
#include "text/FailureReasons.h"

namespace quorvant::schema {

// What this machine can tell about the references in the files. Nothing where it cannot tell:
// that check is then skipped, never reported.
class MachineFacts {
public:
    virtual ~MachineFacts() = default;
    // Whether the path names a folder.
    virtual std::optional<bool> IsFolder(const QString& path) const = 0;
    // Whether the path names a regular file this process can open for reading.
    virtual std::optional<bool> IsReadableFile(const QString& path) const = 0;
    // How many playback devices (sound cards) there are; -1 is the system's default on top.
    virtual std::optional<int> SoundDevices() const = 0;
    // How many mixer devices there are, and how many lines one of them has.
    virtual std::optional<int> MixerDevices() const = 0;
    virtual std::optional<int> MixerLines(int device) const = 0;
    // The genre list of the database, when it could be read.
    virtual std::optional<QStringList> Genres() const = 0;
};

// Files and folders as this process sees them; no devices, no genre list. A path that is not
// absolute here (relative, or a drive letter) cannot be checked. A machine without any sound or
// mixer device is taken as one that is not the server: its counts are not known.
class LocalFacts : public MachineFacts {
public:
    std::optional<bool> IsFolder(const QString& path) const override;
    std::optional<bool> IsReadableFile(const QString& path) const override;
    std::optional<int> SoundDevices() const override { return std::nullopt; }
    std::optional<int> MixerDevices() const override { return std::nullopt; }
    std::optional<int> MixerLines(int) const override { return std::nullopt; }
    std::optional<QStringList> Genres() const override { return std::nullopt; }
};

// The kind of a problem, as tests and scripts compare it.
enum class Verdict { Fine, Unreadable, OutOfLimits, Reference };
Verdict VerdictOf(Problem problem);
QString VerdictName(Verdict verdict);

struct Finding {
    const Key* key = nullptr;
    QString section;  // the section of a patterned key
    QString text;     // the text that was checked
    Problem problem = Problem::NotRead;
    qint64 lowest = 0;   // the range that holds (limits, devices, lines)
    qint64 highest = 0;
    QString detail;      // the folder, or the mixer device of a line
    const Key* other = nullptr;  // the other link that listens on the port
};

// The text of a key in a section as the check sees it; nothing when the key is absent (an absent
// key is not checked: the server uses its own default).
using Values = std::function<std::optional<QString>(const Key& key, const QString& section)>;

// Every check of one file's keys, at most one finding per key and section, in the schema's order.
QList<Finding> CheckFile(File file, const Values& values, const MachineFacts& facts);
// The rule and the limits of one value alone (Interpret), as `set` refuses it.
std::optional<Finding> CheckValue(const Key& key, const QString& section, const QString& text);

// Why, as one sentence without a full stop: what was found and what the key takes.
QString Reason(const Finding& finding, Language language);
// What the key's rule reads, in words, without its limits ("a whole number").
QString RuleWords(const Key& key, Language language);
// What the key's rule reads, in words ("a whole number from 0 to 999").
QString Expected(const Key& key, Language language);

}  // namespace quorvant::schema
