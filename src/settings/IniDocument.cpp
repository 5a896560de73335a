#include "settings/IniDocument.h"

#include <cstring>

#include "settings/IniAccessor.h"

namespace quorvant {

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

QStringView TrimBlanks(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.sliced(begin, end - begin);
}

// The reasons are shown to station engineers, who work in Dutch.
[[noreturn]] void Refuse(const QString& reason) { throw IniError(QString(), reason); }

}  // namespace

QString NameKey(const QString& name) { return TrimBlanks(name).toString().toLower(); }

IniDocument::IniDocument(const QByteArray& bytes) : original_(bytes) { Parse(); }

void IniDocument::Parse() {
    int bomLength = 0;
    encoding_ = DetectEncoding(original_, &bomLength);
    bom_ = original_.left(bomLength);
    const bool wide = encoding_ == IniEncoding::Utf16Le;
    const char* data = original_.constData();
    const qsizetype size = original_.size();

    // Split into lines at "\n"; a "\r" before it belongs to the ending. A lone "\r" is content.
    qsizetype crlfCount = 0;
    qsizetype lfCount = 0;
    qsizetype start = bomLength;
    while (start < size) {
        qsizetype newline = -1;
        if (!wide) {
            const void* hit = std::memchr(data + start, '\n', size_t(size - start));
            if (hit) newline = static_cast<const char*>(hit) - data;
        } else {
            for (qsizetype i = start; i + 1 < size; i += 2)
                if (data[i] == '\n' && data[i + 1] == 0) {
                    newline = i;
                    break;
                }
        }
        Line line;
        if (newline < 0) {
            line.raw = original_.sliced(start);
            start = size;
        } else {
            const int unit = wide ? 2 : 1;
            qsizetype contentEnd = newline;
            if (contentEnd - start >= unit && data[contentEnd - unit] == '\r' && (!wide || data[contentEnd - 1] == 0))
                contentEnd -= unit;
            line.raw = original_.sliced(start, contentEnd - start);
            line.eol = original_.sliced(contentEnd, newline + unit - contentEnd);
            (contentEnd != newline ? crlfCount : lfCount) += 1;
            start = newline + unit;
        }
        PushBack(std::move(line));
    }
    crlf_ = crlfCount > 0 && crlfCount >= lfCount;

    // Index sections and keys. Only the first block of a section name counts.
    Section* current = nullptr;
    for (int i = 0; i < int(lines_.size()); ++i) {
        Line& line = lines_[i];
        const QString text = Decode(line.raw, encoding_);
        const QStringView trimmed = TrimBlanks(text);
        if (trimmed.isEmpty() || trimmed.front() == u';') continue;
        if (trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']') {
            const QString name = NameKey(trimmed.sliced(1, trimmed.size() - 2).toString());
            if (sections_.contains(name)) {
                current = nullptr;
            } else {
                current = &sections_.insert(name, Section{i, i, {}}).value();
            }
            continue;
        }
        const qsizetype eq = text.indexOf(u'=');
        if (eq < 0) continue;
        const QString key = NameKey(text.left(eq));
        if (key.isEmpty()) continue;
        switch (encoding_) {
            case IniEncoding::Utf8:  // "=" is never part of a multi-byte sequence
                line.valueAt = line.raw.indexOf('=') + 1;
                break;
            case IniEncoding::Windows1252:
                line.valueAt = eq + 1;
                break;
            case IniEncoding::Utf16Le:
                line.valueAt = 2 * (eq + 1);
                break;
        }
        if (!current) continue;
        current->lastKey = i;
        if (!current->keys.contains(key)) current->keys.insert(key, i);
    }
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const {
    const auto s = sections_.constFind(NameKey(section));
    if (s == sections_.cend()) return std::nullopt;
    const auto k = s->keys.constFind(NameKey(key));
    if (k == s->keys.cend()) return std::nullopt;
    const Line& line = lines_[*k];
    return Decode(line.raw.constData() + line.valueAt, line.raw.size() - line.valueAt, encoding_);
}

QByteArray IniDocument::EncodeOrThrow(const QString& text) const {
    QString bad;
    std::optional<QByteArray> bytes = Encode(text, encoding_, &bad);
    if (!bytes) {
        Refuse(QStringLiteral("Het teken \"%1\" (U+%2) past niet in de codering van het bestand (%3)")
                   .arg(bad)
                   .arg(bad.isEmpty() ? 0 : bad.at(0).unicode(), 4, 16, QChar(u'0'))
                   .arg(EncodingName(encoding_)));
    }
    return *bytes;
}

QByteArray IniDocument::EncodedEol() const {
    return *Encode(crlf_ ? QStringLiteral("\r\n") : QStringLiteral("\n"), encoding_);
}

void IniDocument::CheckWritable(const QString& section, const QString& key, const QString& value) const {
    // A line break or a name that reads back as something else would change the file's structure.
    const QString sectionName = NameKey(section);
    if (sectionName.isEmpty() || section.contains(u'\n') || section.contains(u'\r'))
        Refuse(QStringLiteral("De sectienaam \"%1\" is ongeldig").arg(section));
    const QString keyName = NameKey(key);
    if (keyName.isEmpty() || key.contains(u'=') || key.contains(u'\n') || key.contains(u'\r') ||
        keyName.startsWith(u';') || keyName.startsWith(u'['))
        Refuse(QStringLiteral("De sleutelnaam \"%1\" is ongeldig").arg(key));
    if (value.contains(u'\n') || value.contains(u'\r'))
        Refuse(QStringLiteral("De waarde van %1 bevat een regeleinde").arg(key));
    EncodeOrThrow(value);
    const auto s = sections_.constFind(sectionName);
    if (s == sections_.cend()) EncodeOrThrow(section);
    if (s == sections_.cend() || !s->keys.contains(keyName)) EncodeOrThrow(key);
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
    CheckWritable(section, key, value);
    const QByteArray encoded = EncodeOrThrow(value);
    const QString sectionName = NameKey(section);
    const QString keyName = NameKey(key);
    auto s = sections_.find(sectionName);
    if (s != sections_.end()) {
        const auto k = s->keys.constFind(keyName);
        if (k != s->keys.cend()) {
            Line& line = lines_[*k];
            line.raw.truncate(line.valueAt);
            line.raw.append(encoded);
            return;
        }
    } else {
        const int header = AddLine(-1, EncodeOrThrow(QStringLiteral("[%1]").arg(section)), -1);
        s = sections_.insert(sectionName, Section{header, header, {}});
    }
    QByteArray raw = EncodeOrThrow(key + u'=');
    const qsizetype valueAt = raw.size();
    raw.append(encoded);
    const int at = AddLine(s->lastKey, std::move(raw), valueAt);
    s->lastKey = at;
    s->keys.insert(keyName, at);
}

int IniDocument::PushBack(Line line) {
    const int at = int(lines_.size());
    lines_.push_back(std::move(line));
    next_.push_back(-1);
    if (tail_ >= 0)
        next_[tail_] = at;
    else
        head_ = at;
    tail_ = at;
    return at;
}

int IniDocument::AddLine(int after, QByteArray raw, qsizetype valueAt) {
    Line line{std::move(raw), EncodedEol(), valueAt};
    if (after < 0) after = tail_;
    if (after < 0) return PushBack(std::move(line));
    // A file that ends without a line break keeps doing so: the new last line takes that role.
    if (after == tail_ && lines_[after].eol.isEmpty()) std::swap(lines_[after].eol, line.eol);
    const int at = int(lines_.size());
    lines_.push_back(std::move(line));
    next_.push_back(next_[after]);
    next_[after] = at;
    if (tail_ == after) tail_ = at;
    return at;
}

QByteArray IniDocument::Serialize() const {
    QByteArray out;
    out.reserve(original_.size() + 256);
    out.append(bom_);
    for (int i = head_; i >= 0; i = next_[i]) {
        out.append(lines_[i].raw);
        out.append(lines_[i].eol);
    }
    return out;
}

}  // namespace quorvant
