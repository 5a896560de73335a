#include "settings/IniDocument.h"

#include <QVarLengthArray>
#include <algorithm>
#include <cstring>
#include <limits>

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

// The characters of a line as the file's code units: bytes, or the 16-bit units of UTF-16LE. The
// characters that give a line its meaning (blank, tab, ";", "[", "]", "=") are ASCII, and no other
// character of UTF-8, Windows-1252 or UTF-16 shares a unit with them, so lines are read on their
// units and only names are decoded.
struct Units {
    Units(QByteArrayView bytes, bool wide) : data(bytes.data()), count(wide ? bytes.size() / 2 : bytes.size()), wide(wide) {}
    char16_t operator[](qsizetype i) const {
        return wide ? char16_t(uchar(data[2 * i]) | (uchar(data[2 * i + 1]) << 8)) : char16_t(uchar(data[i]));
    }
    qsizetype Bytes(qsizetype units) const { return wide ? 2 * units : units; }
    // The first "=", or -1.
    qsizetype Equals() const {
        if (!wide) {
            const void* hit = std::memchr(data, '=', size_t(count));
            return hit ? static_cast<const char*>(hit) - data : -1;
        }
        for (qsizetype i = 0; i < count; ++i)
            if ((*this)[i] == u'=') return i;
        return -1;
    }

    const char* data;
    qsizetype count;  // a stray odd byte at the end of UTF-16 is no character
    bool wide;
};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

enum class LineKind : quint8 { Other, Section, Key };

// What a line's content is; the name lies in units [nameAt, nameEnd), untrimmed.
struct LineInfo {
    LineKind kind = LineKind::Other;
    qsizetype nameAt = 0;
    qsizetype nameEnd = 0;
};

LineInfo Classify(const Units& u) {
    qsizetype b = 0;
    qsizetype e = u.count;
    while (b < e && IsBlank(u[b])) ++b;
    while (e > b && IsBlank(u[e - 1])) --e;
    if (b == e || u[b] == u';') return {};
    if (e - b >= 2 && u[b] == u'[' && u[e - 1] == u']') return {LineKind::Section, b + 1, e - 1};
    const qsizetype eq = u.Equals();
    // A name of blanks only is no name.
    if (eq < 0 || b >= eq) return {};
    return {LineKind::Key, 0, eq};
}

LineInfo Classify(QByteArrayView content, IniEncoding encoding) {
    return Classify(Units(content, encoding == IniEncoding::Utf16Le));
}

// The name key (trimmed, lower case) of units [at, end) of a line. ASCII names, nearly all of
// them, are lowered in place; others are decoded.
class NameKeyOf {
public:
    NameKeyOf(const Units& u, qsizetype at, qsizetype end, IniEncoding encoding) {
        while (at < end && IsBlank(u[at])) ++at;
        while (end > at && IsBlank(u[end - 1])) --end;
        ascii_.resize(end - at);
        for (qsizetype i = at; i < end; ++i) {
            const char16_t c = u[i];
            if (c >= 0x80) {
                decoded_ = NameKey(Decode(u.data + u.Bytes(at), u.Bytes(end - at), encoding));
                view_ = decoded_;
                return;
            }
            ascii_[i - at] = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        }
        view_ = QStringView(ascii_.constData(), ascii_.size());
    }
    NameKeyOf(const NameKeyOf&) = delete;
    NameKeyOf& operator=(const NameKeyOf&) = delete;
    QStringView View() const { return view_; }

private:
    QVarLengthArray<char16_t, 96> ascii_;
    QString decoded_;
    QStringView view_;
};

