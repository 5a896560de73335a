// The value rules against a plain reference written from their definition: blanks (space, tab)
// around, optional sign, ASCII digits, optional "." fraction rounded half to even, in range.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "settings/ValueRules.h"

using namespace quorvant;

namespace {

struct Number {
    bool negative = false;
    std::string whole;     // without leading zeros
    std::string fraction;  // without trailing zeros
};

std::optional<Number> Parse(const QString& text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && (text[b] == u' ' || text[b] == u'\t')) ++b;
    while (e > b && (text[e - 1] == u' ' || text[e - 1] == u'\t')) --e;
    Number n;
    if (b < e && (text[b] == u'+' || text[b] == u'-')) n.negative = text[b++] == u'-';
    bool digits = false;
    bool dot = false;
    for (; b < e; ++b) {
        const char16_t c = text[b].unicode();
        if (c >= u'0' && c <= u'9') {
            (dot ? n.fraction : n.whole) += char(c);
            digits = true;
        } else if (c == u'.' && !dot) {
            dot = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits) return std::nullopt;
    n.whole.erase(0, n.whole.find_first_not_of('0') == std::string::npos ? n.whole.size() : n.whole.find_first_not_of('0'));
    while (!n.fraction.empty() && n.fraction.back() == '0') n.fraction.pop_back();
    return n;
}

std::optional<qint32> Reference(const QString& text, IntWidth width) {
    const std::optional<Number> n = Parse(text);
    if (!n) return std::nullopt;
    if (n->whole.size() > 11) return std::nullopt;
    long long value = n->whole.empty() ? 0 : std::stoll(n->whole);
    // Lexicographic order of the fraction digits is their order as a fraction.
    if (!n->fraction.empty() && (n->fraction > "5" || (n->fraction == "5" && value % 2 == 1))) ++value;
    if (n->negative) value = -value;
    const long long low = width == IntWidth::Bits16 ? -32768 : -2147483648LL;
    const long long high = width == IntWidth::Bits16 ? 32767 : 2147483647LL;
    if (value < low || value > high) return std::nullopt;
    return qint32(value);
}

void Expect(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    for (IntWidth width : {IntWidth::Bits16, IntWidth::Bits32}) Expect(WholeNumber(text, width) == Reference(text, width));
    Expect(EmptyDefault(text, 42, IntWidth::Bits16) == (text.isEmpty() ? std::optional<qint32>(42) : Reference(text, IntWidth::Bits16)));
    const std::optional<Number> n = Parse(text);
    Expect(OneMeansOn(text) == (n && !n->negative && n->whole == "1" && n->fraction.empty()));
    const std::optional<qint32> small = Reference(text, IntWidth::Bits16);
    Expect(CheckState(text) == (small && *small >= 0 && *small <= 2 ? std::optional<int>(*small) : std::nullopt));
    Expect(ListPosition(text, 5) == (small && *small >= -1 && *small < 5 ? std::optional<int>(*small) : std::nullopt));
    Expect(Colour(text) == Reference(text, IntWidth::Bits32));
    return 0;
}
