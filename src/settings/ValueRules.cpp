#include "settings/ValueRules.h"

#include <cmath>
#include <limits>

namespace quorvant {

namespace {
bool IsBlank(QChar c) { return c == ' ' || c == '\t'; }

bool IsAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// The whole-number rule's reading of a text, before the range check: the value rounded half to
// even and capped well above the 32-bit range, or nothing when the text is no number.
std::optional<qint64> ParseNumber(QStringView text) {
    text = TrimSpacesAndTabs(text);
    const qsizetype end = text.size();
    qsizetype i = 0;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr qint64 kCap = qint64(1) << 40;
    qint64 whole = 0;
    int digits = 0;
    while (i < end && IsAsciiDigit(text[i])) {
        whole = std::min(kCap, whole * 10 + (text[i].unicode() - '0'));
        ++i;
        ++digits;
    }
    // Fraction: only whether it is below, at or above one half matters (half to even).
    bool roundUp = false;
    if (i < end && text[i] == '.') {
        ++i;
        const qsizetype fractionStart = i;
        while (i < end && IsAsciiDigit(text[i])) ++i;
        digits += int(i - fractionStart);
        if (i > fractionStart) {
            const QChar first = text[fractionStart];
            bool restNonZero = false;
            for (qsizetype k = fractionStart + 1; k < i; ++k)
                if (text[k] != '0') restNonZero = true;
            const bool aboveHalf = first > '5' || (first == '5' && restNonZero);
            const bool exactlyHalf = first == '5' && !restNonZero;
            roundUp = aboveHalf || (exactlyHalf && whole % 2 == 1);
        }
    }
    if (i != end || digits == 0) return std::nullopt;
    if (roundUp) whole = std::min(kCap, whole + 1);
    return negative ? -whole : whole;
}
}  // namespace

QStringView TrimSpacesAndTabs(QStringView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

std::optional<qint32> WholeNumber(const QString& text, IntWidth width) {
    const std::optional<qint64> value = ParseNumber(text);
    if (!value) return std::nullopt;
    const qint64 low =
        width == IntWidth::Bits16 ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min();
    const qint64 high =
        width == IntWidth::Bits16 ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
    if (*value < low || *value > high) return std::nullopt;
    return static_cast<qint32>(*value);
}

bool HasNumberForm(const QString& text) { return ParseNumber(text).has_value(); }

QString TrimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    return text.mid(begin, end - begin);
}

std::optional<qint32> EmptyDefault(const QString& text, qint32 defaultValue, IntWidth width) {
    if (text.isEmpty()) return defaultValue;
    return WholeNumber(text, width);
}

bool OneMeansOn(const QString& text) {
    if (text.isEmpty()) return false;
    // Exactly 1: "1", "1.0", " 1 "; 1.4 would round to 1 but is not the number 1.
    const QString core = TrimSpacesAndTabs(text).toString();
    const std::optional<qint32> number = WholeNumber(core, IntWidth::Bits32);
    if (!number || *number != 1) return false;
    const int dot = core.indexOf('.');
    if (dot < 0) return true;
    for (int k = dot + 1; k < core.size(); ++k)
        if (core[k] != '0') return false;
    return true;
}

std::optional<int> CheckState(const QString& text) {
    const std::optional<qint32> number = WholeNumber(text, IntWidth::Bits16);
    if (!number || *number < 0 || *number > 2) return std::nullopt;
    return *number;
}

std::optional<int> ListPosition(const QString& text, int count) {
    const std::optional<qint32> number = WholeNumber(text, IntWidth::Bits16);
    if (!number || *number < -1 || *number >= count) return std::nullopt;
    return *number;
}

quint32 ColourToRgb(qint32 colour) {
    const quint32 v = quint32(colour);
    return 0xFF000000u | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}

qint32 ColourFromRgb(quint32 rgb) {
    return qint32(((rgb >> 16) & 0xFFu) | (rgb & 0xFF00u) | ((rgb & 0xFFu) << 16));
}

}  // namespace quorvant