// A name key's hash: FNV-1a over the units from the process's hash seed, then a full mix. Names
// are short; qHash costs several times as much per name, which shows on files of millions of lines.
quint64 NameHash(QStringView nameKey) {
    quint64 x = quint64(QHashSeed::globalSeed()) ^ 0xCBF29CE484222325ULL;
    for (const QChar c : nameKey) x = (x ^ c.unicode()) * 0x100000001B3ULL;
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// Lines by the hash of their name: open-addressing tables of line numbers and 32 bits of the
// hash, 8 bytes a slot, filled to at most 70%. Names are compared on the file's bytes, so no
// strings are held. One array holds several tables side by side (a slice for the keys of each
// section), so the keys of a section lie together in memory.
template <typename Payload>
class NameTable {
public:
    static constexpr quint32 kNone = std::numeric_limits<quint32>::max();
    struct Entry {
        quint32 line = kNone;
        quint32 tag = 0;
        [[no_unique_address]] Payload payload{};
    };
    struct Slice {
        qsizetype at = 0;
        qsizetype size = 0;
    };

    // Slots for a table of at most `count` lines.
    static qsizetype SlotsFor(qsizetype count) { return count == 0 ? 0 : count + count * 3 / 7 + 1; }
    void Allocate(qsizetype size) { entries_.assign(size_t(size), Entry{}); }
    Slice All() const { return {0, qsizetype(entries_.size())}; }

    // The entry of `hash` in the slice whose line `same` accepts, or null.
    template <typename Same>
    const Entry* Find(Slice slice, quint64 hash, const Same& same) const {
        if (slice.size == 0) return nullptr;
        for (qsizetype i = Home(slice, hash);; i = Following(slice, i)) {
            const Entry& entry = entries_[size_t(i)];
            if (entry.line == kNone) return nullptr;
            if (entry.tag == quint32(hash >> 32) && same(int(entry.line))) return &entry;
        }
    }

    // Adds the line unless the entry of a line `same` accepts is there; the new entry, or null.
    // The slice must have room (SlotsFor).
    template <typename Same>
    Entry* Insert(Slice slice, quint64 hash, int line, const Same& same) {
        for (qsizetype i = Home(slice, hash);; i = Following(slice, i)) {
            Entry& entry = entries_[size_t(i)];
            if (entry.line == kNone) {
                entry.line = quint32(line);
                entry.tag = quint32(hash >> 32);
                return &entry;
            }
            if (entry.tag == quint32(hash >> 32) && same(int(entry.line))) return nullptr;
        }
    }

private:
    static qsizetype Home(Slice slice, quint64 hash) {
        return slice.at + qsizetype((quint64(quint32(hash)) * quint64(slice.size)) >> 32);
    }
    static qsizetype Following(Slice slice, qsizetype i) { return i + 1 == slice.at + slice.size ? slice.at : i + 1; }

    std::vector<Entry> entries_;
};

struct NoPayload {};
struct SectionPayload {
    quint32 lastKey = 0;     // last key line of the first block, else the header
    quint32 keyCount = 0;    // key lines of the first block
    qsizetype keysAt = 0;    // its slice of the key table
};
using SectionTable = NameTable<SectionPayload>;
using KeyTable = NameTable<NoPayload>;

QByteArray EncodedNewline(IniEncoding encoding, bool crlf) {
    return *Encode(crlf ? QStringLiteral("\r\n") : QStringLiteral("\n"), encoding);
}

// The text before the first "=" of a key line, and the value after it.
QString KeyPart(QByteArrayView content, IniEncoding encoding) {
    const Units u(content, encoding == IniEncoding::Utf16Le);
    return Decode(content.data(), u.Bytes(u.Equals()), encoding);
}

QString ValuePart(QByteArrayView content, IniEncoding encoding) {
    const Units u(content, encoding == IniEncoding::Utf16Le);
    const qsizetype at = u.Bytes(u.Equals() + 1);
    return Decode(content.data() + at, content.size() - at, encoding);
}

}  // namespace

// The ending a parse of `bytes` gives the lines the program adds: the most common one.
static QByteArray AddedEnding(const QByteArray& bytes, IniEncoding encoding, int bom) {
    const bool wide = encoding == IniEncoding::Utf16Le;
    const int unit = wide ? 2 : 1;
    qsizetype crlf = 0;
    qsizetype lf = 0;
    for (qsizetype at = bom; at < bytes.size();) {
        const qsizetype newline = bytes.indexOf(wide ? QByteArrayView("\n\0", 2) : QByteArrayView("\n"), at);
        if (newline < 0) break;
        // UTF-16 units start at even offsets past the byte-order mark.
        if (wide && (newline - bom) % 2 != 0) {
            at = newline + 1;
            continue;
        }
        const bool cr = newline - at >= unit && bytes[newline - unit] == '\r' && (!wide || bytes[newline - 1] == 0);
        ++(cr ? crlf : lf);
        at = newline + unit;
    }
    return EncodedNewline(encoding, crlf > 0 && crlf >= lf);
}

// The sections and keys of a parse by name. They name lines, not bytes, so the documents a save
// leaves share them with the parse they come from.
struct NameIndex {
    SectionTable sections;  // first header line of each name
    KeyTable keys;          // per section, the first key line of each name in its first block
    KeyTable::Slice KeysOf(const SectionPayload& section) const {
        return {section.keysAt, KeyTable::SlotsFor(section.keyCount)};
    }
};

// A file's bytes, where each of its lines starts, and its sections and keys by name. A parse
// numbers lines in file order; nothing here changes once it is built.
struct ParsedIni {
    explicit ParsedIni(const QByteArray& source);
    // The saved bytes of a document parsed as `parsed`, whose `lines` lines keep their numbers and
    // the names found for them; the caller sets where each starts. Every line starts at the end
    // until then: a line the save removed stays so, and reads as empty.
    ParsedIni(const ParsedIni& parsed, QByteArray saved, int lines);

