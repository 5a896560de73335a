#include "settings/ValueRules.h"

#include <cmath>
#include <limits>

namespace quorvant {

namespace {
bool IsBlank(QChar c) { return c == ' ' || c == '\t'; }
}  // namespace

std::optional<qint32> WholeNumber(const QString& text, IntWidth width) {
    int begin = 0;
    int end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    int i = begin;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Integer digits, accumulated with a cap well above the 32-bit range.
    constexpr qint64 kCap = qint64(1) << 40;
    qint64 whole = 0;
    int digits = 0;
    while (i < end && text[i].isDigit() && text[i].unicode() < 128) {
        whole = std::min(kCap, whole * 10 + (text[i].unicode() - '0'));
        ++i;
        ++digits;
    }
    // Fraction: only whether it is below, at or above one half matters (half to even).
    int fractionCompare = 0;  // -1 below half, 0 exactly half or none, +1 above half
    bool hasFraction = false;
    if (i < end && text[i] == '.') {
        ++i;
        const int fractionStart = i;
        while (i < end && text[i].isDigit() && text[i].unicode() < 128) ++i;
        const int fractionDigits = i - fractionStart;
        digits += fractionDigits;
        if (fractionDigits > 0) {
            hasFraction = true;
            const QChar first = text[fractionStart];
            bool restNonZero = false;
            for (int k = fractionStart + 1; k < i; ++k)
                if (text[k] != '0') restNonZero = true;
            if (first > '5' || (first == '5' && restNonZero))
                fractionCompare = 1;
            else if (first == '5')
                fractionCompare = 0;
            else
                fractionCompare = (first == '0' && !restNonZero) ? -2 : -1;  // -2: zero fraction
        }
    }
    if (i != end || digits == 0) return std::nullopt;
    if (hasFraction) {
        if (fractionCompare == 1 || (fractionCompare == 0 && (whole % 2) == 1)) whole = std::min(kCap, whole + 1);
    }
    const qint64 value = negative ? -whole : whole;
    const qint64 low = width == IntWidth::Bits16 ? std::numeric_limits<qint16>::min() : std::numeric_limits<qint32>::min();
    const qint64 high = width == IntWidth::Bits16 ? std::numeric_limits<qint16>::max() : std::numeric_limits<qint32>::max();
    if (value < low || value > high) return std::nullopt;
    return static_cast<qint32>(value);
}

QString TrimBlanks(const QString& text) {
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
    int begin = 0;
    int end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    const QString core = text.mid(begin, end - begin);
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

}  // namespace quorvant
