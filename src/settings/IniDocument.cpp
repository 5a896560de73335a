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

namespace {

// Lower-cased, trimmed name from raw bytes of an ASCII-compatible encoding; ASCII names, which
// are nearly all of them, skip the decoding.
QString NameKeyOfBytes(const char* p, qsizetype n, IniEncoding encoding) {
    qsizetype b = 0;
    while (b < n && (p[b] == ' ' || p[b] == '\t')) ++b;
    while (n > b && (p[n - 1] == ' ' || p[n - 1] == '\t')) --n;
    QString name(n - b, Qt::Uninitialized);
    QChar* out = name.data();
    for (qsizetype i = b; i < n; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        if (c >= 0x80) return NameKey(Decode(p + b, n - b, encoding));
        *out++ = QChar(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return name;
}

}  // namespace

void IniDocument::Parse() {
    int bomSize = 0;
    encoding_ = DetectEncoding(original_, &bomSize);
    bomSize_ = bomSize;
    const bool wide = encoding_ == IniEncoding::Utf16Le;
    const int unit = wide ? 2 : 1;
    const char* data = original_.constData();
    const qsizetype size = original_.size();

    // Split into lines at "\n"; a "\r" before it belongs to the ending. A lone "\r" is content.
    qsizetype crlfCount = 0;
    qsizetype lfCount = 0;
    qsizetype start = bomSize_;
    lines_.reserve(size_t(size / 24 + 1));
    next_.reserve(size_t(size / 24 + 1));
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
        line.at = start;
        if (newline < 0) {
            line.size = size - start;
            start = size;
        } else {
            qsizetype contentEnd = newline;
            if (contentEnd - start >= unit && data[contentEnd - unit] == '\r' && (!wide || data[contentEnd - 1] == 0))
                contentEnd -= unit;
            line.size = contentEnd - start;
            line.eolSize = newline + unit - contentEnd;
            (contentEnd != newline ? crlfCount : lfCount) += 1;
            start = newline + unit;
        }
        PushBack(std::move(line));
    }
    eol_ = *Encode(crlfCount > 0 && crlfCount >= lfCount ? QStringLiteral("\r\n") : QStringLiteral("\n"), encoding_);

    // Index sections and keys. Only the first block of a section name counts.
    keys_.reserve(qsizetype(lines_.size()));
    Section* current = nullptr;
    for (int i = 0; i < int(lines_.size()); ++i) {
        Line& line = lines_[i];
        if (wide) {
            const QString text = Decode(original_.constData() + line.at, line.size, encoding_);
            Index(i, text, text.indexOf(u'='), 2 * (text.indexOf(u'=') + 1), current);
            continue;
        }
        // ASCII-compatible encodings: classify on the bytes, decode only names.
        const char* p = data + line.at;
        qsizetype b = 0;
        qsizetype e = line.size;
        while (b < e && (p[b] == ' ' || p[b] == '\t')) ++b;
        while (e > b && (p[e - 1] == ' ' || p[e - 1] == '\t')) --e;
        if (b == e || p[b] == ';') continue;
        if (e - b >= 2 && p[b] == '[' && p[e - 1] == ']') {
            OpenSection(NameKeyOfBytes(p + b + 1, e - b - 2, encoding_), i, current);
            continue;
        }
        const void* hit = std::memchr(p, '=', size_t(line.size));
        if (!hit) continue;
        const qsizetype eq = static_cast<const char*>(hit) - p;
        const QString key = NameKeyOfBytes(p, eq, encoding_);
        if (key.isEmpty()) continue;
        line.valueAt = eq + 1;
        AddKey(current, key, i);
    }
}

void IniDocument::Index(int i, QStringView text, qsizetype eq, qsizetype valueAt, Section*& current) {
    const QStringView trimmed = TrimBlanks(text);
    if (trimmed.isEmpty() || trimmed.front() == u';') return;
    if (trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']') {
        OpenSection(NameKey(trimmed.sliced(1, trimmed.size() - 2).toString()), i, current);
        return;
    }
    if (eq < 0) return;
    const QString key = NameKey(text.first(eq).toString());
    if (key.isEmpty()) return;
    lines_[i].valueAt = valueAt;
    AddKey(current, key, i);
}

void IniDocument::OpenSection(const QString& name, int line, Section*& current) {
    if (sections_.contains(name)) {
        current = nullptr;  // a repeated section is kept in the file but not used
    } else {
        current = &sections_.insert(name, Section{line, line}).value();
    }
}

void IniDocument::AddKey(Section* current, const QString& key, int line) {
    if (!current) return;
    current->lastKey = line;
    KeyRef ref{current->header, key};
    if (!keys_.contains(ref)) keys_.insert(std::move(ref), line);
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const {
    const auto s = sections_.constFind(NameKey(section));
    if (s == sections_.cend()) return std::nullopt;
    const int k = KeyLine(s->header, NameKey(key));
    if (k < 0) return std::nullopt;
    const QByteArrayView content = Content(lines_[k]);
    const qsizetype at = lines_[k].valueAt;
    return Decode(content.data() + at, content.size() - at, encoding_);
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

QByteArrayView IniDocument::EndingOf(const Line& line) const {
    switch (line.ending) {
        case Ending::Original:
            return QByteArrayView(original_).sliced(line.at + line.size, line.eolSize);
        case Ending::Added:
            return eol_;
        case Ending::None:
            break;
    }
    return {};
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
    if (s == sections_.cend() || KeyLine(s->header, keyName) < 0) EncodeOrThrow(key);
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
    CheckWritable(section, key, value);
    const QByteArray encoded = EncodeOrThrow(value);
    const QString sectionName = NameKey(section);
    const QString keyName = NameKey(key);
    auto s = sections_.find(sectionName);
    if (s != sections_.end()) {
        const int k = KeyLine(s->header, keyName);
        if (k >= 0) {
            Line& line = lines_[k];
            line.written = Content(line).first(line.valueAt).toByteArray() + encoded;
            line.own = true;
            return;
        }
    } else {
        const int header = AddLine(-1, EncodeOrThrow(QStringLiteral("[%1]").arg(section)), -1);
        s = sections_.insert(sectionName, Section{header, header});
    }
    QByteArray raw = EncodeOrThrow(key + u'=');
    const qsizetype valueAt = raw.size();
    raw.append(encoded);
    const int at = AddLine(s->lastKey, std::move(raw), valueAt);
    s->lastKey = at;
    keys_.insert(KeyRef{s->header, keyName}, at);
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
    Line line;
    line.written = std::move(raw);
    line.own = true;
    line.valueAt = valueAt;
    line.ending = Ending::Added;
    if (after < 0) after = tail_;
    if (after < 0) return PushBack(std::move(line));
    // A file that ends without a line break keeps doing so: the new last line takes that role.
    if (after == tail_ && EndingOf(lines_[after]).isEmpty()) {
        lines_[after].ending = Ending::Added;
        line.ending = Ending::None;
    }
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
    out.append(original_.constData(), bomSize_);
    for (int i = head_; i >= 0; i = next_[i]) {
        out.append(Content(lines_[i]));
        out.append(EndingOf(lines_[i]));
    }
    return out;
}

void IniDocument::MarkSaved() {
    QByteArray out;
    out.reserve(original_.size() + 256);
    out.append(original_.constData(), bomSize_);
    for (int i = head_; i >= 0; i = next_[i]) {
        Line& line = lines_[i];
        const QByteArrayView content = Content(line);
        const QByteArrayView ending = EndingOf(line);
        const qsizetype at = out.size();
        out.append(content);
        out.append(ending);
        line.at = at;
        line.size = content.size();
        line.eolSize = ending.size();
        line.ending = Ending::Original;
        line.own = false;
        line.written.clear();
    }
    original_ = std::move(out);
}

QString IniDocument::LineText(int line) const {
    const QByteArrayView content = Content(lines_[line]);
    return Decode(content.data(), content.size(), encoding_);
}

bool IniDocument::IsHeaderLine(int line) const {
    const QString text = LineText(line);
    const QStringView trimmed = TrimBlanks(text);
    return trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']';
}

QStringList IniDocument::SectionNames() const {
    QHash<int, bool> headers;
    for (const Section& section : sections_) headers.insert(section.header, true);
    QStringList names;
    for (int i = head_; i >= 0; i = next_[i]) {
        if (!headers.contains(i)) continue;
        const QString text = LineText(i);
        const QStringView trimmed = TrimBlanks(text);
        names.append(TrimBlanks(trimmed.sliced(1, trimmed.size() - 2)).toString());
    }
    return names;
}

QStringList IniDocument::KeyNames(const QString& section) const {
    const auto s = sections_.constFind(NameKey(section));
    if (s == sections_.cend()) return {};
    QHash<int, bool> counted;
    for (auto it = keys_.cbegin(); it != keys_.cend(); ++it)
        if (it.key().section == s->header) counted.insert(it.value(), true);
    QStringList names;
    const int unit = encoding_ == IniEncoding::Utf16Le ? 2 : 1;
    for (int i = head_; i >= 0; i = next_[i]) {
        if (!counted.contains(i)) continue;
        const QByteArrayView content = Content(lines_[i]);
        names.append(TrimBlanks(Decode(content.data(), lines_[i].valueAt - unit, encoding_)).toString());
    }
    return names;
}

bool IniDocument::RemoveKey(const QString& section, const QString& key) {
    const auto s = sections_.find(NameKey(section));
    if (s == sections_.end()) return false;
    const QString keyName = NameKey(key);
    const int unit = encoding_ == IniEncoding::Utf16Le ? 2 : 1;
    bool removed = false;
    int lastKey = s->header;
    int previous = s->header;
    // The block runs from its header to the next header line of any section.
    for (int i = next_[s->header]; i >= 0 && !IsHeaderLine(i); i = next_[i]) {
        const Line& line = lines_[i];
        const bool keyLine = line.valueAt >= 0;
        if (keyLine) {
            const QByteArrayView content = Content(line);
            if (NameKey(Decode(content.data(), line.valueAt - unit, encoding_)) == keyName) {
                next_[previous] = next_[i];
                if (tail_ == i) tail_ = previous;
                removed = true;
                continue;
            }
            lastKey = i;
        }
        previous = i;
    }
    keys_.remove(KeyRef{s->header, keyName});
    s->lastKey = lastKey;
    return removed;
}

}  // namespace quorvant
