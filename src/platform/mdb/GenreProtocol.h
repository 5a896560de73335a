#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <optional>

// What the genre helper program prints on stdout, in UTF-8:
//   "OK <count>\n" followed by exactly <count> lines, one genre each, in order; a backslash,
//   line feed and carriage return inside a genre are written as "\\", "\n" and "\r";
//   or "ERROR <word>\n" with a nonzero exit code.
// Shared by the helper (writer) and the window's side (reader), so it is header-only.
namespace quorvant::genre_protocol {

inline QByteArray EncodeList(const QStringList& genres) {
    QByteArray out = "OK " + QByteArray::number(genres.size()) + '\n';
    for (const QString& genre : genres) {
        for (const char c : genre.toUtf8()) {
            switch (c) {
                case '\\':
                    out += "\\\\";
                    break;
                case '\n':
                    out += "\\n";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                default:
                    out += c;
            }
        }
        out += '\n';
    }
    return out;
}

inline QByteArray EncodeError(const QByteArray& word) { return "ERROR " + word + '\n'; }

struct Answer {
    bool ok = false;
    QStringList genres;  // when ok
    QByteArray error;    // the word after ERROR, when not ok
};

// Empty optional for anything that does not follow the protocol to the letter.
inline std::optional<Answer> Decode(const QByteArray& data) {
    if (!data.endsWith('\n')) return std::nullopt;
    QList<QByteArray> lines = data.first(data.size() - 1).split('\n');
    const QByteArray& head = lines.first();
    Answer answer;
    if (head.startsWith("ERROR ")) {
        answer.error = head.mid(6);
        if (lines.size() != 1 || answer.error.isEmpty()) return std::nullopt;
        return answer;
    }
    if (!head.startsWith("OK ")) return std::nullopt;
    const QByteArray countText = head.mid(3);
    bool numeric = !countText.isEmpty();
    for (const char c : countText) numeric = numeric && c >= '0' && c <= '9';
    bool converted = false;
    const qlonglong count = countText.toLongLong(&converted);
    if (!numeric || !converted || count != lines.size() - 1) return std::nullopt;
    answer.ok = true;
    answer.genres.reserve(lines.size() - 1);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        QByteArray raw;
        raw.reserve(line.size());
        for (qsizetype j = 0; j < line.size(); ++j) {
            if (line[j] != '\\') {
                raw += line[j];
                continue;
            }
            if (++j == line.size()) return std::nullopt;
            switch (line[j]) {
                case '\\':
                    raw += '\\';
                    break;
                case 'n':
                    raw += '\n';
                    break;
                case 'r':
                    raw += '\r';
                    break;
                default:
                    return std::nullopt;
            }
        }
        QString genre = utf8.decode(raw);
        if (utf8.hasError()) return std::nullopt;
        answer.genres.append(std::move(genre));
    }
    return answer;
}

}  // namespace quorvant::genre_protocol
