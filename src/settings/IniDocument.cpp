#include "settings/IniDocument.h"

#include <cstring>

#include "settings/IniError.h"
#include "settings/ValueRules.h"

namespace quorvant {

namespace {

[[noreturn]] void Refuse(IniFailure failure, IniErrorDetails details = {}) {
    throw IniError(QString(), failure, std::move(details));
}

IniErrorDetails AtKey(const QString& section, const QString& key) {
    IniErrorDetails details;
    details.section = section;
    details.key = key;
    return details;
}

}  // namespace

QString NameKey(const QString& name) { return TrimSpacesAndTabs(name).toString().toLower(); }

IniDocument::LineKind IniDocument::Classify(QStringView text, QString* name, qsizetype* eq) {
    const QStringView trimmed = TrimSpacesAndTabs(text);
    if (trimmed.isEmpty() || trimmed.front() == u';') return LineKind::Other;
    if (trimmed.size() >= 2 && trimmed.front() == u'[' && trimmed.back() == u']') {
        *name = NameKey(trimmed.sliced(1, trimmed.size() - 2).toString());
        return LineKind::Section;
    }
    *eq = text.indexOf(u'=');
    if (*eq < 0) return LineKind::Other;
    *name = NameKey(text.first(*eq).toString());
    return name->isEmpty() ? LineKind::Other : LineKind::Key;
}

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
    // A UTF-16 file with an odd number of bytes has lost or gained a byte somewhere: where its
    // lines end cannot be known, so it is read as well as it goes and never written.
    damaged_ = wide && (size - bomSize_) % 2 != 0;

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
    crlf_ = *Encode(QStringLiteral("\r\n"), encoding_);
    eol_ = crlfCount > 0 && crlfCount >= lfCount ? crlf_ : *Encode(QStringLiteral("\n"), encoding_);