    bool Wide() const { return encoding == IniEncoding::Utf16Le; }
    qsizetype Start(int line) const {
        return starts64.empty() ? qsizetype(starts32[size_t(line)]) : qsizetype(starts64[size_t(line)]);
    }
    void SetStart(int line, qsizetype at) {
        if (starts64.empty())
            starts32[size_t(line)] = quint32(at);
        else
            starts64[size_t(line)] = at;
    }
    // Room for the starts of `count` lines and the end of the file; saved bytes start each line
    // at the end.
    void AllocateStarts(qsizetype count);
    // The next "\n" unit from `from`, or -1.
    inline qsizetype NewlineFrom(qsizetype from) const;
    // Where the line starting at `at` ends, its ending included; for saved bytes, whose lines are
    // out of order.
    [[gnu::noinline]] qsizetype EndOfLineAt(qsizetype at) const;
    // A line's content and its own ending (LF or CRLF; none for an unterminated last line).
    struct Span {
        qsizetype at;
        qsizetype size;
        qsizetype eol;
    };
    Span LineSpan(int line) const;
    QByteArrayView Content(int line) const {
        const Span span = LineSpan(line);
        return QByteArrayView(bytes).sliced(span.at, span.size);
    }
    // Whether a header line or key line of the file has this name key.
    bool NameIs(int line, QStringView nameKey) const {
        const Units u(Content(line), Wide());
        const LineInfo info = Classify(u);
        return NameKeyOf(u, info.nameAt, info.nameEnd, encoding).View() == nameKey;
    }

    QByteArray bytes;
    IniEncoding encoding = IniEncoding::Utf8;
    int bom = 0;
    bool damaged = false;
    QByteArray eol;  // ending of lines the program adds: the file's most common one
    QByteArray crlf;
    int lines = 0;
    // Whether each line follows the one numbered before it, so a line ends where the next starts.
    // Saved bytes number their lines as the document did, in another order.
    bool inOrder = true;
    // Start of each line and the end of the file; 4 bytes each below 4 GiB.
    std::vector<quint32> starts32;
    std::vector<qint64> starts64;
    std::shared_ptr<const NameIndex> names;
};

ParsedIni::ParsedIni(const ParsedIni& parsed, QByteArray saved, int lines)
    : bytes(std::move(saved)), encoding(parsed.encoding), bom(parsed.bom), eol(parsed.eol), crlf(parsed.crlf),
      lines(lines), inOrder(false), names(parsed.names) {
    AllocateStarts(lines);
}

void ParsedIni::AllocateStarts(qsizetype count) {
    if (bytes.size() <= qsizetype(std::numeric_limits<quint32>::max())) {
        starts32.resize(size_t(count) + 1);
        if (!inOrder) std::fill(starts32.begin(), starts32.end(), quint32(bytes.size()));
        starts32.back() = quint32(bytes.size());
    } else {
        starts64.resize(size_t(count) + 1);
        if (!inOrder) std::fill(starts64.begin(), starts64.end(), bytes.size());
        starts64.back() = bytes.size();
    }
}

qsizetype ParsedIni::EndOfLineAt(qsizetype at) const {
    const qsizetype newline = NewlineFrom(at);
    return newline < 0 ? bytes.size() : newline + (Wide() ? 2 : 1);
}

inline qsizetype ParsedIni::NewlineFrom(qsizetype from) const {
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    if (!Wide()) {
        const void* hit = std::memchr(data + from, '\n', size_t(size - from));
        return hit ? static_cast<const char*>(hit) - data : -1;
    }
    for (qsizetype i = from; i + 1 < size; i += 2)
        if (data[i] == '\n' && data[i + 1] == 0) return i;
    return -1;
}

