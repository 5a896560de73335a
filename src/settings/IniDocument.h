#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QHashFunctions>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "settings/IniEncoding.h"

namespace quorvant {

// One INI file as lines of raw bytes. Lines the program does not change are written back exactly
// as read (comments, blank and odd lines, unknown sections, spelling, per-line endings, a BOM);
// a changed key line keeps its bytes up to and including the "=", only the value is re-encoded.
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
    void SetValue(const QString& section, const QString& key, const QString& value);

    // Every key that Value finds, as (section, key) name keys; for checks of whole files.
    QList<QPair<QString, QString>> AllKeyNames() const;

    // Checks without changing anything that SetValue would accept the write.
    void CheckWritable(const QString& section, const QString& key, const QString& value) const;

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
    bool Damaged() const { return damaged_; }
    // The bytes the document was parsed from; equal to Serialize() until the first change.
    const QByteArray& Original() const { return original_; }
    IniEncoding Encoding() const { return encoding_; }

private:
    // A line points into the bytes it was read from until the program writes it.
    enum class Ending : quint8 { Original, Added, AddedCrLf, None };
    struct Line {
        qsizetype at = 0;        // content start in original_
        qsizetype size = 0;      // content length in original_
        qsizetype eolSize = 0;   // length of the line's own ending, which follows the content
        qsizetype valueAt = -1;  // offset of the value in the content on a key line, else -1
        QByteArray written;      // content the program wrote; used when `own`
        bool own = false;
        Ending ending = Ending::Original;
    };
    QByteArrayView Content(const Line& line) const {
        return line.own ? QByteArrayView(line.written) : QByteArrayView(original_).sliced(line.at, line.size);
    }
    QByteArrayView EndingOf(const Line& line) const;
    struct Section {
        int header = -1;   // line of "[name]"
        int lastKey = -1;  // line after which a new key goes
    };
    // Keys of all sections in one table, by the section's header line and the key's name key.
    struct KeyRef {
        int section;
        QString key;
        bool operator==(const KeyRef&) const = default;
    };
    friend size_t qHash(const KeyRef& ref, size_t seed = 0) { return qHashMulti(seed, ref.section, ref.key); }
    int KeyLine(int section, const QString& key) const { return keys_.value(KeyRef{section, key}, -1); }

    enum class LineKind { Section, Key, Other };
    // What a decoded line is; `name` gets the section or key name key, `eq` the "=" of a key line.
    static LineKind Classify(QStringView text, QString* name, qsizetype* eq);

    // A checked write: the new key line (and header) in bytes, and where they go.
    struct Plan {
        QString sectionName;
        QString keyName;
        int header = -1;  // existing section's header line
        int line = -1;    // existing key line
        QByteArray headerRaw;
        QByteArray raw;
        qsizetype valueAt = -1;
    };
    Plan PlanWrite(const QString& section, const QString& key, const QString& value) const;
    void CheckEncodingKept(const QByteArray& bytes) const;

    void Parse();
    void Index(int line, QStringView text, Section*& current);
    void OpenSection(const QString& name, int line, Section*& current);
    void AddKey(Section* current, const QString& key, int line);
    int PushBack(Line line);
    // Adds a line the program writes after line `after` (-1: at the end of the file).
    int AddLine(int after, QByteArray raw, qsizetype valueAt);
    QByteArray EncodeOrThrow(const QString& text, const QString& section, const QString& key) const;
    QString LineText(int line) const;
    bool IsHeaderLine(int line) const;
    // The text before the "=" of a key line, as it stands in the file.
    QString KeyText(int line) const;

    QByteArray original_;
    qsizetype bomSize_ = 0;
    QByteArray eol_;  // encoded ending of lines the program adds
    QByteArray crlf_;
    bool damaged_ = false;
    IniEncoding encoding_ = IniEncoding::Utf8;

    // Lines keep their index for life; their order is a linked list so inserting is cheap and
    // never moves an index the lookup tables hold.
    std::vector<Line> lines_;
    std::vector<int> next_;
    int head_ = -1;
    int tail_ = -1;
    QHash<QString, Section> sections_;
    QHash<KeyRef, int> keys_;
};

// Names compare without regard to case or surrounding spaces and tabs.
QString NameKey(const QString& name);

}  // namespace quorvant