    // Index sections and keys. Only the first block of a section name counts.
    keys_.reserve(qsizetype(lines_.size()));
    Section* current = nullptr;
    for (int i = 0; i < int(lines_.size()); ++i) {
        Line& line = lines_[i];
        if (wide) {
            Index(i, Decode(original_.constData() + line.at, line.size, encoding_), current);
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

void IniDocument::Index(int i, QStringView text, Section*& current) {
    QString name;
    qsizetype eq = -1;
    switch (Classify(text, &name, &eq)) {
        case LineKind::Section:
            OpenSection(name, i, current);
            return;
        case LineKind::Key:
            lines_[i].valueAt = 2 * (eq + 1);
            AddKey(current, name, i);
            return;
        case LineKind::Other:
            return;
    }
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

QList<QPair<QString, QString>> IniDocument::AllKeyNames() const {
    QHash<int, QString> sectionOf;
    for (auto it = sections_.cbegin(); it != sections_.cend(); ++it) sectionOf.insert(it->header, it.key());
    QList<QPair<QString, QString>> names;
    for (auto it = keys_.cbegin(); it != keys_.cend(); ++it) names.append({sectionOf.value(it.key().section), it.key().key});
    return names;
}

QByteArray IniDocument::EncodeOrThrow(const QString& text, const QString& section, const QString& key) const {
    QString bad;
    std::optional<QByteArray> bytes = Encode(text, encoding_, &bad);
    if (!bytes) {
        IniErrorDetails details = AtKey(section, key);
        details.character = bad;
        details.encoding = encoding_;
        Refuse(IniFailure::Unencodable, details);
    }
    return *bytes;
}

QByteArrayView IniDocument::EndingOf(const Line& line) const {
    switch (line.ending) {
        case Ending::Original:
            return QByteArrayView(original_).sliced(line.at + line.size, line.eolSize);
        case Ending::Added:
            return eol_;
        case Ending::AddedCrLf:
            return crlf_;
        case Ending::None:
            break;
    }
    return {};
}

IniDocument::Plan IniDocument::PlanWrite(const QString& section, const QString& key, const QString& value) const {
    if (damaged_) Refuse(IniFailure::Undecodable);
    // A line break or a name that reads back as something else would change the file's structure.
    Plan plan;
    plan.sectionName = NameKey(section);
    if (plan.sectionName.isEmpty() || section.contains(u'\n') || section.contains(u'\r'))
        Refuse(IniFailure::InvalidSectionName, AtKey(section, key));
    plan.keyName = NameKey(key);
    if (plan.keyName.isEmpty() || key.contains(u'=') || key.contains(u'\n') || key.contains(u'\r'))
        Refuse(IniFailure::InvalidKeyName, AtKey(section, key));
    if (value.contains(u'\n') || value.contains(u'\r')) Refuse(IniFailure::LineBreakInValue, AtKey(section, key));
    const QByteArray encoded = EncodeOrThrow(value, section, key);

    // Every line the write makes must read back as what it is meant to be.
    const auto readsAs = [this](const QByteArray& raw, LineKind kind, const QString& name) {
        QString found;
        qsizetype eq = -1;
        return Classify(Decode(raw, encoding_), &found, &eq) == kind && found == name;
    };
    const auto s = sections_.constFind(plan.sectionName);
    if (s != sections_.cend()) {
        plan.header = s->header;
        plan.line = KeyLine(s->header, plan.keyName);
    }
    if (plan.line >= 0) {
        const Line& line = lines_[plan.line];
        const QByteArrayView content = Content(line);
        // A CR inside the stored value: other programs see a second line after it, which
        // replacing the value would delete.
        const QByteArrayView stored = content.sliced(line.valueAt);
        const bool cr = encoding_ == IniEncoding::Utf16Le ? Decode(stored.data(), stored.size(), encoding_).contains(u'\r')
                                                          : stored.contains('\r');
        if (cr) Refuse(IniFailure::LoneCarriageReturn, AtKey(section, key));
        plan.raw = content.first(line.valueAt).toByteArray() + encoded;
        if (!readsAs(plan.raw, LineKind::Key, plan.keyName)) Refuse(IniFailure::LineWouldChange, AtKey(section, key));
        return plan;
    }
    if (plan.header < 0) {
        plan.headerRaw = EncodeOrThrow(QStringLiteral("[%1]").arg(section), section, QString());
        if (!readsAs(plan.headerRaw, LineKind::Section, plan.sectionName))
            Refuse(IniFailure::InvalidSectionName, AtKey(section, key));
    }
    // A new line starting with these would be a comment or a header.
    if (plan.keyName.startsWith(u';') || plan.keyName.startsWith(u'['))
        Refuse(IniFailure::InvalidKeyName, AtKey(section, key));
    plan.raw = EncodeOrThrow(key + u'=', section, key);
    plan.valueAt = plan.raw.size();
    plan.raw.append(encoded);
    if (!readsAs(plan.raw, LineKind::Key, plan.keyName)) Refuse(IniFailure::InvalidKeyName, AtKey(section, key));
    return plan;
}

void IniDocument::CheckWritable(const QString& section, const QString& key, const QString& value) const {
    PlanWrite(section, key, value);
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value) {
    Plan plan = PlanWrite(section, key, value);
    if (plan.line >= 0) {
        Line& line = lines_[plan.line];
        line.written = std::move(plan.raw);
        line.own = true;
        return;
    }
    auto s = sections_.find(plan.sectionName);
    if (s == sections_.end()) {
        const int header = AddLine(-1, std::move(plan.headerRaw), -1);
        s = sections_.insert(plan.sectionName, Section{header, header});
    }
    const int at = AddLine(s->lastKey, std::move(plan.raw), plan.valueAt);
    s->lastKey = at;
    keys_.insert(KeyRef{s->header, plan.keyName}, at);
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
        // A last line ending in a lone CR keeps it as content: with a bare LF after it, the CR
        // would join the line break.
        const QByteArrayView content = Content(lines_[after]);
        lines_[after].ending = content.endsWith(QByteArrayView(crlf_).first(crlf_.size() / 2)) && eol_ != crlf_
                                   ? Ending::AddedCrLf
                                   : Ending::Added;
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

void IniDocument::CheckEncodingKept(const QByteArray& bytes) const {
    int bom = 0;
    if (DetectEncoding(bytes, &bom) == encoding_ && bom == bomSize_) return;
    // Only plain ASCII reads the same in every encoding we detect.
    bool ascii = bom == bomSize_;
    for (qsizetype i = bom; ascii && i < bytes.size(); ++i) ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii) return;
    IniErrorDetails details;
    details.encoding = encoding_;
    Refuse(IniFailure::EncodingWouldChange, details);
}

void IniDocument::MarkSaved() {
    QByteArray out = Serialize();
    CheckEncodingKept(out);
    qsizetype at = bomSize_;
    for (int i = head_; i >= 0; i = next_[i]) {
        Line& line = lines_[i];
        const QByteArrayView content = Content(line);
        const QByteArrayView ending = EndingOf(line);
        line.at = at;
        at += content.size() + ending.size();
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
    QString name;
    qsizetype eq = -1;
    return Classify(LineText(line), &name, &eq) == LineKind::Section;
}

QString IniDocument::KeyText(int line) const {
    const int unit = encoding_ == IniEncoding::Utf16Le ? 2 : 1;
    const QByteArrayView content = Content(lines_[line]);
    return Decode(content.data(), lines_[line].valueAt - unit, encoding_);
}

QStringList IniDocument::SectionNames() const {
    QHash<int, bool> headers;
    for (const Section& section : sections_) headers.insert(section.header, true);
    QStringList names;
    for (int i = head_; i >= 0; i = next_[i]) {
        if (!headers.contains(i)) continue;
        const QString text = LineText(i);
        const QStringView trimmed = TrimSpacesAndTabs(text);
        names.append(TrimSpacesAndTabs(trimmed.sliced(1, trimmed.size() - 2)).toString());
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
    for (int i = head_; i >= 0; i = next_[i])
        if (counted.contains(i)) names.append(TrimSpacesAndTabs(KeyText(i)).toString());
    return names;
}

bool IniDocument::RemoveKey(const QString& section, const QString& key) {
    if (damaged_) Refuse(IniFailure::Undecodable);
    const auto s = sections_.find(NameKey(section));
    if (s == sections_.end()) return false;
    const QString keyName = NameKey(key);
    bool removed = false;
    int lastKey = s->header;
    int previous = s->header;
    // The block runs from its header to the next header line of any section.
    for (int i = next_[s->header]; i >= 0 && !IsHeaderLine(i); i = next_[i]) {
        const Line& line = lines_[i];
        const bool keyLine = line.valueAt >= 0;
        if (keyLine) {
            if (NameKey(KeyText(i)) == keyName) {
                // Other programs see a second line after a CR; it would go with this one.
                if (LineText(i).contains(u'\r')) Refuse(IniFailure::LoneCarriageReturn, AtKey(section, key));
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