ParsedIni::ParsedIni(const QByteArray& source) : bytes(source) {
    encoding = DetectEncoding(bytes, &bom);
    const bool wide = Wide();
    const int unit = wide ? 2 : 1;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    // A UTF-16 file with an odd number of bytes has lost or gained a byte somewhere: where its
    // lines end cannot be known, so it is read as well as it goes and never written.
    damaged = wide && (size - bom) % 2 != 0;
    crlf = EncodedNewline(encoding, true);
    auto index = std::make_shared<NameIndex>();
    names = index;

    // Lines end after each "\n"; a "\r" before it belongs to the ending, a lone "\r" is content.
    qsizetype count = 0;
    for (qsizetype at = bom; at < size; ++count) {
        const qsizetype newline = NewlineFrom(at);
        at = newline < 0 ? size : newline + unit;
    }
    // Line numbers are ints; a file of more lines than that is kept as one line and never written.
    if (count > std::numeric_limits<int>::max() - 1) {
        damaged = true;
        eol = EncodedNewline(encoding, false);
        lines = 1;
        AllocateStarts(1);
        SetStart(0, bom);
        return;
    }
    lines = int(count);
    AllocateStarts(count);

    // First pass: where lines start, their endings, what each is, and how many keys each block
    // under a header has.
    std::vector<LineKind> kinds(static_cast<size_t>(lines));
    std::vector<quint32> blockKeys;
    qsizetype crlfCount = 0;
    qsizetype lfCount = 0;
    qsizetype at = bom;
    for (int i = 0; i < lines; ++i) {
        SetStart(i, at);
        const qsizetype newline = NewlineFrom(at);
        qsizetype contentEnd = newline < 0 ? size : newline;
        if (newline >= 0) {
            const bool cr = newline - at >= unit && data[newline - unit] == '\r' && (!wide || data[newline - 1] == 0);
            if (cr) contentEnd -= unit;
            ++(cr ? crlfCount : lfCount);
        }
        const LineKind kind = Classify(Units(QByteArrayView(data + at, contentEnd - at), wide)).kind;
        kinds[size_t(i)] = kind;
        if (kind == LineKind::Section) blockKeys.push_back(0);
        if (kind == LineKind::Key && !blockKeys.empty()) ++blockKeys.back();
        at = newline < 0 ? size : newline + unit;
    }
    eol = EncodedNewline(encoding, crlfCount > 0 && crlfCount >= lfCount);

    // Second pass: sections and keys by name. Only the first block of a section name counts, and
    // in it the first key of a name. Every block gets its slice of the key table.
    SectionTable& sections = index->sections;
    KeyTable& keys = index->keys;
    sections.Allocate(SectionTable::SlotsFor(qsizetype(blockKeys.size())));
    qsizetype keySlots = 0;
    for (const quint32 count : blockKeys) keySlots += KeyTable::SlotsFor(count);
    keys.Allocate(keySlots);
    SectionPayload* current = nullptr;
    KeyTable::Slice slice;
    qsizetype block = -1;
    qsizetype keysAt = 0;
    for (int i = 0; i < lines; ++i) {
        if (kinds[size_t(i)] == LineKind::Other) continue;
        const Units u(Content(i), wide);
        const LineInfo info = Classify(u);
        const NameKeyOf name(u, info.nameAt, info.nameEnd, encoding);
        if (info.kind == LineKind::Section) {
            const quint32 count = blockKeys[size_t(++block)];
            auto* entry = sections.Insert(sections.All(), NameHash(name.View()), i,
                                          [&](int line) { return NameIs(line, name.View()); });
            current = entry ? &entry->payload : nullptr;
            if (current) *current = SectionPayload{quint32(i), count, keysAt};
            slice = {keysAt, KeyTable::SlotsFor(count)};
            keysAt += slice.size;
            continue;
        }
        if (!current) continue;
        current->lastKey = quint32(i);
        keys.Insert(slice, NameHash(name.View()), i, [&](int line) { return NameIs(line, name.View()); });
    }
}

ParsedIni::Span ParsedIni::LineSpan(int line) const {
    const int unit = Wide() ? 2 : 1;
    const char* data = bytes.constData();
    const qsizetype at = Start(line);
    const qsizetype end = inOrder ? Start(line + 1) : EndOfLineAt(at);
    qsizetype content = end;
    const auto isUnit = [&](qsizetype pos, char c) { return data[pos] == c && (unit == 1 || data[pos + 1] == 0); };
    // Only an unterminated last line can end in anything but "\n" (or be of odd length in UTF-16).
    if ((end - at) % unit == 0 && end - at >= unit && isUnit(end - unit, '\n')) {
        content -= unit;
        if (content - at >= unit && isUnit(content - unit, '\r')) content -= unit;
    }
    return {at, content - at, end - content};
}

QString NameKey(const QString& name) { return TrimSpacesAndTabs(name).toString().toLower(); }

IniDocument::IniDocument(const QByteArray& bytes) : parsed_(std::make_shared<const ParsedIni>(bytes)) {
    head_ = parsed_->lines > 0 ? 0 : -1;
    tail_ = parsed_->lines - 1;
}

bool IniDocument::Damaged() const { return parsed_->damaged; }
const QByteArray& IniDocument::Original() const { return parsed_->bytes; }
IniEncoding IniDocument::Encoding() const { return parsed_->encoding; }
int IniDocument::Lines() const { return parsed_->lines; }

int IniDocument::Next(int line) const {
    if (line >= Lines()) return added_[size_t(line - Lines())].next;
    const auto it = next_.constFind(line);
    if (it != next_.cend()) return *it;
    return line + 1 < Lines() ? line + 1 : -1;
}

