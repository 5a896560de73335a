#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

namespace quorvant {

// The encodings a settings file may come in. A file is always written back in its own.
enum class IniEncoding { Utf8, Windows1252, Utf16Le };

// Name for messages to the user.
QString EncodingName(IniEncoding encoding);

// Decides a file's encoding from its bytes and returns the length of its byte-order mark:
// UTF-16LE needs its BOM; UTF-8 is taken when the bytes after an optional BOM are valid UTF-8;
// anything else is Windows-1252, which can hold any byte sequence.
IniEncoding DetectEncoding(const QByteArray& bytes, int* bomLength);

bool IsValidUtf8(const char* data, qsizetype size);

QString Decode(const char* data, qsizetype size, IniEncoding encoding);
inline QString Decode(const QByteArray& bytes, IniEncoding encoding) {
    return Decode(bytes.constData(), bytes.size(), encoding);
}

// Encodes text, or returns nothing when the encoding cannot hold a character; `bad` then names
// the first such character.
std::optional<QByteArray> Encode(const QString& text, IniEncoding encoding, QString* bad = nullptr);
// The same, except that a character the encoding cannot take anew (a lone surrogate, which only a
// UTF-16 file can deliver) is written as the unit it was read from when `keep`, the text it was
// read as, holds it at least as often.
std::optional<QByteArray> Encode(const QString& text, IniEncoding encoding, QString* bad, QStringView keep);

}  // namespace quorvant
