#include "schema/Interpret.h"

#include <algorithm>

#include "settings/ValueRules.h"

namespace quorvant::schema {

namespace {

Reading Kept(std::optional<Problem> problem = std::nullopt) { return {Reading::Keep, std::nullopt, {}, problem}; }
Reading Number(qint32 number, std::optional<Problem> problem = std::nullopt) {
    return {Reading::Value, number, {}, problem};
}
Reading Refused(Problem problem) { return {Reading::Refused, std::nullopt, {}, problem}; }

bool IsDayString(const QString& text) {
    return text.size() == 24 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'2'; });
}

bool Within(const Key& key, qint32 number) { return number >= key.limits.lowest && number <= key.limits.highest; }

// The number the rule reads from the text; nothing where it cannot read one.
std::optional<qint32> NumberOf(const Key& key, const QString& text) {
    switch (key.rule) {
        case Rule::EmptyDefault:
            return EmptyDefault(text, key.fallback, key.width);
        case Rule::CheckState:
            if (text.isEmpty() && key.Has(EmptyIsOff)) return 0;
            return CheckState(text);
        case Rule::ListPosition:
        case Rule::Option:
            if (key.Has(ExactText)) {
                for (qint32 n = key.limits.lowest; n <= key.limits.highest; ++n)
                    if (text == QString::number(n)) return n;
                return std::nullopt;
            }
            if (text.isEmpty() && key.hasDefault) return key.fallback;
            return WholeNumber(text, key.rule == Rule::ListPosition ? IntWidth::Bits16 : key.width);
        default:
            return WholeNumber(text, key.width);
    }
}

}  // namespace

Reading Interpret(const Key& key, const QString& text) {
    if (text.isEmpty() && key.Has(EmptyKeeps)) return Kept();
    switch (key.rule) {
        case Rule::Text:
            return {Reading::Value, std::nullopt, text, std::nullopt};
        case Rule::DayString:
            // The grid takes every hour it can read (see BadHourKeeps for the others).
            return {Reading::Value, std::nullopt, text,
                    IsDayString(text) ? std::nullopt : std::optional<Problem>(Problem::NotRead)};
        case Rule::Port: {
            // Shown as typed; an empty box means no port, and 0 is none too.
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
            return key.Has(WordKeeps) ? Kept(Problem::NotRead) : Number(0, Problem::NotRead);
        default:
            break;
    }
    const std::optional<qint32> number = NumberOf(key, text);
    if (!number) return key.Has(FailGivesDefault) ? Number(key.fallback, Problem::NotRead) : Refused(Problem::NotRead);
    if (key.hasLimits && !Within(key, *number))
        return key.Has(KeepsOutOfRange) ? Number(*number, Problem::OutOfLimits) : Refused(Problem::OutOfLimits);
    return Number(*number);
}

}  // namespace quorvant::schema
