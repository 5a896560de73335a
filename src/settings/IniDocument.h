#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
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
    // names or the value cannot be written.
    void SetValue(const QString& section, const QString& key, const QString& value);

    // Checks without changing anything that SetValue would accept the write.
    void CheckWritable(const QString& section, const QString& key, const QString& value) const;

    QByteArray Serialize() const;
    // After the serialized document was stored: it becomes what the document was read from.
    void MarkSaved() { original_ = Serialize(); }
    // The bytes the document was parsed from; equal to Serialize() until the first change.
    const QByteArray& Original() const { return original_; }
    IniEncoding Encoding() const { return encoding_; }

private:
    struct Line {
        QByteArray raw;          // line content in the file's encoding, without the line ending
        QByteArray eol;          // the line's own ending as stored; empty on a last line without one
        qsizetype valueAt = -1;  // byte offset of the value in raw on a key line, else -1
    };
    struct Section {
        int header = -1;   // line of "[name]"
        int lastKey = -1;  // line after which a new key goes
        QHash<QString, int> keys;
    };

    void Parse();
    int PushBack(Line line);
    // Adds a line the program writes after line `after` (-1: at the end of the file).
    int AddLine(int after, QByteArray raw, qsizetype valueAt);
    QByteArray EncodeOrThrow(const QString& text) const;
    QByteArray EncodedEol() const;

    QByteArray original_;
    QByteArray bom_;
    IniEncoding encoding_ = IniEncoding::Utf8;
    bool crlf_ = false;  // ending of lines the program adds

    // Lines keep their index for life; their order is a linked list so inserting is cheap and
    // never moves an index the lookup tables hold.
    std::vector<Line> lines_;
    std::vector<int> next_;
    int head_ = -1;
    int tail_ = -1;
    QHash<QString, Section> sections_;
};

// Names compare without regard to case or surrounding blanks.
QString NameKey(const QString& name);

}  // namespace quorvant