void IniDocument::SetNext(int line, int next) {
    if (line >= Lines())
        added_[size_t(line - Lines())].next = next;
    else
        next_.insert(line, next);
}

QByteArrayView IniDocument::Content(int line) const {
    if (line >= Lines()) return added_[size_t(line - Lines())].content;
    const auto it = written_.constFind(line);
    if (it != written_.cend()) return *it;
    return parsed_->Content(line);
}

QByteArrayView IniDocument::EndingOf(int line) const {
    Ending ending = Ending::Original;
    if (line >= Lines()) {
        ending = added_[size_t(line - Lines())].ending;
    } else {
        const auto it = endings_.constFind(line);
        if (it != endings_.cend()) ending = *it;
    }
    switch (ending) {
        case Ending::Original: {
            const ParsedIni::Span span = parsed_->LineSpan(line);
            return QByteArrayView(parsed_->bytes).sliced(span.at + span.size, span.eol);
        }
        case Ending::Added:
            return parsed_->eol;
        case Ending::AddedCrLf:
            return parsed_->crlf;
        case Ending::None:
            break;
    }
    return {};
}

void IniDocument::SetEnding(int line, Ending ending) {
    if (line >= Lines())
        added_[size_t(line - Lines())].ending = ending;
    else
        endings_.insert(line, ending);
}

QString IniDocument::KeyText(int line) const { return KeyPart(Content(line), Encoding()); }
QString IniDocument::ValueText(int line) const { return ValuePart(Content(line), Encoding()); }

bool IniDocument::IsHeaderLine(int line) const { return Classify(Content(line), Encoding()).kind == LineKind::Section; }

std::optional<IniDocument::SectionAt> IniDocument::FindSection(const QString& nameKey) const {
    const ParsedIni& parsed = *parsed_;
    const auto* entry = parsed.names->sections.Find(parsed.names->sections.All(), NameHash(nameKey),
                                             [&](int line) { return parsed.NameIs(line, nameKey); });
    if (entry) {
        const int header = int(entry->line);
        const KeyTable::Slice keys = parsed.names->KeysOf(entry->payload);
        return SectionAt{header, lastKey_.value(header, int(entry->payload.lastKey)), keys.at, keys.size};
    }
    const auto added = addedSections_.constFind(nameKey);
    if (added == addedSections_.cend()) return std::nullopt;
    return SectionAt{*added, lastKey_.value(*added, *added)};
}

int IniDocument::KeyLine(const SectionAt& section, const QString& nameKey) const {
    const KeyRef ref{section.header, nameKey};
    const auto added = addedKeys_.constFind(ref);
    if (added != addedKeys_.cend()) return *added;
    if (removedKeys_.contains(ref)) return -1;
    const ParsedIni& parsed = *parsed_;
    const auto* entry = parsed.names->keys.Find({section.keysAt, section.keysSize}, NameHash(nameKey),
                                         [&](int line) { return parsed.NameIs(line, nameKey); });
    return entry ? int(entry->line) : -1;
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& key) const {
    const std::optional<SectionAt> s = FindSection(NameKey(section));
    if (!s) return std::nullopt;
    const int line = KeyLine(*s, NameKey(key));
    if (line < 0) return std::nullopt;
    return ValueText(line);
}

QString IniDocument::HeaderName(int line) const {
    const QByteArrayView header = Content(line);
    const Units u(header, parsed_->Wide());
    const LineInfo info = Classify(u);
    return TrimSpacesAndTabs(Decode(header.data() + u.Bytes(info.nameAt), u.Bytes(info.nameEnd - info.nameAt), Encoding()))
        .toString();
}

std::optional<QPair<QString, QString>> IniDocument::NamesAsWritten(const QString& section, const QString& key) const {
    const std::optional<SectionAt> s = FindSection(NameKey(section));
    if (!s) return std::nullopt;
    const int line = KeyLine(*s, NameKey(key));
    if (line < 0) return std::nullopt;
    return QPair<QString, QString>(HeaderName(s->header), TrimSpacesAndTabs(KeyText(line)).toString());
}

int IniDocument::ParsedLines() const {
    // Line numbers and bytes only agree while nothing is written beside the parse.
    const bool asParsed =
        parsed_->inOrder && added_.empty() && written_.isEmpty() && endings_.isEmpty() && next_.isEmpty();
    return asParsed ? Lines() : -1;
}

QByteArrayView IniDocument::ParsedLine(int line) const {
    const ParsedIni::Span span = parsed_->LineSpan(line);
    return QByteArrayView(parsed_->bytes).sliced(span.at, span.size + span.eol);
}

