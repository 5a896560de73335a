#include "schema/Interpret.h"

#include <algorithm>

#include "settings/ValueRules.h"

namespace quorvant::schema {

namespace {

Reading Number(qint32 number, std::optional<Problem> problem = std::nullopt) {
    return {Reading::Value, number, {}, problem};
}

bool Within(const Key& key, qint32 number) { return number >= key.limits.lowest && number <= key.limits.highest; }

// The number a number rule reads from the text; nothing where it reads none.
std::optional<qint32> NumberOf(const Key& key, const QString& text) {
    if (key.Has(ExactText)) {
        for (qint32 n = key.limits.lowest; n <= key.limits.highest; ++n)
            if (text == QString::number(n)) return n;
        return std::nullopt;
    }
    if (text.isEmpty() && key.hasDefault) return key.fallback;
    if (key.rule == Rule::CheckState) return text.isEmpty() && key.Has(EmptyIsOff) ? 0 : CheckState(text);
    return WholeNumber(text, key.rule == Rule::ListPosition ? IntWidth::Bits16 : key.width);
}

}  // namespace

Reading Interpret(const Key& key, const QString& text) {
    if (text.isEmpty() && key.Has(EmptyKeeps)) return {};
    switch (key.rule) {
        case Rule::Text:
            return {Reading::Value, std::nullopt, text, std::nullopt};
        case Rule::DayString: {
            // The grid takes every hour it can read (see BadHourKeeps for the others).
            const bool whole = text.size() == 24 &&
                               std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'2'; });
            return {Reading::Value, std::nullopt, text, whole ? std::nullopt : std::optional(Problem::NotRead)};
        }
        case Rule::Port: {
            // Shown as typed; an empty box, like 0, is no port.
            Reading port{Reading::Value, text.isEmpty() ? 0 : WholeNumber(text, IntWidth::Bits32), text, std::nullopt};
            if (!port.number)
                port.problem = Problem::NotRead;
            else if (*port.number != 0 && !Within(key, *port.number))
                port.problem = Problem::OutOfLimits;
            return port;
        }
        case Rule::OneMeansOn:
        case Rule::Pair:
            if (OneMeansOn(text)) return Number(1);
            if (text.isEmpty() || HasNumberForm(text)) return Number(0);
            // A word: off, which is seldom what was meant; some keys leave the control alone.
            if (key.Has(WordKeeps)) return {Reading::Keep, std::nullopt, {}, Problem::NotRead};
            return Number(0, Problem::NotRead);
        default:
            break;
    }
    const std::optional<qint32> number = NumberOf(key, text);
    if (!number && key.Has(FailGivesDefault)) return Number(key.fallback, Problem::NotRead);
    if (!number) return {Reading::Refused, std::nullopt, {}, Problem::NotRead};
    if (!key.hasLimits || Within(key, *number)) return Number(*number);
    if (key.Has(KeepsOutOfRange)) return Number(*number, Problem::OutOfLimits);
    return {Reading::Refused, std::nullopt, {}, Problem::OutOfLimits};
}

}  // namespace quorvant::schema
