#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QHashFunctions>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>
#include <vector>

#include "settings/IniEncoding.h"

namespace quorvant {

// The bytes of a file and their index; shared, never changed, by the documents read from them.
struct ParsedIni;

// One INI file as the bytes it was read from plus where each line starts. Lines the program does
// not change are written back exactly as read (comments, blank and odd lines, unknown sections,
// spelling, per-line endings, a BOM); a changed key line keeps its bytes up to and including the
// "=", only the value is re-encoded.
//
// The bytes and their index are shared, never changed, between copies of a document; what the
// program writes lies beside them. Copies are cheap, and a document that is only read may be read
// from several threads at once.
class IniDocument {
public:
    // Parses the bytes of a file; never fails (any bytes make some document).
    explicit IniDocument(const QByteArray& bytes = {});

    // Value of a key of a section, or nothing when absent. Names match case-insensitively; with
    // duplicates the first section and the first key in it count.
    std::optional<QString> Value(const QString& section, const QString& key) const;

    // Stores a value; creates the key (after the last key of the section) or the section (at the
    // end of the file) with the names as given. Throws IniError (with an empty file name) when the
    // names or the value cannot be written, or when the write could change what any other line
    // means: a damaged file, a value holding a CR, a line that would read as something else.
    // A value equal to what the key holds leaves its line as it is, whatever the line holds. A
    // character the file's encoding cannot take anew (a lone surrogate of a UTF-16 file) is
    // written as it was read when the key's stored value, or `readAs` (what the caller read for
    // the key from an earlier version of the file), holds it as often: only characters the value
    // gained are refused.
    void SetValue(const QString& section, const QString& key, const QString& value, QStringView readAs = {});

    // The section and key names of the key that Value finds, as the file writes them.
    std::optional<QPair<QString, QString>> NamesAsWritten(const QString& section, const QString& key) const;
    // A document as parsed, line by line (for comparing two of them): the number of lines, or -1
    // once something was written; a line's bytes with its ending; what the line names, as written.
    int ParsedLines() const;
    QByteArrayView ParsedLine(int line) const;
    struct LineName {
        enum class Kind { Other, Section, Key };
        Kind kind = Kind::Other;
        QString name;
    };
    LineName ParsedLineName(int line) const;
    bool ParsedLineIsSection(int line) const { return IsHeaderLine(line); }

    // Every key that Value finds, as (section, key) name keys, in file order; for checks of whole files.
    QList<QPair<QString, QString>> AllKeyNames() const;

    // Checks without changing anything that SetValue would accept the write.
    void CheckWritable(const QString& section, const QString& key, const QString& value,
                       QStringView readAs = {}) const;

    // For tools that list and delete (quorvant-ini). Section names as written in the file, in
    // file order, each once; key names of the section's block that counts, as written, each once.
    QStringList SectionNames() const;
    QStringList KeyNames(const QString& section) const;
    // Removes every entry of the key from the section's block that counts; false when there was
    // none. The lines around it stay as they are.
    bool RemoveKey(const QString& section, const QString& key);

    QByteArray Serialize() const;
    // Before the serialized document is stored: it becomes what the document was read from.
    // Throws IniError when the new bytes would be read in another encoding than the old ones.
    void MarkSaved();
    // Whether the bytes can be written back at all (a UTF-16 file with an odd number of bytes cannot).
    bool Damaged() const;
    // The bytes the document was parsed from; equal to Serialize() until the first change.
    const QByteArray& Original() const;
    IniEncoding Encoding() const;

private:
    enum class Ending : quint8 { Original, Added, AddedCrLf, None };
    // A line the program added. Line numbers below the parsed line count are the file's lines,
    // the ones above are these; a line keeps its number for life.
    struct Added {
        QByteArray content;
        Ending ending = Ending::Added;
        int next = -1;
    };
    // A section: its header line, the line after which a new key goes, and the slice of the
    // parsed key table that holds the keys of its first block (none for a section made here).
    struct SectionAt {
        int header = -1;
        int lastKey = -1;
        qsizetype keysAt = 0;
        qsizetype keysSize = 0;
    };
    struct KeyRef {
        int section;
        QString key;
        bool operator==(const KeyRef&) const = default;
    };
    friend size_t qHash(const KeyRef& ref, size_t seed = 0) { return qHashMulti(seed, ref.section, ref.key); }

    // A checked write: the new key line (and header) in bytes, and where they go.
    struct Plan {
        QString sectionName;
        QString keyName;
        int header = -1;  // existing section's header line
        int line = -1;    // existing key line
        bool unchanged = false;
        QByteArray headerRaw;
        QByteArray raw;
    };
    Plan PlanWrite(const QString& section, const QString& key, const QString& value, QStringView readAs) const;
    QByteArray EncodeOrThrow(const QString& text, const QString& section, const QString& key,
                             QStringView keep = {}) const;
    void CheckEncodingKept(const QByteArray& bytes) const;
    // After a save: the saved bytes become what the document reads, its lines numbered as before.
    void Rebase(QByteArray saved);

    std::optional<SectionAt> FindSection(const QString& nameKey) const;
    int KeyLine(const SectionAt& section, const QString& nameKey) const;
    int Lines() const;
    int Next(int line) const;
    void SetNext(int line, int next);
    QByteArrayView Content(int line) const;
    QByteArrayView EndingOf(int line) const;
    void SetEnding(int line, Ending ending);
    // Adds a line the program writes after line `after` (-1: at the end of the file).
    int AddLine(int after, QByteArray raw);
    bool IsHeaderLine(int line) const;
    // The text before the "=" of a key line, as it stands in the file.
    QString KeyText(int line) const;
    QString HeaderName(int line) const;
    QString ValueText(int line) const;
    std::vector<int> TouchedLines() const;

    std::shared_ptr<const ParsedIni> parsed_;
    // What the program changed, beside the parsed bytes.
    std::vector<Added> added_;
    QHash<int, QByteArray> written_;  // file lines with new content
    QHash<int, Ending> endings_;      // file lines with another ending
    QHash<int, int> next_;            // file lines followed by another line than the next in the file
    int head_ = -1;
    int tail_ = -1;
    QHash<QString, int> addedSections_;  // name key -> header line
    QHash<int, int> lastKey_;            // header line -> line after which a new key goes
    QHash<KeyRef, int> addedKeys_;
    QHash<KeyRef, bool> removedKeys_;
};

// Names compare without regard to case or surrounding spaces and tabs.
QString NameKey(const QString& name);

}  // namespace quorvant