IniDocument::LineName IniDocument::ParsedLineName(int line) const {
    const LineKind kind = Classify(Content(line), Encoding()).kind;
    if (kind == LineKind::Section) return {LineName::Kind::Section, HeaderName(line)};
    if (kind == LineKind::Key) return {LineName::Kind::Key, TrimSpacesAndTabs(KeyText(line)).toString()};
    return {};
}

QList<QPair<QString, QString>> IniDocument::AllKeyNames() const {
    QList<QPair<QString, QString>> names;
    std::optional<SectionAt> current;
    QString sectionName;
    for (int i = head_; i >= 0; i = Next(i)) {
        const Units u(Content(i), parsed_->Wide());
        const LineInfo info = Classify(u);
        if (info.kind == LineKind::Other) continue;
        const QString name = NameKeyOf(u, info.nameAt, info.nameEnd, Encoding()).View().toString();
        if (info.kind == LineKind::Section) {
            current = FindSection(name);
            if (current && current->header != i) current.reset();
            sectionName = name;
        } else if (current && KeyLine(*current, name) == i) {
            names.append({sectionName, name});
        }
    }
    return names;
}

QByteArray IniDocument::EncodeOrThrow(const QString& text, const QString& section, const QString& key,
                                      QStringView keep) const {
    QString bad;
    std::optional<QByteArray> bytes = Encode(text, Encoding(), &bad, keep);
    if (!bytes) {
        IniErrorDetails details = AtKey(section, key);
        details.character = bad;
        details.encoding = Encoding();
        Refuse(IniFailure::Unencodable, details);
    }
    return *bytes;
}

