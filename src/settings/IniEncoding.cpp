#include "settings/IniEncoding.h"

#include <QList>
#include <QStringDecoder>
#include <QtEndian>
#include <array>

namespace quorvant {

namespace {

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves undefined map to the code
// point of the same number, so every byte of a file read as 1252 is written back unchanged.
constexpr std::array<char16_t, 32> kHigh1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> To1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] == c) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

// The unpaired surrogates of a text, each as often as it stands there.
QList<char16_t> LoneSurrogates(QStringView text) {
    QList<char16_t> lone;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            lone.append(text[i].unicode());
    }
    return lone;
}

}  // namespace

QString EncodingName(IniEncoding encoding) {
    switch (encoding) {
        case IniEncoding::Utf8:
            return QStringLiteral("UTF-8");
        case IniEncoding::Windows1252:
            return QStringLiteral("Windows-1252");
        case IniEncoding::Utf16Le:
            return QStringLiteral("UTF-16LE");
    }
    return {};
}

bool IsValidUtf8(const char* data, qsizetype size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    const auto* end = p + size;
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= more) return false;
        for (int i = 1; i <= more; ++i) {
            if ((p[i] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((more == 2 && cp < 0x800) || (more == 3 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
            return false;
        p += more + 1;
    }
    return true;
}

IniEncoding DetectEncoding(const QByteArray& bytes, int* bomLength) {
    *bomLength = 0;
    if (bytes.startsWith("\xFF\xFE")) {
        *bomLength = 2;
        return IniEncoding::Utf16Le;
    }
    const int bom = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (IsValidUtf8(bytes.constData() + bom, bytes.size() - bom)) {
        *bomLength = bom;
        return IniEncoding::Utf8;
    }
    // A UTF-8 mark before bytes that are not UTF-8: the mark is kept as it is, the rest read as 1252.
    *bomLength = bom;
    return IniEncoding::Windows1252;
}

QString Decode(const char* data, qsizetype size, IniEncoding encoding) {
    switch (encoding) {
        case IniEncoding::Utf8: {
            // Only the start of the file can hold a byte-order mark, and the document skips it
            // itself: a U+FEFF at the start of a value or a name is a character like any other.
            QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
            return decoder.decode(QByteArrayView(data, size));
        }
        case IniEncoding::Windows1252: {
            QString text(size, Qt::Uninitialized);
            QChar* out = text.data();
            for (qsizetype i = 0; i < size; ++i) {
                const auto c = static_cast<unsigned char>(data[i]);
                out[i] = (c >= 0x80 && c < 0xA0) ? QChar(kHigh1252[c - 0x80]) : QChar(c);
            }
            return text;
        }
        case IniEncoding::Utf16Le: {
            const qsizetype units = size / 2;
            QString text(units, Qt::Uninitialized);
            QChar* out = text.data();
            for (qsizetype i = 0; i < units; ++i) out[i] = QChar(qFromLittleEndian<quint16>(data + 2 * i));
            // A stray odd byte at the very end cannot be a character; it is kept in the raw line only.
            return text;
        }
    }
    return {};
}

std::optional<QByteArray> Encode(const QString& text, IniEncoding encoding, QString* bad) {
    return Encode(text, encoding, bad, {});
}

std::optional<QByteArray> Encode(const QString& text, IniEncoding encoding, QString* bad, QStringView keep) {
    const auto fail = [&](qsizetype at, qsizetype length) -> std::optional<QByteArray> {
        if (bad) *bad = text.mid(at, length);
        return std::nullopt;
    };
    // Unpaired surrogates cannot be written in any of the encodings; UTF-16 keeps those it read.
    QList<char16_t> kept = encoding == IniEncoding::Utf16Le ? LoneSurrogates(keep) : QList<char16_t>();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate() && !kept.removeOne(c.unicode())) {
            return fail(i, 1);
        }
    }
    switch (encoding) {
        case IniEncoding::Utf8:
            return text.toUtf8();
        case IniEncoding::Windows1252: {
            QByteArray bytes(text.size(), Qt::Uninitialized);
            for (qsizetype i = 0; i < text.size(); ++i) {
                const std::optional<char> b = To1252(text[i].unicode());
                if (!b) return fail(i, text[i].isHighSurrogate() ? 2 : 1);
                bytes[i] = *b;
            }
            return bytes;
        }
        case IniEncoding::Utf16Le: {
            QByteArray bytes(text.size() * 2, Qt::Uninitialized);
            for (qsizetype i = 0; i < text.size(); ++i)
                qToLittleEndian<quint16>(text[i].unicode(), bytes.data() + 2 * i);
            return bytes;
        }
    }
    return std::nullopt;
}

}  // namespace quorvant