IniDocument::Plan IniDocument::PlanWrite(const QString& section, const QString& key, const QString& value,
                                         QStringView readAs) const {
    if (Damaged()) Refuse(IniFailure::Undecodable);
    Plan plan;
    plan.sectionName = NameKey(section);
    plan.keyName = NameKey(key);
    const std::optional<SectionAt> s = FindSection(plan.sectionName);
    if (s) {
        plan.header = s->header;
        plan.line = KeyLine(*s, plan.keyName);
    }
    // What the key holds already is not written again: its line stays byte for byte, even where
    // its text (or a name from the file) could not be written anew.
    const QString stored = plan.line >= 0 ? ValueText(plan.line) : QString();
    if (plan.line >= 0 && stored == value) {
        plan.unchanged = true;
        return plan;
    }
    // A line break or a name that reads back as something else would change the file's structure.
    if (plan.sectionName.isEmpty() || section.contains(u'\n') || section.contains(u'\r'))
        Refuse(IniFailure::InvalidSectionName, AtKey(section, key));
    if (plan.keyName.isEmpty() || key.contains(u'=') || key.contains(u'\n') || key.contains(u'\r'))
        Refuse(IniFailure::InvalidKeyName, AtKey(section, key));
    if (value.contains(u'\n') || value.contains(u'\r')) Refuse(IniFailure::LineBreakInValue, AtKey(section, key));
    // Characters the value kept from what was read are written as they were read.
    std::optional<QByteArray> encoded = Encode(value, Encoding(), nullptr, stored);
    if (!encoded) encoded = EncodeOrThrow(value, section, key, readAs);

    // Every line the write makes must read back as what it is meant to be.
    const auto readsAs = [this](const QByteArray& raw, LineKind kind, const QString& name) {
        const Units u(raw, parsed_->Wide());
        const LineInfo info = Classify(u);
        return info.kind == kind && NameKeyOf(u, info.nameAt, info.nameEnd, Encoding()).View() == name;
    };
    if (plan.line >= 0) {
        // A CR inside the stored value: other programs see a second line after it, which
        // replacing the value would delete.
        if (stored.contains(u'\r')) Refuse(IniFailure::LoneCarriageReturn, AtKey(section, key));
        const QByteArrayView content = Content(plan.line);
        const Units u(content, parsed_->Wide());
        plan.raw = content.first(u.Bytes(u.Equals() + 1)).toByteArray() + *encoded;
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
    plan.raw.append(*encoded);
    if (!readsAs(plan.raw, LineKind::Key, plan.keyName)) Refuse(IniFailure::InvalidKeyName, AtKey(section, key));
    return plan;
}

void IniDocument::CheckWritable(const QString& section, const QString& key, const QString& value,
                                QStringView readAs) const {
    PlanWrite(section, key, value, readAs);
}

void IniDocument::SetValue(const QString& section, const QString& key, const QString& value, QStringView readAs) {
    Plan plan = PlanWrite(section, key, value, readAs);
    if (plan.unchanged) return;
    if (plan.line >= 0) {
        if (plan.line >= Lines())
            added_[size_t(plan.line - Lines())].content = std::move(plan.raw);
        else
            written_.insert(plan.line, std::move(plan.raw));
        return;
    }
    int header = plan.header;
    if (header < 0) {
        header = AddLine(-1, std::move(plan.headerRaw));
        addedSections_.insert(plan.sectionName, header);
    }
    const int at = AddLine(FindSection(plan.sectionName)->lastKey, std::move(plan.raw));
    lastKey_.insert(header, at);
    addedKeys_.insert(KeyRef{header, plan.keyName}, at);
}

int IniDocument::AddLine(int after, QByteArray raw) {
    Added line;
    line.content = std::move(raw);
    const int at = Lines() + int(added_.size());
    if (after < 0) after = tail_;
    if (after < 0) {
        added_.push_back(std::move(line));
        head_ = tail_ = at;
        return at;
    }
    // A file that ends without a line break keeps doing so: the new last line takes that role.
    if (after == tail_ && EndingOf(after).isEmpty()) {
        // A last line ending in a lone CR keeps it as content: with a bare LF after it, the CR
        // would join the line break.
        const QByteArray& crlf = parsed_->crlf;
        const bool loneCr = Content(after).endsWith(QByteArrayView(crlf).first(crlf.size() / 2)) && parsed_->eol != crlf;
        SetEnding(after, loneCr ? Ending::AddedCrLf : Ending::Added);
        line.ending = Ending::None;
    }
    line.next = Next(after);
    added_.push_back(std::move(line));
    SetNext(after, at);
    if (tail_ == after) tail_ = at;
    return at;
}

std::vector<int> IniDocument::TouchedLines() const {
    std::vector<int> touched;
    touched.reserve(size_t(written_.size() + endings_.size() + next_.size()));
    const auto add = [&touched](const auto& lines) {
        for (auto it = lines.keyBegin(); it != lines.keyEnd(); ++it) touched.push_back(*it);
    };
    add(written_);
    add(endings_);
    add(next_);
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    return touched;
}

QByteArray IniDocument::Serialize() const {
    const ParsedIni& parsed = *parsed_;
    QByteArray out;
    qsizetype extra = 256;
    for (const Added& line : added_) extra += line.content.size() + parsed.crlf.size();
    for (const QByteArray& content : written_) extra += content.size();
    out.reserve(parsed.bytes.size() + extra);
    out.append(parsed.bytes.constData(), parsed.bom);
    // Runs of lines the program did not touch are copied as they are, in one piece each.
    const std::vector<int> touched = TouchedLines();
    for (int i = head_; i >= 0;) {
        if (i < Lines() && !std::binary_search(touched.begin(), touched.end(), i)) {
            const auto stop = std::lower_bound(touched.begin(), touched.end(), i);
            const int end = stop == touched.end() ? Lines() : *stop;
            out.append(parsed.bytes.constData() + parsed.Start(i), parsed.Start(end) - parsed.Start(i));
            i = end < Lines() ? end : -1;
            continue;
        }
        out.append(Content(i));
        out.append(EndingOf(i));
        i = Next(i);
    }
    return out;
}

void IniDocument::CheckEncodingKept(const QByteArray& bytes) const {
    int bom = 0;
    if (DetectEncoding(bytes, &bom) == Encoding() && bom == parsed_->bom) return;
    // Only plain ASCII reads the same in every encoding we detect.
    bool ascii = bom == parsed_->bom;
    for (qsizetype i = bom; ascii && i < bytes.size(); ++i) ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii) return;
    IniErrorDetails details;
    details.encoding = Encoding();
    Refuse(IniFailure::EncodingWouldChange, details);
}

void IniDocument::MarkSaved() {
    QByteArray out = Serialize();
    CheckEncodingKept(out);
    // The next save starts from these bytes as the file will be read. The names found by the
    // parse, and the writes beside it, already read so: the lines keep their numbers and only
    // where they start is taken anew, so the old bytes can go and nothing is parsed twice. Only
    // where a parse of the bytes would choose otherwise (plain ASCII that reads as another
    // encoding, another ending for added lines), or the old ones could not be written, is it
    // parsed anew.
    int bom = 0;
    if (Damaged() || DetectEncoding(out, &bom) != Encoding() || bom != parsed_->bom ||
        AddedEnding(out, Encoding(), bom) != parsed_->eol) {
        *this = IniDocument(out);
        return;
    }
    Rebase(std::move(out));
}

void IniDocument::Rebase(QByteArray saved) {
    const ParsedIni& old = *parsed_;
    auto text = std::make_shared<ParsedIni>(old, std::move(saved), Lines() + int(added_.size()));
    // The lines in file order, as Serialize wrote them: runs of untouched file lines in one step.
    QHash<int, int> next;
    int previous = -1;
    const auto follows = [&](int line) {
        if (previous >= 0 && line != previous + 1) next.insert(previous, line);
    };
    qsizetype at = text->bom;
    const std::vector<int> touched = TouchedLines();
    for (int i = head_; i >= 0;) {
        follows(i);
        if (i < Lines() && !std::binary_search(touched.begin(), touched.end(), i)) {
            const auto stop = std::lower_bound(touched.begin(), touched.end(), i);
            const int end = stop == touched.end() ? Lines() : *stop;
            const qsizetype shift = at - old.Start(i);
            for (int line = i; line < end; ++line) text->SetStart(line, old.Start(line) + shift);
            at = old.Start(end) + shift;
            previous = end - 1;
            i = end < Lines() ? end : -1;
            continue;
        }
        text->SetStart(i, at);
        at += Content(i).size() + EndingOf(i).size();
        previous = i;
        i = Next(i);
    }
    if (previous >= 0 && previous + 1 < text->lines) next.insert(previous, -1);
    // The walk must account for every byte; if not, the bytes are parsed as any file would be.
    if (at != text->bytes.size()) {
        *this = IniDocument(text->bytes);
        return;
    }
    text->inOrder = next.isEmpty() && (head_ == 0 || text->lines == 0);
    parsed_ = std::move(text);
    added_.clear();
    written_.clear();
    endings_.clear();
    next_ = std::move(next);
}

QStringList IniDocument::SectionNames() const {
    QStringList names;
    for (int i = head_; i >= 0; i = Next(i)) {
        const QByteArrayView content = Content(i);
        const Units u(content, parsed_->Wide());
        const LineInfo info = Classify(u);
        if (info.kind != LineKind::Section) continue;
        const std::optional<SectionAt> s = FindSection(NameKeyOf(u, info.nameAt, info.nameEnd, Encoding()).View().toString());
        if (!s || s->header != i) continue;
        const QString name = Decode(content.data() + u.Bytes(info.nameAt), u.Bytes(info.nameEnd - info.nameAt), Encoding());
        names.append(TrimSpacesAndTabs(name).toString());
    }
    return names;
}

QStringList IniDocument::KeyNames(const QString& section) const {
    const std::optional<SectionAt> s = FindSection(NameKey(section));
    if (!s) return {};
    QStringList names;
    // The block runs from its header to the next header line of any section.
    for (int i = Next(s->header); i >= 0 && !IsHeaderLine(i); i = Next(i)) {
        const Units u(Content(i), parsed_->Wide());
        const LineInfo info = Classify(u);
        if (info.kind != LineKind::Key) continue;
        if (KeyLine(*s, NameKeyOf(u, info.nameAt, info.nameEnd, Encoding()).View().toString()) == i)
            names.append(TrimSpacesAndTabs(KeyText(i)).toString());
    }
    return names;
}

bool IniDocument::RemoveKey(const QString& section, const QString& key) {
    if (Damaged()) Refuse(IniFailure::Undecodable);
    const std::optional<SectionAt> s = FindSection(NameKey(section));
    if (!s) return false;
    const QString keyName = NameKey(key);
    enum class Entry { None, OtherKey, This };
    const auto entry = [&](int line) {
        const Units u(Content(line), parsed_->Wide());
        const LineInfo info = Classify(u);
        if (info.kind != LineKind::Key) return Entry::None;
        return NameKeyOf(u, info.nameAt, info.nameEnd, Encoding()).View() == keyName ? Entry::This : Entry::OtherKey;
    };
    // Other programs see a second line after a CR; it would go with this one. Checked for every
    // entry first, so a refusal leaves the document as it was.
    for (int i = Next(s->header); i >= 0 && !IsHeaderLine(i); i = Next(i)) {
        const QByteArrayView content = Content(i);
        if (entry(i) == Entry::This && Decode(content.data(), content.size(), Encoding()).contains(u'\r'))
            Refuse(IniFailure::LoneCarriageReturn, AtKey(section, key));
    }
    bool removed = false;
    int lastKey = s->header;
    int previous = s->header;
    for (int i = Next(s->header); i >= 0 && !IsHeaderLine(i); i = Next(i)) {
        const Entry kind = entry(i);
        if (kind == Entry::This) {
            SetNext(previous, Next(i));
            if (tail_ == i) tail_ = previous;
            removed = true;
            continue;
        }
        if (kind == Entry::OtherKey) lastKey = i;
        previous = i;
    }
    const KeyRef ref{s->header, keyName};
    addedKeys_.remove(ref);
    removedKeys_.insert(ref, true);
    lastKey_.insert(s->header, lastKey);
    return removed;
}

}  // namespace quorvant
